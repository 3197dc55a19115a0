#include "sheets/rate_cells.h"

#include <string>

#include "analysis/three_rates.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/rate_texts.h"
#include "workbook/cell_name.h"

namespace varnex {

std::string subjectBlockLabel(std::string_view subject, int fullMark) {
    return strprintf("%s\n%s%d%s", std::string(subject).c_str(), rate_texts::kFullMarkOpen, fullMark,
                     rate_texts::kFullMarkClose);
}

void writeSixteenColumnHead(ExcelSheet& sheet, std::string_view title,
                            const std::array<const char*, 16>& headers) {
    using namespace rate_columns;
    writeTitleRow(sheet, kLast, title);
    for (int column = 0; column <= kLast; ++column) {
        int width = 0;
        if (column == kLabel) width = 9;
        if (column == kExcellentRank || column == kPassRank || column == kAverageRank) width = 11;
        writeBoxedCell(sheet, column, 3, headers[static_cast<size_t>(column)], width);
    }
}

std::string countText(int count) {
    return std::to_string(count);
}

std::string rateText(int count, int satCount) {
    if (satCount == 0) return std::string();
    return roundedText(count * 100.0 / satCount, 1);
}

std::string averageText(long long scoreSumThousandths, int satCount) {
    if (satCount == 0) return std::string();
    return roundedText(fromThousandths(scoreSumThousandths, satCount), 1);
}

std::string rankFormula(int column, int row, int firstRow, int lastRow) {
    std::string x = columnLetters(column);
    return strprintf("=RANK(%s%d,%s$%d:%s$%d)", x.c_str(), row, x.c_str(), firstRow, x.c_str(), lastRow);
}

std::string averageFormula(int column, int firstRow, int lastRow) {
    std::string x = columnLetters(column);
    return strprintf("=AVERAGE(%s$%d:%s$%d)", x.c_str(), firstRow, x.c_str(), lastRow);
}

std::string deviationFormula(int averageColumn, int row, int blockAverageColumn, int firstRow) {
    std::string m = columnLetters(averageColumn);
    std::string o = columnLetters(blockAverageColumn);
    return strprintf("=%s$%d-%s$%d", m.c_str(), row, o.c_str(), firstRow);
}

std::string rateFormula(int countColumn, int row, int satColumn) {
    std::string g = columnLetters(countColumn);
    std::string d = columnLetters(satColumn);
    return strprintf("=(%s$%d/%s$%d)*100", g.c_str(), row, d.c_str(), row);
}

}  // namespace varnex
