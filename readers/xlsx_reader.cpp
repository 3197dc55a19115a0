#include "readers/xlsx_reader.h"

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "base/text_util.h"
#include "readers/cell_text.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/string_table.h"
#include "readers/zip_xml_stream.h"

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

class SheetTail;
class HeldPartReader;

/// Where a worksheet's part comes from, for reading its second half on a thread of its own: the
/// file (a package in memory is read in one pass), the part and its uncompressed size.
struct SheetPartPlace {
    std::string path;
    std::string part;
    uint64_t bytes = 0;
};

/// Reads one worksheet's rows, pausing the parser at the end of each row that holds a value. A
/// large worksheet of a file is read in two halves at once: the second on a thread of its own,
/// whose rows are given out after the first half's, exactly as one pass would give them.
class XlsxSheetStream : public XmlRowStream {
  public:
    /// A stream that reads in one pass.
    XlsxSheetStream(std::unique_ptr<XmlSource> source, const StringTable& strings, std::string sheetName)
        : XmlRowStream(*source, std::move(sheetName)), source_(std::move(source)), strings_(strings) {}
    /// A stream over a part of a file that may be read in two halves.
    XlsxSheetStream(std::unique_ptr<HeldPartReader> part, SheetPartPlace place, const StringTable& strings,
                    std::string sheetName);
    ~XlsxSheetStream() override;

    Result<bool> next(SheetRow& row) override;

    /// The first row element read: whether there was one, its "r" text (if it had one) and its number.
    bool sawRow() const { return sawRow_; }
    bool firstRowHasReference() const { return firstRowHasReference_; }
    const std::string& firstRowReference() const { return firstRowReference_; }
    uint32_t firstRowNumber() const { return firstRowNumber_; }

  private:
    bool takeOverAtHold() override;
    Result<bool> nextOfTail(SheetRow& row);

