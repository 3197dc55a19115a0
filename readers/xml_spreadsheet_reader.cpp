#include "readers/xml_spreadsheet_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/text_util.h"
#include "readers/cell_text.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/zip_xml_stream.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

constexpr std::string_view kSpreadsheetNamespace = "urn:schemas-microsoft-com:office:spreadsheet";

/// Where the document's bytes are: a file, read anew for each pass, or memory.
struct DocumentBytes {
    std::string path;  ///< "" when the document is in memory
    const char* data = nullptr;
    size_t size = 0;
    std::string displayName;
};

/// One pass over the document's bytes.
class DocumentSource : public XmlSource {
  public:
    explicit DocumentSource(const DocumentBytes& document) : document_(document) {
        if (!document.path.empty()) file_ = std::fopen(document.path.c_str(), "rb");
    }
    ~DocumentSource() override {
        if (file_ != nullptr) std::fclose(file_);
    }
    DocumentSource(const DocumentSource&) = delete;
    DocumentSource& operator=(const DocumentSource&) = delete;

    bool ok() const { return document_.path.empty() || file_ != nullptr; }

    Result<size_t> read(void* buffer, size_t size) override {
        size_t got = 0;
        if (document_.path.empty()) {
            got = std::min(size, document_.size - offset_);
            if (got > 0) std::memcpy(buffer, document_.data + offset_, got);
        } else {
            got = std::fread(buffer, 1, size, file_);
            if (std::ferror(file_))
                return fail(strprintf(tx::kCannotReadFile, document_.displayName.c_str()));
        }
        offset_ += got;
        // A file that grew while it was read.
        if (offset_ > limits::kMaxXmlWorkbookBytes) return fail(tx::kStreamTooLarge);
        return got;
    }

    std::string badXmlReason(unsigned long line, const char* what) const override {
        return strprintf(tx::kBadXmlLine, line, what);
    }

  private:
    const DocumentBytes& document_;
    std::FILE* file_ = nullptr;
    size_t offset_ = 0;
};

/// The value of an attribute of the spreadsheet namespace (ss:Index), or of the same local name
/// without a namespace, as some writers leave it; null when absent.
const XML_Char* spreadsheetAttribute(const XML_Char** attributes, std::string_view local) {
    for (size_t i = 0; attributes[i] != nullptr; i += 2) {
        std::string_view name(attributes[i]);
        size_t bar = name.rfind('|');
        bool match = bar == std::string_view::npos
                         ? name == local
                         : name.substr(0, bar) == kSpreadsheetNamespace && name.substr(bar + 1) == local;
        if (match) return attributes[i + 1];
    }
    return nullptr;
}

