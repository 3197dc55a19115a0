#include "workbook/workbook_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "base/rounding.h"
#include "base/text_util.h"
#include "base/utf8.h"

namespace varnex {

// ---------------------------------------------------------------- cells and their texts

static_assert(sizeof(Cell) <= 32, "a cell stays small: sheets hold millions of them");

Value Cell::cached() const {
    switch (cachedKind_) {
        case Value::Kind::Number:
            return Value::ofNumber(value_.number);
        case Value::Kind::Text:
            return Value::ofText(std::string(cachedText()));
        case Value::Kind::Error:
            return Value::error(std::string(cachedText()));
        case Value::Kind::Empty:
            break;
    }
    return {};
}

std::string_view Cell::cachedText() const {
    if (cachedKind_ != Value::Kind::Text && cachedKind_ != Value::Kind::Error) return {};
    return {value_.cachedText, cachedTextSize_};
}

namespace {
constexpr size_t kTextBlockBytes = 64 * 1024;
}

std::string_view TextStore::add(std::string_view text) {
    if (text.empty()) return {"", 0};
    const size_t size = text.size() + 1;  // with the NUL that makes data() a C string
    if (size > left_) {
        if (size > kTextBlockBytes / 4) {
            // A long text gets a block of its own; the current block keeps taking short ones.
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
            char* own = blocks_.back().get();
            std::memcpy(own, text.data(), text.size());
            own[text.size()] = '\0';
            return {own, text.size()};
        }
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kTextBlockBytes));
        free_ = blocks_.back().get();
        left_ = kTextBlockBytes;
    }
    char* at = free_;
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    free_ += size;
    left_ -= size;
    return {at, text.size()};
}

void TextStore::clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    free_ = nullptr;
    left_ = 0;
}

// ---------------------------------------------------------------- sheets

const Cell* SheetModel::cell(int row, int column) const {
    if (row < 0 || column < 0 || row >= static_cast<int>(rows_.size())) return nullptr;
    const auto& r = rows_[static_cast<size_t>(row)];
    if (column >= static_cast<int>(r.size())) return nullptr;
    return &r[static_cast<size_t>(column)];
}

const Cell* SheetModel::at(std::string_view address) const {
    auto pos = parseCellName(address);
    return pos ? cell(pos->row, pos->column) : nullptr;
}

Cell& SheetModel::create(int row, int column) {
    if (row >= static_cast<int>(rows_.size())) rows_.resize(static_cast<size_t>(row) + 1);
    auto& r = rows_[static_cast<size_t>(row)];
    if (column >= static_cast<int>(r.size())) {
        // Rows of a sheet are mostly as wide as the row above: reserving that much at once keeps
        // growing rows from holding twice the cells they need.
        if (r.capacity() == 0 && row > 0) {
            r.reserve(std::max(static_cast<size_t>(column) + 1, rows_[static_cast<size_t>(row) - 1].size()));
        }
        r.resize(static_cast<size_t>(column) + 1);
    }
    return r[static_cast<size_t>(column)];
}

namespace {

uint64_t positionKey(CellPos p) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(p.row)) << 32) | static_cast<uint32_t>(p.column);
}

bool intersects(const CellRange& a, const CellRange& b) {
    return a.first.row <= b.last.row && b.first.row <= a.last.row && a.first.column <= b.last.column &&
           b.first.column <= a.last.column;
}

}  // namespace

void SheetModel::addMerge(const CellRange& range) {
    if (range.first == range.last) return;
    bool overlaps = false;
    for (int r = range.first.row; r <= range.last.row; ++r) {
        for (int c = range.first.column; c <= range.last.column; ++c) overlaps |= touch(r, c).inMerge;
    }
    if (overlaps) {
        std::vector<CellRange> kept;
        for (const CellRange& m : merges) {
            if (!intersects(m, range)) {
                kept.push_back(m);
                continue;
            }
            for (int r = m.first.row; r <= m.last.row; ++r) {
                for (int c = m.first.column; c <= m.last.column; ++c) touch(r, c).inMerge = false;
            }
        }
        merges = std::move(kept);
        mergeByTopLeft_.clear();
        for (size_t i = 0; i < merges.size(); ++i) mergeByTopLeft_[positionKey(merges[i].first)] = i;
    }
    for (int r = range.first.row; r <= range.last.row; ++r) {
        for (int c = range.first.column; c <= range.last.column; ++c) touch(r, c).inMerge = true;
    }
    merges.push_back(range);
    mergeByTopLeft_[positionKey(range.first)] = merges.size() - 1;
}

