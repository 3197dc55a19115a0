#include "import/student_import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/app_texts.h"
#include "app/class_order.h"
#include "app/failure_trail.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/free_memory.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "import/class_name.h"
#include "import/header_names.h"
#include "import/import_common.h"
#include "import/import_texts.h"
#include "import/row_problems.h"
#include "import/sheet_query.h"
#include "import/student_ids.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// The key columns of a score sheet, in the order of the header request.
enum Key : size_t { kSchoolKey, kClassKey, kNameKey };

// The query's fields, in the order of the selected columns: 班级, 姓名, the examined subjects, and
// 学校 last when the sheet has that column.
enum Field : size_t { kClassField, kNameField, kFirstSubjectField };

// How the rows of the sheet are read.
struct ScoreSheet {
    std::vector<size_t> examined;        ///< the subjects with a full mark that the sheet has
    std::vector<uint32_t> scoreColumns;  ///< per examined subject, the sheet column read
    std::vector<std::string> scaled;     ///< the examined subjects read from their scaled scores
    /// The subjects whose scaled scores are computed although the sheet has a column of them.
    std::vector<std::string> scaledNotRead;
    std::optional<uint32_t> totalColumn;  ///< the sheet's own total of the scores read, if any
    size_t totalField = 0;                ///< its field in the query
    std::vector<std::string> notInSheet;  ///< the subjects with a full mark that it has not
    std::string singleSchool;  ///< the school of every row of a sheet without 学校 column, else ""
    std::string singleClass;   ///< the class of every row of a sheet without 班级 column, else ""
    size_t schoolField = 0;    ///< the field of 学校 when the sheet has it
    uint32_t classColumn = 0;  ///< the sheet column of 班级, for messages
    StudentIdColumns ids;      ///< the columns of 考号 and 学号 when the sheet has them
    std::array<std::optional<size_t>, 2> idFields;  ///< their fields in the query
    std::optional<uint32_t> trackColumn;            ///< the column of 选科, 科类 or 首选科目
    std::optional<size_t> trackField;               ///< its field in the query
    /// The extra columns (named as the header reads them, with their sheet columns), kept from
    /// StudentTable column kFirstExtraColumn on; their fields follow each other from firstExtraField.
    std::vector<std::pair<std::string, uint32_t>> extras;
    size_t firstExtraField = 0;
};

// A StudentTable row: 学校, 班级, 姓名, the subjects in their columns, 总分 last.
enum StudentCell : size_t { kSchoolCell, kClassCell, kNameCell };
constexpr size_t kStudentCells = kTotalColumn + 1;
static_assert(kStudentCells == kFirstExtraColumn);
// The width of an extra column in the window's table, as a subject's.
constexpr int kExtraColumnWidth = 54;

// Asks about every full mark outside its plausible range; false when one is not confirmed.
bool confirmFullMarks(const AppState& state, Frontend& frontend) {
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        int fullMark = state.scores.fullMark[i];
        if (fullMark >= 0 && fullMark <= kSubjects[i].plausibleLimit) continue;
        std::string question = strprintf(tx::kPlausibilityFormat, kSubjects[i].name, fullMark);
        if (!frontend.askYesNo(question, common_texts::kCaptionConfirm)) return false;
    }
    return true;
}

// The names joined with "、".
std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : tx::kNameSeparator) + name;
    return text;
}

std::string confirmationText(const AppState& state, const ScoreSheet& sheet) {
    std::string lines;
    for (size_t i : sheet.examined) {
        lines += strprintf(tx::kConfirmSubjectLineFormat, kSubjects[i].name, state.scores.fullMark[i]);
    }
    int count = static_cast<int>(sheet.examined.size());
    for (const auto& extra : sheet.extras) {
        const int fullMark = state.scores.extraFullMark(extra.first);
        if (fullMark <= 0) continue;
        lines += strprintf(tx::kConfirmSubjectLineFormat, extra.first.c_str(), fullMark);
        ++count;
    }
    if (!sheet.notInSheet.empty())
        lines += strprintf(tx::kConfirmNotInSheetFormat, joined(sheet.notInSheet).c_str());
    return strprintf(tx::kStudentConfirmFormat, fileNameOf(state.workbook.path).c_str(),
                     state.imported.sheetName.c_str(), state.imported.gradeName.c_str(), count,
                     lines.c_str());
}

// Brings the counts and the SchoolList in line with what the StudentTable and ClassList hold.
void refreshSummary(AppState& state) {
    state.imported.studentCount = state.students.rowCount();
    state.imported.classCount = static_cast<int>(state.imported.classList.size());
    state.imported.schoolList = schoolsOf(state.imported.classList);
}

// The total of the eleven slots, added up exactly in thousandths and rounded to one decimal half
// away from zero (85.25 + 90 gives 175.3), without a trailing ".0".
std::string totalText(const std::vector<std::string>& cells, const std::vector<size_t>& extraCells = {}) {
    long long total = 0;
    for (const auto& subject : kSubjects)
        total += toThousandths(cAtof(cells[static_cast<size_t>(subject.column)]));
    for (size_t cell : extraCells) total += toThousandths(cAtof(cells[cell]));
    return removeTrailingDotZero(roundedText(fromThousandths(total), 1));
}

// What a score cell holds.
enum class ScoreKind { Number, NoScore, Other };

// Texts that say a student has no score in a subject (besides a blank cell).
constexpr std::string_view kNoScoreTexts[] = {"缺考", "缺", "缺席", "免考", "未考", "未选",
                                              "-",    "--", "—",    "/",    "／"};