/// A whole decimal number (blanks around it allowed); nothing for any other text.
std::optional<uint32_t> wholeNumber(const XML_Char* text) {
    if (text == nullptr) return std::nullopt;
    std::string_view s(text);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    uint32_t value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

/// Lists the worksheets: the children Worksheet of the root Workbook, with their ss:Name.
class OutlineParser : public XmlPartParser {
  public:
    using XmlPartParser::XmlPartParser;
    std::vector<std::string> names;

  protected:
    void onStart(std::string_view local, const XML_Char** attributes) override {
        if (depth_++ == 0) {
            if (local != "Workbook") stopWith(tx::kNotXmlSpreadsheet);
            return;
        }
        if (depth_ != 2 || local != "Worksheet") return;
        if (names.size() >= limits::kMaxSheets) return stopWith(tx::kTooManyRecords);
        const XML_Char* name = spreadsheetAttribute(attributes, "Name");
        names.push_back(name != nullptr ? std::string(name) : strprintf("Sheet%zu", names.size() + 1));
    }
    void onEnd(std::string_view) override { --depth_; }

  private:
    int depth_ = 0;
};

/// Reads the rows of one worksheet, pausing the parser at the end of each row that holds a value.
/// Rows and cells take their place from ss:Index or follow the one before (a cell after the
/// ones it merges across with ss:MergeAcross); a merged range shows its value in its first cell.
class XmlSheetStream : public XmlRowStream {
  public:
    XmlSheetStream(std::unique_ptr<DocumentSource> source, size_t sheetIndex, std::string sheetName)
        : XmlRowStream(*source, std::move(sheetName)), source_(std::move(source)), sheetIndex_(sheetIndex) {}

  private:
    /// What an element is to this reader, by its name and its parent.
    enum class Node { Other, Workbook, Worksheet, Table, Row, Cell, Data };
    enum class DataType { Text, Number, Boolean };

    void onStart(std::string_view local, const XML_Char** attributes) override {
        Node parent = nodes_.empty() ? Node::Other : nodes_.back();
        Node node = Node::Other;
        if (nodes_.empty()) {
            node = Node::Workbook;
        } else if (parent == Node::Workbook && local == "Worksheet") {
            node = Node::Worksheet;
            inSheet_ = worksheetsSeen_++ == sheetIndex_;
        } else if (!inSheet_) {
            node = Node::Other;
        } else if (parent == Node::Worksheet && local == "Table") {
            node = Node::Table;
        } else if (parent == Node::Table && local == "Row") {
            node = Node::Row;
            startRow(attributes);
        } else if (parent == Node::Row && local == "Cell") {
            node = Node::Cell;
            startCell(attributes);
        } else if (parent == Node::Cell && local == "Data") {
            node = Node::Data;
            startData(attributes);
        }
        nodes_.push_back(node);
    }

    void onEnd(std::string_view) override {
        if (nodes_.empty()) return;
        Node node = nodes_.back();
        nodes_.pop_back();
        switch (node) {
            case Node::Data:
                inData_ = false;
                break;
            case Node::Cell:
                endCell();
                break;
            case Node::Row:
                if (rowHasValue_) rowDone(rowNumber_);
                break;
            case Node::Worksheet:
                if (inSheet_) finishEarly();
                inSheet_ = false;
                break;
            default:
                break;
        }
    }

    void onText(std::string_view text) override {
        if (!inData_) return;  // rich text inside Data counts, a comment's Data does not
        if (value_.size() + text.size() > limits::kMaxCellTextBytes) return stopWith(tx::kTextTooLong);
        value_.append(text);
    }

    void startRow(const XML_Char** attributes) {
        uint32_t number = nextRowNumber_;
        const XML_Char* index = spreadsheetAttribute(attributes, "Index");
        if (index != nullptr) {
            std::optional<uint32_t> given = wholeNumber(index);
            number = given.value_or(0);
            if (number < nextRowNumber_) return stopWith(strprintf(tx::kBadRowNumber, index));
        }
        if (number == 0 || number > limits::kMaxRows)
            return stopWith(strprintf(tx::kBadRowNumber, std::to_string(number).c_str()));
        // ss:Span repeats an (empty, formatted) row: the next row comes after the repeats.
        uint32_t span = wholeNumber(spreadsheetAttribute(attributes, "Span")).value_or(0);
        rowNumber_ = number;
        nextRowNumber_ = number + 1 + std::min(span, limits::kMaxRows);
        rowHasValue_ = false;
        nextColumn_ = 0;
    }

    void startCell(const XML_Char** attributes) {
        uint32_t column = nextColumn_;
        const XML_Char* index = spreadsheetAttribute(attributes, "Index");
        if (index != nullptr) {
            std::optional<uint32_t> given = wholeNumber(index);
            if (!given || *given == 0 || *given - 1 < nextColumn_ || *given > limits::kMaxColumns)
                return stopWith(strprintf(tx::kBadColumnIndex, rowNumber_, index));
            column = *given - 1;
        }
        uint32_t across = wholeNumber(spreadsheetAttribute(attributes, "MergeAcross")).value_or(0);
        if (column >= limits::kMaxColumns || across >= limits::kMaxColumns - column) {
            std::string last = std::to_string(static_cast<uint64_t>(column) + across + 1);
            return stopWith(strprintf(tx::kBadColumnIndex, rowNumber_, last.c_str()));
        }
        cellColumn_ = column;
        nextColumn_ = column + across + 1;
        value_.clear();
        dataType_ = DataType::Text;
    }

    void startData(const XML_Char** attributes) {
        inData_ = true;
        const XML_Char* type = spreadsheetAttribute(attributes, "Type");
        std::string_view t = type != nullptr ? std::string_view(type) : std::string_view();
        dataType_ = t == "Number" ? DataType::Number : t == "Boolean" ? DataType::Boolean : DataType::Text;
    }

    void endCell() {
        inData_ = false;
        if (value_.empty()) return;
        rowHasValue_ = true;
        if (!wanted(cellColumn_)) return;
        std::string& cell = cellAt(row(), cellColumn_);
        cell.clear();
        switch (dataType_) {
            case DataType::Number:
                appendStoredNumberText(value_, cell);
                break;
            case DataType::Boolean:
                cell += booleanText(wholeNumber(value_.c_str()).value_or(0) != 0);
                break;
            case DataType::Text:
                cell += value_;
                break;
        }
    }

    std::unique_ptr<DocumentSource> source_;
    size_t sheetIndex_;
    std::vector<Node> nodes_;
    size_t worksheetsSeen_ = 0;
    bool inSheet_ = false;
    bool rowHasValue_ = false;
    bool inData_ = false;
    uint32_t rowNumber_ = 0;
    uint32_t nextRowNumber_ = 1;
    uint32_t nextColumn_ = 0;
    uint32_t cellColumn_ = 0;
    DataType dataType_ = DataType::Text;
    std::string value_;
};

class XmlSpreadsheet : public WorkbookReader {
  public:
    XmlSpreadsheet(DocumentBytes document, std::vector<std::string> names)
        : document_(std::move(document)), names_(std::move(names)) {}

    const std::vector<std::string>& sheetNames() const override { return names_; }

    Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) override {
        if (index >= names_.size()) return fail(strprintf(tx::kNoSuchSheet, ""));
        auto source = std::make_unique<DocumentSource>(document_);
        if (!source->ok()) return fail(strprintf(tx::kCannotReadFile, document_.displayName.c_str()));
        std::unique_ptr<SheetRowStream> stream =
            std::make_unique<XmlSheetStream>(std::move(source), index, names_[index]);
        return stream;
    }

  private:
    DocumentBytes document_;
    std::vector<std::string> names_;
};