bool SheetModel::isMergedArea(const CellRange& range) const {
    auto it = mergeByTopLeft_.find(positionKey(range.first));
    return it != mergeByTopLeft_.end() && it->second < merges.size() && merges[it->second] == range;
}

int SheetModel::columnCount(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return static_cast<int>(rows_[static_cast<size_t>(row)].size());
}

size_t SheetModel::cellCount() const {
    size_t n = 0;
    for (const auto& r : rows_) n += r.size();
    return n;
}

void SheetModel::setEmpty(Cell& cell) {
    cell.kind = Cell::Kind::Empty;
    cell.text_ = "";
    cell.textSize_ = 0;
    cell.cachedKind_ = Value::Kind::Empty;
    cell.value_.number = 0;
}

void SheetModel::setNumber(Cell& cell, double value) {
    setEmpty(cell);
    cell.kind = Cell::Kind::Number;
    cell.value_.number = value;
}

void SheetModel::setText(Cell& cell, Cell::Kind kind, std::string_view text) {
    setEmpty(cell);
    std::string_view stored = texts_.add(text);
    cell.kind = kind;
    cell.text_ = stored.data();
    cell.textSize_ = static_cast<uint32_t>(stored.size());
}

void SheetModel::setCached(Cell& cell, const Value& result) {
    cell.cachedKind_ = result.kind;
    cell.value_.number = 0;
    cell.cachedTextSize_ = 0;
    if (result.kind == Value::Kind::Number) {
        cell.value_.number = result.number;
    } else if (result.kind == Value::Kind::Text || result.kind == Value::Kind::Error) {
        std::string_view stored = texts_.add(result.text);
        cell.value_.cachedText = stored.data();
        cell.cachedTextSize_ = static_cast<uint32_t>(stored.size());
    }
}

void SheetModel::releaseRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    released_ = true;
    std::vector<Cell>().swap(rows_[static_cast<size_t>(row)]);
}

void SheetModel::releaseCells() {
    released_ = true;
    std::vector<std::vector<Cell>>().swap(rows_);
    texts_.clear();
}

namespace {

// How many characters a number takes as the General format shows it. Scores and rates have one or
// two decimals: their width is counted; other numbers are formatted.
int numberWidth(double number) {
    const double size = std::fabs(number);
    if (size < 1e15) {
        int digits = 1;
        for (double rest = size; rest >= 10; rest /= 10) ++digits;
        const int sign = number < 0 ? 1 : 0;
        if (std::trunc(size) == size) return sign + digits;
        for (int decimals = 1, scale = 10; decimals <= 2 && size < 1e9; ++decimals, scale *= 10) {
            const double scaled = size * scale;
            if (std::fabs(scaled - std::round(scaled)) < 1e-9 * scale) return sign + digits + 1 + decimals;
        }
    }
    char text[32];
    return std::snprintf(text, sizeof text, "%.10g", number);
}

}  // namespace

