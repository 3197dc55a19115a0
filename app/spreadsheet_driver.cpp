#include "app/spreadsheet_driver.h"

namespace varnex {

namespace {

// Shown in a plain message box by the caller.
constexpr const char* kNoReaderInstalled =
    "在您的系统中未找到 Excel 驱动程序！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！";
constexpr const char* kNoXlsxReaderInstalled =
    "在您的系统中未找到 Excel 2007 驱动程序！\n请正确安装2007及之后版本的 Microsoft Office Excel，然后重试！";

}  // namespace

const std::vector<std::string>& builtInReaders() {
    static const std::vector<std::string> readers = {kXlsxReaderName, kXlsReaderName};
    return readers;
}

std::string findInstalledDriver(const std::vector<std::string>& installed, const std::string& name) {
    for (const std::string& entry : installed) {
        if (entry.find(name) != std::string::npos) return entry;
    }
    return std::string();
}

Status chooseSpreadsheetDriver(std::string& driverName, bool requireXlsx,
                               const std::vector<std::string>& installed) {
    std::string choice = findInstalledDriver(installed, kXlsxReaderName);
    bool haveXlsx = !choice.empty();
    if (!haveXlsx) {
        choice = findInstalledDriver(installed, kXlsReaderName);
        if (choice.empty()) return fail(kNoReaderInstalled);
    }
    driverName = choice;
    if (requireXlsx && !haveXlsx) return fail(kNoXlsxReaderInstalled);
    return {};
}

}  // namespace varnex
