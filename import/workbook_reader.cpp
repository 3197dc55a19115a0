#include "import/workbook_reader.h"

#include <cstdio>
#include <cstring>

#include "base/text_util.h"
#include "import/reader_messages.h"
#include "import/xls_reader.h"
#include "import/xlsx_reader.h"

namespace varnex {

namespace tx = reader_texts;

namespace {
constexpr unsigned char kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned char kZipSignature[4] = {'P', 'K', 0x03, 0x04};
constexpr unsigned char kEmptyZipSignature[4] = {'P', 'K', 0x05, 0x06};
}  // namespace

WorkbookFormat detectWorkbookFormat(const void* data, size_t size) {
    if (size >= sizeof kCompoundSignature &&
        std::memcmp(data, kCompoundSignature, sizeof kCompoundSignature) == 0)
        return WorkbookFormat::Compound;
    if (size >= 4 &&
        (std::memcmp(data, kZipSignature, 4) == 0 || std::memcmp(data, kEmptyZipSignature, 4) == 0))
        return WorkbookFormat::Zip;
    return WorkbookFormat::Unrecognised;
}

WorkbookFormat detectWorkbookFormat(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return WorkbookFormat::Unrecognised;
    unsigned char head[8] = {};
    size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return detectWorkbookFormat(head, got);
}

Result<std::unique_ptr<WorkbookReader>> openWorkbookReader(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return fail(strprintf(tx::kCannotReadFile, fileNameOf(path).c_str()));
    std::fclose(file);
    switch (detectWorkbookFormat(path)) {
        case WorkbookFormat::Compound:
            return openXlsWorkbook(path);
        case WorkbookFormat::Zip:
            return openXlsxWorkbook(path);
        case WorkbookFormat::Unrecognised:
            break;
    }
    return fail(strprintf(tx::kUnknownFormat, fileNameOf(path).c_str()));
}

}  // namespace varnex
