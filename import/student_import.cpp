#include "import/student_import.h"

namespace varnex {

void importStudents(AppState&, Frontend& frontend) { frontend.showMessage("尚未实现", "错误", MessageIcon::Error); }

}  // namespace varnex