// A number whatever the cell's type ("85", "85.5", "８５", " 85 ", "95分"), or a text that says
// there is no score, or anything else. A number is kept plain (full-width digits made ASCII, blanks
// at both ends trimmed); every other text stays as written.
ScoreKind readScore(std::string& slot) {
    // Most cells hold a plain number already ("85", "85.5"): nothing to change.
    if (!slot.empty() && slot.front() >= '0' && slot.front() <= '9' &&
        std::all_of(slot.begin(), slot.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }) &&
        std::count(slot.begin(), slot.end(), '.') <= 1)
        return ScoreKind::Number;
    std::string plain = plainText(slot);
    if (plain.empty()) return ScoreKind::NoScore;
    for (std::string_view text : kNoScoreTexts) {
        if (plain == text) return ScoreKind::NoScore;
    }
    // The number: an optional sign, digits with an optional fraction and exponent; then nothing
    // or "分".
    const char* begin = plain.data();
    const char* end = begin + plain.size();
    const char* p = begin;
    if (p != end && (*p == '-' || *p == '+')) ++p;
    size_t digits = 0;
    while (p != end && *p >= '0' && *p <= '9') ++p, ++digits;
    if (p != end && *p == '.') {
        ++p;
        while (p != end && *p >= '0' && *p <= '9') ++p, ++digits;
    }
    if (digits == 0) return ScoreKind::Other;
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != end && (*q == '-' || *q == '+')) ++q;
        if (q != end && *q >= '0' && *q <= '9') {
            while (q != end && *q >= '0' && *q <= '9') ++q;
            p = q;
        }
    }
    std::string_view rest(p, static_cast<size_t>(end - p));
    if (!rest.empty() && rest != tx::kPointsSuffix) return ScoreKind::Other;
    slot = removeTrailingDotZero(std::move(plain));
    return ScoreKind::Number;
}

// Counts for the missing-subject rule: an empty score or "0", and under the rule that leaves
// blank scores out, any text that says there is none.
bool isMissing(const std::string& score, ScoreKind kind, bool blankScoresExcluded) {
    return score.empty() || score == "0" || (blankScoresExcluded && kind == ScoreKind::NoScore);
}

// Whether a student whose 选科 names `chosen` takes `subject`: any subject outside the six of the
// choice, and those of the six the combination names.
bool takenIn(const std::vector<std::string>& chosen, std::string_view subject) {
    const bool ofTheChoice = std::find(std::begin(kChoiceSubjects), std::end(kChoiceSubjects), subject) !=
                             std::end(kChoiceSubjects);
    return !ofTheChoice || std::find(chosen.begin(), chosen.end(), subject) != chosen.end();
}

bool shouldSkip(const AppState& state, int missing, int examinedCount) {
    int rule = state.importOptions.missingRule;
    if (rule != 0 && rule != 1) return false;
    return rule == 0 ? missing > examinedCount / 2 : missing > state.importOptions.missingLimit;
}

// What the row loop found, before anything is replaced.
struct SheetRead {
    bool readerFailed = false;  ///< the reader could not deliver a row (already reported)
    /// The StudentTable to be, each row with its 考号 and 学号 kept hidden when the sheet has them.
    RowTable rows;
    ClassList classList;
    RowProblems problems;
    std::vector<std::string> skipped;     ///< "第%d行 name" of the rows the missing-subject rule left out
    std::vector<int> blank, noScoreText;  ///< per examined subject: blank cells, texts such as 缺考
    /// Per ClassList entry: per examined subject, whether some student of the class has a score.
    std::vector<std::vector<bool>> classHasScore;
    std::vector<bool> classImported;  ///< per ClassList entry: some student of the class is imported
    /// The students whose total in the sheet's own 总分 column differs from the sum Varnex forms.
    struct TotalDifferences {
        int count = 0;
        double least = 0, most = 0;        ///< the lowest and highest difference (sheet minus sum)
        double smallest = 0, largest = 0;  ///< the smallest and largest size of a difference
        int row = 0;                       ///< the first such student's sheet row
        std::string sheetTotal, sum;
    } totals;
};

// Checks one row and notes its problems: the school and the name, the class, and every examined
// subject's score (a text that is no score, above the full mark, below 0).
void checkRow(const AppState& state, SheetRead& read, const std::vector<std::string>& cells,
              const Result<std::string>& klass, const std::vector<size_t>& examined,
              const std::vector<ScoreKind>& kinds, const std::vector<const std::string*>& written,
              int sheetRow) {
    const std::string& name = cells[kNameCell];
    auto note = [&](const char* column, const std::string& value, std::string message, bool blocking) {
        read.problems.add({sheetRow, name, column, value, std::move(message), blocking});
    };
    if (Status checked = checkSchoolAndKey(cells[kSchoolCell], tx::kName, name); !checked)
        note(cells[kSchoolCell].empty() || cells[kSchoolCell] == tx::kAllSchools ? tx::kSchool : tx::kName,
             cells[kSchoolCell], checked.error(), true);
    if (!klass) note(tx::kClass, cells[kClassCell], klass.error(), true);
    for (size_t k = 0; k < examined.size(); ++k) {
        const size_t i = examined[k];
        const char* subject = kSubjects[i].name;
        const std::string& slot = cells[static_cast<size_t>(kSubjects[i].column)];
        if (kinds[k] == ScoreKind::Other) {
            note(subject, *written[k], strprintf(tx::kNotAScoreFormat, subject, written[k]->c_str()), true);
            continue;
        }
        int fullMark = state.scores.fullMark[i];
        int score = cAtoi(slot);
        if (score > fullMark) {
            note(subject, *written[k], strprintf(tx::kAboveFullMarkFormat, subject, score, subject, fullMark),
                 true);
        } else if (kinds[k] == ScoreKind::Number && cAtof(slot) < 0) {
            note(subject, *written[k], strprintf(tx::kBelowZeroFormat, subject, slot.c_str()), false);
        }
    }
}

