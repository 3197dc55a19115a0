#include "readers/html_reader.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <vector>

#include "base/text_util.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/text_decoding.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

std::string_view textOf(const xmlChar* s) {
    return s == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(s));
}

bool isAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

/// The value of an attribute (names come lower-cased from the HTML parser); null when absent.
const xmlChar* attributeOf(const xmlChar** attributes, std::string_view name) {
    for (size_t i = 0; attributes != nullptr && attributes[i] != nullptr; i += 2) {
        if (textOf(attributes[i]) == name) return attributes[i + 1];
    }
    return nullptr;
}

/// Receives the elements and the text of a page from the HTML parser.
class PageHandler {
  public:
    virtual ~PageHandler() = default;
    virtual void onStart(std::string_view name, const xmlChar** attributes) = 0;
    virtual void onEnd(std::string_view name) = 0;
    virtual void onText(std::string_view text) = 0;

    /// Parses `text` in `encoding`. Errors of the page are neither printed nor kept (the parser
    /// mends what it can, as browsers do); the network is never used. False when the parser
    /// gave up on the page before its end.
    bool parse(std::string_view text, xmlCharEncoding encoding) {
        static std::once_flag once;
        std::call_once(once, [] { xmlInitParser(); });
        htmlSAXHandler sax;
        std::memset(&sax, 0, sizeof sax);
        sax.startElement = [](void* self, const xmlChar* name, const xmlChar** attributes) {
            static_cast<PageHandler*>(self)->onStart(textOf(name), attributes);
        };
        sax.endElement = [](void* self, const xmlChar* name) {
            static_cast<PageHandler*>(self)->onEnd(textOf(name));
        };
        sax.characters = [](void* self, const xmlChar* chars, int length) {
            static_cast<PageHandler*>(self)->onText(
                std::string_view(reinterpret_cast<const char*>(chars), static_cast<size_t>(length)));
        };
        sax.ignorableWhitespace = sax.characters;
        sax.serror = [](void*, xmlErrorPtr) {};
        sax.initialized = XML_SAX2_MAGIC;  // so that the structured error handler above is used
        htmlParserCtxtPtr context = htmlCreatePushParserCtxt(&sax, this, nullptr, 0, nullptr, encoding);
        if (context == nullptr) return false;
        htmlCtxtUseOptions(
            context, HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_IGNORE_ENC);
        context_ = context;
        htmlParseChunk(context, text.data(), static_cast<int>(text.size()), 1);
        bool gaveUp = context->disableSAX != 0 && !stopped_;
        htmlFreeParserCtxt(context);
        context_ = nullptr;
        return !gaveUp;
    }

  protected:
    /// Ends the parse after the current event.
    void stop() {
        stopped_ = true;
        if (context_ != nullptr) xmlStopParser(context_);
    }

  private:
    htmlParserCtxtPtr context_ = nullptr;
    bool stopped_ = false;
};

/// The charset a page declares in its head (<meta charset> or <meta http-equiv="Content-Type"
/// content="…; charset=…">), read from the raw bytes taken as Latin-1 so that any encoding
/// passes; the scan ends at the first declaration or where the page's body begins.
class CharsetScanner : public PageHandler {
  public:
    std::string label;

  private:
    void onStart(std::string_view name, const xmlChar** attributes) override {
        if (name == "meta") {
            if (const xmlChar* charset = attributeOf(attributes, "charset")) {
                label = textOf(charset);
            } else if (equalsIgnoringAsciiCase(textOf(attributeOf(attributes, "http-equiv")),
                                               "content-type")) {
                label = charsetOfContentType(textOf(attributeOf(attributes, "content")));
            }
            if (!label.empty()) stop();
        } else if (name == "body" || name == "table") {
            stop();
        }
    }
    void onEnd(std::string_view) override {}
    void onText(std::string_view) override {}

