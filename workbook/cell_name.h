#pragma once
// A1-style cell addresses.

#include <optional>
#include <string>
#include <string_view>

namespace varnex {

/// The address of a cell: column index 0 is A, 25 is Z, 26 is AA, …; rows are 1-based.
std::string CellName(int column, int row);
/// The column letters of a column index (0 → "A", 26 → "AA").
std::string columnLetters(int column);

/// A cell position, 0-based.
struct CellPos {
    int row = 0;
    int column = 0;
    bool operator==(const CellPos&) const = default;
};

/// Parses "B3", "$B$3", "AA10" into a 0-based position; nothing when malformed.
std::optional<CellPos> parseCellName(std::string_view address);

}  // namespace varnex
