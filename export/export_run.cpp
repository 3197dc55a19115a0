#include "export/export_run.h"

namespace varnex {

void exportRun(AppState&, Frontend& frontend) { frontend.showMessage("尚未实现", "错误", MessageIcon::Error); }

}  // namespace varnex