Result<std::unique_ptr<WorkbookReader>> load(DocumentBytes document) {
    std::vector<std::string> names;
    {
        DocumentSource source(document);
        if (!source.ok()) return fail(strprintf(tx::kCannotReadFile, document.displayName.c_str()));
        OutlineParser outline(source);
        if (Status parsed = outline.parseAll(); !parsed)
            return fail(strprintf(tx::kCorruptFile, document.displayName.c_str(), parsed.error().c_str()));
        names = std::move(outline.names);
    }
    return std::unique_ptr<WorkbookReader>(
        std::make_unique<XmlSpreadsheet>(std::move(document), std::move(names)));
}

}  // namespace

Result<std::unique_ptr<WorkbookReader>> openXmlSpreadsheet(const std::string& path) {
    std::string name = fileNameOf(path);
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return fail(strprintf(tx::kCannotReadFile, name.c_str()));
    if (size > limits::kMaxXmlWorkbookBytes) {
        return fail(strprintf(tx::kFileTooLarge, name.c_str(),
                              static_cast<unsigned long long>(limits::kMaxXmlWorkbookBytes >> 20)));
    }
    DocumentBytes document;
    document.path = path;
    document.displayName = name;
    return load(std::move(document));
}

Result<std::unique_ptr<WorkbookReader>> openXmlSpreadsheetFromMemory(const void* data, size_t size,
                                                                     const std::string& displayName) {
    DocumentBytes document;
    document.data = static_cast<const char*>(data);
    document.size = size;
    document.displayName = displayName;
    return load(std::move(document));
}

}  // namespace varnex
