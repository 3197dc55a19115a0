#include "readers/text_decoding.h"

#include <cerrno>
#include <cstdio>

#include "base/text_conversion.h"
#include "base/text_util.h"
#include "base/utf8.h"
#include "readers/reader_messages.h"

namespace varnex {

namespace tx = reader_texts;

ByteOrderMark byteOrderMarkOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {"UTF-8", 3};
    if (bytes.substr(0, 2) == "\xFF\xFE") return {"UTF-16LE", 2};
    if (bytes.substr(0, 2) == "\xFE\xFF") return {"UTF-16BE", 2};
    return {};
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
    return TextConverter("UTF-8", name.c_str()).ok() ? name : "";
}

std::optional<std::string> decodeText(std::string_view bytes, const std::string& declared) {
    ByteOrderMark bom = byteOrderMarkOf(bytes);
    if (bom.encoding != nullptr) {
        std::string_view rest = bytes.substr(bom.length);
        if (std::string_view(bom.encoding) == "UTF-8") {
            if (!isValidUtf8(rest)) return std::nullopt;
            return std::string(rest);
        }
        return convertText(rest, "UTF-8", bom.encoding);
    }
    if (!declared.empty() && declared != "UTF-8") {
        if (auto text = convertText(bytes, "UTF-8", declared.c_str())) return text;
    }
    if (isValidUtf8(bytes)) return std::string(bytes);
    return convertText(bytes, "UTF-8", "GB18030");
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
