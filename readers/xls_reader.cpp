#include "readers/xls_reader.h"

#include <gsf/gsf.h>

#include <cstring>
#include <mutex>

#include "base/text_util.h"
#include "readers/biff_records.h"
#include "readers/cell_text.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/string_table.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

using biff::Record;
using biff::RecordReader;
using biff::u16;
using biff::u32;

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorksheetBof = 0x0010;
constexpr uint8_t kWorksheetType = 0x00;

/// A reference to a GObject, released when it goes.
template <typename T>
class GRef {
  public:
    explicit GRef(T* object = nullptr) : object_(object) {}
    ~GRef() {
        if (object_ != nullptr) g_object_unref(object_);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    T* get() const { return object_; }
    T* release() {
        T* o = object_;
        object_ = nullptr;
        return o;
    }

  private:
    T* object_;
};

struct SheetEntry {
    std::string name;
    uint32_t offset;
};

/// The reason for a record that does not hold what its type promises.
Error badRecord(const Record& record) {
    return fail(strprintf(tx::kBadRecord, record.id, static_cast<unsigned long long>(record.offset)));
}

class XlsSheetStream : public SheetRowStream {
  public:
    XlsSheetStream(GsfInput* stream, uint32_t offset, bool biff8, const StringTable& strings,
                   biff::CodePageDecoder& decoder, std::string sheetName)
        : reader_(stream),
          offset_(offset),
          biff8_(biff8),
          strings_(strings),
          decoder_(decoder),
          sheetName_(std::move(sheetName)) {}

    Result<bool> next(SheetRow& row) override {
        if (done_) return false;
        if (!started_) {
            started_ = true;
            if (Status started = start(); !started) return failWith(started.error());
        }
        clearRow(row);
        bool haveRow = false;
        if (held_) {
            // The first cell of this row was read while finishing the previous one.
            held_ = false;
            haveRow = true;
            row.number = heldRow_ + 1;
            if (wanted(heldColumn_)) cellAt(row, heldColumn_) = heldText_;
            if (pendingMulRk_) emitMulRk(row);
        }
        Record record;
        for (;;) {
            Result<bool> got = reader_.next(record);
            if (!got) return failWith(got.error());
            if (!*got) {
                done_ = true;
                return haveRow;  // a sheet without its EOF record: keep what was read
            }
            if (++recordCount_ > kMaxRecordsPerSheet) return failWith(tx::kTooManyRecords);
            if (record.id == biff::kBof) {
                ++depth_;  // an embedded chart or other substream
                continue;
            }
            if (record.id == biff::kEof) {
                if (--depth_ > 0) continue;
                done_ = true;
                return haveRow;
            }
            if (depth_ != 1) continue;
            uint32_t rowIndex = 0;
            uint32_t column = 0;
            cellText_.clear();
            Result<bool> isCell = readCell(record, rowIndex, column);
            if (!isCell) return failWith(isCell.error());
            if (!*isCell) continue;
            if (haveRow && rowIndex + 1 != row.number) {
                if (rowIndex + 1 < row.number) return failWith(strprintf(tx::kCellOutOfOrder, rowIndex + 1));
                // The first cell of the next row: keep it for the next call.
                held_ = true;
                heldRow_ = rowIndex;
                heldColumn_ = column;
                heldText_.swap(cellText_);
                lastRow_ = row.number;
                return true;
            }
            if (!haveRow) {
                if (lastRow_ != 0 && rowIndex + 1 <= lastRow_)
                    return failWith(strprintf(tx::kCellOutOfOrder, rowIndex + 1));
                haveRow = true;
                row.number = rowIndex + 1;
            }
            if (wanted(column)) cellAt(row, column) = cellText_;
            if (pendingMulRk_) emitMulRk(row);
        }
    }

  private:
    static constexpr uint64_t kMaxRecordsPerSheet = 64ull << 20;

    /// Ends the stream with the message for `reason`.
    Error failWith(const std::string& reason) {
        done_ = true;
        return fail(strprintf(tx::kSheetCorrupt, sheetName_.c_str(), reason.c_str()));
    }

    /// Goes to the sheet's BOF record.
    Status start() {
        if (!reader_.seek(offset_)) return fail(tx::kBadSheetOffset);
        Record record;
        if (Status read = reader_.nextExpected(record, tx::kBadSheetOffset); !read) return read;
        if (record.id != biff::kBof || record.size < 4 || u16(record.data + 2) != kWorksheetBof)
            return fail(tx::kBadSheetOffset);
        depth_ = 1;
        return {};
    }

