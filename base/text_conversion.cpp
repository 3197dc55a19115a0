#include "base/text_conversion.h"

#include <iconv.h>

#include <cerrno>
#include <utility>

namespace varnex {

namespace {

iconv_t descriptorOf(void* handle) {
    return static_cast<iconv_t>(handle);
}

}  // namespace

TextConverter::TextConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd != reinterpret_cast<iconv_t>(-1)) handle_ = cd;
}

TextConverter::~TextConverter() {
    if (handle_ != nullptr) iconv_close(descriptorOf(handle_));
}

TextConverter::TextConverter(TextConverter&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

TextConverter& TextConverter::operator=(TextConverter&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) iconv_close(descriptorOf(handle_));
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool TextConverter::append(std::string_view bytes, std::string& out, const char* replacement) {
    if (handle_ == nullptr) return false;
    iconv_t cd = descriptorOf(handle_);
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

std::optional<std::string> convertText(std::string_view bytes, const char* to, const char* from,
                                       const char* replacement) {
    TextConverter converter(to, from);
    std::string out;
    if (!converter.append(bytes, out, replacement)) return std::nullopt;
    return out;
}

}  // namespace varnex
