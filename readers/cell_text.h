#pragma once
// How a cell's value becomes text: "" for empty, "85" for whole numbers, the shortest text that
// reads back to the same double for other numbers, "TRUE"/"FALSE", error codes as "#N/A".

#include <cstdint>
#include <string>
#include <string_view>

namespace varnex {

/// Appends the text of a number to `out`.
void appendNumberText(double value, std::string& out);
/// The text of a number.
std::string numberText(double value);
/// The text of a stored number (as in an .xlsx `<v>`); unparsable text is kept as it is.
void appendStoredNumberText(std::string_view stored, std::string& out);
/// "TRUE" or "FALSE".
const char* booleanText(bool value);
/// The text of a BIFF error code (0x2A gives "#N/A"); unknown codes give "#N/A".
const char* biffErrorText(uint8_t code);
/// Replaces the _xHHHH_ escapes of Office XML strings by the characters they stand for.
void unescapeOfficeXmlText(std::string& text);
/// The letters of a 0-based sheet column, as messages name it ("A", "AB").
std::string columnLettersOf(uint32_t column);

}  // namespace varnex