    /// Reads a cell record into rowIndex, column and cellText_: true for a cell with a value,
    /// false for another record. A MULRK yields its first cell here and the others through
    /// emitMulRk.
    Result<bool> readCell(const Record& r, uint32_t& rowIndex, uint32_t& column) {
        const uint8_t* d = r.data;
        auto broken = [&r]() { return badRecord(r); };
        switch (r.id) {
            case biff::kLabelSst: {
                if (r.size < 10) return broken();
                uint32_t index = u32(d + 6);
                if (index >= strings_.size()) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) cellText_.append(strings_.at(index));
                return true;
            }
            case biff::kLabel:
            case biff::kRString: {
                if (r.size < 8) return broken();
                setPosition(d, rowIndex, column);
                if (!readLabel(std::string_view(reinterpret_cast<const char*>(d + 6), r.size - 6u),
                               cellText_))
                    return broken();
                return true;
            }
            case biff::kNumber:
                if (r.size < 14) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) appendNumberText(biff::f64(d + 6), cellText_);
                return true;
            case biff::kRk:
                if (r.size < 10) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) appendNumberText(biff::rkValue(u32(d + 6)), cellText_);
                return true;
            case biff::kMulRk: {
                if (r.size < 12 || (r.size - 6) % 6 != 0) return broken();
                setPosition(d, rowIndex, column);
                mulRkData_.assign(d + 4, d + r.size - 2);  // (xf, rk) pairs
                mulRkColumn_ = column;
                size_t count = mulRkData_.size() / 6;
                if (wanted(column)) appendNumberText(biff::rkValue(u32(mulRkData_.data() + 2)), cellText_);
                pendingMulRk_ = count > 1;
                return true;
            }
            case biff::kBoolErr:
                if (r.size < 8) return broken();
                setPosition(d, rowIndex, column);
                if (d[7] != 0) {
                    cellText_ += biffErrorText(d[6]);
                } else {
                    cellText_ += booleanText(d[6] != 0);
                }
                return true;
            case biff::kFormula: {
                if (r.size < 20) return broken();
                setPosition(d, rowIndex, column);
                const uint8_t* result = d + 6;
                if (result[6] == 0xFF && result[7] == 0xFF) {
                    switch (result[0]) {
                        case 0:  // the text follows in a STRING record
                            if (Status read = readFormulaString(cellText_); !read) return fail(read.error());
                            return true;
                        case 1:
                            cellText_ += booleanText(result[2] != 0);
                            return true;
                        case 2:
                            cellText_ += biffErrorText(result[2]);
                            return true;
                        default:
                            return true;  // an empty text
                    }
                }
                if (wanted(column)) appendNumberText(biff::f64(result), cellText_);
                return true;
            }
            default:
                return false;
        }
    }

    static void setPosition(const uint8_t* d, uint32_t& rowIndex, uint32_t& column) {
        rowIndex = u16(d);
        column = u16(d + 2);
    }

    /// The other cells of a MULRK, all in the row being read.
    void emitMulRk(SheetRow& row) {
        pendingMulRk_ = false;
        size_t count = mulRkData_.size() / 6;
        for (size_t i = 1; i < count; ++i) {
            uint32_t column = mulRkColumn_ + static_cast<uint32_t>(i);
            if (column >= limits::kMaxColumns) break;
            if (!wanted(column)) continue;
            std::string& cell = cellAt(row, column);
            cell.clear();
            appendNumberText(biff::rkValue(u32(mulRkData_.data() + 6 * i + 2)), cell);
        }
    }

    bool readLabel(std::string_view data, std::string& out) {
        if (biff8_) {
            biff::ContinuedData text;
            text.addSegment(data);
            return text.readUnicodeString(false, out);
        }
        if (data.size() < 2) return false;
        size_t count = u16(reinterpret_cast<const uint8_t*>(data.data()));
        if (count > data.size() - 2) return false;
        decoder_.append(data.substr(2, count), out);
        return true;
    }

    /// The STRING record (with its CONTINUE records) after a FORMULA with a text result.
    /// Records that may stand between them (SHRFMLA, ARRAY, TABLE) are passed over.
    Status readFormulaString(std::string& out) {
        constexpr uint16_t kSharedFormula = 0x04BC;
        constexpr uint16_t kArray = 0x0221;
        constexpr uint16_t kTable = 0x0236;
        for (;;) {
            uint16_t id = reader_.peekId();
            if (id != kSharedFormula && id != kArray && id != kTable && id != biff::kString) return {};
            Record record;
            if (Status read = reader_.nextExpected(record, tx::kTruncated); !read) return read;
            if (record.id != biff::kString) continue;
            std::string_view data(reinterpret_cast<const char*>(record.data), record.size);
            if (!biff8_) {
                if (!readLabel(data, out)) return badRecord(record);
                return {};
            }
            // The text may go on in CONTINUE records: keep copies, since the buffer moves on.
            std::vector<std::string> parts;
            parts.emplace_back(data);
            while (reader_.peekId() == biff::kContinue) {
                Record more;
                if (Status read = reader_.nextExpected(more, tx::kTruncated); !read) return read;
                parts.emplace_back(reinterpret_cast<const char*>(more.data), more.size);
                if (parts.size() > 64) return badRecord(record);
            }
            biff::ContinuedData text;
            for (const std::string& part : parts) text.addSegment(part);
            if (!text.readUnicodeString(false, out)) return badRecord(record);
            return {};
        }
    }

    RecordReader reader_;
    uint32_t offset_;
    bool biff8_;
    const StringTable& strings_;
    biff::CodePageDecoder& decoder_;
    std::string sheetName_;
    bool started_ = false;
    bool done_ = false;
    int depth_ = 0;
    uint64_t recordCount_ = 0;
    uint32_t lastRow_ = 0;  ///< 1-based number of the last row returned
    std::string cellText_;
    bool held_ = false;
    uint32_t heldRow_ = 0;
    uint32_t heldColumn_ = 0;
    std::string heldText_;
    bool pendingMulRk_ = false;
    uint32_t mulRkColumn_ = 0;
    std::vector<uint8_t> mulRkData_;
};