void SheetModel::fitColumnWidths(int first, int last) {
    if (first > last) return;
    // Cells of areas merged across columns take the width of the whole area, not of their column.
    std::unordered_set<uint64_t> spanning;
    for (const CellRange& m : merges) {
        if (m.first.column == m.last.column) continue;
        for (int r = m.first.row; r <= m.last.row; ++r) {
            for (int c = m.first.column; c <= m.last.column; ++c) spanning.insert(positionKey({r, c}));
        }
    }
    std::vector<int> widest(static_cast<size_t>(last - first + 1), 0);
    for (int row = 0; row < rowCount(); ++row) {
        const auto& cells = rows_[static_cast<size_t>(row)];
        const int end = std::min(last + 1, static_cast<int>(cells.size()));
        for (int column = first; column < end; ++column) {
            const Cell& cell = cells[static_cast<size_t>(column)];
            int width = 0;
            if (cell.kind == Cell::Kind::Text)
                width = displayWidth(cell.text());
            else if (cell.kind == Cell::Kind::Number)
                width = numberWidth(cell.number());
            else
                continue;
            if (cell.inMerge && spanning.count(positionKey({row, column})) != 0) continue;
            int& w = widest[static_cast<size_t>(column - first)];
            w = std::max(w, width);
        }
    }
    for (int column = first; column <= last; ++column) {
        // Two characters more than the text leave the margins the cell needs around it.
        const double width = widest[static_cast<size_t>(column - first)] + 2;
        if (width > kDefaultColumnWidth && columnWidths.count(column) == 0) columnWidths[column] = width;
    }
}

int SheetModel::usedColumnCount() const {
    size_t used = 0;
    for (const auto& r : rows_) used = std::max(used, r.size());
    return static_cast<int>(used);
}

double SheetModel::usedWidthPoints() const {
    double pixels = 0;
    for (int column = 0; column < usedColumnCount(); ++column) {
        auto it = columnWidths.find(column);
        const double characters = it != columnWidths.end() ? it->second : kDefaultColumnWidth;
        // A character of the default font is 7 pixels wide, and a column adds 5 pixels of margin.
        pixels += std::round(characters * 7) + 5;
    }
    return pixels * 0.75;  // 96 pixels to the inch, 72 points
}

// ---------------------------------------------------------------- workbook

WorkbookModel::WorkbookModel() {
    for (int i = 1; i <= 3; ++i) {
        auto s = std::make_unique<SheetModel>();
        s->name = "Sheet" + std::to_string(i);
        sheets_.push_back(std::move(s));
    }
}

SheetModel* WorkbookModel::sheet(int position) {
    if (position < 1 || position > sheetCount()) return nullptr;
    return sheets_[static_cast<size_t>(position - 1)].get();
}

const SheetModel* WorkbookModel::sheet(int position) const {
    if (position < 1 || position > sheetCount()) return nullptr;
    return sheets_[static_cast<size_t>(position - 1)].get();
}

const SheetModel* WorkbookModel::sheetNamed(std::string_view name) const {
    for (const auto& s : sheets_) {
        if (s->name == name) return s.get();
    }
    return nullptr;
}

void WorkbookModel::addSheetsBeforeActive(int count) {
    if (count <= 0) return;
    size_t at = static_cast<size_t>(active_ - 1);
    for (int i = 0; i < count; ++i) {
        auto s = std::make_unique<SheetModel>();
        s->name = "Sheet" + std::to_string(nextSheetNumber_++);
        sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(at + static_cast<size_t>(i)),
                       std::move(s));
    }
}

void WorkbookModel::activate(int position) {
    if (position >= 1 && position <= sheetCount()) active_ = position;
}

uint16_t WorkbookModel::numberFormatIndex(std::string_view format) {
    for (size_t i = 0; i < numberFormats_.size(); ++i) {
        if (numberFormats_[i] == format) return static_cast<uint16_t>(i + 1);
    }
    numberFormats_.emplace_back(format);
    return static_cast<uint16_t>(numberFormats_.size());
}

// ---------------------------------------------------------------- formulas

namespace {

class Evaluator {
  public:
    Evaluator(const SheetModel& sheet, const WorkbookModel* workbook) : sheet_(&sheet), workbook_(workbook) {}

    Value evaluate(std::string_view formula) {
        if (depth_ > 64) return Value::error("#REF!");
        ++depth_;
        Parser p{formula, 0};
        if (!formula.empty() && formula[0] == '=') p.pos = 1;
        Value v = expression(p);
        skipBlanks(p);
        if (p.pos != p.text.size() && v.kind != Value::Kind::Error) v = Value::error("#NAME?");
        if (v.kind == Value::Kind::Empty) v = Value::ofNumber(0);  // "=A1" of an empty cell shows 0
        --depth_;
        return v;
    }

