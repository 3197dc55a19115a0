#include "import/teacher_import.h"

namespace varnex {

void importTeachers(AppState&, Frontend& frontend) { frontend.showMessage("尚未实现", "错误", MessageIcon::Error); }

}  // namespace varnex
