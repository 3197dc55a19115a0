#pragma once
// Where the result sheets put the figures that the chart sheet reads: each writer returns the
// places of its own sheet, and the run hands those of the sheets it wrote to the chart sheet.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace varnex {

/// Rows first … last of a sheet (1-based).
struct RowSpan {
    int first = 0;
    int last = 0;
};

/// 班级各科三率: per block (the exam subjects in order, then the total) the rows of its classes,
/// one per ClassList entry, the classes in the same order in every block (`classOfRow`: the
/// ClassList entry of each); none when there are no classes. 平均分 is in `averageColumn` on every
/// class row, the block's 总平均分 in `blockAverageColumn` on its first row (0-based columns).
struct ClassRatesPlaces {
    std::vector<RowSpan> blocks;
    std::vector<size_t> classOfRow;
    int averageColumn = 0;
    int blockAverageColumn = 0;
};

/// 年级各科三率: the headers of the figure columns in `headerRow`, the figures in columns
/// firstFigureColumn … lastFigureColumn (the exam subjects, then the total); per SchoolList entry
/// the rows of its excellence rates and of its pass rates.
struct GradeRatesPlaces {
    int headerRow = 0;
    int firstFigureColumn = 0;
    int lastFigureColumn = 0;
    std::vector<int> excellentRateRows;
    std::vector<int> passRateRows;
    /// Per SchoolList entry the row of its 低分率; none unless 四率 is on.
    std::vector<int> lowRateRows;
};

/// 总分分数段: the band labels in `labelColumn`, band j (0: the band from 0) in row bandRows[j],
/// from `topRow` (the full-mark band) down to `bottomRow` (the band from 0); per SchoolList entry
/// the column of its "count/cumulative" cells. The bands from `lowestOccupied` to
/// `highestOccupied` hold every total of the exam (lowest above highest when none does).
struct TotalBandsPlaces {
    int labelColumn = 0;
    int topRow = 0;
    int bottomRow = 0;
    std::vector<int> bandRows;
    std::vector<int> schoolColumns;
    int lowestOccupied = 0;
    int highestOccupied = -1;
};

/// 等级分布: in the block of the total, the rows the chart compares (each school's with two schools
/// or more, else each class's; the whole exam's last) with their labels, and the column of each
/// level's share (0-based).
struct LevelDistributionPlaces {
    bool bySchool = false;
    std::vector<int> rows;
    std::vector<std::string> labels;
    std::vector<std::string> levelNames;
    std::vector<int> shareColumns;
};

/// The places of the sheets the run wrote; a sheet not exported has none.
struct FigurePlaces {
    std::optional<ClassRatesPlaces> classRates;
    std::optional<GradeRatesPlaces> gradeRates;
    std::optional<TotalBandsPlaces> totalBands;
    std::optional<LevelDistributionPlaces> levelDistribution;
};

}  // namespace varnex