    /// The value of a cell of the evaluator's sheet; formula results are remembered for the
    /// evaluator's life.
    Value cellOf(CellPos pos) { return cellValue({sheet_, pos}); }

  private:
    struct Parser {
        std::string_view text;
        size_t pos;
    };
    /// A cell of a sheet of the workbook.
    struct Place {
        const SheetModel* sheet;
        CellPos pos;
    };
    struct Range {
        const SheetModel* sheet;
        CellPos first;
        CellPos last;
    };
    using CellKey = std::tuple<const SheetModel*, int, int>;

    static void skipBlanks(Parser& p) {
        while (p.pos < p.text.size() && p.text[p.pos] == ' ') ++p.pos;
    }
    static bool accept(Parser& p, char c) {
        skipBlanks(p);
        if (p.pos < p.text.size() && p.text[p.pos] == c) {
            ++p.pos;
            return true;
        }
        return false;
    }

    // The value of a cell as a formula sees it; a formula of another sheet is read in that sheet.
    Value cellValue(Place place) {
        const Cell* c = place.sheet->cell(place.pos.row, place.pos.column);
        if (c == nullptr) return {};
        switch (c->kind) {
            case Cell::Kind::Empty:
                return {};
            case Cell::Kind::Number:
                return Value::ofNumber(c->number());
            case Cell::Kind::Text:
                return Value::ofText(std::string(c->text()));
            case Cell::Kind::Formula: {
                CellKey key{place.sheet, place.pos.row, place.pos.column};
                if (auto done = memo_.find(key); done != memo_.end()) return done->second;
                if (inProgress_.count(key)) return Value::error("#REF!");
                inProgress_.insert(key);
                const SheetModel* outer = std::exchange(sheet_, place.sheet);
                Value v = evaluate(c->text());
                sheet_ = outer;
                inProgress_.erase(key);
                memo_[key] = v;
                return v;
            }
        }
        return {};
    }

    // A text between two `quote` characters from the parser's position, a doubled quote standing for
    // one in it; the parser moves past the closing quote. Nothing when it is not closed.
    static std::optional<std::string> quoted(Parser& p, char quote) {
        std::string text;
        for (size_t i = p.pos + 1; i < p.text.size(); ++i) {
            if (p.text[i] != quote) {
                text += p.text[i];
            } else if (i + 1 < p.text.size() && p.text[i + 1] == quote) {
                text += quote;
                ++i;
            } else {
                p.pos = i + 1;
                return text;
            }
        }
        return std::nullopt;
    }

    // "'name'!" before a reference names its sheet. The sheet, the evaluator's own when there is no
    // such prefix, or nullptr when it names none.
    const SheetModel* sheetPrefix(Parser& p) {
        skipBlanks(p);
        if (p.pos >= p.text.size() || p.text[p.pos] != '\'') return sheet_;
        auto name = quoted(p, '\'');
        if (!name || p.pos >= p.text.size() || p.text[p.pos] != '!') return nullptr;
        ++p.pos;
        return workbook_ != nullptr ? workbook_->sheetNamed(*name) : nullptr;
    }

    std::optional<CellPos> cellName(Parser& p) {
        skipBlanks(p);
        size_t start = p.pos;
        while (p.pos < p.text.size() &&
               (p.text[p.pos] == '$' || (p.text[p.pos] >= 'A' && p.text[p.pos] <= 'Z') ||
                (p.text[p.pos] >= '0' && p.text[p.pos] <= '9')))
            ++p.pos;
        auto pos = parseCellName(p.text.substr(start, p.pos - start));
        if (!pos) p.pos = start;
        return pos;
    }

    std::optional<Range> range(Parser& p) {
        const SheetModel* sheet = sheetPrefix(p);
        if (sheet == nullptr) return std::nullopt;
        auto first = cellName(p);
        if (!first) return std::nullopt;
        if (!accept(p, ':')) return Range{sheet, *first, *first};
        auto last = cellName(p);
        if (!last) return std::nullopt;
        return Range{sheet,
                     {std::min(first->row, last->row), std::min(first->column, last->column)},
                     {std::max(first->row, last->row), std::max(first->column, last->column)}};
    }

