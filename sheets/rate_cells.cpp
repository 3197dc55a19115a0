#include "sheets/rate_cells.h"

#include <string>

#include "analysis/rates.h"
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

std::string ascendingRankFormula(int column, int row, int firstRow, int lastRow) {
    std::string x = columnLetters(column);
    return strprintf("=RANK(%s%d,%s$%d:%s$%d,1)", x.c_str(), row, x.c_str(), firstRow, x.c_str(), lastRow);
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

std::vector<AddedColumn> addedRateColumns(const ExportOptions& options, bool againstSchool) {
    namespace tx = rate_texts;
    std::vector<AddedColumn> columns;
    auto add = [&](AddedFigure figure, const char* header) {
        columns.push_back({figure, rate_columns::kLast + 1 + static_cast<int>(columns.size()), header});
    };
    if (options.fourRates) {
        add(AddedFigure::GoodCount, tx::kGoodCount);
        add(AddedFigure::GoodRate, tx::kGoodRate);
        add(AddedFigure::GoodRank, tx::kGoodRank);
        add(AddedFigure::LowCount, tx::kLowCount);
        add(AddedFigure::LowRate, tx::kLowRate);
        add(AddedFigure::LowRank, tx::kLowRank);
    }
    if (options.moreFigures) {
        if (againstSchool) add(AddedFigure::AboveSchool, tx::kClassAboveSchool);
        add(AddedFigure::AboveExam, againstSchool ? tx::kClassAboveExam : tx::kTeacherAboveExam);
        add(AddedFigure::Spread, tx::kStandardDeviation);
        add(AddedFigure::Highest, tx::kHighest);
        add(AddedFigure::Lowest, tx::kLowest);
    }
    return columns;
}

void writeAddedHeaders(ExcelSheet& sheet, const std::vector<AddedColumn>& columns) {
    for (const AddedColumn& column : columns) {
        const bool rank = column.figure == AddedFigure::GoodRank || column.figure == AddedFigure::LowRank;
        writeBoxedCell(sheet, column.column, 3, column.header, rank ? 11 : 0);
    }
}

namespace {

// The column of a figure among the appended ones (its rate, for a rank).
int columnOf(const std::vector<AddedColumn>& columns, AddedFigure figure) {
    for (const AddedColumn& column : columns) {
        if (column.figure == figure) return column.column;
    }
    return 0;
}

}  // namespace

void writeAddedFigures(ExcelSheet& sheet, const std::vector<AddedColumn>& columns, const AddedRow& row) {
    const RateGroup& g = *row.group;
    const bool sat = g.satCount > 0;
    const int r = row.row;
    auto rate = [&](AddedFigure countFigure, int count) {
        if (!row.rateFormulas) return rateText(count, g.satCount);
        return sat ? rateFormula(columnOf(columns, countFigure), r, rate_columns::kSat) : std::string();
    };
    // A place among the block's groups, none where nobody sat.
    auto place = [sat](int at) { return sat && at > 0 ? std::optional<long long>(at) : std::nullopt; };
    for (const AddedColumn& column : columns) {
        const int c = column.column;
        switch (column.figure) {
            case AddedFigure::GoodCount:
                writeBoxedNumber(sheet, c, r, g.goodCount);
                break;
            case AddedFigure::LowCount:
                writeBoxedNumber(sheet, c, r, g.lowCount);
                break;
            case AddedFigure::GoodRate:
                if (row.numbers != nullptr && row.rateFormulas)
                    writeBoxedRate(sheet, c, r, row.numbers->goodRate);
                else
                    writeBoxedCell(sheet, c, r, rate(AddedFigure::GoodCount, g.goodCount),
                                   {.rateFormat = true, .formula = row.rateFormulas});
                break;
            case AddedFigure::LowRate:
                if (row.numbers != nullptr && row.rateFormulas)
                    writeBoxedRate(sheet, c, r, row.numbers->lowRate);
                else
                    writeBoxedCell(sheet, c, r, rate(AddedFigure::LowCount, g.lowCount),
                                   {.rateFormat = true, .formula = row.rateFormulas});
                break;
            case AddedFigure::GoodRank:
                if (row.numbers != nullptr) {
                    writeBoxedNumber(sheet, c, r, place(row.numbers->goodPlace));
                    break;
                }
                writeBoxedCell(
                    sheet, c, r,
                    sat ? rankFormula(columnOf(columns, AddedFigure::GoodRate), r, row.firstRow, row.lastRow)
                        : std::string(),
                    {.formula = true});
                break;
            case AddedFigure::LowRank:
                if (row.numbers != nullptr) {
                    writeBoxedNumber(sheet, c, r, place(row.numbers->lowPlace));
                    break;
                }
                writeBoxedCell(sheet, c, r,
                               sat ? ascendingRankFormula(columnOf(columns, AddedFigure::LowRate), r,
                                                          row.firstRow, row.lastRow)
                                   : std::string(),
                               {.formula = true});
                break;
            case AddedFigure::AboveSchool:
                writeBoxedCell(
                    sheet, c, r,
                    row.school ? aboveAverageText(aboveAverageRate(g, *row.school)) : std::string(),
                    {.rateFormat = true});
                break;
            case AddedFigure::AboveExam:
                writeBoxedCell(sheet, c, r,
                               row.exam ? aboveAverageText(aboveAverageRate(g, *row.exam)) : std::string(),
                               {.rateFormat = true});
                break;
            case AddedFigure::Spread:
                writeBoxedCell(sheet, c, r, spreadText(standardDeviation(g)));
                break;
            case AddedFigure::Highest:
                writeBoxedCell(sheet, c, r, sat ? scoreFigureText(g.highest) : std::string());
                break;
            case AddedFigure::Lowest:
                writeBoxedCell(sheet, c, r, sat ? scoreFigureText(g.lowest) : std::string());
                break;
        }
    }
}

std::string scoreFigureText(long long thousandths) {
    std::string text = roundedText(fromThousandths(thousandths), 3);
    // Without the zeros a typed score does not have.
    while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
        const bool point = text.back() == '.';
        text.pop_back();
        if (point) break;
    }
    return text;
}

std::string aboveAverageText(const std::optional<double>& rate) {
    return rate ? roundedText(*rate, 1) : std::string();
}

std::string spreadText(const std::optional<double>& spread) {
    return spread ? roundedText(*spread, 2) : std::string();
}

}  // namespace varnex