// Notes the problem of an extra subject's score when the subject has a full mark: a text that is
// no score, a score above the full mark (both blocking), below 0.
void checkExtraScore(SheetRead& read, const std::string& subject, const std::string& slot,
                     const std::string& written, ScoreKind kind, int fullMark, int sheetRow,
                     const std::string& name) {
    const char* column = subject.c_str();
    if (kind == ScoreKind::Other) {
        read.problems.add({sheetRow, name, column, written,
                           strprintf(tx::kNotAScoreFormat, column, written.c_str()), true});
    } else if (const int score = cAtoi(slot); score > fullMark) {
        read.problems.add({sheetRow, name, column, written,
                           strprintf(tx::kAboveFullMarkFormat, column, score, column, fullMark), true});
    } else if (kind == ScoreKind::Number && cAtof(slot) < 0) {
        read.problems.add(
            {sheetRow, name, column, written, strprintf(tx::kBelowZeroFormat, column, slot.c_str()), false});
    }
}

// A student row by its school, class and name: a hash of the three, its row among those read and
// its sheet row.
struct NamedRow {
    size_t hash;
    size_t index;
    int sheetRow;
};

size_t studentHash(const std::vector<std::string>& cells) {
    std::hash<std::string> hash;
    size_t h = hash(cells[kSchoolCell]);
    h = h * 1099511628211u ^ hash(cells[kClassCell]);
    return h * 1099511628211u ^ hash(cells[kNameCell]);
}

// Notes each student whose name an earlier row of the same class already has (imported all the
// same: two students may share a name), then puts the problems back in sheet order.
void noteSameNames(SheetRead& read, std::vector<NamedRow>& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const NamedRow& a, const NamedRow& b) { return a.hash < b.hash; });
    auto same = [&](const NamedRow& a, const NamedRow& b) {
        const RowTable::RowView x = read.rows.row(static_cast<int>(a.index));
        const RowTable::RowView y = read.rows.row(static_cast<int>(b.index));
        return x[kNameCell] == y[kNameCell] && x[kClassCell] == y[kClassCell] &&
               x[kSchoolCell] == y[kSchoolCell];
    };
    bool found = false;
    for (size_t run = 0, end = 0; run < names.size(); run = end) {
        while (end < names.size() && names[end].hash == names[run].hash) ++end;
        for (size_t j = run + 1; j < end; ++j) {
            for (size_t i = run; i < j; ++i) {
                if (!same(names[i], names[j])) continue;
                const RowTable::RowView cells = read.rows.row(static_cast<int>(names[j].index));
                const std::string name(cells[kNameCell]), klass(cells[kClassCell]);
                read.problems.add({names[j].sheetRow, name, tx::kName, name,
                                   strprintf(tx::kSameNameFormat, klass.c_str(), names[i].sheetRow), false});
                found = true;
                break;
            }
        }
    }
    if (found) read.problems.sortByRow();
}

// Notes a student whose total in the sheet (`written`) differs from the sum Varnex formed by 0.01
// or more; a total that is no number is not compared.
void compareTotal(SheetRead::TotalDifferences& totals, std::string written, const std::string& sum,
                  int sheetRow) {
    if (readScore(written) != ScoreKind::Number || written.empty()) return;
    const double difference = cAtof(written) - cAtof(sum);
    if (std::fabs(difference) < 0.01) return;
    if (totals.count++ == 0) {
        totals.least = totals.most = difference;
        totals.smallest = totals.largest = std::fabs(difference);
        totals.row = sheetRow;
        totals.sheetTotal = written;
        totals.sum = sum;
    }
    totals.least = std::min(totals.least, difference);
    totals.most = std::max(totals.most, difference);
    totals.smallest = std::min(totals.smallest, std::fabs(difference));
    totals.largest = std::max(totals.largest, std::fabs(difference));
}