    std::vector<Value> valuesOf(const Range& r) {
        std::vector<Value> out;
        for (int row = r.first.row; row <= r.last.row; ++row) {
            for (int col = r.first.column; col <= r.last.column; ++col)
                out.push_back(cellValue({r.sheet, {row, col}}));
        }
        return out;
    }

    // The arguments of a function up to its ")"; nothing when they are not well formed.
    std::optional<std::vector<Value>> arguments(Parser& p) {
        std::vector<Value> values;
        if (accept(p, ')')) return values;
        do {
            values.push_back(expression(p));
        } while (accept(p, ','));
        if (!accept(p, ')')) return std::nullopt;
        return values;
    }

    Value function(Parser& p, std::string_view name) {
        if (name == "RANK") return rank(p);
        if (name == "AVERAGE") return average(p);
        auto args = arguments(p);
        if (!args) return Value::error("#NAME?");
        for (const Value& v : *args) {
            if (v.kind == Value::Kind::Error) return v;
        }
        if (name == "ROUND") return round(*args);
        return textFunction(name, *args);
    }

    // ROUND(x, n): half away from zero on the decimal value, as the spreadsheet rounds (34.15 to
    // one decimal is 34.2); n is cut to a whole number, a negative n rounds to tens, hundreds ….
    static Value round(const std::vector<Value>& args) {
        if (args.size() != 2) return Value::error("#NAME?");
        Value x = asNumber(args[0]), n = asNumber(args[1]);
        if (!x.isNumber()) return x;
        if (!n.isNumber()) return n;
        const double digits = std::trunc(std::clamp(n.number, -300.0, 300.0));
        if (digits >= 0) return Value::ofNumber(roundHalfAway(x.number, static_cast<int>(digits)));
        const double scale = std::pow(10.0, -digits);
        return numberOrOverflow(roundHalfAway(x.number / scale, 0) * scale);
    }

    Value rank(Parser& p) {
        Value x = expression(p);
        if (!accept(p, ',')) return Value::error("#NAME?");
        auto r = range(p);
        if (!r) return Value::error("#NAME?");
        // The order: omitted or 0 counts from the highest, any other number from the lowest.
        bool ascending = false;
        if (accept(p, ',')) {
            Value order = asNumber(expression(p));
            if (!accept(p, ')')) return Value::error("#NAME?");
            if (!order.isNumber()) return order;
            ascending = order.number != 0;
        } else if (!accept(p, ')')) {
            return Value::error("#NAME?");
        }
        // The ranked value is a number argument: an empty cell counts 0, text is #VALUE!.
        x = asNumber(x);
        if (!x.isNumber()) return x;
        // The numbers of each ranked range are sorted once and shared by all its RANKs; text
        // and empty cells in the range are passed over, an error in it is the result.
        auto key = std::make_tuple(r->sheet, r->first.row, r->first.column, r->last.row, r->last.column);
        auto it = rankRanges_.find(key);
        if (it == rankRanges_.end()) {
            RankedRange ranked;
            for (const Value& v : valuesOf(*r)) {
                if (v.kind == Value::Kind::Error) {
                    ranked.error = v;
                    break;
                }
                if (v.isNumber()) ranked.numbers.push_back(v.number);
            }
            std::sort(ranked.numbers.begin(), ranked.numbers.end());
            it = rankRanges_.emplace(key, std::move(ranked)).first;
        }
        if (it->second.error) return *it->second.error;
        const auto& numbers = it->second.numbers;
        if (!std::binary_search(numbers.begin(), numbers.end(), x.number)) return Value::error("#N/A");
        const auto ahead = ascending
                               ? std::lower_bound(numbers.begin(), numbers.end(), x.number) - numbers.begin()
                               : numbers.end() - std::upper_bound(numbers.begin(), numbers.end(), x.number);
        return Value::ofNumber(static_cast<double>(ahead) + 1);
    }