    /// "text/html; charset=gb2312" -> "gb2312".
    static std::string charsetOfContentType(std::string_view content) {
        for (size_t at = 0; at + 7 <= content.size(); ++at) {
            if (!equalsIgnoringAsciiCase(content.substr(at, 7), "charset")) continue;
            size_t i = at + 7;
            while (i < content.size() && isAsciiBlank(content[i])) ++i;
            if (i >= content.size() || content[i] != '=') continue;
            ++i;
            while (i < content.size() && isAsciiBlank(content[i])) ++i;
            char quote = i < content.size() && (content[i] == '"' || content[i] == '\'') ? content[i++] : 0;
            size_t end = i;
            while (end < content.size() && content[end] != quote && content[end] != ';' &&
                   (quote != 0 || !isAsciiBlank(content[end])))
                ++end;
            return std::string(content.substr(i, end - i));
        }
        return "";
    }
};

/// Text as a page shows it: runs of blanks as one space, a line break for <br>, no-break spaces
/// kept as spaces, blanks and line breaks at both ends removed.
class VisibleText {
  public:
    void add(std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (isAsciiBlank(c)) {
                gap();
                continue;
            }
            if (pendingSpace_) text_ += ' ';
            pendingSpace_ = false;
            if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {  // U+00A0 (&nbsp;)
                text_ += ' ';
                ++i;
            } else {
                text_ += c;
            }
        }
    }
    void lineBreak() {
        text_ += '\n';
        pendingSpace_ = false;
    }
    /// A boundary that reads as a blank (the edge of a block inside the cell).
    void gap() { pendingSpace_ = !text_.empty() && text_.back() != '\n'; }
    size_t size() const { return text_.size(); }
    /// The text, trimmed; starts anew.
    std::string take() {
        size_t begin = 0;
        size_t end = text_.size();
        while (begin < end && (text_[begin] == ' ' || text_[begin] == '\n')) ++begin;
        while (end > begin && (text_[end - 1] == ' ' || text_[end - 1] == '\n')) --end;
        std::string out = text_.substr(begin, end - begin);
        text_.clear();
        pendingSpace_ = false;
        return out;
    }

  private:
    std::string text_;
    bool pendingSpace_ = false;
};

/// A cell with text, placed in its table (row 1-based, column 0-based); its text is a slice of
/// the table's text.
struct PageCell {
    uint32_t row;
    uint32_t column;
    uint32_t begin;
    uint32_t length;
};

/// One table of the page: its cells in row order.
struct PageTable {
    std::string caption;
    std::string text;
    std::vector<PageCell> cells;
};

/// HTML's rule for a non-negative integer attribute: blanks, an optional "+", digits; anything
/// after the digits is ignored ("2px" is 2). Nothing when there are no digits.
std::optional<uint32_t> spanValue(const xmlChar* attribute) {
    std::string_view s = textOf(attribute);
    size_t i = 0;
    while (i < s.size() && isAsciiBlank(s[i])) ++i;
    if (i < s.size() && s[i] == '+') ++i;
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return std::nullopt;
    uint64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min<uint64_t>(value * 10 + (s[i] - '0'), UINT32_MAX);
    return static_cast<uint32_t>(value);
}

/// Collects every table of the page and the page's title. Cells take their place as in a
/// spreadsheet application: after the cells before them in the row and after every slot that a
/// cell of a row above covers with its rowspan. A cell spanning rows belongs to each of them and
/// gives its text to every one (pages merge the school or class of consecutive students so); a
/// cell spanning columns keeps its text in its first column, as a merged cell does.
class TableCollector : public PageHandler {
  public:
    explicit TableCollector(std::string fileName) : fileName_(std::move(fileName)) {}

    std::vector<PageTable> tables;
    std::string title;
    /// Why the page cannot be read ("" when it can).
    std::string error;

    /// Finishes tables that the page left open.
    void finish() {
        while (!open_.empty() && error.empty()) endTable();
    }