class XlsWorkbook : public WorkbookReader {
  public:
    XlsWorkbook(GsfInput* stream, std::string displayName)
        : stream_(stream), displayName_(std::move(displayName)) {}

    const std::vector<std::string>& sheetNames() const override { return names_; }

    Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) override {
        if (index >= sheets_.size()) return fail(strprintf(tx::kNoSuchSheet, ""));
        GRef<GsfInput> copy(gsf_input_dup(stream_.get(), nullptr));
        if (copy.get() == nullptr)
            return fail(strprintf(tx::kCorruptBiff, displayName_.c_str(), tx::kNotCompound));
        std::unique_ptr<SheetRowStream> stream = std::make_unique<XlsSheetStream>(
            copy.get(), sheets_[index].offset, biff8_, strings_, decoder_, sheets_[index].name);
        return stream;
    }

    /// Reads the workbook globals: the worksheets, the code page and the shared strings. A failure
    /// is the reason, without the file name.
    Status load() {
        RecordReader reader(stream_.get());
        if (reader.size() > limits::kMaxBiffStreamBytes) return fail(tx::kStreamTooLarge);
        Record record;
        if (Status read = reader.nextExpected(record, tx::kTruncated); !read) return read;
        if (record.id != biff::kBof || record.size < 4) return fail(tx::kUnsupportedBiff);
        biff8_ = u16(record.data) >= kBiff8;
        std::vector<std::string> sst;
        std::vector<std::string> rawNames;
        for (;;) {
            Result<bool> got = reader.next(record);
            if (!got) return fail(got.error());
            if (!*got || record.id == biff::kEof) break;
            const uint8_t* d = record.data;
            switch (record.id) {
                case biff::kFilePass:
                    return fail(tx::kEncrypted);
                case biff::kCodePage:
                    if (record.size >= 2) decoder_.setCodePage(u16(d));
                    break;
                case biff::kBoundSheet: {
                    if (record.size < 8) return badRecord(record);
                    if (sheets_.size() >= limits::kMaxSheets) return fail(tx::kTooManyRecords);
                    uint8_t type = d[5];
                    if (type != kWorksheetType) break;  // chart sheets, macro sheets, modules
                    sheets_.push_back({std::string(), u32(d)});
                    rawNames.emplace_back(reinterpret_cast<const char*>(d + 6), record.size - 6u);
                    break;
                }
                case biff::kSst: {
                    if (!biff8_) break;
                    size_t total = record.size;
                    sst.emplace_back(reinterpret_cast<const char*>(d), record.size);
                    while (reader.peekId() == biff::kContinue) {
                        if (Status read = reader.nextExpected(record, tx::kTruncated); !read) return read;
                        total += record.size;
                        if (total > limits::kMaxSstBytes) return fail(tx::kTooManyStrings);
                        sst.emplace_back(reinterpret_cast<const char*>(record.data), record.size);
                    }
                    break;
                }
                default:
                    break;
            }
        }
        // Names are decoded once the code page is known (CODEPAGE may come after them).
        for (size_t i = 0; i < sheets_.size(); ++i) {
            std::string& name = sheets_[i].name;
            std::string_view raw = rawNames[i];
            if (biff8_) {
                biff::ContinuedData text;
                text.addSegment(raw);
                if (!text.readUnicodeString(true, name)) return fail(tx::kBadString);
            } else {
                if (raw.empty() || static_cast<uint8_t>(raw[0]) > raw.size() - 1) return fail(tx::kBadString);
                decoder_.append(raw.substr(1, static_cast<uint8_t>(raw[0])), name);
            }
            names_.push_back(name);
        }
        if (sst.empty()) return {};
        return readSharedStrings(sst);
    }

  private:
    Status readSharedStrings(const std::vector<std::string>& parts) {
        biff::ContinuedData data;
        for (const std::string& part : parts) data.addSegment(part);
        uint32_t total = 0;
        uint32_t unique = 0;
        if (!data.readU32(total) || !data.readU32(unique)) return fail(tx::kBadString);
        std::string text;
        for (uint32_t i = 0; i < unique; ++i) {
            if (data.atEnd()) break;  // fewer strings than announced: the cells will tell
            text.clear();
            if (!data.readUnicodeString(false, text)) return fail(tx::kBadString);
            if (!strings_.add(text)) return fail(tx::kTooManyStrings);
        }
        return {};
    }

    GRef<GsfInput> stream_;
    std::string displayName_;
    bool biff8_ = true;
    std::vector<SheetEntry> sheets_;
    std::vector<std::string> names_;
    StringTable strings_;
    biff::CodePageDecoder decoder_;
};

