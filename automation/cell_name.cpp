#include "automation/cell_name.h"

namespace varnex {

std::string columnLetters(int column) {
    std::string letters;
    int n = column + 1;
    while (n > 0) {
        int rem = (n - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + rem));
        n = (n - 1) / 26;
    }
    return letters;
}

std::string CellName(int column, int row) { return columnLetters(column) + std::to_string(row); }

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