// Points written with up to two decimals and no trailing zeros ("10", "0.5").
std::string pointsText(double points) {
    std::string text = fixedText(points, 2);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// How the sheet's own totals differ from the sums, naming the columns not analysed; "" when they
// do not.
std::string totalDifferenceText(const SheetRead::TotalDifferences& totals,
                                const std::vector<std::string>& notAnalysed) {
    if (totals.count == 0) return std::string();
    std::string text;
    const char* sheetTotal = totals.sheetTotal.c_str();
    const char* sum = totals.sum.c_str();
    if (totals.most - totals.least < 0.01) {
        text = strprintf(totals.most > 0 ? tx::kTotalMoreFormat : tx::kTotalLessFormat, totals.count,
                         pointsText(std::fabs(totals.most)).c_str(), totals.row, sheetTotal, sum);
    } else {
        text = strprintf(tx::kTotalDifferentFormat, totals.count, pointsText(totals.smallest).c_str(),
                         pointsText(totals.largest).c_str(), totals.row, sheetTotal, sum);
    }
    if (notAnalysed.empty()) return text;
    std::string columns;
    for (const std::string& name : notAnalysed)
        columns += (columns.empty() ? "" : tx::kNameSeparator) + strprintf(tx::kQuotedFormat, name.c_str());
    const int count = static_cast<int>(notAnalysed.size());
    return text + (count == 1 ? strprintf(tx::kTotalNotAnalysedOneFormat, columns.c_str())
                              : strprintf(tx::kTotalNotAnalysedFormat, columns.c_str(), count));
}

// Reads every row of the sheet up to the end of the data, replacing nothing.
SheetRead readRows(AppState& state, Frontend& frontend, SheetQuery& query, const ScoreSheet& sheet) {
    const std::vector<size_t>& examined = sheet.examined;
    const bool singleSchool = !sheet.singleSchool.empty();
    const bool singleClass = !sheet.singleClass.empty();
    const bool blankScoresExcluded = state.exportOptions.blankScoresExcluded;
    SheetRead read;
    read.rows.setColumns(kStudentTableColumns);
    for (const auto& extra : sheet.extras) read.rows.addColumn(extra.first, kExtraColumnWidth);
    read.blank.assign(examined.size(), 0);
    read.noScoreText.assign(examined.size(), 0);
    std::unordered_map<std::string, size_t> classIndex;  // school and class: ClassList entry
    size_t lastClass = SIZE_MAX;                         // the ClassList entry of the row before
    std::vector<NamedRow> names;
    std::vector<const std::string*> written(examined.size());  // the score cells as the sheet has them
    std::vector<ScoreKind> kinds(examined.size());
    std::vector<ScoreKind> extraKinds(sheet.extras.size());
    // The extra subjects already given a full mark: the export adds them to the total, so the
    // sheet's own 总分 is compared with the sum that includes them.
    std::vector<size_t> countedExtras;
    for (size_t e = 0; e < sheet.extras.size(); ++e) {
        if (state.scores.extraFullMark(sheet.extras[e].first) > 0) countedExtras.push_back(kStudentCells + e);
    }
    std::string key;
    while (!query.atEnd()) {
        std::vector<std::string> cells(kStudentCells + sheet.extras.size());
        if (!singleSchool) cells[kSchoolCell] = query.field(sheet.schoolField);
        const std::string writtenClass =
            singleClass ? std::string() : removeTrailingDotZero(query.field(kClassField));
        cells[kNameCell] = query.field(kNameField);
        bool allEmpty = cells[kSchoolCell].empty() && writtenClass.empty() && cells[kNameCell].empty();
        for (size_t k = 0; k < examined.size(); ++k) {
            written[k] = &query.field(kFirstSubjectField + k);
            cells[static_cast<size_t>(kSubjects[examined[k]].column)] = removeTrailingDotZero(*written[k]);
            allEmpty = allEmpty && written[k]->empty();
        }
        if (allEmpty) break;
        const int sheetRow = query.sheetRow();
        if (singleSchool) cells[kSchoolCell] = sheet.singleSchool;
        Result<std::string> klass = singleClass
                                        ? Result<std::string>(sheet.singleClass)
                                        : classOfRow(state, writtenClass, sheetRow, sheet.classColumn);
        if (klass) cells[kClassCell] = *klass;

        // A 选科 cell naming the student's three subjects (物化生): the others of the six were not
        // taken, so their blanks are no papers missed.
        std::optional<std::vector<std::string>> chosen;
        if (sheet.trackField) chosen = subjectsChosen(query.field(*sheet.trackField));
        int missing = 0;
        int taken = 0;
        for (size_t k = 0; k < examined.size(); ++k) {
            std::string& slot = cells[static_cast<size_t>(kSubjects[examined[k]].column)];
            kinds[k] = readScore(slot);
            if (chosen && !takenIn(*chosen, kSubjects[examined[k]].name)) continue;
            ++taken;
            if (isMissing(slot, kinds[k], blankScoresExcluded)) ++missing;
        }
        cells[kTotalColumn] = totalText(cells);
        // An extra subject's scores are kept as the known ones are written, for the export to
        // count once the subject has a full mark; one that has a full mark already is checked.
        for (size_t e = 0; e < sheet.extras.size(); ++e) {
            std::string& slot = cells[kStudentCells + e];
            slot = removeTrailingDotZero(query.field(sheet.firstExtraField + e));
            extraKinds[e] = readScore(slot);
        }

        const bool skipped = shouldSkip(state, missing, taken);
        if (skipped) {
            read.skipped.push_back(strprintf(tx::kSkippedStudentFormat, sheetRow, cells[kNameCell].c_str()));
        } else {
            for (size_t k = 0; k < examined.size(); ++k) {
                if (kinds[k] != ScoreKind::NoScore) continue;
                ++(plainText(*written[k]).empty() ? read.blank : read.noScoreText)[k];
            }
        }
        checkRow(state, read, cells, klass, examined, kinds, written, sheetRow);
        for (size_t e = 0; e < sheet.extras.size(); ++e) {
            const std::string& subject = sheet.extras[e].first;
            if (const int fullMark = state.scores.extraFullMark(subject); fullMark > 0)
                checkExtraScore(read, subject, cells[kStudentCells + e],
                                query.field(sheet.firstExtraField + e), extraKinds[e], fullMark, sheetRow,
                                cells[kNameCell]);
        }
        // Rows mostly come class by class: look the class up only when it changes.
        if (lastClass == SIZE_MAX || cells[kSchoolCell] != read.classList.parts(lastClass).first ||
            cells[kClassCell] != read.classList.parts(lastClass).second) {
            key = std::to_string(cells[kSchoolCell].size()) + ':' + cells[kSchoolCell] + ' ' +
                  cells[kClassCell];
            auto [entry, newClass] = classIndex.emplace(key, read.classHasScore.size());
            if (newClass) {
                read.classList.add(cells[kSchoolCell], cells[kClassCell]);
                read.classHasScore.emplace_back(examined.size(), false);
                read.classImported.push_back(false);
            }
            lastClass = entry->second;
        }
        if (!skipped) {
            if (klass && !cells[kNameCell].empty())
                names.push_back({studentHash(cells), static_cast<size_t>(read.rows.rowCount()), sheetRow});
            read.classImported[lastClass] = true;
            std::vector<bool>& hasScore = read.classHasScore[lastClass];
            for (size_t k = 0; k < examined.size(); ++k) {
                if (kinds[k] == ScoreKind::Number) hasScore[k] = true;
            }
            if (sheet.totalColumn)
                compareTotal(read.totals, query.field(sheet.totalField),
                             countedExtras.empty() ? cells[kTotalColumn] : totalText(cells, countedExtras),
                             sheetRow);
            const int index = read.rows.appendRow(cells);
            if (sheet.idFields[0] || sheet.idFields[1] || sheet.trackField) {
                std::vector<std::string> ids;
                for (const auto& field : sheet.idFields)
                    ids.push_back(field ? query.field(*field) : std::string());
                if (sheet.trackField) ids.push_back(trackOf(query.field(*sheet.trackField)));
                read.rows.setHiddenCells(index, std::move(ids));
            }
        }
        if (!moveToNextRow(query, state, frontend)) {
            read.readerFailed = true;
            break;
        }
    }
    noteSameNames(read, names);
    return read;
}

// Puts the classes in class order (see classOrder); the per-class counts follow.
void orderClasses(SheetRead& read) {
    const ClassList& classes = read.classList;
    std::vector<std::pair<std::string, std::string>> parts;
    for (size_t i = 0; i < classes.size(); ++i) parts.push_back(classes.parts(i));
    const std::vector<size_t> order = classOrder(classes);
    ClassList ordered;
    std::vector<std::vector<bool>> hasScore;
    std::vector<bool> imported;
    for (size_t i : order) {
        ordered.add(parts[i].first, parts[i].second);
        hasScore.push_back(std::move(read.classHasScore[i]));
        imported.push_back(read.classImported[i]);
    }
    read.classList = std::move(ordered);
    read.classHasScore = std::move(hasScore);
    read.classImported = std::move(imported);
}

// The question sheets were matched against the scores read before: a new score sheet, even the same
// one read again, lets them go (the log names them), so that no export pairs one exam's questions
// with another exam's scores.
void dropQuestionSheets(AppState& state, Frontend& frontend) {
    if (state.questionSheets.empty()) return;
    std::string subjects;
    for (const QuestionScores& sheet : state.questionSheets)
        subjects += (subjects.empty() ? "" : "、") + sheet.source.subject;
    state.questionSheets.clear();
    appendLog(state, frontend, strprintf(tx::kQuestionSheetsDroppedFormat, subjects.c_str()));
}

// Replaces the StudentTable and the ClassList with what the sheet holds.
void takeRows(AppState& state, SheetRead& read) {
    orderClasses(read);
    state.students.replaceRows(std::move(read.rows));
    state.imported.classList = std::move(read.classList);
    state.imported.studentCount = state.students.rowCount();
}

// Says what was counted: per subject the blank scores and texts such as 缺考 and how the current
// rule counts them, the students the missing-subject rule left out, the problems imported all the
// same, and, when blank scores count as 0, the classes with no score at all in a subject.
void reportCounting(AppState& state, Frontend& frontend, const SheetRead& read,
                    const std::vector<size_t>& examined) {
    const bool excluded = state.exportOptions.blankScoresExcluded;
    for (size_t k = 0; k < examined.size(); ++k) {
        if (read.blank[k] == 0 && read.noScoreText[k] == 0) continue;
        appendLog(state, frontend,
                  strprintf(tx::kLogBlankScoresFormat, kSubjects[examined[k]].name, read.blank[k],
                            read.noScoreText[k], excluded ? tx::kCountedAsAbsent : tx::kCountedAsZero));
    }
    if (!read.skipped.empty())
        appendLog(state, frontend,
                  strprintf(tx::kLogSkippedFormat, static_cast<int>(read.skipped.size()),
                            joined(read.skipped).c_str()));
    if (!read.problems.empty()) {
        appendLog(state, frontend,
                  strprintf(tx::kLogWarningsFormat, static_cast<int>(read.problems.all().size())));
        for (const RowProblem& problem : read.problems.all())
            appendLog(state, frontend, RowProblems::line(problem));
    }
    if (excluded) return;
    std::string classes;
    for (size_t c = 0; c < read.classHasScore.size(); ++c) {
        if (!read.classImported[c]) continue;  // a class of skipped students only: nobody to count
        std::vector<std::string> empty;
        for (size_t k = 0; k < examined.size(); ++k) {
            if (!read.classHasScore[c][k]) empty.emplace_back(kSubjects[examined[k]].name);
        }
        if (empty.empty()) continue;
        auto [school, klass] = state.imported.classList.parts(c);
        classes += strprintf(tx::kEmptyClassLineFormat, school.c_str(), klass.c_str(), joined(empty).c_str());
    }
    if (classes.empty()) return;
    const std::string text =
        strprintf(tx::kWholeClassBlankFormat, classes.c_str(), app_texts::kBlankScoresExcludedCaption);
    appendLog(state, frontend, text);
    frontend.showMessage(text, common_texts::kCaptionInfo, MessageIcon::Information);
}

// Names the columns that are not analysed: those neither read as subjects nor known to hold no
// scores, but for the extra subjects that have a full mark. When an extra column is among them,
// says how to have it counted.
void logNotAnalysed(AppState& state, Frontend& frontend, const SheetHeader& header) {
    std::vector<std::string> names;
    std::string firstExtra;
    for (const std::string& name : header.notAnalysed) {
        const bool extra = std::any_of(header.extraColumns.begin(), header.extraColumns.end(),
                                       [&](const auto& column) { return column.first == name; });
        if (extra && state.scores.extraFullMark(name) > 0) continue;
        if (extra && firstExtra.empty()) firstExtra = name;
        names.push_back(name);
    }
    if (names.empty()) return;
    std::string line = strprintf(tx::kLogNotAnalysedFormat, joined(names).c_str());
    if (!firstExtra.empty()) line += frontend.extraSubjectHint(firstExtra);
    appendLog(state, frontend, line);
}

// False, after the message, when the rows read name no class or no school.
bool endOfData(AppState& state, Frontend& frontend, const std::vector<size_t>& examined,
               const SheetHeader& header, const SheetRead& read) {
    int examinedCount = static_cast<int>(examined.size());
    for (const std::string& extra : state.imported.extraColumns)
        examinedCount += state.scores.extraFullMark(extra) > 0 ? 1 : 0;
    refreshSummary(state);
    ImportResults& r = state.imported;
    if (r.classCount == 0) {
        frontend.showMessage(tx::kNoClasses, common_texts::kCaptionError, MessageIcon::Error);
        return false;
    }
    if (r.schoolList.empty()) {
        frontend.showMessage(tx::kNoSchools, common_texts::kCaptionError, MessageIcon::Error);
        return false;
    }
    appendLog(state, frontend,
              strprintf(tx::kStudentSummaryFormat, r.gradeName.c_str(), static_cast<int>(r.schoolList.size()),
                        r.classCount, examinedCount, r.studentCount));
    logNotAnalysed(state, frontend, header);
    std::vector<std::string> notCounted;  // the columns the sums leave out
    for (const std::string& name : header.notAnalysed) {
        if (state.scores.extraFullMark(name) <= 0) notCounted.push_back(name);
    }
    r.sheetTotalDifference = totalDifferenceText(read.totals, notCounted);
    if (!r.sheetTotalDifference.empty()) appendLog(state, frontend, r.sheetTotalDifference);
    reportCounting(state, frontend, read, examined);
    frontend.setTitle(importTitle(state, tx::kImported));
    frontend.playNotification();
    return true;
}

// What a score sheet's header must hold: 学校 (or a school given for the whole sheet), 班级 (or a
// class given for the whole sheet), 姓名.
const HeaderRequest kScoreSheetRequest{
    {tx::kSchool, tx::kClass, tx::kName}, {tx::kClass, tx::kName}, true, {tx::kName}};

// What a header without a column of any subject with a full mark lacks, as the message names it:
// that subject, or "至少一个学科（语文、数学……）" with the first two of them.
std::string anySubjectText(const std::vector<size_t>& withFullMark) {
    if (withFullMark.size() == 1) return kSubjects[withFullMark.front()].name;
    std::vector<std::string> examples;
    for (size_t k = 0; k < withFullMark.size() && k < 2; ++k)
        examples.emplace_back(kSubjects[withFullMark[k]].name);
    return strprintf(tx::kAnySubjectFormat, joined(examples).c_str());
}

// The message of a score sheet whose header lacks `missing`.
std::string missingScoreColumns(const AppState& state, const std::vector<std::string>& missing) {
    return missingColumnsMessage(state, missing) + tx::kScoreColumnsAdvice;
}

// Why a sheet without 班级 column cannot be read as one class, with both ways out.
std::string noClassReason(const AppState& state, const char* why) {
    return strprintf(tx::kNoClassColumnFormat, state.imported.sheetName.c_str(), why);
}

// The class of every row of a sheet without 班级 column: asks for it, offering the class that the
// sheet's or the file's name holds. Nothing, after saying that the sheet cannot be read and both
// ways out, when the question was cancelled or the answer names no class.
std::optional<std::string> askClassOfSheet(SheetQuery& query, const AppState& state, Frontend& frontend) {
    const std::string& sheetName = state.imported.sheetName;
    std::string proposed = classInName(sheetName);
    if (proposed.empty()) proposed = classInName(fileNameOf(state.workbook.path));
    std::optional<std::string> answer =
        frontend.askText(strprintf(tx::kAskClassFormat, sheetName.c_str()), tx::kAskClassCaption, proposed);
    std::string klass = answer ? normaliseClassName(*answer) : std::string();
    if (klass.empty()) {
        refuseSheet(query, frontend, noClassReason(state, tx::kNoClassGiven));
        return std::nullopt;
    }
    return klass;
}

// Sets ExamSubjects and the total of their full marks.
void setExamSubjects(ImportResults& r, const ScoreSettings& scores, const std::vector<size_t>& examined) {
    long long fullMarkTotal = 0;
    r.examSubjects.clear();
    for (size_t i : examined) {
        r.examSubjects.emplace_back(kSubjects[i].name);
        fullMarkTotal += scores.fullMark[i];
    }
    r.examFullMarkTotal = static_cast<int>(std::clamp<long long>(fullMarkTotal, INT_MIN, INT_MAX));
}

// The header's extra columns, without the ones read as student numbers.
std::vector<std::pair<std::string, uint32_t>> extraColumnsOf(const SheetHeader& header,
                                                             const StudentIdColumns& ids) {
    std::vector<std::pair<std::string, uint32_t>> extras;
    for (const auto& extra : header.extraColumns) {
        if (std::find(ids.columns.begin(), ids.columns.end(), std::optional<uint32_t>(extra.second)) ==
            ids.columns.end())
            extras.push_back(extra);
    }
    return extras;
}

// Checks that the header has the key columns and at least one of the subjects with a full mark
// (those it has are examined this time, the others not) and, for a sheet without 学校 column,
// asks for its school. Nothing (after the message) when the sheet cannot be imported.
std::optional<ScoreSheet> readableSheet(SheetQuery& query, AppState& state, Frontend& frontend,
                                        const SheetHeader& header, const std::vector<size_t>& withFullMark) {
    ScoreSheet sheet;
    const bool computeScaled = state.scores.computeScaled && state.gradeIndex >= kSeniorGradeIndex;
    for (size_t i : withFullMark) {
        if (header.subjects[i] || header.scaled[i]) {
            // The scaled scores when they are all the sheet has, or when chosen over the raw ones
            // and not computed from them.
            const bool computed = computeScaled && isScaledSubject(kSubjects[i].name);
            const bool scaled =
                header.scaled[i] && (!header.subjects[i] || (state.importOptions.scaledScores && !computed));
            sheet.examined.push_back(i);
            sheet.scoreColumns.push_back(scaled ? *header.scaled[i] : *header.subjects[i]);
            if (scaled) sheet.scaled.emplace_back(kSubjects[i].name);
            if (computed && header.scaled[i] && header.subjects[i])
                sheet.scaledNotRead.emplace_back(kSubjects[i].name);
        } else {
            sheet.notInSheet.emplace_back(kSubjects[i].name);
        }
    }
    // Without 学校 column the school is asked for: the column is named among what is missing only
    // when no school name has been given yet.
    std::vector<std::string> missing;
    for (size_t k = kSchoolKey; k <= kNameKey; ++k) {
        if (!header.keys[k] && (k != kSchoolKey || state.schoolName.empty()))
            missing.emplace_back(kScoreSheetRequest.keys[k]);
    }
    if (sheet.examined.empty()) missing.push_back(anySubjectText(withFullMark));
    // 学校 and 班级 alone are asked for.
    const bool onlyAskable = std::all_of(missing.begin(), missing.end(), [](const std::string& column) {
        return column == tx::kSchool || column == tx::kClass;
    });
    if (!onlyAskable) {
        refuseSheet(query, frontend, missingScoreColumns(state, missing));
        return std::nullopt;
    }
    // A sheet without 学校 or 班级 column (or both) is one school or one class: it is asked for.
    const bool noSchool = !header.keys[kSchoolKey], noClass = !header.keys[kClassKey];
    if (noSchool) {
        std::optional<std::string> school = askSchoolOfSheet(state, frontend);
        if (!school) {
            query.close();
            return std::nullopt;
        }
        sheet.singleSchool = *school;
    }
    if (noClass) {
        std::optional<std::string> klass = askClassOfSheet(query, state, frontend);
        if (!klass) return std::nullopt;
        sheet.singleClass = *klass;
    } else {
        sheet.classColumn = *header.keys[kClassKey];
    }
    // The sheet's own total of what is read: of the scaled scores when some are read and it has one.
    sheet.totalColumn = !sheet.scaled.empty() && header.scaledTotal ? header.scaledTotal : header.total;
    return sheet;
}

// The headers of the column that names each student's track.
constexpr std::string_view kTrackColumns[] = {"科类", "选科", "首选科目", "选科组合", "首选", "选科类别"};

// The first column of the header rows named as a track column, if any.
std::optional<uint32_t> findTrackColumn(const std::vector<SheetRow>& rows, const SheetHeader& header) {
    for (const SheetRow& row : rows) {
        if (row.number < header.firstRow || row.number > header.lastRow) continue;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const std::string normalised = normaliseHeaderText(row.cells[c]);
            for (std::string_view name : kTrackColumns) {
                if (normalised == name) return static_cast<uint32_t>(c);
            }
        }
    }
    return std::nullopt;
}