  private:
    /// A table whose end tag has not come yet.
    struct OpenTable {
        size_t index = 0;  ///< in `tables`
        uint32_t rows = 0;
        bool rowOpen = false;
        uint32_t nextColumn = 0;
        bool cellOpen = false;
        uint32_t cellColumn = 0;
        VisibleText cell;
        bool captionOpen = false;
        bool captionDone = false;
        VisibleText caption;
        std::vector<uint32_t> coveredThrough;  ///< per column: the last row a rowspan above covers
        uint64_t coverSteps = 0;
        uint32_t cellLastRow = 0;  ///< the last row the open cell spans
        /// The cells with text that span rows below the current one.
        struct Spanning {
            uint32_t lastRow;
            uint32_t column;
            uint32_t begin;
            uint32_t length;
        };
        std::vector<Spanning> spanning;
    };

    void onStart(std::string_view name, const xmlChar** attributes) override {
        if (++depth_ > limits::kMaxPageDepth) return failWith(strprintf(tx::kPageTooDeep, fileName_.c_str()));
        if (name == "script" || name == "style") {
            ++hiddenDepth_;
        } else if (name == "title") {
            titleOpen_ = !titleDone_;
        } else if (name == "table") {
            startTable();
        } else if (open_.empty()) {
            return;
        } else if (name == "tr") {
            startRow();
        } else if (name == "td" || name == "th") {
            startCell(attributes);
        } else if (name == "caption") {
            OpenTable& table = open_.back();
            table.captionOpen = !table.captionDone;
        } else if (name == "br") {
            if (VisibleText* text = activeText()) text->lineBreak();
        } else if (isBlock(name)) {
            if (VisibleText* text = activeText()) text->gap();
        }
    }

    void onEnd(std::string_view name) override {
        if (depth_ > 0) --depth_;
        if (name == "script" || name == "style") {
            if (hiddenDepth_ > 0) --hiddenDepth_;
        } else if (name == "title") {
            if (titleOpen_) {
                title = singleLine(titleText_.take());
                titleDone_ = true;
            }
            titleOpen_ = false;
        } else if (open_.empty()) {
            return;
        } else if (name == "table") {
            endTable();
        } else if (name == "tr") {
            endCell();
            open_.back().rowOpen = false;
        } else if (name == "td" || name == "th") {
            endCell();
        } else if (name == "caption") {
            OpenTable& table = open_.back();
            if (table.captionOpen) {
                tables[table.index].caption = singleLine(table.caption.take());
                table.captionDone = true;
            }
            table.captionOpen = false;
        } else if (isBlock(name)) {
            if (VisibleText* text = activeText()) text->gap();
        }
    }

    /// An element that starts on a line of its own, so that its text never runs into the text
    /// around it.
    static bool isBlock(std::string_view name) {
        static constexpr std::string_view kBlocks[] = {
            "p",  "div", "li", "ul", "ol",  "dl", "dt",         "dd",     "h1",      "h2",
            "h3", "h4",  "h5", "h6", "pre", "hr", "blockquote", "center", "address", "form"};
        return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
    }

    void onText(std::string_view text) override {
        if (hiddenDepth_ > 0) return;
        VisibleText* target = activeText();
        if (target == nullptr) return;
        if (target->size() + text.size() > limits::kMaxCellTextBytes) {
            if (open_.empty() || target != &open_.back().cell)
                return failWith(strprintf(tx::kPageTextTooLong, fileName_.c_str()));
            return failWith(strprintf(tx::kPageCellTooLong, fileName_.c_str(), open_.back().index + 1,
                                      open_.back().rows));
        }
        target->add(text);
    }

    /// Where text goes now: the title, the open caption or cell of the innermost table, or nowhere.
    VisibleText* activeText() {
        if (titleOpen_) return &titleText_;
        if (open_.empty()) return nullptr;
        OpenTable& table = open_.back();
        if (table.captionOpen) return &table.caption;
        if (table.cellOpen) return &table.cell;
        return nullptr;
    }

