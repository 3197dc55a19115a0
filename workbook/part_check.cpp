#include "workbook/part_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string_view>

namespace varnex {

namespace {

/// The first bytes of a part (enough to hold its root element's tag) and its last bytes.
class PartEnds {
  public:
    void add(const char* data, size_t size) {
        if (head_.size() < kHead) head_.append(data, std::min(size, kHead - head_.size()));
        tail_.append(data + (size > kTail ? size - kTail : 0), std::min(size, kTail));
        if (tail_.size() > kTail) tail_.erase(0, tail_.size() - kTail);
    }

    /// True unless the part is XML that does not end by closing the element it opened.
    bool whole(std::string_view name) const {
        const bool xml = name.ends_with(".xml") || name.ends_with(".rels");
        if (!xml) return true;
        std::string_view tail = tail_;
        while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' '))
            tail.remove_suffix(1);
        const size_t declarationEnd = head_.rfind("?>");
        const size_t open = head_.find('<', declarationEnd == std::string::npos ? 0 : declarationEnd);
        const size_t nameEnd = open == std::string::npos ? open : head_.find_first_of(" />", open + 1);
        if (nameEnd == std::string::npos) return false;
        const std::string root = head_.substr(open + 1, nameEnd - open - 1);
        return !root.empty() && tail.ends_with("</" + root + ">");
    }

  private:
    static constexpr size_t kHead = 2048;
    static constexpr size_t kTail = 256;
    std::string head_;
    std::string tail_;
};

uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

/// A file read from its start while another writes it: at its current end, the reader waits for
/// more until the writer is done.
class GrowingFile {
  public:
    GrowingFile(int fd, const std::atomic<bool>& writerDone, const std::atomic<bool>& stop)
        : fd_(fd), writerDone_(writerDone), stop_(stop), buffer_(kCapacity) {}

    /// Makes at least `n` (at most kCapacity) bytes available at data(); false when the file ends
    /// before, a read fails or the follower is stopped.
    bool need(size_t n) {
        while (end_ - at_ < n) {
            if (at_ > 0) {  // keep what is not yet consumed at the start of the buffer
                std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(at_),
                          buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
                end_ -= at_;
                at_ = 0;
            }
            if (!more()) return false;
        }
        return true;
    }
    const unsigned char* data() const { return buffer_.data() + at_; }
    size_t available() const { return end_ - at_; }
    void consume(size_t n) { at_ += n; }

    static constexpr size_t kCapacity = 1 << 18;  // a local header with the longest name and extra field fits

  private:
    bool more() {
        for (;;) {
            if (stop_) return false;
            // Whether the writer was done before this read: then an empty read is the file's end.
            const bool done = writerDone_;
            const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
            if (got > 0) {
                end_ += static_cast<size_t>(got);
                return true;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 || done) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    int fd_;
    const std::atomic<bool>& writerDone_;
    const std::atomic<bool>& stop_;
    std::vector<unsigned char> buffer_;
    size_t at_ = 0;
    size_t end_ = 0;
};

/// Inflates one part's compressed data from `file`; false when it cannot be read to its end.
bool inflatePart(GrowingFile& file, PartCheck::Part& part) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    std::vector<unsigned char> out(1 << 16);
    PartEnds ends;
    uLong crc = crc32(0, nullptr, 0);
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (file.available() == 0 && !file.need(1)) break;
        stream.next_in = const_cast<Bytef*>(file.data());
        stream.avail_in = static_cast<uInt>(std::min<size_t>(file.available(), UINT32_MAX));
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        const uInt offered = stream.avail_in;
        result = inflate(&stream, Z_NO_FLUSH);
        file.consume(offered - stream.avail_in);
        const size_t produced = out.size() - stream.avail_out;
        crc = crc32(crc, out.data(), static_cast<uInt>(produced));
        ends.add(reinterpret_cast<const char*>(out.data()), produced);
        part.size += produced;
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) break;
        // Input there and room for output, yet nothing done: the data is not what it should be.
        if (result == Z_BUF_ERROR && stream.avail_in == offered && produced == 0) break;
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END) return false;
    part.crc = crc;
    part.whole = ends.whole(part.name);
    return true;
}

}  // namespace

