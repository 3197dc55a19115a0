#include "import/open_workbook.h"

namespace varnex {

void openWorkbook(AppState&, Frontend& frontend, const std::string&) {
    frontend.showMessage("尚未实现", "错误", MessageIcon::Error);
}

}  // namespace varnex