    void startTable() {
        if (tables.size() >= limits::kMaxSheets)
            return failWith(strprintf(tx::kPageTooManyTables, fileName_.c_str(), limits::kMaxSheets));
        if (VisibleText* text = activeText()) text->gap();  // a table inside a cell
        tables.emplace_back();
        open_.emplace_back();
        open_.back().index = tables.size() - 1;
    }

    void endTable() {
        endCell();
        open_.pop_back();
        if (VisibleText* text = activeText()) text->gap();
    }

    void startRow() {
        endCell();
        OpenTable& table = open_.back();
        if (table.rows >= limits::kMaxRows)
            return failWith(
                strprintf(tx::kPageTableTooLong, fileName_.c_str(), table.index + 1, limits::kMaxRows));
        ++table.rows;
        table.rowOpen = true;
        table.nextColumn = 0;
        // The texts of the cells above that span this row too.
        PageTable& out = tables[table.index];
        for (const OpenTable::Spanning& s : table.spanning) {
            if (++table.coverSteps > limits::kMaxCoveredSteps) return tooManySpans(table);
            out.cells.push_back({table.rows, s.column, s.begin, s.length});
        }
        std::erase_if(table.spanning, [&](const OpenTable::Spanning& s) { return s.lastRow <= table.rows; });
    }

    void startCell(const xmlChar** attributes) {
        if (!open_.back().rowOpen) startRow();  // a cell outside any row starts one
        endCell();
        if (!error.empty()) return;
        OpenTable& table = open_.back();
        uint32_t colspan = std::clamp<uint32_t>(spanValue(attributeOf(attributes, "colspan")).value_or(1), 1,
                                                limits::kMaxColspan);
        uint32_t rowspan = std::clamp<uint32_t>(spanValue(attributeOf(attributes, "rowspan")).value_or(1), 1,
                                                limits::kMaxRowspan);
        uint32_t column = table.nextColumn;
        while (column < table.coveredThrough.size() && table.coveredThrough[column] >= table.rows) {
            ++column;
            if (++table.coverSteps > limits::kMaxCoveredSteps) return tooManySpans(table);
        }
        if (column >= limits::kMaxColumns || colspan > limits::kMaxColumns - column) {
            return failWith(strprintf(tx::kPageTableTooWide, fileName_.c_str(), table.index + 1, table.rows,
                                      limits::kMaxColumns));
        }
        if (rowspan > 1) {
            if (table.coveredThrough.size() < column + colspan)
                table.coveredThrough.resize(column + colspan, 0);
            uint32_t last = table.rows + (rowspan - 1);
            for (uint32_t k = column; k < column + colspan; ++k)
                table.coveredThrough[k] = std::max(table.coveredThrough[k], last);
            table.coverSteps += colspan;
            if (table.coverSteps > limits::kMaxCoveredSteps) return tooManySpans(table);
        }
        table.nextColumn = column + colspan;
        table.cellColumn = column;
        table.cellLastRow = table.rows + (rowspan - 1);
        table.cellOpen = true;
    }

    void endCell() {
        if (open_.empty() || !open_.back().cellOpen) return;
        OpenTable& table = open_.back();
        table.cellOpen = false;
        std::string text = table.cell.take();
        if (text.empty()) return;
        PageTable& out = tables[table.index];
        out.cells.push_back({table.rows, table.cellColumn, static_cast<uint32_t>(out.text.size()),
                             static_cast<uint32_t>(text.size())});
        if (table.cellLastRow > table.rows)
            table.spanning.push_back(
                {table.cellLastRow, table.cellColumn, out.cells.back().begin, out.cells.back().length});
        out.text += text;
    }

    void tooManySpans(const OpenTable& table) {
        failWith(strprintf(tx::kPageTableTooManySpans, fileName_.c_str(), table.index + 1));
    }

    void failWith(std::string message) {
        if (error.empty()) error = std::move(message);
        stop();
    }

