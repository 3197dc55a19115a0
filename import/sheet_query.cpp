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
    bool advance(std::string& error) {
        ++rowNumber;
        if (!haveLookahead && !streamDone) {
            if (stream->next(lookahead, error)) {
                haveLookahead = true;
            } else {
                streamDone = true;
                if (!error.empty()) {
                    atEnd = true;
                    return false;
                }
            }
        }
        if (!haveLookahead) {
            atEnd = true;
            currentIsReal = false;
            return true;
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
        return true;
    }
};

SheetQuery::SheetQuery() : impl_(std::make_unique<Impl>()) {}
SheetQuery::~SheetQuery() = default;

bool SheetQuery::open(const std::string& path, std::string& error) {
    close();
    error.clear();
    impl_->reader = openWorkbookReader(path, error);
    return impl_->reader != nullptr;
}

bool SheetQuery::select(const std::string& sheetName, const std::vector<std::string>& columns,
                        std::string& error) {
    error.clear();
    Impl& q = *impl_;
    q.stream.reset();
    q.atEnd = true;
    q.streamDone = true;
    q.haveLookahead = false;
    if (q.reader == nullptr) {
        error = strprintf(tx::kNoSuchSheet, sheetName.c_str());
        return false;
    }
    const std::vector<std::string>& names = q.reader->sheetNames();
    size_t index = names.size();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == sheetName) {
            index = i;
            break;
        }
    }
    if (index == names.size()) {
        error = strprintf(tx::kNoSuchSheet, sheetName.c_str());
        return false;
    }
    q.stream = q.reader->openSheet(index, error);
    if (q.stream == nullptr) return false;

    SheetRow header;
    bool haveHeader = q.stream->next(header, error);
    if (!haveHeader && !error.empty()) return false;

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
        error = strprintf(tx::kMissingColumns, sheetName.c_str(), missing.c_str());
        q.stream.reset();
        return false;
    }
    std::vector<bool> wanted(widest, false);
    for (uint32_t c : q.columnOf) wanted[c] = true;
    q.stream->setWantedColumns(std::move(wanted));
    q.streamDone = !haveHeader;
    q.rowNumber = header.number;
    return q.advance(error);
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

bool SheetQuery::next(std::string& error) {
    error.clear();
    if (impl_->atEnd) return true;
    return impl_->advance(error);
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
