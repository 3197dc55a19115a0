#include "app/row_table.h"

#include <unicode/coll.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

#include "base/text_util.h"

namespace varnex {

const char* const kStudentTableColumns =
    "学校,100;班级,55;姓名,85;语文,54;数学,54;英语,54;物理,54;化学,54;生物,54;历史,54;地理,54;"
    "政治,54;体育,54;实验,54;总分,80";
const char* const kTeacherTableColumns = "学校,100;年级,60;班级,60;学科,60;教师,80";

namespace {

enum class Kind { Number, Date, Text };

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

Kind kindOf(std::string_view a) {
    int dots = 0;
    bool plain = true;
    for (char c : a) {
        if (c == '.') {
            if (++dots > 1) {
                plain = false;
                break;
            }
        } else if (!isDigit(c)) {
            plain = false;
            break;
        }
    }
    if (plain) return Kind::Number;
    if (a.size() == 10 && a[2] == '-' && a[5] == '-') {
        static constexpr int kDigitPositions[] = {0, 1, 3, 4, 6, 7, 8, 9};
        bool ok = true;
        for (int p : kDigitPositions) ok = ok && isDigit(a[static_cast<size_t>(p)]);
        if (ok) return Kind::Date;
    }
    return Kind::Text;
}

int sign(double d) {
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}
int sign(int d) {
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

// Reads the characters [pos, pos+len) of text (as far as they exist) like atoi.
int partOf(std::string_view text, size_t pos, size_t len) {
    if (pos >= text.size()) return 0;
    return cAtoi(text.substr(pos, len));
}

struct DateKey {
    int year = 0, month = 0, day = 0;
};

DateKey dateKeyOf(std::string_view text) {
    return {partOf(text, 6, 4), partOf(text, 3, 2), partOf(text, 0, 2)};
}

int compareDates(const DateKey& a, const DateKey& b) {
    if (a.year != b.year) return sign(a.year - b.year);
    if (a.month != b.month) return sign(a.month - b.month);
    return sign(a.day - b.day);
}

icu::Collator* chineseCollator() {
    static std::unique_ptr<icu::Collator> collator;
    static std::once_flag once;
    std::call_once(once, [] {
        UErrorCode status = U_ZERO_ERROR;
        collator.reset(icu::Collator::createInstance(icu::Locale("zh"), status));
        if (U_FAILURE(status)) collator.reset();
    });
    return collator.get();
}

std::string sortKeyOf(std::string_view text) {
    icu::Collator* collator = chineseCollator();
    if (collator == nullptr) return std::string(text);
    icu::UnicodeString u =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    int32_t needed = collator->getSortKey(u, nullptr, 0);
    std::string key(static_cast<size_t>(needed), '\0');
    collator->getSortKey(u, reinterpret_cast<uint8_t*>(key.data()), needed);
    if (!key.empty() && key.back() == '\0') key.pop_back();
    return key;
}

int compareKeys(const std::string& a, const std::string& b) {
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Everything the comparison needs of one cell, computed once per sort.
struct CellKey {
    Kind kind;
    double number;
    DateKey date;
    std::string collation;
};

int compareKeysOf(const CellKey& a, const CellKey& b) {
    switch (a.kind) {
        case Kind::Number:
            return sign(a.number - b.number);
        case Kind::Date:
            return compareDates(a.date, b.date);
        case Kind::Text:
            return compareKeys(a.collation, b.collation);
    }
    return 0;
}

}  // namespace

std::string textSortKey(std::string_view text) {
    return sortKeyOf(text);
}

int compareCells(std::string_view a, std::string_view b) {
    switch (kindOf(a)) {
        case Kind::Number:
            return sign(cAtof(a) - cAtof(b));
        case Kind::Date:
            return compareDates(dateKeyOf(a), dateKeyOf(b));
        case Kind::Text:
            return compareKeys(sortKeyOf(a), sortKeyOf(b));
    }
    return 0;
}

bool RowTable::setColumns(std::string_view layout) {
    size_t start = 0;
    while (start <= layout.size()) {
        size_t comma = layout.find(',', start);
        if (comma == std::string_view::npos) break;
        size_t semicolon = layout.find(';', comma + 1);
        std::string_view name = layout.substr(start, comma - start);
        std::string_view width = layout.substr(
            comma + 1, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - comma - 1);
        columns_.push_back({std::string(name), cAtoi(width)});
        if (semicolon == std::string_view::npos) break;
        start = semicolon + 1;
    }
    return true;
}

std::string_view RowTable::RowView::operator[](size_t column) const {
    uint32_t begin = 0, end = 0;
    if (column > 0) std::memcpy(&begin, packed_ + (column - 1) * sizeof(uint32_t), sizeof begin);
    std::memcpy(&end, packed_ + column * sizeof(uint32_t), sizeof end);
    return {packed_ + columns_ * sizeof(uint32_t) + begin, end - begin};
}

RowTable::RowTable(const RowTable& other)
    : columns_(other.columns_), sortColumn_(other.sortColumn_), sortAscending_(other.sortAscending_) {
    rows_.reserve(other.rows_.size());
    const size_t head = columns_.size() * sizeof(uint32_t);
    for (const Row& row : other.rows_) {
        uint32_t textSize = 0;
        if (head > 0) std::memcpy(&textSize, row.packed.get() + head - sizeof(uint32_t), sizeof textSize);
        Row copy{std::make_unique_for_overwrite<char[]>(head + textSize), row.id, row.hidden};
        std::memcpy(copy.packed.get(), row.packed.get(), head + textSize);
        rows_.push_back(std::move(copy));
    }
}

RowTable& RowTable::operator=(const RowTable& other) {
    if (this != &other) *this = RowTable(other);
    return *this;
}

std::vector<std::string> RowTable::RowView::texts() const {
    std::vector<std::string> out;
    for (size_t c = 0; c < columns_; ++c) out.emplace_back((*this)[c]);
    return out;
}

int RowTable::appendRow(const std::vector<std::string>& cells) {
    if (cells.size() != columns_.size()) return -1;
    const size_t head = cells.size() * sizeof(uint32_t);
    size_t size = head;
    for (const std::string& cell : cells) size += cell.size();
    static std::atomic<uint64_t> lastId{0};  // the imports append on a thread of their own
    Row row{std::make_unique_for_overwrite<char[]>(size), ++lastId};
    char* ends = row.packed.get();
    char* text = ends + head;
    uint32_t end = 0;
    for (const std::string& cell : cells) {
        std::memcpy(text + end, cell.data(), cell.size());
        end += static_cast<uint32_t>(cell.size());
        std::memcpy(ends, &end, sizeof end);
        ends += sizeof end;
    }
    rows_.push_back(std::move(row));
    return static_cast<int>(rows_.size()) - 1;
}

void RowTable::deleteRow(int index) {
    if (index < 0 || index >= rowCount()) return;
    rows_.erase(rows_.begin() + index);
}

void RowTable::clear() {
    rows_.clear();
}

std::string_view RowTable::cellText(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return this->row(row)[static_cast<size_t>(column)];
}

bool RowTable::reorderRows(const std::vector<int>& order) {
    if (order.size() != rows_.size()) return false;
    std::vector<char> seen(rows_.size(), 0);
    for (int i : order) {
        if (i < 0 || static_cast<size_t>(i) >= rows_.size() || seen[static_cast<size_t>(i)]) return false;
        seen[static_cast<size_t>(i)] = 1;
    }
    std::vector<Row> reordered;
    reordered.reserve(rows_.size());
    for (int i : order) reordered.push_back(std::move(rows_[static_cast<size_t>(i)]));
    rows_ = std::move(reordered);
    return true;
}

void RowTable::setHiddenCells(int index, std::vector<std::string> cells) {
    if (index >= 0 && index < rowCount()) rows_[static_cast<size_t>(index)].hidden = std::move(cells);
}

void RowTable::sortBy(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    if (column < 0 || column >= columnCount() || rows_.size() < 2) return;

    const size_t n = rows_.size();
    std::vector<CellKey> keys(n);
    bool anyText = false;
    for (size_t i = 0; i < n; ++i) {
        const std::string_view text = row(static_cast<int>(i))[static_cast<size_t>(column)];
        keys[i].kind = kindOf(text);
        keys[i].number = cAtof(text);
        keys[i].date = dateKeyOf(text);
        anyText = anyText || keys[i].kind == Kind::Text;
    }
    if (anyText) {
        for (size_t i = 0; i < n; ++i)
            keys[i].collation = sortKeyOf(row(static_cast<int>(i))[static_cast<size_t>(column)]);
    }

    // A bottom-up merge sort: it only ever asks "does b come before a", so even a comparison
    // that is not a consistent order (the kind depends on the first operand) cannot misbehave.
    auto before = [&](int x, int y) {
        int c = ascending ? compareKeysOf(keys[static_cast<size_t>(x)], keys[static_cast<size_t>(y)])
                          : compareKeysOf(keys[static_cast<size_t>(y)], keys[static_cast<size_t>(x)]);
        return c < 0;
    };
    std::vector<int> order(n), scratch(n);
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) scratch[k++] = before(order[j], order[i]) ? order[j++] : order[i++];
            while (i < mid) scratch[k++] = order[i++];
            while (j < hi) scratch[k++] = order[j++];
        }
        order.swap(scratch);
    }
    reorderRows(order);
}

void RowTable::headingClicked(int column) {
    bool ascending = !(column == sortColumn_ && sortAscending_);
    sortBy(column, ascending);
}

}  // namespace varnex
