#include "import/text_decoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "base/text_util.h"
#include "import/reader_messages.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

/// An iconv conversion descriptor, closed when it goes.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

}  // namespace

ByteOrderMark byteOrderMarkOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {"UTF-8", 3};
    if (bytes.substr(0, 2) == "\xFF\xFE") return {"UTF-16LE", 2};
    if (bytes.substr(0, 2) == "\xFE\xFF") return {"UTF-16BE", 2};
    return {};
}

bool appendConverted(iconv_t cd, std::string_view bytes, std::string& out, const char* replacement) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char chunk[4096];
    while (inLeft > 0) {
        char* dst = chunk;
        size_t dstLeft = sizeof chunk;
        size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(chunk, static_cast<size_t>(dst - chunk));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {  // E2BIG only asks for another round
            if (replacement == nullptr) return false;
            out += replacement;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return true;
}

std::optional<std::string> convertToUtf8(std::string_view bytes, const char* encoding) {
    Converter converter("UTF-8", encoding);
    if (!converter.ok()) return std::nullopt;
    std::string out;
    if (!appendConverted(converter.get(), bytes, out)) return std::nullopt;
    return out;
}

std::string encodingOfLabel(std::string_view label) {
    size_t begin = label.find_first_not_of(" \t\r\n\f");
    size_t end = label.find_last_not_of(" \t\r\n\f");
    std::string name =
        begin == std::string_view::npos ? "" : asciiLower(label.substr(begin, end - begin + 1));
    static constexpr std::string_view kGbLabels[] = {
        "gb2312",  "gbk",      "gb18030",   "x-gbk",      "cp936",   "ms936", "windows-936",
        "chinese", "csgb2312", "iso-ir-58", "gb_2312-80", "gb_2312", "euc-cn"};
    for (std::string_view gb : kGbLabels) {
        if (name == gb) return "GB18030";
    }
    if (name == "utf-8" || name == "utf8" || name == "unicode-1-1-utf-8") return "UTF-8";
    if (name.empty() || name.starts_with("utf-16") || name.starts_with("utf-32") || name == "unicode" ||
        name == "ucs-2")
        return "";
    Converter known("UTF-8", name.c_str());
    return known.ok() ? name : "";
}

std::optional<std::string> decodeText(std::string_view bytes, const std::string& declared) {
    ByteOrderMark bom = byteOrderMarkOf(bytes);
    if (bom.encoding != nullptr) {
        std::string_view rest = bytes.substr(bom.length);
        if (std::string_view(bom.encoding) == "UTF-8") {
            if (!isValidUtf8(rest)) return std::nullopt;
            return std::string(rest);
        }
        return convertToUtf8(rest, bom.encoding);
    }
    if (!declared.empty() && declared != "UTF-8") {
        if (auto text = convertToUtf8(bytes, declared.c_str())) return text;
    }
    if (isValidUtf8(bytes)) return std::string(bytes);
    return convertToUtf8(bytes, "GB18030");
}

namespace {
Error tooLarge(const std::string& fileName, uint64_t maxBytes) {
    return fail(
        strprintf(tx::kFileTooLarge, fileName.c_str(), static_cast<unsigned long long>(maxBytes >> 20)));
}
}  // namespace

Result<std::string> readWholeFile(const std::string& path, uint64_t maxBytes) {
    std::string name = fileNameOf(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return fail(strprintf(tx::kCannotReadFile, name.c_str()));
    std::string bytes;
    char chunk[65536];
    bool tooLarge = false;
    for (;;) {
        size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got == 0) break;
        if (bytes.size() + got > maxBytes) {
            tooLarge = true;
            break;
        }
        bytes.append(chunk, got);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge)
        return fail(
            strprintf(tx::kFileTooLarge, name.c_str(), static_cast<unsigned long long>(maxBytes >> 20)));
    if (failed) return fail(strprintf(tx::kCannotReadFile, name.c_str()));
    return bytes;
}

Result<std::string_view> textInMemory(const void* data, size_t size, uint64_t maxBytes,
                                      const std::string& fileName) {
    if (size > maxBytes) return tooLarge(fileName, maxBytes);
    return std::string_view(static_cast<const char*>(data), size);
}

}  // namespace varnex
