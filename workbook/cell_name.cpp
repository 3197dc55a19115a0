#include "workbook/cell_name.h"

#include <charconv>

namespace varnex {

namespace {

// Writes the letters of a column index before `end`; returns where they start.
char* lettersBefore(char* end, int column) {
    int n = column + 1;
    while (n > 0) {
        *--end = static_cast<char>('A' + (n - 1) % 26);
        n = (n - 1) / 26;
    }
    return end;
}

}  // namespace

std::string columnLetters(int column) {
    char buffer[8];
    char* end = buffer + sizeof buffer;
    return std::string(lettersBefore(end, column), end);
}

std::string CellName(int column, int row) {
    char buffer[32];
    char* middle = buffer + 8;
    char* first = lettersBefore(middle, column);
    char* last = std::to_chars(middle, buffer + sizeof buffer, row).ptr;
    return std::string(first, last);
}

std::optional<CellPos> parseCellName(std::string_view address) {
    size_t i = 0;
    if (i < address.size() && address[i] == '$') ++i;
    long column = 0;
    size_t letters = 0;
    while (i < address.size() && address[i] >= 'A' && address[i] <= 'Z') {
        column = column * 26 + (address[i] - 'A' + 1);
        if (column > 16384) return std::nullopt;
        ++i;
        ++letters;
    }
    if (letters == 0) return std::nullopt;
    if (i < address.size() && address[i] == '$') ++i;
    long row = 0;
    size_t digits = 0;
    while (i < address.size() && address[i] >= '0' && address[i] <= '9') {
        row = row * 10 + (address[i] - '0');
        if (row > 1048576) return std::nullopt;
        ++i;
        ++digits;
    }
    if (digits == 0 || row == 0 || i != address.size()) return std::nullopt;
    return CellPos{static_cast<int>(row - 1), static_cast<int>(column - 1)};
}

}  // namespace varnex