    Value average(Parser& p) {
        double sum = 0;
        int count = 0;
        do {
            auto r = range(p);
            if (!r) return Value::error("#NAME?");
            for (const Value& v : valuesOf(*r)) {
                if (v.kind == Value::Kind::Error) return v;
                if (v.isNumber()) {
                    sum += v.number;
                    ++count;
                }
            }
        } while (accept(p, ','));
        if (!accept(p, ')')) return Value::error("#NAME?");
        if (count == 0) return Value::error("#DIV/0!");
        return numberOrOverflow(sum / count);
    }

    // A value as text, as a text function reads it: a number as the General format writes it.
    static std::string asText(const Value& v) {
        if (v.kind == Value::Kind::Text) return v.text;
        if (v.isNumber()) {
            char text[32];
            std::snprintf(text, sizeof text, "%.15g", v.number);
            return text;
        }
        return std::string();
    }

    // LEFT, FIND and VALUE, which read the count out of a text such as " 12/45 " (VALUE passes over
    // the blanks around a number).
    static Value textFunction(std::string_view name, const std::vector<Value>& args) {
        if (name == "LEFT" && (args.size() == 1 || args.size() == 2)) {
            Value count = args.size() == 2 ? asNumber(args[1]) : Value::ofNumber(1);
            if (!count.isNumber()) return count;
            if (count.number < 0) return Value::error("#VALUE!");
            const std::string text = asText(args[0]);
            return Value::ofText(
                text.substr(0, utf8CharacterOffset(text, static_cast<size_t>(count.number))));
        }
        if (name == "FIND" && args.size() == 2) {
            const std::string needle = asText(args[0]), haystack = asText(args[1]);
            const size_t at = haystack.find(needle);
            if (at == std::string::npos) return Value::error("#VALUE!");
            return Value::ofNumber(static_cast<double>(utf8CharacterCount(haystack.substr(0, at)) + 1));
        }
        if (name == "VALUE" && args.size() == 1) {
            if (args[0].isNumber()) return args[0];
            std::string_view text = args[0].text;
            while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
            while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
            if (!text.empty() && text.front() == '+') text.remove_prefix(1);
            double d = 0;
            auto res = std::from_chars(text.data(), text.data() + text.size(), d);
            if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size())
                return Value::error("#VALUE!");
            return Value::ofNumber(d);
        }
        return Value::error("#NAME?");
    }

    // A sum whose operands cancel to within the last bits of their precision is 0, as spreadsheets
    // compute it: an average minus the equal block average gives 0, not a trace such as -1.4e-14.
    static double approxAdd(double a, double b) {
        if ((a < 0) != (b < 0) && a != 0 && b != 0) {
            const double d = std::fabs(a + b);
            constexpr double kEpsilon = 1.0 / (16777216.0 * 16777216.0);  // 2^-48
            auto whole = [](double v) { return std::fabs(v) < 9007199254740992.0 && std::trunc(v) == v; };
            if (whole(a) && whole(b)) return a + b;  // exact
            if (d < std::fabs(a) * kEpsilon && d < std::fabs(b) * kEpsilon) return 0;
        }
        return a + b;
    }

    // A result too large for a double is #NUM!, as the spreadsheet shows it.
    static Value numberOrOverflow(double d) {
        return std::isfinite(d) ? Value::ofNumber(d) : Value::error("#NUM!");
    }

    // An operand of arithmetic: empty counts 0, text that is not a number is #VALUE!.
    static Value asNumber(const Value& v) {
        switch (v.kind) {
            case Value::Kind::Empty:
                return Value::ofNumber(0);
            case Value::Kind::Number:
            case Value::Kind::Error:
                return v;
            case Value::Kind::Text:
                return Value::error("#VALUE!");
        }
        return v;
    }

    // Every nested operand passes through here: the nesting is bounded so that a formula typed
    // into a data cell ("=((((…", "=----…1") can never exhaust the stack.
    Value factor(Parser& p) {
        if (nesting_ >= kMaxNesting) return Value::error("#NAME?");
        ++nesting_;
        Value v = nestedFactor(p);
        --nesting_;
        return v;
    }

