#include "readers/cell_text.h"

#include <charconv>
#include <cmath>

#include "base/text_util.h"
#include "base/utf8.h"

namespace varnex {

void appendNumberText(double value, std::string& out) {
    if (std::isnan(value) || std::isinf(value)) {
        out += "#NUM!";
        return;
    }
    if (value == 0) {  // also -0
        out += '0';
        return;
    }
    char buffer[400];
    std::to_chars_result result;
    if (std::nearbyint(value) == value && std::fabs(value) < 1e21) {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    out.append(buffer, result.ptr);
}

std::string numberText(double value) {
    std::string text;
    appendNumberText(value, text);
    return text;
}

void appendStoredNumberText(std::string_view stored, std::string& out) {
    size_t begin = 0;
    size_t end = stored.size();
    while (begin < end &&
           (stored[begin] == ' ' || stored[begin] == '\t' || stored[begin] == '\n' || stored[begin] == '\r'))
        ++begin;
    while (end > begin && (stored[end - 1] == ' ' || stored[end - 1] == '\t' || stored[end - 1] == '\n' ||
                           stored[end - 1] == '\r'))
        --end;
    const char* first = stored.data() + begin;
    const char* last = stored.data() + end;
    if (first != last && *first == '+') ++first;
    double value = 0;
    auto [ptr, ec] = readDouble(first, last, value);
    if (first == last || ec != std::errc() || ptr != last) {
        out.append(stored);
        return;
    }
    appendNumberText(value, out);
}

const char* booleanText(bool value) {
    return value ? "TRUE" : "FALSE";
}

const char* biffErrorText(uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        case 0x2B:
            return "#GETTING_DATA";
        default:
            return "#N/A";
    }
}

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

void unescapeOfficeXmlText(std::string& text) {
    if (text.find("_x") == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            uint32_t cp = 0;
            bool ok = true;
            for (size_t k = 2; k < 6; ++k) {
                int h = hexValue(text[i + k]);
                if (h < 0) {
                    ok = false;
                    break;
                }
                cp = cp * 16 + static_cast<uint32_t>(h);
            }
            if (ok) {
                appendUtf8(cp, out);
                i += 7;
                continue;
            }
        }
        out += text[i++];
    }
    text.swap(out);
}

std::string columnLettersOf(uint32_t column) {
    std::string letters;
    for (uint64_t n = uint64_t{column} + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

}  // namespace varnex
