#include "import/xlsx_reader.h"

#include <charconv>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/text_util.h"
#include "import/cell_text.h"
#include "import/reader_limits.h"
#include "import/reader_messages.h"
#include "import/string_table.h"
#include "import/zip_xml_stream.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

constexpr std::string_view kOfficeDocumentType = "/officeDocument";
constexpr std::string_view kWorksheetType = "/worksheet";
constexpr std::string_view kSharedStringsType = "/sharedStrings";

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

/// Resolves a relationship target against the folder of the part that holds it.
std::string resolveTarget(std::string_view sourcePart, std::string_view target) {
    std::vector<std::string> segments;
    if (!target.empty() && target.front() == '/') {
        target.remove_prefix(1);
    } else {
        size_t slash = sourcePart.rfind('/');
        std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : sourcePart.substr(0, slash);
        size_t start = 0;
        while (start < folder.size()) {
            size_t end = folder.find('/', start);
            if (end == std::string_view::npos) end = folder.size();
            if (end > start) segments.emplace_back(folder.substr(start, end - start));
            start = end + 1;
        }
    }
    size_t start = 0;
    while (start <= target.size()) {
        size_t end = target.find('/', start);
        if (end == std::string_view::npos) end = target.size();
        std::string_view segment = target.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.emplace_back(segment);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& s : segments) {
        if (!path.empty()) path += '/';
        path += s;
    }
    return path;
}

/// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"
std::string relationshipsPartOf(std::string_view part) {
    size_t slash = part.rfind('/');
    if (slash == std::string_view::npos) return "_rels/" + std::string(part) + ".rels";
    return std::string(part.substr(0, slash)) + "/_rels/" + std::string(part.substr(slash + 1)) + ".rels";
}

struct Relationship {
    std::string id;
    std::string type;
    std::string target;  ///< resolved part name
};

class RelationshipsParser : public XmlPartParser {
  public:
    RelationshipsParser(ZipPartReader& part, std::string sourcePart)
        : XmlPartParser(part), sourcePart_(std::move(sourcePart)) {}
    std::vector<Relationship> relationships;

  protected:
    void onStart(std::string_view local, const XML_Char** attributes) override {
        if (local != "Relationship") return;
        const char* id = attribute(attributes, "Id");
        const char* type = attribute(attributes, "Type");
        const char* target = attribute(attributes, "Target");
        const char* mode = attribute(attributes, "TargetMode");
        if (id == nullptr || type == nullptr || target == nullptr) return;
        if (mode != nullptr && std::string_view(mode) == "External") return;
        if (relationships.size() >= limits::kMaxSheets * 4) return stopWith(tx::kTooManyRecords);
        relationships.push_back({id, type, resolveTarget(sourcePart_, target)});
    }
    void onEnd(std::string_view) override {}

  private:
    std::string sourcePart_;
};

struct SheetEntry {
    std::string name;
    std::string relationshipId;
};

class WorkbookPartParser : public XmlPartParser {
  public:
    using XmlPartParser::XmlPartParser;
    std::vector<SheetEntry> sheets;

  protected:
    void onStart(std::string_view local, const XML_Char** attributes) override {
        if (local != "sheet") return;
        SheetEntry entry;
        for (size_t i = 0; attributes[i] != nullptr; i += 2) {
            std::string_view attr = localName(attributes[i]);
            if (attr == "name" && !hasNamespace(attributes[i])) entry.name = attributes[i + 1];
            if (attr == "id" && hasNamespace(attributes[i])) entry.relationshipId = attributes[i + 1];
        }
        if (sheets.size() >= limits::kMaxSheets) return stopWith(tx::kTooManyRecords);
        sheets.push_back(std::move(entry));
    }
    void onEnd(std::string_view) override {}
};

class SharedStringsParser : public XmlPartParser {
  public:
    SharedStringsParser(ZipPartReader& part, StringTable& out) : XmlPartParser(part), out_(out) {}