    Value nestedFactor(Parser& p) {
        skipBlanks(p);
        if (accept(p, '(')) {
            Value v = expression(p);
            if (!accept(p, ')')) return Value::error("#NAME?");
            return v;
        }
        if (accept(p, '-')) {
            Value v = asNumber(factor(p));
            return v.isNumber() ? Value::ofNumber(-v.number) : v;
        }
        if (p.pos < p.text.size() && p.text[p.pos] == '"') {
            auto literal = quoted(p, '"');  // "" stands for one quote in it
            return literal ? Value::ofText(std::move(*literal)) : Value::error("#NAME?");
        }
        if (p.pos < p.text.size() &&
            ((p.text[p.pos] >= '0' && p.text[p.pos] <= '9') || p.text[p.pos] == '.')) {
            double d = 0;
            auto res = readDouble(p.text.data() + p.pos, p.text.data() + p.text.size(), d);
            if (res.ec != std::errc()) return Value::error("#NAME?");
            p.pos = static_cast<size_t>(res.ptr - p.text.data());
            return Value::ofNumber(d);
        }
        // A function name or a reference.
        size_t start = p.pos;
        while (p.pos < p.text.size() && p.text[p.pos] >= 'A' && p.text[p.pos] <= 'Z') ++p.pos;
        std::string_view word = p.text.substr(start, p.pos - start);
        if (!word.empty() && accept(p, '(')) return function(p, word);
        p.pos = start;
        const SheetModel* sheet = sheetPrefix(p);
        if (sheet == nullptr) return Value::error("#REF!");
        auto ref = cellName(p);
        if (!ref) return Value::error("#NAME?");
        return cellValue({sheet, *ref});
    }

    // Operands joined by left-associative operators out of `ops`, each operand read by
    // `operand`: the first error met is the result, numbers are joined by `join(op, a, b)`.
    template <class Operand, class Join>
    Value operatorChain(Parser& p, std::string_view ops, Operand operand, Join join) {
        Value left = operand(p);
        for (;;) {
            char op = 0;
            for (char candidate : ops) {
                if (accept(p, candidate)) {
                    op = candidate;
                    break;
                }
            }
            if (op == 0) return left;
            Value right = operand(p);
            Value a = asNumber(left), b = asNumber(right);
            if (!a.isNumber())
                left = a;
            else if (!b.isNumber())
                left = b;
            else
                left = join(op, a.number, b.number);
        }
    }

    Value term(Parser& p) {
        return operatorChain(
            p, "*/", [this](Parser& q) { return factor(q); },
            [](char op, double a, double b) {
                if (op == '*') return numberOrOverflow(a * b);
                if (b == 0) return Value::error("#DIV/0!");
                return numberOrOverflow(a / b);
            });
    }

    Value expression(Parser& p) {
        return operatorChain(
            p, "+-", [this](Parser& q) { return term(q); },
            [](char op, double a, double b) { return numberOrOverflow(approxAdd(a, op == '+' ? b : -b)); });
    }

    const SheetModel* sheet_;  ///< the sheet whose formula is being read
    const WorkbookModel* workbook_;
    std::set<CellKey> inProgress_;
    std::map<CellKey, Value> memo_;
    struct RankedRange {
        std::vector<double> numbers;  ///< sorted
        std::optional<Value> error;   ///< the first error in the range
    };
    std::map<std::tuple<const SheetModel*, int, int, int, int>, RankedRange> rankRanges_;
    int depth_ = 0;
    static constexpr int kMaxNesting = 256;
    int nesting_ = 0;
};

}  // namespace

Value evaluateFormula(const SheetModel& sheet, std::string_view formula, const WorkbookModel* workbook) {
    Evaluator e(sheet, workbook);
    return e.evaluate(formula);
}

void WorkbookModel::recalculate() {
    for (auto& s : sheets_) {
        Evaluator evaluator(*s, this);
        for (int row = 0; row < s->rowCount(); ++row) {
            for (int col = 0; col < s->columnCount(row); ++col) {
                Cell& c = s->touch(row, col);
                if (c.kind == Cell::Kind::Formula) s->setCached(c, evaluator.cellOf({row, col}));
            }
        }
    }
}

bool WorkbookModel::cellsReleased() const {
    for (const auto& s : sheets_) {
        if (s->released()) return true;
    }
    return false;
}

}  // namespace varnex