    void onStart(std::string_view local, const XML_Char** attributes) override {
        if (!inSheetData_) {
            if (local == "sheetData") {
                inSheetData_ = true;
                sheetDataEnd_ = eventEnd();
                lastRowEnd_ = sheetDataEnd_;
            }
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
            lastRowEnd_ = eventEnd();
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
        if (!sawRow_) {
            sawRow_ = true;
            firstRowHasReference_ = r != nullptr;
            firstRowReference_ = r != nullptr ? r : "";
            firstRowNumber_ = number;
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

    std::string cellName() const { return columnLettersOf(column_) + std::to_string(rowNumber_); }

    std::unique_ptr<XmlSource> source_;
    HeldPartReader* held_ = nullptr;  ///< source_, when the part may be read in two halves
    SheetPartPlace place_;
    const StringTable& strings_;
    std::unique_ptr<SheetTail> tail_;
    size_t rowsGiven_ = 0;
    bool fromTail_ = false;  ///< the first half is done: the rows come from tail_
    size_t tailRow_ = 0;
    bool junctionChecked_ = false;
    uint64_t sheetDataEnd_ = 0;  ///< where the sheetData start tag ends
    uint64_t lastRowEnd_ = 0;    ///< where the last row (or the sheetData start tag) ends
    bool sawRow_ = false;
    bool firstRowHasReference_ = false;
    std::string firstRowReference_;
    uint32_t firstRowNumber_ = 0;
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

/// Worksheets at least this large (uncompressed) are read in two halves at once.
constexpr uint64_t kTwoHalvesBytes = 2ull << 20;
std::atomic<size_t> readInTwoHalves{0};

/// Where the second half of a part begins, as the thread reading it found it.
struct HalfCut {
    bool split = false;         ///< false: the part is read in one pass
    uint64_t at = 0;            ///< the offset of the first row element of the second half
    uint64_t markupEnd = 0;     ///< the offset just after the last byte before `at` that is no blank
    uint64_t sheetDataEnd = 0;  ///< the offset just after the sheetData start tag
};

/// The second half of a large worksheet, read on a thread of its own while the caller reads the
/// first half. The thread looks for the first row element past the middle of the part and says
/// where that is (cut()); then it parses the markup up to the sheetData start tag followed by the
/// rest of the part from there, and keeps the rows. The caller takes them only when its own
/// parser, fed everything before that row element, ended exactly between two rows (see
/// XlsxSheetStream::takeOverAtHold); otherwise it reads on by itself and the rows are dropped.
class SheetTail {
  public:
    SheetTail(SheetPartPlace place, const StringTable& strings, std::string sheetName,
              std::vector<bool> wanted)
        : place_(std::move(place)),
          strings_(strings),
          sheetName_(std::move(sheetName)),
          wanted_(std::move(wanted)) {
        thread_ = std::thread([this] { run(); });
    }
    ~SheetTail() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    SheetTail(const SheetTail&) = delete;
    SheetTail& operator=(const SheetTail&) = delete;

    /// Where the second half begins; waits until the thread knows.
    HalfCut cut() {
        std::unique_lock lock(mutex_);
        decided_.wait(lock, [this] { return haveCut_; });
        return cut_;
    }
    /// Waits until the second half is read.
    void finish() {
        if (thread_.joinable()) thread_.join();
    }

    // After finish(): the rows of the second half, then its end (`failure` when it cannot be read).
    std::vector<SheetRow> rows;
    std::optional<std::string> failure;
    bool sawRow = false;
    bool firstRowHasReference = false;
    std::string firstRowReference;
    uint32_t firstRowNumber = 0;

  private:
    /// The markup up to the sheetData start tag, then the part from the cut on; lines in messages
    /// are counted as in the part.
    class Source : public XmlSource {
      public:
        Source(std::string head, std::string pending, ZipPartReader& rest, long lineShift)
            : head_(std::move(head)), pending_(std::move(pending)), rest_(rest), lineShift_(lineShift) {}
        Result<size_t> read(void* buffer, size_t size) override {
            for (std::string* text : {&head_, &pending_}) {
                if (text->empty()) continue;
                const size_t n = std::min(size, text->size());
                std::memcpy(buffer, text->data(), n);
                text->erase(0, n);
                return n;
            }
            return rest_.read(buffer, size);
        }
        std::string badXmlReason(unsigned long line, const char* what) const override {
            return rest_.badXmlReason(static_cast<unsigned long>(static_cast<long>(line) + lineShift_), what);
        }

      private:
        std::string head_;
        std::string pending_;
        ZipPartReader& rest_;
        long lineShift_;
    };

    void decide(const HalfCut& cut) {
        {
            std::lock_guard lock(mutex_);
            cut_ = cut;
            haveCut_ = true;
        }
        decided_.notify_all();
    }

    static bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // The offset just after the last byte of `bytes` (at `offset`) that is no blank, or `otherwise`.
    static uint64_t markupEndOf(std::string_view bytes, uint64_t offset, uint64_t otherwise) {
        for (size_t i = bytes.size(); i > 0; --i) {
            if (!blank(bytes[i - 1])) return offset + i;
        }
        return otherwise;
    }

    static long linesIn(std::string_view bytes) {
        return static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n'));
    }

    void run() {
        // Whatever happens, the reader of the first half learns where it stands.
        struct Undecided {
            SheetTail& tail;
            ~Undecided() {
                std::lock_guard lock(tail.mutex_);
                if (tail.haveCut_) return;
                tail.haveCut_ = true;
                tail.decided_.notify_all();
            }
        } undecided{*this};
        Result<std::unique_ptr<ZipPackage>> package = ZipPackage::openFile(place_.path);
        if (!package) return;
        const int64_t index = (*package)->find(place_.part);
        if (index < 0) return;
        ZipPartReader part(**package, index, place_.part, limits::kMaxSheetPartBytes);
        const uint64_t middle = place_.bytes / 2;

        std::string head;  // the part up to the end of the sheetData start tag
        uint64_t headEnd = 0;
        std::string window;  // the bytes from the middle on, until a row element is found in them
        uint64_t windowStart = 0;
        uint64_t offset = 0;  // of the next byte read
        long lines = 0;       // line ends before the window
        uint64_t markupEnd = 0;
        std::vector<char> chunk(64 * 1024);
        for (;;) {
            if (stop_) return;
            Result<size_t> got = part.read(chunk.data(), chunk.size());
            if (!got || *got == 0) return;
            std::string_view bytes(chunk.data(), *got);
            if (headEnd == 0) {
                // The sheetData start tag, without a prefix and not empty, comes before any row.
                head.append(bytes);
                const size_t tag = head.find("<sheetData");
                const size_t close = tag == std::string::npos ? tag : head.find('>', tag);
                if (close == std::string::npos) {
                    if (head.size() > (1u << 20)) return;
                } else {
                    if (head[close - 1] == '/') return;
                    headEnd = close + 1;
                    head.resize(headEnd);
                }
            }
            if (window.empty()) {
                // The bytes before the middle are only counted.
                const size_t before = offset + bytes.size() <= middle ? bytes.size()
                                      : offset < middle               ? static_cast<size_t>(middle - offset)
                                                                      : 0;
                std::string_view early = bytes.substr(0, before);
                lines += linesIn(early);
                markupEnd = markupEndOf(early, offset, markupEnd);
                if (before == bytes.size()) {
                    offset += bytes.size();
                    continue;
                }
                windowStart = offset + before;
                window.assign(bytes.substr(before));
            } else {
                window.append(bytes);
            }
            offset += bytes.size();
            size_t found = std::string::npos;
            for (size_t at = window.find("<row"); at != std::string::npos && at + 4 < window.size();
                 at = window.find("<row", at + 1)) {
                const char after = window[at + 4];
                if (blank(after) || after == '>' || after == '/') {
                    found = at;
                    break;
                }
            }
            if (found == std::string::npos) {
                if (window.size() > (1u << 20)) return;  // no row element after the middle
                continue;
            }
            if (headEnd == 0 || windowStart + found < headEnd) return;
            std::string_view before(window.data(), found);
            lines += linesIn(before);
            markupEnd = markupEndOf(before, windowStart, markupEnd);
            decide({true, windowStart + found, markupEnd, headEnd});
            const long headLines = linesIn(head);
            Source source(std::move(head), window.substr(found), part, lines - headLines);
            readRows(source);
            return;
        }
    }

    void readRows(Source& source);

    SheetPartPlace place_;
    const StringTable& strings_;
    std::string sheetName_;
    std::vector<bool> wanted_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable decided_;
    bool haveCut_ = false;
    HalfCut cut_;
    std::thread thread_;
};

/// A part as the reader of its first half sees it: once a SheetTail reads the second half, the
/// bytes from the cut on are held back until release().
class HeldPartReader : public XmlSource {
  public:
    explicit HeldPartReader(std::unique_ptr<ZipPartReader> part) : part_(std::move(part)) {}

    /// Reads up to where `tail` begins the second half (asked when the read nears `middle`).
    void splitWith(SheetTail* tail, uint64_t middle) {
        tail_ = tail;
        middle_ = middle;
    }
    /// Lets the rest of the part through after all.
    void release() {
        tail_ = nullptr;
        held_ = false;
    }
    const HalfCut& cut() const { return cut_; }

    Result<size_t> read(void* buffer, size_t size) override {
        if (tail_ != nullptr) {
            if (!asked_ && total_ + size > middle_) {
                cut_ = tail_->cut();
                asked_ = true;
                if (!cut_.split) tail_ = nullptr;
            }
            if (tail_ != nullptr && asked_) {
                if (total_ >= cut_.at) {
                    held_ = true;
                    return size_t{0};
                }
                size = static_cast<size_t>(std::min<uint64_t>(size, cut_.at - total_));
            }
        }
        Result<size_t> got = part_->read(buffer, size);
        if (got) total_ += *got;
        return got;
    }
    std::string badXmlReason(unsigned long line, const char* what) const override {
        return part_->badXmlReason(line, what);
    }
    bool held() const override { return held_; }

  private:
    std::unique_ptr<ZipPartReader> part_;
    SheetTail* tail_ = nullptr;
    uint64_t middle_ = 0;
    uint64_t total_ = 0;
    bool asked_ = false;
    bool held_ = false;
    HalfCut cut_;
};

void SheetTail::readRows(Source& source) {
    XlsxSheetStream stream(std::make_unique<Source>(std::move(source)), strings_, sheetName_);
    stream.setWantedColumns(wanted_);
    for (;;) {
        if (stop_) return;
        SheetRow row;
        Result<bool> got = stream.next(row);
        if (!got) {
            failure = got.error();
            break;
        }
        if (!*got) break;
        rows.push_back(std::move(row));
    }
    sawRow = stream.sawRow();
    firstRowHasReference = stream.firstRowHasReference();
    firstRowReference = stream.firstRowReference();
    firstRowNumber = stream.firstRowNumber();
}

XlsxSheetStream::XlsxSheetStream(std::unique_ptr<HeldPartReader> part, SheetPartPlace place,
                                 const StringTable& strings, std::string sheetName)
    : XmlRowStream(*part, std::move(sheetName)),
      held_(part.get()),
      place_(std::move(place)),
      strings_(strings) {
    source_ = std::move(part);
}

XlsxSheetStream::~XlsxSheetStream() = default;

Result<bool> XlsxSheetStream::next(SheetRow& row) {
    if (fromTail_) return nextOfTail(row);
    // The second half is begun once the header row is out and the wanted columns are known.
    if (rowsGiven_ == 1 && held_ != nullptr && tail_ == nullptr && !place_.path.empty() &&
        place_.bytes >= kTwoHalvesBytes) {
        tail_ = std::make_unique<SheetTail>(place_, strings_, sheetName(), wantedColumns());
        held_->splitWith(tail_.get(), place_.bytes / 2);
    }
    Result<bool> got = XmlRowStream::next(row);
    if (got && *got) ++rowsGiven_;
    if (got && !*got && fromTail_) return nextOfTail(row);
    return got;
}

bool XlsxSheetStream::takeOverAtHold() {
    const HalfCut& cut = held_->cut();
    // Everything before the cut was read here and ended exactly between two rows of sheetData:
    // the second half's parser, which saw the same markup up to sheetData and then the same bytes
    // from the cut on, reads what this one would have read.
    const bool betweenRows = inSheetData_ && !inRow_ && !inCell_ && !implicitRow_ &&
                             sheetDataEnd_ == cut.sheetDataEnd && lastRowEnd_ == cut.markupEnd;
    if (betweenRows) {
        tail_->finish();
        // A first row without its number would count on from the second half's start instead.
        if (!tail_->sawRow || tail_->firstRowHasReference) {
            fromTail_ = true;
            ++readInTwoHalves;
            return true;
        }
    }
    held_->release();
    tail_.reset();
    return false;
}

Result<bool> XlsxSheetStream::nextOfTail(SheetRow& row) {
    SheetTail& tail = *tail_;
    if (!junctionChecked_) {
        junctionChecked_ = true;
        if (tail.sawRow && tail.firstRowNumber != 0 && tail.firstRowNumber <= rowNumber_) {
            // The order check that one pass makes at the second half's first row.
            tail.failure = strprintf(tx::kSheetCorrupt, sheetName().c_str(),
                                     strprintf(tx::kBadRowNumber, tail.firstRowReference.c_str()).c_str());
            tail.rows.clear();
        }
    }
    if (tailRow_ < tail.rows.size()) {
        row = std::move(tail.rows[tailRow_]);
        tail.rows[tailRow_++] = SheetRow{};
        return true;
    }
    if (tail.failure) {
        // Reported once; the stream has ended then, as one pass ends at a failure.
        std::string failure = std::move(*tail.failure);
        tail.failure.reset();
        return fail(std::move(failure));
    }
    return false;
}

class XlsxWorkbook : public WorkbookReader {
  public:
    /// `path` is the file the package was opened from ("" for one in memory).
    XlsxWorkbook(std::unique_ptr<ZipPackage> package, std::string displayName, std::string path)
        : package_(std::move(package)), displayName_(std::move(displayName)), path_(std::move(path)) {}

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
        SheetPartPlace place{path_, parts_[index], 0};
        zip_stat_t stat;
        if (zip_stat_index(package_->handle(), static_cast<zip_uint64_t>(at), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_SIZE) != 0)
            place.bytes = stat.size;
        std::unique_ptr<SheetRowStream> stream = std::make_unique<XlsxSheetStream>(
            std::make_unique<HeldPartReader>(std::move(part)), std::move(place), strings_, names_[index]);
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
    std::string path_;
    std::vector<std::string> names_;
    std::vector<std::string> parts_;
    std::string sharedStringsPart_;
    StringTable strings_;
    bool sharedStringsLoaded_ = false;
};

Result<std::unique_ptr<WorkbookReader>> finishOpening(Result<std::unique_ptr<ZipPackage>> package,
                                                      const std::string& displayName,
                                                      const std::string& path) {
    if (!package) return fail(strprintf(tx::kCorruptZip, displayName.c_str(), package.error().c_str()));
    auto workbook = std::make_unique<XlsxWorkbook>(std::move(package).value(), displayName, path);
    if (Status loaded = workbook->load(); !loaded)
        return fail(strprintf(tx::kCorruptZip, displayName.c_str(), loaded.error().c_str()));
    std::unique_ptr<WorkbookReader> reader = std::move(workbook);
    return reader;
}

}  // namespace

size_t worksheetsReadInTwoHalves() {
    return readInTwoHalves;
}

Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbook(const std::string& path) {
    return finishOpening(ZipPackage::openFile(path), fileNameOf(path), path);
}

Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbookFromMemory(const void* data, size_t size,
                                                                   const std::string& displayName) {
    return finishOpening(ZipPackage::openMemory(data, size), displayName, {});
}

}  // namespace varnex