    static std::string singleLine(std::string text) {
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    }

    std::string fileName_;
    std::vector<OpenTable> open_;
    int depth_ = 0;
    int hiddenDepth_ = 0;
    bool titleOpen_ = false;
    bool titleDone_ = false;
    VisibleText titleText_;
};

class PageSheetStream : public SheetRowStream {
  public:
    explicit PageSheetStream(const PageTable& table) : table_(table) {}

    Result<bool> next(SheetRow& row) override {
        clearRow(row);
        const std::vector<PageCell>& cells = table_.cells;
        if (at_ >= cells.size()) return false;
        row.number = cells[at_].row;
        for (; at_ < cells.size() && cells[at_].row == row.number; ++at_) {
            const PageCell& cell = cells[at_];
            if (wanted(cell.column)) cellAt(row, cell.column).assign(table_.text, cell.begin, cell.length);
        }
        return true;
    }

  private:
    const PageTable& table_;
    size_t at_ = 0;
};

class WebPageWorkbook : public WorkbookReader {
  public:
    WebPageWorkbook(std::vector<PageTable> tables, const std::string& title) : tables_(std::move(tables)) {
        // A table is named by its caption; the page's title names its only table; else 表1, 表2, …
        std::unordered_set<std::string> taken;
        for (size_t i = 0; i < tables_.size(); ++i) {
            std::string name = !tables_[i].caption.empty()             ? tables_[i].caption
                               : tables_.size() == 1 && !title.empty() ? title
                                                                       : strprintf("表%zu", i + 1);
            std::string unique = name;
            for (int n = 2; !taken.insert(unique).second; ++n) unique = strprintf("%s (%d)", name.c_str(), n);
            names_.push_back(std::move(unique));
        }
    }

    const std::vector<std::string>& sheetNames() const override { return names_; }

    Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) override {
        if (index >= tables_.size()) return fail(strprintf(tx::kNoSuchSheet, ""));
        std::unique_ptr<SheetRowStream> stream = std::make_unique<PageSheetStream>(tables_[index]);
        return stream;
    }

  private:
    std::vector<PageTable> tables_;
    std::vector<std::string> names_;
};

Result<std::unique_ptr<WorkbookReader>> loadPage(std::string_view bytes, const std::string& fileName) {
    std::string declared;
    if (byteOrderMarkOf(bytes).encoding == nullptr) {
        CharsetScanner scanner;
        scanner.parse(bytes, XML_CHAR_ENCODING_8859_1);
        declared = encodingOfLabel(scanner.label);
    }
    std::optional<std::string> text = decodeText(bytes, declared);
    if (!text) return fail(strprintf(tx::kUndecodableText, fileName.c_str()));
    TableCollector collector(fileName);
    bool whole = collector.parse(*text, XML_CHAR_ENCODING_UTF8);
    collector.finish();
    if (!collector.error.empty()) return fail(collector.error);
    if (!whole) return fail(strprintf(tx::kPageBrokenOff, fileName.c_str()));
    if (collector.tables.empty()) return fail(strprintf(tx::kPageWithoutTable, fileName.c_str()));
    return std::unique_ptr<WorkbookReader>(
        std::make_unique<WebPageWorkbook>(std::move(collector.tables), collector.title));
}

}  // namespace

Result<std::unique_ptr<WorkbookReader>> openWebPage(const std::string& path) {
    Result<std::string> bytes = readWholeFile(path, limits::kMaxTextFileBytes);
    if (!bytes) return fail(bytes.error());
    return loadPage(*bytes, fileNameOf(path));
}

Result<std::unique_ptr<WorkbookReader>> openWebPageFromMemory(const void* data, size_t size,
                                                              const std::string& displayName) {
    Result<std::string_view> bytes = textInMemory(data, size, limits::kMaxTextFileBytes, displayName);
    if (!bytes) return fail(bytes.error());
    return loadPage(*bytes, displayName);
}

}  // namespace varnex
