#pragma once
// The record layer of the BIFF reader: records read in order from a libgsf stream through one
// buffer, strings of BIFF8 (UTF-16 or compressed) and BIFF5 (8-bit in the workbook's code
// page), and strings continued over CONTINUE records.

#include <gsf/gsf.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/text_conversion.h"

namespace varnex::biff {

// Record identifiers used by the reader.
inline constexpr uint16_t kBof = 0x0809;
inline constexpr uint16_t kEof = 0x000A;
inline constexpr uint16_t kBoundSheet = 0x0085;
inline constexpr uint16_t kCodePage = 0x0042;
inline constexpr uint16_t kFilePass = 0x002F;
inline constexpr uint16_t kSst = 0x00FC;
inline constexpr uint16_t kContinue = 0x003C;
inline constexpr uint16_t kLabelSst = 0x00FD;
inline constexpr uint16_t kLabel = 0x0204;
inline constexpr uint16_t kRString = 0x00D6;
inline constexpr uint16_t kNumber = 0x0203;
inline constexpr uint16_t kRk = 0x027E;
inline constexpr uint16_t kMulRk = 0x00BD;
inline constexpr uint16_t kBoolErr = 0x0205;
inline constexpr uint16_t kFormula = 0x0006;
inline constexpr uint16_t kString = 0x0207;
inline constexpr uint16_t kDimensions = 0x0200;

inline uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
double f64(const uint8_t* p);
/// The number an RK value stands for.
double rkValue(uint32_t rk);

/// One record: its id, its data (valid until the next read) and where it starts.
struct Record {
    uint16_t id = 0;
    const uint8_t* data = nullptr;
    uint16_t size = 0;
    uint64_t offset = 0;
};

/// Reads records in order from a stream, through one buffer.
class RecordReader {
  public:
    /// Takes a reference on `stream`.
    explicit RecordReader(GsfInput* stream);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    /// Reads the next record: true with the record, false at the end of the stream, or the
    /// reason a broken record cannot be read.
    Result<bool> next(Record& record);
    /// Reads a record that must follow: the end of the stream fails with `reasonAtEnd`.
    Status nextExpected(Record& record, const char* reasonAtEnd);
    /// The record after the current one without consuming it (only its id); 0 at the end.
    uint16_t peekId();
    /// Continues reading at `offset` of the stream; false when it lies outside it.
    bool seek(uint64_t offset);
    uint64_t size() const { return size_; }

  private:
    bool fill(size_t need);
    GsfInput* stream_;
    uint64_t size_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    uint64_t bufferStart_ = 0;  ///< stream offset of buffer_[0]
};

/// Converts 8-bit text of a code page to UTF-8 (BIFF5 strings).
class CodePageDecoder {
  public:
    /// Selects the code page of a CODEPAGE record (936 for Chinese); unknown ones read as 1252.
    void setCodePage(uint16_t codePage);
    void append(std::string_view bytes, std::string& out);

  private:
    TextConverter converter_{"UTF-8", "CP1252"};  ///< not ok(): read as Latin-1
};

/// Reads data that may continue over several record bodies: a string's characters restart
/// after each boundary with an option byte, everything else simply runs on.
class ContinuedData {
  public:
    void addSegment(std::string_view data) { segments_.push_back(data); }
    bool atEnd();
    bool readU8(uint8_t& v);
    bool readU16(uint16_t& v);
    bool readU32(uint32_t& v);
    bool skip(uint64_t n);
    /// Reads `count` characters (2 bytes each when `wide`) as UTF-8.
    bool readChars(uint32_t count, bool wide, std::string& out);
    /// Reads a BIFF8 string with a 16-bit (or, when `shortLength`, 8-bit) length and its
    /// option byte, skipping rich-text runs and phonetic data.
    bool readUnicodeString(bool shortLength, std::string& out);

  private:
    bool readBytes(uint8_t* out, size_t n);
    std::vector<std::string_view> segments_;
    size_t segment_ = 0;
    size_t pos_ = 0;
    uint32_t highSurrogate_ = 0;
};

/// Appends UTF-16LE code units (a pending high surrogate kept in `high`) as UTF-8.
void appendUtf16(const uint8_t* data, size_t units, uint32_t& high, std::string& out);

}  // namespace varnex::biff
