#include "import/xls_reader.h"

#include <gsf/gsf.h>

#include <cstring>
#include <mutex>

#include "base/text_util.h"
#include "import/biff_records.h"
#include "import/cell_text.h"
#include "import/reader_limits.h"
#include "import/reader_messages.h"
#include "import/string_table.h"

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

    bool next(SheetRow& row, std::string& error) override {
        if (done_) return false;
        std::string reason;
        if (!started_) {
            started_ = true;
            if (!start(reason)) return failWith(reason, error);
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
            RecordReader::Result result = reader_.next(record, reason);
            if (result == RecordReader::Result::Error) return failWith(reason, error);
            if (result == RecordReader::Result::End) {
                done_ = true;
                return haveRow;  // a sheet without its EOF record: keep what was read
            }
            if (++recordCount_ > kMaxRecordsPerSheet) return failWith(tx::kTooManyRecords, error);
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
            int got = readCell(record, rowIndex, column, reason);
            if (got < 0) return failWith(reason, error);
            if (got == 0) continue;
            if (haveRow && rowIndex + 1 != row.number) {
                if (rowIndex + 1 < row.number)
                    return failWith(strprintf(tx::kCellOutOfOrder, rowIndex + 1), error);
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
                    return failWith(strprintf(tx::kCellOutOfOrder, rowIndex + 1), error);
                haveRow = true;
                row.number = rowIndex + 1;
            }
            if (wanted(column)) cellAt(row, column) = cellText_;
            if (pendingMulRk_) emitMulRk(row);
        }
    }

  private:
    static constexpr uint64_t kMaxRecordsPerSheet = 64ull << 20;

    bool failWith(const std::string& reason, std::string& error) {
        done_ = true;
        error = strprintf(tx::kSheetCorrupt, sheetName_.c_str(), reason.c_str());
        return false;
    }

    bool start(std::string& reason) {
        if (!reader_.seek(offset_)) {
            reason = tx::kBadSheetOffset;
            return false;
        }
        Record record;
        if (reader_.next(record, reason) != RecordReader::Result::Ok) {
            if (reason.empty()) reason = tx::kBadSheetOffset;
            return false;
        }
        if (record.id != biff::kBof || record.size < 4 || u16(record.data + 2) != kWorksheetBof) {
            reason = tx::kBadSheetOffset;
            return false;
        }
        depth_ = 1;
        return true;
    }

    /// Reads a cell record into rowIndex, column and cellText_: 1 for a cell with a value,
    /// 0 for another record, -1 for a broken one. A MULRK yields its first cell here and
    /// the others through emitMulRk.
    int readCell(const Record& r, uint32_t& rowIndex, uint32_t& column, std::string& reason) {
        const uint8_t* d = r.data;
        auto broken = [&]() {
            reason = strprintf(tx::kBadRecord, r.id, static_cast<unsigned long long>(r.offset));
            return -1;
        };
        switch (r.id) {
            case biff::kLabelSst: {
                if (r.size < 10) return broken();
                uint32_t index = u32(d + 6);
                if (index >= strings_.size()) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) cellText_.append(strings_.at(index));
                return 1;
            }
            case biff::kLabel:
            case biff::kRString: {
                if (r.size < 8) return broken();
                setPosition(d, rowIndex, column);
                if (!readLabel(std::string_view(reinterpret_cast<const char*>(d + 6), r.size - 6u),
                               cellText_))
                    return broken();
                return 1;
            }
            case biff::kNumber:
                if (r.size < 14) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) appendNumberText(biff::f64(d + 6), cellText_);
                return 1;
            case biff::kRk:
                if (r.size < 10) return broken();
                setPosition(d, rowIndex, column);
                if (wanted(column)) appendNumberText(biff::rkValue(u32(d + 6)), cellText_);
                return 1;
            case biff::kMulRk: {
                if (r.size < 12 || (r.size - 6) % 6 != 0) return broken();
                setPosition(d, rowIndex, column);
                mulRkData_.assign(d + 4, d + r.size - 2);  // (xf, rk) pairs
                mulRkColumn_ = column;
                size_t count = mulRkData_.size() / 6;
                if (wanted(column)) appendNumberText(biff::rkValue(u32(mulRkData_.data() + 2)), cellText_);
                pendingMulRk_ = count > 1;
                return 1;
            }
            case biff::kBoolErr:
                if (r.size < 8) return broken();
                setPosition(d, rowIndex, column);
                if (d[7] != 0) {
                    cellText_ += biffErrorText(d[6]);
                } else {
                    cellText_ += booleanText(d[6] != 0);
                }
                return 1;
            case biff::kFormula: {
                if (r.size < 20) return broken();
                setPosition(d, rowIndex, column);
                const uint8_t* result = d + 6;
                if (result[6] == 0xFF && result[7] == 0xFF) {
                    switch (result[0]) {
                        case 0:  // the text follows in a STRING record
                            if (!readFormulaString(cellText_, reason)) return -1;
                            return 1;
                        case 1:
                            cellText_ += booleanText(result[2] != 0);
                            return 1;
                        case 2:
                            cellText_ += biffErrorText(result[2]);
                            return 1;
                        default:
                            return 1;  // an empty text
                    }
                }
                if (wanted(column)) appendNumberText(biff::f64(result), cellText_);
                return 1;
            }
            default:
                return 0;
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
    bool readFormulaString(std::string& out, std::string& reason) {
        constexpr uint16_t kSharedFormula = 0x04BC;
        constexpr uint16_t kArray = 0x0221;
        constexpr uint16_t kTable = 0x0236;
        for (;;) {
            uint16_t id = reader_.peekId();
            if (id != kSharedFormula && id != kArray && id != kTable && id != biff::kString) return true;
            Record record;
            if (reader_.next(record, reason) != RecordReader::Result::Ok) {
                if (reason.empty()) reason = tx::kTruncated;
                return false;
            }
            if (record.id != biff::kString) continue;
            auto bad = [&]() {
                reason = strprintf(tx::kBadRecord, record.id, static_cast<unsigned long long>(record.offset));
                return false;
            };
            std::string_view data(reinterpret_cast<const char*>(record.data), record.size);
            if (!biff8_) {
                if (!readLabel(data, out)) return bad();
                return true;
            }
            // The text may go on in CONTINUE records: keep copies, since the buffer moves on.
            std::vector<std::string> parts;
            parts.emplace_back(data);
            while (reader_.peekId() == biff::kContinue) {
                Record more;
                if (reader_.next(more, reason) != RecordReader::Result::Ok) {
                    if (reason.empty()) reason = tx::kTruncated;
                    return false;
                }
                parts.emplace_back(reinterpret_cast<const char*>(more.data), more.size);
                if (parts.size() > 64) return bad();
            }
            biff::ContinuedData text;
            for (const std::string& part : parts) text.addSegment(part);
            if (!text.readUnicodeString(false, out)) return bad();
            return true;
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

    bool load(std::string& error) {
        std::string reason;
        if (!loadGlobals(reason)) {
            error = strprintf(tx::kCorruptBiff, displayName_.c_str(), reason.c_str());
            return false;
        }
        return true;
    }

    const std::vector<std::string>& sheetNames() const override { return names_; }

    std::unique_ptr<SheetRowStream> openSheet(size_t index, std::string& error) override {
        if (index >= sheets_.size()) {
            error = strprintf(tx::kNoSuchSheet, "");
            return nullptr;
        }
        GRef<GsfInput> copy(gsf_input_dup(stream_.get(), nullptr));
        if (copy.get() == nullptr) {
            error = strprintf(tx::kCorruptBiff, displayName_.c_str(), tx::kNotCompound);
            return nullptr;
        }
        return std::make_unique<XlsSheetStream>(copy.get(), sheets_[index].offset, biff8_, strings_, decoder_,
                                                sheets_[index].name);
    }

  private:
    bool loadGlobals(std::string& reason) {
        RecordReader reader(stream_.get());
        if (reader.size() > limits::kMaxBiffStreamBytes) {
            reason = tx::kStreamTooLarge;
            return false;
        }
        Record record;
        if (reader.next(record, reason) != RecordReader::Result::Ok) {
            if (reason.empty()) reason = tx::kTruncated;
            return false;
        }
        if (record.id != biff::kBof || record.size < 4) {
            reason = tx::kUnsupportedBiff;
            return false;
        }
        biff8_ = u16(record.data) >= kBiff8;
        std::vector<std::string> sst;
        std::vector<std::string> rawNames;
        for (;;) {
            RecordReader::Result result = reader.next(record, reason);
            if (result == RecordReader::Result::Error) return false;
            if (result == RecordReader::Result::End || record.id == biff::kEof) break;
            const uint8_t* d = record.data;
            switch (record.id) {
                case biff::kFilePass:
                    reason = tx::kEncrypted;
                    return false;
                case biff::kCodePage:
                    if (record.size >= 2) decoder_.setCodePage(u16(d));
                    break;
                case biff::kBoundSheet: {
                    if (record.size < 8) return badRecord(record, reason);
                    if (sheets_.size() >= limits::kMaxSheets) {
                        reason = tx::kTooManyRecords;
                        return false;
                    }
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
                        if (reader.next(record, reason) != RecordReader::Result::Ok) {
                            if (reason.empty()) reason = tx::kTruncated;
                            return false;
                        }
                        total += record.size;
                        if (total > limits::kMaxSstBytes) {
                            reason = tx::kTooManyStrings;
                            return false;
                        }
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
                if (!text.readUnicodeString(true, name)) {
                    reason = tx::kBadString;
                    return false;
                }
            } else {
                if (raw.empty() || static_cast<uint8_t>(raw[0]) > raw.size() - 1) {
                    reason = tx::kBadString;
                    return false;
                }
                decoder_.append(raw.substr(1, static_cast<uint8_t>(raw[0])), name);
            }
            names_.push_back(name);
        }
        return sst.empty() || readSharedStrings(sst, reason);
    }

    bool readSharedStrings(const std::vector<std::string>& parts, std::string& reason) {
        biff::ContinuedData data;
        for (const std::string& part : parts) data.addSegment(part);
        uint32_t total = 0;
        uint32_t unique = 0;
        if (!data.readU32(total) || !data.readU32(unique)) {
            reason = tx::kBadString;
            return false;
        }
        std::string text;
        for (uint32_t i = 0; i < unique; ++i) {
            if (data.atEnd()) break;  // fewer strings than announced: the cells will tell
            text.clear();
            if (!data.readUnicodeString(false, text)) {
                reason = tx::kBadString;
                return false;
            }
            if (!strings_.add(text)) {
                reason = tx::kTooManyStrings;
                return false;
            }
        }
        return true;
    }

    static bool badRecord(const Record& record, std::string& reason) {
        reason = strprintf(tx::kBadRecord, record.id, static_cast<unsigned long long>(record.offset));
        return false;
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

std::unique_ptr<WorkbookReader> openFromInput(GsfInput* source, const std::string& displayName,
                                              std::string& error) {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
    GRef<GsfInput> input(source);
    if (input.get() == nullptr) {
        error = strprintf(tx::kCannotReadFile, displayName.c_str());
        return nullptr;
    }
    GError* gerror = nullptr;
    GRef<GsfInfile> root(gsf_infile_msole_new(input.get(), &gerror));
    if (gerror != nullptr) g_error_free(gerror);
    if (root.get() == nullptr) {
        error = strprintf(tx::kCorruptBiff, displayName.c_str(), tx::kNotCompound);
        return nullptr;
    }
    GsfInput* stream = workbookStream(root.get());
    if (stream == nullptr) {
        error = strprintf(tx::kCorruptBiff, displayName.c_str(), tx::kNoWorkbookStream);
        return nullptr;
    }
    auto workbook = std::make_unique<XlsWorkbook>(stream, displayName);
    if (!workbook->load(error)) return nullptr;
    return workbook;
}

}  // namespace

std::unique_ptr<WorkbookReader> openXlsWorkbook(const std::string& path, std::string& error) {
    GError* gerror = nullptr;
    GsfInput* input = gsf_input_stdio_new(path.c_str(), &gerror);
    if (gerror != nullptr) g_error_free(gerror);
    return openFromInput(input, fileNameOf(path), error);
}

std::unique_ptr<WorkbookReader> openXlsWorkbookFromMemory(const void* data, size_t size,
                                                          const std::string& displayName,
                                                          std::string& error) {
    GsfInput* input =
        gsf_input_memory_new(static_cast<const guint8*>(data), static_cast<gsf_off_t>(size), FALSE);
    return openFromInput(input, displayName, error);
}

}  // namespace varnex
