#include "import/sheet_query.h"

#include <unordered_map>
#include <utility>

#include "base/text_util.h"
#include "readers/reader_messages.h"
#include "readers/workbook_reader.h"

namespace varnex {

namespace tx = reader_texts;

namespace {
const std::string kEmpty;
// The rows read ahead hold at most this much text, however wide a hostile sheet's rows are.
constexpr size_t kMaxLeadingBytes = 16u << 20;

size_t textBytes(const SheetRow& row) {
    size_t bytes = 0;
    for (const std::string& cell : row.cells) bytes += cell.size();
    return bytes;
}
}  // namespace

struct SheetQuery::Impl {
    std::unique_ptr<WorkbookReader> reader;
    std::unique_ptr<SheetRowStream> stream;
    std::string sheetName;
    std::vector<SheetRow> leading;   ///< rows read ahead by openSheet
    size_t leadingTaken = 0;         ///< of `leading`, the rows handed on already
    std::string leadingError;        ///< why reading ahead stopped early ("" when it did not)
    std::vector<uint32_t> columnOf;  ///< sheet column of each selected column
    SheetRow current;
    SheetRow lookahead;
    bool haveLookahead = false;
    bool streamDone = true;
    bool atEnd = true;
    bool currentIsReal = false;
    uint32_t rowNumber = 0;

    /// The next row that holds a value: a row read ahead, else the stream's next one.
    Result<bool> pull(SheetRow& row) {
        if (leadingTaken < leading.size()) {
            row = std::move(leading[leadingTaken++]);
            return true;
        }
        if (!leadingError.empty()) return fail(std::exchange(leadingError, std::string()));
        if (streamDone) return false;
        return stream->next(row);
    }

    /// Moves to the sheet row after rowNumber: the next row that holds a value, or an empty row
    /// when that row lies further down.
    Status advance() {
        ++rowNumber;
        if (!haveLookahead) {
            Result<bool> got = pull(lookahead);
            if (!got) {
                streamDone = true;
                atEnd = true;
                return fail(got.error());
            }
            haveLookahead = *got;
            if (!*got) streamDone = true;
        }
        if (!haveLookahead) {
            atEnd = true;
            currentIsReal = false;
            return {};
        }
        atEnd = false;
        if (lookahead.number <= rowNumber) {
            std::swap(current, lookahead);
            rowNumber = current.number;
            haveLookahead = false;
            currentIsReal = true;
        } else {
            currentIsReal = false;
        }
        return {};
    }

    void reset() {
        stream.reset();
        leading.clear();
        leadingTaken = 0;
        leadingError.clear();
        atEnd = true;
        streamDone = true;
        haveLookahead = false;
        currentIsReal = false;
    }
};

SheetQuery::SheetQuery() : impl_(std::make_unique<Impl>()) {}
SheetQuery::~SheetQuery() = default;

Status SheetQuery::open(const std::string& path) {
    close();
    Result<std::unique_ptr<WorkbookReader>> reader = openWorkbookReader(path);
    if (!reader) return fail(reader.error());
    impl_->reader = std::move(reader).value();
    return {};
}

Status SheetQuery::openSheet(const std::string& sheetName) {
    Impl& q = *impl_;
    q.reset();
    q.sheetName = sheetName;
    if (q.reader == nullptr) return fail(strprintf(tx::kNoSuchSheet, sheetName.c_str()));
    const std::vector<std::string>& names = q.reader->sheetNames();
    size_t index = names.size();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == sheetName) {
            index = i;
            break;
        }
    }
    if (index == names.size()) return fail(strprintf(tx::kNoSuchSheet, sheetName.c_str()));
    Result<std::unique_ptr<SheetRowStream>> stream = q.reader->openSheet(index);
    if (!stream) return fail(stream.error());
    q.stream = std::move(stream).value();
    q.streamDone = false;

    size_t bytes = 0;
    while (q.leading.size() < kLeadingRows && bytes <= kMaxLeadingBytes) {
        SheetRow row;
        Result<bool> got = q.stream->next(row);
        if (!got && q.leading.empty()) {
            q.reset();
            return fail(got.error());
        }
        if (!got) {
            // Reported when the rows before it have been read, as without reading ahead.
            q.leadingError = got.error();
            q.streamDone = true;
            break;
        }
        if (!*got) {
            q.streamDone = true;
            break;
        }
        bytes += textBytes(row);
        q.leading.push_back(std::move(row));
    }
    return {};
}

const std::vector<SheetRow>& SheetQuery::leadingRows() const {
    return impl_->leading;
}

Status SheetQuery::selectColumns(const std::vector<uint32_t>& columns, uint32_t lastHeaderRow) {
    Impl& q = *impl_;
    q.columnOf = columns;
    uint32_t widest = 0;
    for (uint32_t c : columns) widest = std::max(widest, c + 1);
    std::vector<bool> wanted(widest, false);
    for (uint32_t c : columns) wanted[c] = true;
    if (q.stream) q.stream->setWantedColumns(std::move(wanted));
    while (q.leadingTaken < q.leading.size() && q.leading[q.leadingTaken].number <= lastHeaderRow)
        ++q.leadingTaken;
    q.haveLookahead = false;
    q.rowNumber = lastHeaderRow;
    return q.advance();
}

Status SheetQuery::select(const std::string& sheetName, const std::vector<std::string>& columns) {
    if (Status opened = openSheet(sheetName); !opened) return opened;
    Impl& q = *impl_;
    static const SheetRow kNoHeader;
    const SheetRow& header = q.leading.empty() ? kNoHeader : q.leading.front();

    // The first column with a given header text answers for it.
    std::unordered_map<std::string, uint32_t> headerColumns;
    for (size_t c = 0; c < header.cells.size(); ++c) {
        if (!header.cells[c].empty()) headerColumns.emplace(header.cells[c], static_cast<uint32_t>(c));
    }
    std::string missing;
    std::vector<uint32_t> selected;
    for (const std::string& column : columns) {
        auto found = headerColumns.find(column);
        if (found == headerColumns.end()) {
            if (!missing.empty()) missing += tx::kMissingColumnSeparator;
            missing += column;
        } else {
            selected.push_back(found->second);
        }
    }
    if (!missing.empty()) {
        q.reset();
        return fail(strprintf(tx::kMissingColumns, sheetName.c_str(), missing.c_str()));
    }
    return selectColumns(selected, header.number);
}

bool SheetQuery::atEnd() const {
    return impl_->atEnd;
}

const std::string& SheetQuery::field(size_t i) const {
    const Impl& q = *impl_;
    if (q.atEnd || !q.currentIsReal || i >= q.columnOf.size()) return kEmpty;
    uint32_t column = q.columnOf[i];
    return column < q.current.cells.size() ? q.current.cells[column] : kEmpty;
}

Status SheetQuery::next() {
    if (impl_->atEnd) return {};
    return impl_->advance();
}

int SheetQuery::sheetRow() const {
    return static_cast<int>(impl_->rowNumber);
}

void SheetQuery::close() {
    impl_->reset();
    impl_->reader.reset();
}

}  // namespace varnex
