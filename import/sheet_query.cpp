#include "import/sheet_query.h"

#include <unordered_map>

#include "base/text_util.h"
#include "import/reader_messages.h"
#include "import/workbook_reader.h"

namespace varnex {

namespace tx = reader_texts;

namespace {
const std::string kEmpty;
}

struct SheetQuery::Impl {
    std::unique_ptr<WorkbookReader> reader;
    std::unique_ptr<SheetRowStream> stream;
    std::vector<uint32_t> columnOf;  ///< sheet column of each selected column
    SheetRow current;
    SheetRow lookahead;
    bool haveLookahead = false;
    bool streamDone = true;
    bool atEnd = true;
    bool currentIsReal = false;
    uint32_t rowNumber = 0;

    /// Moves to the sheet row after rowNumber: the stream's next row, or an empty row when the
    /// stream's next row lies further down.
    Status advance() {
        ++rowNumber;
        if (!haveLookahead && !streamDone) {
            Result<bool> got = stream->next(lookahead);
            if (!got) {
                streamDone = true;
                atEnd = true;
                return fail(got.error());
            }
            haveLookahead = *got;
            streamDone = !*got;
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

Status SheetQuery::select(const std::string& sheetName, const std::vector<std::string>& columns) {
    Impl& q = *impl_;
    q.stream.reset();
    q.atEnd = true;
    q.streamDone = true;
    q.haveLookahead = false;
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

    SheetRow header;
    Result<bool> haveHeader = q.stream->next(header);
    if (!haveHeader) return fail(haveHeader.error());

    // The first column with a given header text answers for it.
    std::unordered_map<std::string, uint32_t> headerColumns;
    for (size_t c = 0; c < header.cells.size(); ++c) {
        if (!header.cells[c].empty()) headerColumns.emplace(header.cells[c], static_cast<uint32_t>(c));
    }
    std::string missing;
    q.columnOf.clear();
    uint32_t widest = 0;
    for (const std::string& column : columns) {
        auto found = headerColumns.find(column);
        if (found == headerColumns.end()) {
            if (!missing.empty()) missing += tx::kMissingColumnSeparator;
            missing += column;
            q.columnOf.push_back(0);
        } else {
            q.columnOf.push_back(found->second);
            widest = std::max(widest, found->second + 1);
        }
    }
    if (!missing.empty()) {
        q.stream.reset();
        return fail(strprintf(tx::kMissingColumns, sheetName.c_str(), missing.c_str()));
    }
    std::vector<bool> wanted(widest, false);
    for (uint32_t c : q.columnOf) wanted[c] = true;
    q.stream->setWantedColumns(std::move(wanted));
    q.streamDone = !*haveHeader;
    q.rowNumber = header.number;
    return q.advance();
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
    impl_->stream.reset();
    impl_->reader.reset();
    impl_->atEnd = true;
    impl_->streamDone = true;
    impl_->haveLookahead = false;
}

}  // namespace varnex