/// Finds the workbook stream of a compound file: "Workbook" (BIFF8), else "Book" (BIFF5).
GsfInput* workbookStream(GsfInfile* root) {
    int count = gsf_infile_num_children(root);
    int book = -1;
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(root, i);
        if (name == nullptr) continue;
        if (g_ascii_strcasecmp(name, "Workbook") == 0) return gsf_infile_child_by_index(root, i);
        if (g_ascii_strcasecmp(name, "Book") == 0) book = i;
    }
    return book >= 0 ? gsf_infile_child_by_index(root, book) : nullptr;
}

Result<std::unique_ptr<WorkbookReader>> openFromInput(GsfInput* source, const std::string& displayName) {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
    GRef<GsfInput> input(source);
    if (input.get() == nullptr) return fail(strprintf(tx::kCannotReadFile, displayName.c_str()));
    GError* gerror = nullptr;
    GRef<GsfInfile> root(gsf_infile_msole_new(input.get(), &gerror));
    if (gerror != nullptr) g_error_free(gerror);
    if (root.get() == nullptr)
        return fail(strprintf(tx::kCorruptBiff, displayName.c_str(), tx::kNotCompound));
    GsfInput* stream = workbookStream(root.get());
    if (stream == nullptr)
        return fail(strprintf(tx::kCorruptBiff, displayName.c_str(), tx::kNoWorkbookStream));
    auto workbook = std::make_unique<XlsWorkbook>(stream, displayName);
    if (Status loaded = workbook->load(); !loaded)
        return fail(strprintf(tx::kCorruptBiff, displayName.c_str(), loaded.error().c_str()));
    std::unique_ptr<WorkbookReader> reader = std::move(workbook);
    return reader;
}

}  // namespace

Result<std::unique_ptr<WorkbookReader>> openXlsWorkbook(const std::string& path) {
    GError* gerror = nullptr;
    GsfInput* input = gsf_input_stdio_new(path.c_str(), &gerror);
    if (gerror != nullptr) g_error_free(gerror);
    return openFromInput(input, fileNameOf(path));
}

Result<std::unique_ptr<WorkbookReader>> openXlsWorkbookFromMemory(const void* data, size_t size,
                                                                  const std::string& displayName) {
    GsfInput* input =
        gsf_input_memory_new(static_cast<const guint8*>(data), static_cast<gsf_off_t>(size), FALSE);
    return openFromInput(input, displayName);
}

}  // namespace varnex