// Selects 班级, 姓名, the examined subjects and 学校 (when the sheet has it) below the header.
bool selectScoreColumns(SheetQuery& query, const AppState& state, Frontend& frontend,
                        const SheetHeader& header, ScoreSheet& sheet) {
    // A sheet of one class reads its 姓名 column in the place of the class, which it does not use.
    const uint32_t nameColumn = *header.keys[kNameKey];
    std::vector<uint32_t> columns{header.keys[kClassKey].value_or(nameColumn), nameColumn};
    columns.insert(columns.end(), sheet.scoreColumns.begin(), sheet.scoreColumns.end());
    if (sheet.singleSchool.empty()) {
        sheet.schoolField = columns.size();
        columns.push_back(*header.keys[kSchoolKey]);
    }
    for (size_t k = 0; k < sheet.ids.columns.size(); ++k) {
        if (!sheet.ids.columns[k]) continue;
        sheet.idFields[k] = columns.size();
        columns.push_back(*sheet.ids.columns[k]);
    }
    if (sheet.trackColumn) {
        sheet.trackField = columns.size();
        columns.push_back(*sheet.trackColumn);
    }
    sheet.firstExtraField = columns.size();
    for (const auto& extra : sheet.extras) columns.push_back(extra.second);
    if (sheet.totalColumn) {
        sheet.totalField = columns.size();
        columns.push_back(*sheet.totalColumn);
    }
    return selectImportColumns(query, state, frontend, columns, header);
}

