#include "readers/workbook_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/text_util.h"
#include "readers/csv_reader.h"
#include "readers/html_reader.h"
#include "readers/reader_messages.h"
#include "readers/text_decoding.h"
#include "readers/xls_reader.h"
#include "readers/xlsx_reader.h"
#include "readers/xml_spreadsheet_reader.h"

namespace varnex {

namespace tx = reader_texts;

namespace {
constexpr unsigned char kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned char kZipSignature[4] = {'P', 'K', 0x03, 0x04};
constexpr unsigned char kEmptyZipSignature[4] = {'P', 'K', 0x05, 0x06};
/// How much of a file the look at its beginning reads.
constexpr size_t kHeadBytes = 64 * 1024;
constexpr std::string_view kSpreadsheetNamespace = "urn:schemas-microsoft-com:office:spreadsheet";
/// Elements with which a web page (or a bare table that a system writes) begins.
constexpr std::string_view kPageStarts[] = {"html",  "head",   "body",  "title", "meta", "link",   "base",
                                            "style", "script", "table", "div",   "form", "center", "p",
                                            "font",  "span",   "h1",    "h2",    "h3",   "h4",     "br"};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

/// The beginning of a text as single bytes: UTF-16 (known by its byte-order mark or by a NUL
/// beside its first "<") narrowed unit by unit, anything beyond ASCII as '?'; a UTF-8 byte-order
/// mark left out.
std::string markupHead(std::string_view bytes) {
    ByteOrderMark bom = byteOrderMarkOf(bytes);
    bool little = bom.encoding != nullptr ? std::strcmp(bom.encoding, "UTF-16LE") == 0
                                          : bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0';
    bool big = bom.encoding != nullptr ? std::strcmp(bom.encoding, "UTF-16BE") == 0
                                       : bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<';
    bytes.remove_prefix(bom.length);
    if (!little && !big) return std::string(bytes);
    std::string head;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned unit =
            little ? static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8
                   : static_cast<unsigned char>(bytes[i]) << 8 | static_cast<unsigned char>(bytes[i + 1]);
        head += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return head;
}

/// An XML spreadsheet or a web page by the markup at the beginning: comments, processing
/// instructions and a DOCTYPE are passed over up to the first element.
WorkbookFormat detectMarkup(std::string_view head) {
    bool excelSheet = false;
    bool htmlDoctype = false;
    size_t pos = 0;
    for (;;) {
        while (pos < head.size() && isBlank(head[pos])) ++pos;
        if (pos >= head.size() || head[pos] != '<') return WorkbookFormat::Unrecognised;
        std::string_view rest = head.substr(pos);
        size_t end;
        if (rest.starts_with("<!--")) {
            end = rest.find("-->");
            if (end == std::string_view::npos) return WorkbookFormat::Unrecognised;
            pos += end + 3;
        } else if (rest.starts_with("<?")) {
            end = rest.find("?>");
            if (end == std::string_view::npos) return WorkbookFormat::Unrecognised;
            std::string_view instruction = rest.substr(0, end);
            if (instruction.find("mso-application") != std::string_view::npos &&
                instruction.find("Excel.Sheet") != std::string_view::npos)
                excelSheet = true;
            pos += end + 2;
        } else if (equalsIgnoringAsciiCase(rest.substr(0, 9), "<!doctype")) {
            end = rest.find('>');
            if (end == std::string_view::npos) return WorkbookFormat::Unrecognised;
            htmlDoctype = asciiLower(rest.substr(0, end)).find("html") != std::string::npos;
            pos += end + 1;
        } else {
            break;
        }
    }
    std::string_view rest = head.substr(pos + 1);
    size_t nameLength = 0;
    while (nameLength < rest.size() &&
           (std::isalnum(static_cast<unsigned char>(rest[nameLength])) || rest[nameLength] == ':' ||
            rest[nameLength] == '-' || rest[nameLength] == '_' || rest[nameLength] == '.'))
        ++nameLength;
    std::string_view name = rest.substr(0, nameLength);
    size_t colon = name.rfind(':');
    if (name.substr(colon == std::string_view::npos ? 0 : colon + 1) == "Workbook") {
        std::string_view tag = rest.substr(0, rest.find('>'));
        bool inNamespace = tag.find(kSpreadsheetNamespace) != std::string_view::npos;
        return excelSheet || inNamespace ? WorkbookFormat::XmlSpreadsheet : WorkbookFormat::Unrecognised;
    }
    if (htmlDoctype) return WorkbookFormat::WebPage;
    for (std::string_view start : kPageStarts) {
        if (equalsIgnoringAsciiCase(name, start)) return WorkbookFormat::WebPage;
    }
    return WorkbookFormat::Unrecognised;
}

}  // namespace

WorkbookFormat detectWorkbookFormat(const void* data, size_t size) {
    if (size >= sizeof kCompoundSignature &&
        std::memcmp(data, kCompoundSignature, sizeof kCompoundSignature) == 0)
        return WorkbookFormat::Compound;
    if (size >= 4 &&
        (std::memcmp(data, kZipSignature, 4) == 0 || std::memcmp(data, kEmptyZipSignature, 4) == 0))
        return WorkbookFormat::Zip;
    std::string_view bytes(static_cast<const char*>(data), std::min(size, kHeadBytes));
    return detectMarkup(markupHead(bytes));
}

WorkbookFormat detectWorkbookFormat(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return WorkbookFormat::Unrecognised;
    std::string head(kHeadBytes, '\0');
    size_t got = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
    return detectWorkbookFormat(head.data(), got);
}

Result<std::unique_ptr<WorkbookReader>> openWorkbookReader(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return fail(strprintf(tx::kCannotReadFile, fileNameOf(path).c_str()));
    // A file of no bytes is no workbook of any kind: say so rather than guess at its format.
    const bool empty = std::fgetc(file) == EOF && std::feof(file);
    std::fclose(file);
    if (empty) return fail(strprintf(tx::kEmptyFile, fileNameOf(path).c_str()));
    switch (detectWorkbookFormat(path)) {
        case WorkbookFormat::Compound:
            return openXlsWorkbook(path);
        case WorkbookFormat::Zip:
            return openXlsxWorkbook(path);
        case WorkbookFormat::XmlSpreadsheet:
            return openXmlSpreadsheet(path);
        case WorkbookFormat::WebPage:
            return openWebPage(path);
        case WorkbookFormat::Unrecognised:
            break;
    }
    std::string name = fileNameOf(path);
    if (asciiLower(name).ends_with(".csv")) return openCsvWorkbook(path);
    return fail(strprintf(tx::kUnknownFormat, name.c_str()));
}

}  // namespace varnex