bool everyPartComplete(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr) return false;
    bool whole = true;
    std::vector<char> buffer(1 << 16);
    const zip_int64_t parts = zip_get_num_entries(archive, 0);
    if (parts <= 0) whole = false;
    for (zip_int64_t i = 0; i < parts && whole; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        zip_file_t* part = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (name == nullptr || part == nullptr) {
            if (part != nullptr) zip_fclose(part);
            whole = false;
            break;
        }
        PartEnds ends;
        for (;;) {
            zip_int64_t n = zip_fread(part, buffer.data(), buffer.size());
            if (n < 0) whole = false;
            if (n <= 0) break;
            ends.add(buffer.data(), static_cast<size_t>(n));
        }
        zip_fclose(part);
        whole = whole && ends.whole(name);
    }
    zip_close(archive);
    return whole;
}

PartCheck::PartCheck(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd_ >= 0 && (::fstat(fd_, &status) != 0 || status.st_size != 0)) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) thread_ = std::thread([this] { follow(); });
}

PartCheck::~PartCheck() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
}

void PartCheck::follow() {
    followed_ = followParts();
}

// Reads the local header and the compressed data of each part in turn, up to the directory that
// follows the last one. False at anything it does not expect (the check of the finished file
// then decides).
bool PartCheck::followParts() {
    GrowingFile file(fd_, writerDone_, stop_);
    constexpr uint32_t kLocalHeader = 0x04034b50;
    constexpr uint32_t kDirectoryEntry = 0x02014b50;
    constexpr size_t kHeaderSize = 30;
    for (;;) {
        if (!file.need(4)) return false;
        const uint32_t signature = le32(file.data());
        if (signature == kDirectoryEntry) return !parts_.empty();
        if (signature != kLocalHeader || !file.need(kHeaderSize)) return false;
        const uint16_t flags = le16(file.data() + 6);
        const uint16_t method = le16(file.data() + 8);
        const size_t nameLength = le16(file.data() + 26);
        const size_t extraLength = le16(file.data() + 28);
        // Encrypted, with the lengths after the data, or not deflated: not followed.
        if ((flags & 0x9) != 0 || method != Z_DEFLATED) return false;
        if (!file.need(kHeaderSize + nameLength + extraLength)) return false;
        Part part;
        part.name.assign(reinterpret_cast<const char*>(file.data()) + kHeaderSize, nameLength);
        file.consume(kHeaderSize + nameLength + extraLength);
        if (!inflatePart(file, part)) return false;
        parts_.push_back(std::move(part));
    }
}

bool PartCheck::finish() {
    writerDone_ = true;
    if (thread_.joinable()) thread_.join();
    // What was read must be what the finished file's directory lists. Anything else is decided by
    // reading the finished file: a save is never called incomplete on the follower's word alone.
    if (!followed_) return everyPartComplete(path_);
    int error = 0;
    zip_t* archive = zip_open(path_.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr) return false;
    bool whole = zip_get_num_entries(archive, 0) == static_cast<zip_int64_t>(parts_.size());
    for (size_t i = 0; i < parts_.size() && whole; ++i) {
        zip_stat_t entry;
        zip_stat_init(&entry);
        const Part& part = parts_[i];
        whole = zip_stat_index(archive, i, 0, &entry) == 0 &&
                (entry.valid & (ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_CRC)) ==
                    (ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_CRC) &&
                part.name == entry.name && part.size == entry.size && part.crc == entry.crc && part.whole;
    }
    zip_close(archive);
    return whole || everyPartComplete(path_);
}

}  // namespace varnex
