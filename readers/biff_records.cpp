#include "readers/biff_records.h"

#include <cstring>

#include "base/text_util.h"
#include "base/utf8.h"
#include "readers/cell_text.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"
#include "readers/text_decoding.h"

namespace varnex::biff {

namespace tx = reader_texts;

namespace {
constexpr size_t kBufferBytes = 256 * 1024;
}

double f64(const uint8_t* p) {
    uint64_t bits = static_cast<uint64_t>(u32(p)) | (static_cast<uint64_t>(u32(p + 4)) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double rkValue(uint32_t rk) {
    double value;
    if (rk & 2) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

RecordReader::RecordReader(GsfInput* stream) : stream_(stream), buffer_(kBufferBytes) {
    g_object_ref(stream_);
    gsf_off_t size = gsf_input_size(stream_);
    size_ = size > 0 ? static_cast<uint64_t>(size) : 0;
    gsf_input_seek(stream_, 0, G_SEEK_SET);
}

RecordReader::~RecordReader() {
    g_object_unref(stream_);
}

bool RecordReader::fill(size_t need) {
    if (end_ - pos_ >= need) return true;
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    bufferStart_ += pos_;
    end_ -= pos_;
    pos_ = 0;
    uint64_t streamPos = bufferStart_ + end_;
    uint64_t left = streamPos < size_ ? size_ - streamPos : 0;
    size_t want = static_cast<size_t>(std::min<uint64_t>(buffer_.size() - end_, left));
    if (want > 0) {
        if (gsf_input_read(stream_, want, buffer_.data() + end_) == nullptr) return false;
        end_ += want;
    }
    return end_ - pos_ >= need;
}

Result<bool> RecordReader::next(Record& record) {
    if (!fill(4)) {
        if (end_ == pos_) return false;
        return fail(tx::kTruncated);
    }
    const uint8_t* head = buffer_.data() + pos_;
    uint16_t id = u16(head);
    uint16_t size = u16(head + 2);
    if (size > limits::kMaxBiffRecordBytes)
        return fail(strprintf(tx::kBadRecord, id, static_cast<unsigned long long>(bufferStart_ + pos_)));
    if (!fill(4u + size)) return fail(tx::kTruncated);
    record.id = id;
    record.size = size;
    record.offset = bufferStart_ + pos_;
    record.data = buffer_.data() + pos_ + 4;
    pos_ += 4u + size;
    return true;
}

Status RecordReader::nextExpected(Record& record, const char* reasonAtEnd) {
    Result<bool> got = next(record);
    if (!got) return fail(got.error());
    if (!*got) return fail(reasonAtEnd);
    return {};
}

uint16_t RecordReader::peekId() {
    if (!fill(2)) return 0;
    return u16(buffer_.data() + pos_);
}

bool RecordReader::seek(uint64_t offset) {
    if (offset >= size_) return false;
    if (offset >= bufferStart_ && offset <= bufferStart_ + end_) {
        pos_ = static_cast<size_t>(offset - bufferStart_);
        return true;
    }
    if (gsf_input_seek(stream_, static_cast<gsf_off_t>(offset), G_SEEK_SET)) return false;
    bufferStart_ = offset;
    pos_ = end_ = 0;
    return true;
}

void CodePageDecoder::setCodePage(uint16_t codePage) {
    std::string name;
    switch (codePage) {
        case 936:
            name = "GBK";
            break;
        case 950:
            name = "BIG5";
            break;
        case 932:
            name = "CP932";
            break;
        case 949:
            name = "CP949";
            break;
        case 367:
            name = "ASCII";
            break;
        case 10000:
        case 32768:
            name = "MACINTOSH";
            break;
        case 437:
        case 737:
        case 775:
        case 850:
        case 852:
        case 855:
        case 857:
        case 860:
        case 861:
        case 862:
        case 863:
        case 864:
        case 865:
        case 866:
        case 869:
        case 874:
        case 1250:
        case 1251:
        case 1252:
        case 1253:
        case 1254:
        case 1255:
        case 1256:
        case 1257:
        case 1258:
            name = "CP" + std::to_string(codePage);
            break;
        default:
            name = "CP1252";
            break;
    }
    converter_ = TextConverter("UTF-8", name.c_str());
}

void CodePageDecoder::append(std::string_view bytes, std::string& out) {
    if (!converter_.ok()) {  // read as Latin-1
        for (char c : bytes) appendUtf8(static_cast<unsigned char>(c), out);
        return;
    }
    converter_.append(bytes, out, "?");  // an invalid or incomplete sequence shows as "?"
}

void appendUtf16(const uint8_t* data, size_t units, uint32_t& high, std::string& out) {
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = u16(data + 2 * i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (high != 0) appendUtf8(0xFFFD, out);
            high = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (high != 0) {
                appendUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), out);
                high = 0;
            } else {
                appendUtf8(0xFFFD, out);
            }
            continue;
        }
        if (high != 0) {
            appendUtf8(0xFFFD, out);
            high = 0;
        }
        appendUtf8(unit, out);
    }
}

bool ContinuedData::atEnd() {
    while (segment_ < segments_.size() && pos_ >= segments_[segment_].size()) {
        ++segment_;
        pos_ = 0;
    }
    return segment_ >= segments_.size();
}

bool ContinuedData::readBytes(uint8_t* out, size_t n) {
    while (n > 0) {
        if (atEnd()) return false;
        std::string_view seg = segments_[segment_];
        size_t take = std::min(n, seg.size() - pos_);
        std::memcpy(out, seg.data() + pos_, take);
        out += take;
        n -= take;
        pos_ += take;
    }
    return true;
}

bool ContinuedData::readU8(uint8_t& v) {
    return readBytes(&v, 1);
}

bool ContinuedData::readU16(uint16_t& v) {
    uint8_t b[2];
    if (!readBytes(b, 2)) return false;
    v = u16(b);
    return true;
}

bool ContinuedData::readU32(uint32_t& v) {
    uint8_t b[4];
    if (!readBytes(b, 4)) return false;
    v = u32(b);
    return true;
}

bool ContinuedData::skip(uint64_t n) {
    while (n > 0) {
        if (atEnd()) return false;
        size_t take = static_cast<size_t>(std::min<uint64_t>(n, segments_[segment_].size() - pos_));
        pos_ += take;
        n -= take;
    }
    return true;
}

bool ContinuedData::readChars(uint32_t count, bool wide, std::string& out) {
    highSurrogate_ = 0;
    for (;;) {
        if (segment_ < segments_.size()) {
            std::string_view seg = segments_[segment_];
            size_t width = wide ? 2 : 1;
            size_t available = (seg.size() - std::min(pos_, seg.size())) / width;
            size_t take = std::min<size_t>(available, count);
            const uint8_t* p = reinterpret_cast<const uint8_t*>(seg.data()) + pos_;
            if (wide) {
                appendUtf16(p, take, highSurrogate_, out);
            } else {
                for (size_t i = 0; i < take; ++i) appendUtf8(p[i], out);
            }
            pos_ += take * width;
            count -= static_cast<uint32_t>(take);
        }
        if (count == 0) break;
        // The characters go on in the next record, which starts with a new option byte.
        ++segment_;
        pos_ = 0;
        if (segment_ >= segments_.size() || segments_[segment_].empty()) return false;
        wide = (static_cast<uint8_t>(segments_[segment_][0]) & 0x01) != 0;
        pos_ = 1;
    }
    if (highSurrogate_ != 0) appendUtf8(0xFFFD, out);
    return true;
}

bool ContinuedData::readUnicodeString(bool shortLength, std::string& out) {
    uint16_t count = 0;
    if (shortLength) {
        uint8_t c8 = 0;
        if (!readU8(c8)) return false;
        count = c8;
    } else if (!readU16(count)) {
        return false;
    }
    uint8_t flags = 0;
    if (!readU8(flags)) return false;
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if ((flags & 0x08) && !readU16(runs)) return false;
    if ((flags & 0x04) && !readU32(phonetic)) return false;
    if (!readChars(count, (flags & 0x01) != 0, out)) return false;
    return skip(4ull * runs + phonetic);
}

}  // namespace varnex::biff