  protected:
    void onStart(std::string_view local, const XML_Char**) override {
        if (local == "si") {
            inItem_ = true;
            current_.clear();
        } else if (local == "rPh") {
            ++phoneticDepth_;
        } else if (local == "t" && inItem_ && phoneticDepth_ == 0) {
            inText_ = true;
        }
    }
    void onEnd(std::string_view local) override {
        if (local == "t") {
            inText_ = false;
        } else if (local == "rPh") {
            if (phoneticDepth_ > 0) --phoneticDepth_;
        } else if (local == "si" && inItem_) {
            inItem_ = false;
            unescapeOfficeXmlText(current_);
            if (!out_.add(current_)) return stopWith(tx::kTooManyStrings);
        }
    }
    void onText(std::string_view text) override {
        if (!inText_) return;
        if (current_.size() + text.size() > limits::kMaxCellTextBytes) return stopWith(tx::kTextTooLong);
        current_.append(text);
    }

  private:
    StringTable& out_;
    std::string current_;
    bool inItem_ = false;
    bool inText_ = false;
    int phoneticDepth_ = 0;
};

/// Parses "B12" into a 0-based column and a 1-based row (row 0 when the reference has none).
bool parseCellReference(std::string_view ref, uint32_t& column, uint32_t& row) {
    size_t i = 0;
    uint32_t col = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        char c = ref[i] >= 'a' ? static_cast<char>(ref[i] - 'a' + 'A') : ref[i];
        col = col * 26 + static_cast<uint32_t>(c - 'A' + 1);
        if (col > limits::kMaxColumns) return false;
        ++i;
    }
    if (col == 0) return false;
    uint32_t r = 0;
    if (i < ref.size()) {
        auto [ptr, ec] = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
        if (ec != std::errc() || ptr != ref.data() + ref.size() || r == 0 || r > limits::kMaxRows)
            return false;
    }
    column = col - 1;
    row = r;
    return true;
}

/// Reads one worksheet's rows, pausing the parser at the end of each row that holds a value.
class XlsxSheetStream : public XmlRowStream {
  public:
    XlsxSheetStream(std::unique_ptr<ZipPartReader> part, const StringTable& strings, std::string sheetName)
        : XmlRowStream(*part, std::move(sheetName)), part_(std::move(part)), strings_(strings) {}

  private:
    void onStart(std::string_view local, const XML_Char** attributes) override {
        if (!inSheetData_) {
            if (local == "sheetData") inSheetData_ = true;
            return;
        }
        if (local == "c") {
            startCell(attributes);
        } else if (local == "v") {
            inValue_ = inCell_;
        } else if (local == "f") {
            if (inCell_) hasFormula_ = true;
        } else if (local == "is") {
            inInline_ = inCell_;
        } else if (local == "rPh") {
            ++phoneticDepth_;
        } else if (local == "t") {
            inInlineText_ = inInline_ && phoneticDepth_ == 0;
        } else if (local == "row") {
            startRow(attributes);
        }
    }

    void onEnd(std::string_view local) override {
        if (!inSheetData_) return;
        if (local == "v") {
            inValue_ = false;
        } else if (local == "t") {
            inInlineText_ = false;
        } else if (local == "is") {
            inInline_ = false;
        } else if (local == "rPh") {
            if (phoneticDepth_ > 0) --phoneticDepth_;
        } else if (local == "c") {
            endCell();
        } else if (local == "row") {
            inRow_ = false;
            if (rowHasValue_) rowDone(rowNumber_);
        } else if (local == "sheetData") {
            inSheetData_ = false;
            finishEarly();
        }
    }

    void onText(std::string_view text) override {
        if (!inValue_ && !inInlineText_) return;
        if (value_.size() + text.size() > limits::kMaxCellTextBytes) return stopWith(tx::kTextTooLong);
        value_.append(text);
    }

    void startRow(const XML_Char** attributes) {
        const char* r = attribute(attributes, "r");
        uint32_t number = rowNumber_ + 1;
        if (r != nullptr) {
            std::string_view text(r);
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
            if (ec != std::errc() || ptr != text.data() + text.size()) number = 0;
        }
        if (number == 0 || number > limits::kMaxRows || number <= rowNumber_) {
            return stopWith(strprintf(tx::kBadRowNumber, r != nullptr ? r : std::to_string(number).c_str()));
        }
        rowNumber_ = number;
        inRow_ = true;
        rowHasValue_ = false;
        column_ = UINT32_MAX;  // the first cell without "r" is column A
    }

