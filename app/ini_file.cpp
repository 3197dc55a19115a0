#include "app/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/text_conversion.h"
#include "base/text_util.h"
#include "base/utf8.h"

namespace varnex {

namespace {

// The text in another encoding; an invalid or cut-off sequence becomes a replacement character
// ("?" in GBK), and the text stays as it is when the encoding is unknown.
std::string convert(std::string_view input, const char* to, const char* from) {
    const char* replacement = std::string_view(to) == "UTF-8" ? "\xEF\xBF\xBD" : "?";
    return convertText(input, to, from, replacement).value_or(std::string(input));
}

bool hasHighBytes(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// The section name of a line "[name]", or nothing.
std::optional<std::string_view> sectionOf(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return trim(t.substr(1));
    return trim(t.substr(1, close - 1));
}

// Cuts a UTF-8 text so that its encoded form takes at most `limit` bytes, at a character edge.
std::string cutEncoded(const std::string& utf8, IniFile::Encoding enc, size_t limit) {
    if (enc == IniFile::Encoding::Gbk) {
        std::string encoded = utf8ToGbk(utf8);
        if (encoded.size() <= limit) return utf8;
        // Walk GB18030 characters: 1 byte (ASCII), 2 bytes, or 4 bytes (second byte a digit).
        size_t i = 0;
        while (i < encoded.size()) {
            unsigned char c = static_cast<unsigned char>(encoded[i]);
            size_t len = 1;
            if (c >= 0x81 && i + 1 < encoded.size()) {
                unsigned char d = static_cast<unsigned char>(encoded[i + 1]);
                len = (d >= 0x30 && d <= 0x39) ? 4 : 2;
            }
            if (i + len > limit) break;
            i += len;
        }
        return gbkToUtf8(std::string_view(encoded).substr(0, i));
    }
    return utf8.substr(0, utf8PrefixLength(utf8, limit));
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    return convert(gbk, "UTF-8", "GB18030");
}
std::string utf8ToGbk(std::string_view utf8) {
    return convert(utf8, "GB18030", "UTF-8");
}

IniFile IniFile::load(const std::string& path) {
    IniFile file;
    // O_NONBLOCK: a FIFO put at the path must not hang the program; it is no settings file.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) file.problem_ = Problem::CannotRead;
        return file;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string bytes;
    char buffer[65536];
    while (ok) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok) {
        file.problem_ = Problem::CannotRead;
        return file;
    }
    file = fromBytes(bytes);
    file.exists_ = !file.unreadable();
    return file;
}

IniFile IniFile::fromBytes(std::string_view bytes) {
    IniFile file;
    file.exists_ = true;
    std::string text;
    // A text file holds no NUL byte; UTF-16 and binary files always do.
    bool isText = bytes.find('\0') == std::string_view::npos;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        file.encoding_ = Encoding::Utf8Bom;
        text = std::string(bytes.substr(3));
        isText = isText && isValidUtf8(text);
    } else if (hasHighBytes(bytes) && isValidUtf8(bytes)) {
        file.encoding_ = Encoding::Utf8;
        text = std::string(bytes);
    } else {
        file.encoding_ = Encoding::Gbk;
        text = gbkToUtf8(bytes);
        // Only text that encodes back to the very same bytes is GB18030 text; anything else (a
        // UTF-16 byte-order mark, a stray byte) would be changed by the next save.
        isText = isText && utf8ToGbk(text) == bytes;
    }
    if (!isText) {
        file.exists_ = false;
        file.problem_ = Problem::NotText;
        return file;
    }
    if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos) file.newline_ = "\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        file.lines_.push_back(std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return file;
}

std::optional<IniFile::Location> IniFile::locate(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = lines_[i];
        if (auto name = sectionOf(line)) {
            inSection = equalsIgnoringAsciiCase(*name, trim(section));
            continue;
        }
        if (!inSection) continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (equalsIgnoringAsciiCase(trim(line.substr(0, eq)), trim(key))) return Location{i, eq + 1};
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    auto loc = locate(section, key);
    if (!loc) return std::nullopt;
    std::string_view value = trim(std::string_view(lines_[loc->line]).substr(loc->valueStart));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return cutEncoded(std::string(value), encoding_, 259);
}

std::string IniFile::get(std::string_view section, std::string_view key) const {
    return find(section, key).value_or(std::string());
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    if (auto loc = locate(section, key)) {
        std::string& line = lines_[loc->line];
        line = line.substr(0, loc->valueStart - 1) + "=" + std::string(value);
        return;
    }
    std::string keyLine = std::string(key) + "=" + std::string(value);
    // Find the section; the key goes after its last non-blank line.
    bool inSection = false;
    std::optional<size_t> insertAt;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = sectionOf(lines_[i])) {
            if (inSection) break;
            inSection = equalsIgnoringAsciiCase(*name, trim(section));
            if (inSection) insertAt = i + 1;
            continue;
        }
        if (inSection && !trim(lines_[i]).empty()) insertAt = i + 1;
    }
    if (insertAt) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), keyLine);
        return;
    }
    while (!lines_.empty() && trim(lines_.back()).empty()) lines_.pop_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(keyLine);
}

std::string IniFile::toBytes() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += newline_;
    }
    switch (encoding_) {
        case Encoding::Gbk:
            return utf8ToGbk(text);
        case Encoding::Utf8:
            return text;
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF" + text;
    }
    return text;
}

bool IniFile::save(const std::string& path) const {
    if (unreadable()) return false;
    return writeFileAtomically(path, toBytes());
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ::chmod(temp.c_str(), 0644);
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace varnex
