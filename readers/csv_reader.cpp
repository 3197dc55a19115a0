#include "readers/csv_reader.h"

#include <string_view>

#include "base/text_util.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/text_decoding.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

/// Reads the records of the text one at a time; a record with a value is a row, numbered by its
/// place among all records (a quoted line break does not start a new row).
class CsvSheetStream : public SheetRowStream {
  public:
    CsvSheetStream(std::string_view text, const std::string& sheetName)
        : text_(text), sheetName_(sheetName) {}

    Result<bool> next(SheetRow& row) override {
        Result<bool> read = nextRow(row);
        if (!read) pos_ = text_.size();  // nothing more after a failure
        return read;
    }

  private:
    Result<bool> nextRow(SheetRow& row) {
        while (pos_ < text_.size()) {
            clearRow(row);
            if (record_ >= limits::kMaxRows)
                return fail(strprintf(tx::kSheetTooLong, sheetName_.c_str(), limits::kMaxRows));
            ++record_;
            bool hasValue = false;
            for (uint32_t column = 0;; ++column) {
                if (column >= limits::kMaxColumns) {
                    return fail(
                        strprintf(tx::kSheetTooWide, sheetName_.c_str(), record_, limits::kMaxColumns));
                }
                Status read = readField();
                if (!read) return fail(read.error());
                if (!field_.empty()) {
                    hasValue = true;
                    if (wanted(column)) cellAt(row, column).swap(field_);
                }
                if (pos_ < text_.size() && text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
                if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
                break;
            }
            if (hasValue) {
                row.number = record_;
                return true;
            }
        }
        return false;
    }

    /// Reads one field into field_, leaving pos_ on the comma or line end after it.
    Status readField() {
        field_.clear();
        if (pos_ < text_.size() && text_[pos_] == '"') {
            ++pos_;
            for (;;) {
                size_t quote = text_.find('"', pos_);
                if (quote == std::string_view::npos)
                    return fail(strprintf(tx::kUnclosedQuote, sheetName_.c_str(), record_));
                if (!append(text_.substr(pos_, quote - pos_))) return tooLong();
                pos_ = quote + 1;
                if (pos_ < text_.size() && text_[pos_] == '"') {  // "" stands for one quote
                    field_ += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
        }
        // Unquoted text, or what follows a closing quote before the comma, is kept as written.
        size_t end = text_.find_first_of(",\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        if (!append(text_.substr(pos_, end - pos_))) return tooLong();
        pos_ = end;
        return {};
    }

    bool append(std::string_view part) {
        if (field_.size() + part.size() > limits::kMaxCellTextBytes) return false;
        field_.append(part);
        return true;
    }

    Status tooLong() const { return fail(strprintf(tx::kSheetCellTooLong, sheetName_.c_str(), record_)); }

    std::string_view text_;
    const std::string& sheetName_;
    size_t pos_ = 0;
    uint32_t record_ = 0;
    std::string field_;
};

class CsvWorkbook : public WorkbookReader {
  public:
    CsvWorkbook(std::string text, std::string sheetName)
        : text_(std::move(text)), names_{std::move(sheetName)} {}

    const std::vector<std::string>& sheetNames() const override { return names_; }

    Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) override {
        if (index != 0) return fail(strprintf(tx::kNoSuchSheet, ""));
        std::unique_ptr<SheetRowStream> stream = std::make_unique<CsvSheetStream>(text_, names_[0]);
        return stream;
    }

  private:
    std::string text_;
    std::vector<std::string> names_;
};

Result<std::unique_ptr<WorkbookReader>> loadCsv(std::string_view bytes, const std::string& fileName) {
    // A NUL byte never stands in a text list (without a UTF-16 byte-order mark): the file is
    // something else under a .csv name.
    if (byteOrderMarkOf(bytes).encoding == nullptr && bytes.find('\0') != std::string_view::npos)
        return fail(strprintf(tx::kUnknownFormat, fileName.c_str()));
    std::optional<std::string> text = decodeText(bytes);
    if (!text) return fail(strprintf(tx::kUndecodableText, fileName.c_str()));
    size_t dot = fileName.rfind('.');
    std::string sheetName = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    return std::unique_ptr<WorkbookReader>(
        std::make_unique<CsvWorkbook>(std::move(*text), std::move(sheetName)));
}

}  // namespace

Result<std::unique_ptr<WorkbookReader>> openCsvWorkbook(const std::string& path) {
    Result<std::string> bytes = readWholeFile(path, limits::kMaxTextFileBytes);
    if (!bytes) return fail(bytes.error());
    return loadCsv(*bytes, fileNameOf(path));
}

Result<std::unique_ptr<WorkbookReader>> openCsvWorkbookFromMemory(const void* data, size_t size,
                                                                  const std::string& fileName) {
    Result<std::string_view> bytes = textInMemory(data, size, limits::kMaxTextFileBytes, fileName);
    if (!bytes) return fail(bytes.error());
    return loadCsv(*bytes, fileName);
}

}  // namespace varnex
