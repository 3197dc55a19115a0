#include "import/template_generator.h"

namespace varnex {

void generateTemplates(AppState&, Frontend& frontend) { frontend.showMessage("尚未实现", "错误", MessageIcon::Error); }

}  // namespace varnex