    void startCell(const XML_Char** attributes) {
        if (!inRow_) {
            // A cell outside any row element: treat it as a row of its own.
            const XML_Char* none[] = {nullptr};
            startRow(none);
            implicitRow_ = true;
        }
        inCell_ = true;
        hasFormula_ = false;
        value_.clear();
        type_ = CellType::Number;
        uint32_t column = column_ + 1;
        for (size_t i = 0; attributes[i] != nullptr; i += 2) {
            std::string_view name(attributes[i]);
            if (name == "r") {
                uint32_t row = 0;
                if (!parseCellReference(attributes[i + 1], column, row)) {
                    return stopWith(strprintf(tx::kBadCellReference, attributes[i + 1]));
                }
            } else if (name == "t") {
                type_ = cellTypeOf(attributes[i + 1]);
            }
        }
        if (column >= limits::kMaxColumns) return stopWith(strprintf(tx::kBadCellReference, "XFE"));
        column_ = column;
    }

    enum class CellType { Number, Shared, Text, Boolean, Error };

    static CellType cellTypeOf(std::string_view t) {
        if (t == "s") return CellType::Shared;
        if (t == "str" || t == "inlineStr" || t == "d") return CellType::Text;
        if (t == "b") return CellType::Boolean;
        if (t == "e") return CellType::Error;
        return CellType::Number;
    }

    void endCell() {
        inCell_ = false;
        inValue_ = false;
        inInline_ = false;
        bool present = hasFormula_ || !value_.empty();
        if (present) {
            rowHasValue_ = true;
            if (wanted(column_)) {
                std::string& cell = cellAt(row(), column_);
                cell.clear();
                if (!cellText(cell)) return;
            }
        }
        if (implicitRow_) {
            implicitRow_ = false;
            inRow_ = false;
            if (rowHasValue_) rowDone(rowNumber_);
        }
    }

    bool cellText(std::string& out) {
        switch (type_) {
            case CellType::Number:
                appendStoredNumberText(value_, out);
                return true;
            case CellType::Text:
                unescapeOfficeXmlText(value_);
                out += value_;
                return true;
            case CellType::Boolean:
                out += booleanText(value_ == "1" || value_ == "true");
                return true;
            case CellType::Error:
                out += value_;
                return true;
            case CellType::Shared: {
                uint32_t index = 0;
                auto [ptr, ec] = std::from_chars(value_.data(), value_.data() + value_.size(), index);
                if (ec != std::errc() || ptr != value_.data() + value_.size() || index >= strings_.size()) {
                    stopWith(strprintf(tx::kBadStringIndex, cellName().c_str(), value_.c_str()));
                    return false;
                }
                out += strings_.at(index);
                return true;
            }
        }
        return true;
    }

    std::string cellName() const {
        std::string letters;
        uint32_t n = column_ + 1;
        while (n > 0) {
            letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
            n = (n - 1) / 26;
        }
        return letters + std::to_string(rowNumber_);
    }

    std::unique_ptr<ZipPartReader> part_;
    const StringTable& strings_;
    bool inSheetData_ = false;
    bool inRow_ = false;
    bool implicitRow_ = false;
    bool rowHasValue_ = false;
    bool inCell_ = false;
    bool inValue_ = false;
    bool inInline_ = false;
    bool inInlineText_ = false;
    bool hasFormula_ = false;
    int phoneticDepth_ = 0;
    CellType type_ = CellType::Number;
    uint32_t rowNumber_ = 0;
    uint32_t column_ = 0;
    std::string value_;
};

class XlsxWorkbook : public WorkbookReader {
  public:
    XlsxWorkbook(std::unique_ptr<ZipPackage> package, std::string displayName)
        : package_(std::move(package)), displayName_(std::move(displayName)) {}

