#include "import/xls_reader.h"

#include "app/text_util.h"
#include "import/reader_messages.h"

namespace varnex {

std::unique_ptr<WorkbookReader> openXlsWorkbook(const std::string& path, std::string& error) {
    error = strprintf(msg::kUnknownFormat, fileNameOf(path).c_str());
    return nullptr;
}

std::unique_ptr<WorkbookReader> openXlsWorkbookFromMemory(const void*, size_t, const std::string& displayName,
                                                          std::string& error) {
    error = strprintf(msg::kUnknownFormat, displayName.c_str());
    return nullptr;
}

}  // namespace varnex