// The title of the sheet ("2025-2026学年上学期高二期末考试"): the first row above the header that
// holds one text only (a merged title holds its text in its first cell), "" when there is none.
std::string titleAbove(const std::vector<SheetRow>& leadingRows, const SheetHeader& header) {
    if (!header.found) return {};
    for (const SheetRow& row : leadingRows) {
        if (row.number >= header.firstRow) break;
        std::string text;
        int texts = 0;
        for (const std::string& cell : row.cells) {
            std::string plain = plainText(cell);
            if (plain.empty()) continue;
            ++texts;
            text = std::move(plain);
        }
        if (texts == 1) return text;
    }
    return {};
}

// The exam name Varnex proposed still stands (the person has typed no other): the sheet's title,
// when it has one, is the better proposal.
void proposeExamName(AppState& state, const std::string& title) {
    if (title.empty()) return;
    if (!state.examNameText.empty() && state.examNameText != state.examNameProposal) return;
    if (std::find(state.examNames.begin(), state.examNames.end(), title) == state.examNames.end())
        state.examNames.push_back(title);
    state.examNameText = title;
    state.examNameProposal = title;
}

Result<ImportOutcome> readStudentSheet(AppState& state, FailureTrail& frontend) {
    // Whichever way the import ends, what it read and freed is given back (last, after `read`).
    struct ReturnFreedMemory {
        ~ReturnFreedMemory() { returnFreedMemory(); }
    } returnOnExit;
    ImportResults& r = state.imported;
    ImportResults before = r;  // what a sheet with blocking problems leaves in place
    if (!worksheetSelected(state, frontend)) return frontend.failure(ErrorKind::BadInput);
    r.gradeName = state.gradeName();
    if (!confirmFullMarks(state, frontend)) return frontend.failure(ErrorKind::BadInput);

    std::vector<size_t> withFullMark;
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (state.scores.fullMark[i] != 0) withFullMark.push_back(i);
    }
    if (withFullMark.empty()) {
        frontend.showMessage(tx::kNoSubjects, common_texts::kCaptionError, MessageIcon::Error);
        return frontend.failure(ErrorKind::BadInput);
    }
    setExamSubjects(r, state.scores, withFullMark);
    r.subjectsNotInSheet.clear();
    r.sheetTotalDifference.clear();

    r.sheetName = state.workbook.selectedSheetName();
    if (r.sheetName.empty()) {
        frontend.showMessage(tx::kEmptySheetName, common_texts::kCaptionError, MessageIcon::Error);
        return frontend.failure(ErrorKind::BadInput);
    }

    SheetQuery query;
    std::optional<SheetHeader> header = openImportSheet(query, state, frontend, kScoreSheetRequest);
    if (!header) return frontend.failure(ErrorKind::FileRefused);
    const std::string title = titleAbove(query.leadingRows(), *header);
    std::optional<ScoreSheet> sheet = readableSheet(query, state, frontend, *header, withFullMark);
    if (!sheet) return frontend.failure(ErrorKind::BadInput);
    // The sheet decides which subjects were examined; the settings stay as they are.
    setExamSubjects(r, state.scores, sheet->examined);
    r.subjectsNotInSheet = sheet->notInSheet;
    sheet->ids = findStudentIdColumns(query.leadingRows(), *header, r.sheetName);
    sheet->trackColumn = findTrackColumn(query.leadingRows(), *header);
    sheet->extras = extraColumnsOf(*header, sheet->ids);
    r.idProblem = sheet->ids.problem;
    for (size_t k = 0; k < r.idColumns.size(); ++k) r.idColumns[k] = sheet->ids.columns[k].has_value();
    if (!frontend.askYesNo(confirmationText(state, *sheet), common_texts::kCaptionConfirm))
        return frontend.failure(ErrorKind::Cancelled);

    frontend.setTitle(importTitle(state, tx::kImporting));
    if (!selectScoreColumns(query, state, frontend, *header, *sheet))
        return frontend.failure(ErrorKind::FileRefused);

    bool finished = false;
    if (query.atEnd()) {
        dropQuestionSheets(state, frontend);
        state.students.replaceRows(RowTable(kStudentTableColumns));
        r.extraColumns.clear();
        r.classList.clear();
        frontend.showMessage(tx::kNoScoreRows, common_texts::kCaptionError, MessageIcon::Error);
        refreshSummary(state);
    } else {
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        logHeader(state, frontend, *header, sheet->singleSchool);
        if (!sheet->scaled.empty())
            appendLog(state, frontend, strprintf(tx::kLogScaledFormat, joined(sheet->scaled).c_str()));
        if (!sheet->scaledNotRead.empty())
            appendLog(state, frontend,
                      strprintf(tx::kLogScaledNotReadFormat, joined(sheet->scaledNotRead).c_str()));
        if (!sheet->singleClass.empty())
            appendLog(state, frontend,
                      strprintf(tx::kLogSingleClassFormat, r.sheetName.c_str(), sheet->singleClass.c_str()));
        SheetRead read = readRows(state, frontend, query, *sheet);
        if (!read.readerFailed && !sheet->singleClass.empty() && read.classList.size() > 1) {
            // Rows of several schools are not one class: nothing of the sheet is taken.
            const std::string reason = noClassReason(
                state, strprintf(tx::kSeveralSchoolsFormat, read.classList.parts(0).first.c_str(),
                                 read.classList.parts(1).first.c_str())
                           .c_str());
            state.imported = std::move(before);
            refuseSheet(query, frontend, reason);
            return frontend.failure(ErrorKind::BadInput);
        }
        if (read.readerFailed || read.problems.anyBlocking()) {
            // Nothing of the sheet is taken: the tables, the lists and the counts stay as they were.
            const std::string sheetName = r.sheetName;
            state.imported = std::move(before);
            if (!read.readerFailed) {
                frontend.showMessage(read.problems.refusal(sheetName), common_texts::kCaptionError,
                                     MessageIcon::Error);
            }
            query.close();
            return frontend.failure(read.readerFailed ? ErrorKind::FileRefused : ErrorKind::BadInput);
        }
        dropQuestionSheets(state, frontend);
        takeRows(state, read);
        r.extraColumns.clear();
        for (const auto& extra : sheet->extras) r.extraColumns.push_back(extra.first);
        r.scaledSubjects = sheet->scaled;
        finished = endOfData(state, frontend, sheet->examined, *header, read);
    }

    query.close();
    frontend.enableAction(Action::Export, true);
    if (!finished) return frontend.failure(ErrorKind::BadInput);  // no rows, no class or no school
    proposeExamName(state, title);
    return ImportOutcome{r.sheetName, r.studentCount, r.classCount, static_cast<int>(r.schoolList.size()),
                         r.examSubjects};
}

}  // namespace

Result<ImportOutcome> importStudents(AppState& state, Frontend& shown) {
    FailureTrail frontend(shown);  // what the steps show is also what the import returns
    Result<ImportOutcome> outcome = readStudentSheet(state, frontend);
    if (!outcome) endRefusedImport(state, shown, outcome.failure());
    return outcome;
}

}  // namespace varnex