    const std::vector<std::string>& sheetNames() const override { return names_; }

    Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) override {
        if (index >= parts_.size()) return fail(strprintf(tx::kNoSuchSheet, ""));
        if (!sharedStringsLoaded_) {
            Status loaded = loadSharedStrings();
            if (!loaded)
                return fail(strprintf(tx::kCorruptZip, displayName_.c_str(), loaded.error().c_str()));
            sharedStringsLoaded_ = true;
        }
        int64_t at = package_->find(parts_[index]);
        if (at < 0) {
            std::string reason = strprintf(tx::kMissingPart, parts_[index].c_str());
            return fail(strprintf(tx::kSheetCorrupt, names_[index].c_str(), reason.c_str()));
        }
        auto part = std::make_unique<ZipPartReader>(*package_, at, parts_[index], limits::kMaxSheetPartBytes);
        std::unique_ptr<SheetRowStream> stream =
            std::make_unique<XlsxSheetStream>(std::move(part), strings_, names_[index]);
        return stream;
    }

    /// Reads the workbook part and its relationships: the worksheets' names and parts. A failure
    /// is the reason, without the file name.
    Status load() {
        // The package's relationships name the workbook part; "xl/workbook.xml" when they are missing.
        std::string workbookPart = "xl/workbook.xml";
        if (package_->find("_rels/.rels") >= 0) {
            Result<std::vector<Relationship>> root = readRelationships("");
            if (!root) return fail(root.error());
            for (const Relationship& r : *root) {
                if (endsWith(r.type, kOfficeDocumentType)) {
                    workbookPart = r.target;
                    break;
                }
            }
        }
        int64_t at = package_->find(workbookPart);
        if (at < 0) return fail(strprintf(tx::kMissingPart, workbookPart.c_str()));
        std::vector<SheetEntry> sheets;
        {
            ZipPartReader part(*package_, at, workbookPart, limits::kMaxSmallPartBytes);
            WorkbookPartParser parser(part);
            if (Status parsed = parser.parseAll(); !parsed) return parsed;
            sheets = std::move(parser.sheets);
        }
        Result<std::vector<Relationship>> rels = readRelationships(workbookPart);
        if (!rels) return fail(rels.error());
        std::unordered_map<std::string, const Relationship*> byId;
        for (const Relationship& r : *rels) {
            byId.emplace(r.id, &r);
            if (endsWith(r.type, kSharedStringsType) && sharedStringsPart_.empty())
                sharedStringsPart_ = r.target;
        }
        for (const SheetEntry& sheet : sheets) {
            auto found = byId.find(sheet.relationshipId);
            if (found == byId.end()) continue;
            if (!endsWith(found->second->type, kWorksheetType)) continue;  // chart, dialog and macro sheets
            names_.push_back(sheet.name);
            parts_.push_back(found->second->target);
        }
        return {};
    }

  private:
    Result<std::vector<Relationship>> readRelationships(const std::string& sourcePart) {
        std::string relsName = relationshipsPartOf(sourcePart);
        int64_t at = package_->find(relsName);
        if (at < 0) return fail(strprintf(tx::kMissingPart, relsName.c_str()));
        ZipPartReader part(*package_, at, relsName, limits::kMaxSmallPartBytes);
        RelationshipsParser parser(part, sourcePart);
        if (Status parsed = parser.parseAll(); !parsed) return fail(parsed.error());
        return std::move(parser.relationships);
    }

    Status loadSharedStrings() {
        if (sharedStringsPart_.empty()) return {};
        int64_t at = package_->find(sharedStringsPart_);
        if (at < 0) return {};  // no strings in the workbook
        ZipPartReader part(*package_, at, sharedStringsPart_, limits::kMaxSharedStringsPartBytes);
        SharedStringsParser parser(part, strings_);
        return parser.parseAll();
    }

    std::unique_ptr<ZipPackage> package_;
    std::string displayName_;
    std::vector<std::string> names_;
    std::vector<std::string> parts_;
    std::string sharedStringsPart_;
    StringTable strings_;
    bool sharedStringsLoaded_ = false;
};

Result<std::unique_ptr<WorkbookReader>> finishOpening(Result<std::unique_ptr<ZipPackage>> package,
                                                      const std::string& displayName) {
    if (!package) return fail(strprintf(tx::kCorruptZip, displayName.c_str(), package.error().c_str()));
    auto workbook = std::make_unique<XlsxWorkbook>(std::move(package).value(), displayName);
    if (Status loaded = workbook->load(); !loaded)
        return fail(strprintf(tx::kCorruptZip, displayName.c_str(), loaded.error().c_str()));
    std::unique_ptr<WorkbookReader> reader = std::move(workbook);
    return reader;
}

}  // namespace

Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbook(const std::string& path) {
    return finishOpening(ZipPackage::openFile(path), fileNameOf(path));
}

Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbookFromMemory(const void* data, size_t size,
                                                                   const std::string& displayName) {
    return finishOpening(ZipPackage::openMemory(data, size), displayName);
}

}  // namespace varnex
