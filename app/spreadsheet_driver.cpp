#include "app/spreadsheet_driver.h"

#include "app/app_texts.h"

namespace varnex {

namespace tx = app_texts;

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
        if (choice.empty()) return fail(tx::kNoReaderInstalled);
    }
    driverName = choice;
    if (requireXlsx && !haveXlsx) return fail(tx::kNoXlsxReaderInstalled);
    return {};
}

}  // namespace varnex
