#include "automation/workbook_file.h"

namespace varnex {

SaveResult saveWorkbook(WorkbookModel& workbook, const SaveTarget& target) {
    workbook.recalculate();
    SaveResult r;
    r.path = target.exactPath.empty() ? target.folder + "/" + target.baseName + ".xlsx" : target.exactPath;
    r.error = "保存文件失败：" + r.path;
    return r;
}

std::string documentsFolder() { return "."; }

}  // namespace varnex
