#include "sample/sample_exam.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "app/row_table.h"
#include "app/score_lines.h"
#include "app/subjects.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "sample/sample_texts.h"

namespace varnex {

namespace tx = sample_texts;

namespace {

const char* const kSchoolNames[] = {"第一中学", "实验中学", "城关中学", "育才中学", "红星中学", "东风中学",
                                    "希望中学", "阳光中学", "明德中学", "启明中学", "新华中学", "光明中学"};
const char* const kFamilyNames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙",
                                    "胡", "朱", "高", "林", "何", "郭", "马", "罗", "梁", "宋", "郑", "谢",
                                    "韩", "唐", "冯", "于", "董", "萧", "程", "曹", "袁", "邓", "许", "傅"};
const char* const kGivenNames[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳",
                                   "杰", "涛", "明", "超", "秀", "霞", "平", "刚", "桂", "英", "华", "玉",
                                   "萍", "红", "鹏", "辉", "宇", "浩", "欣", "怡", "婷", "晨", "博", "思",
                                   "雨", "佳", "嘉", "子", "梓", "轩", "涵", "睿", "瑶", "琪", "航", "彤"};

template <size_t N>
const char* pick(std::mt19937& rng, const char* const (&list)[N]) {
    return list[rng() % N];
}

std::string personName(std::mt19937& rng) {
    std::string name = pick(rng, kFamilyNames);
    name += pick(rng, kGivenNames);
    if (rng() % 3 != 0) name += pick(rng, kGivenNames);
    return name;
}

// A score with halves from a per-subject distribution; some blanks, "0" and "缺考".
std::string scoreText(std::mt19937& rng, int fullMark, double classLevel) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double u = unit(rng);
    if (u < 0.004) return "";
    if (u < 0.007) return "0";
    if (u < 0.010) return tx::kAbsent;
    std::normal_distribution<double> dist(fullMark * (0.68 + classLevel), fullMark * 0.16);
    double v = std::clamp(dist(rng), 0.0, static_cast<double>(fullMark));
    v = std::round(v * 2) / 2;
    if (fullMark <= 20) v = std::round(v);
    return removeTrailingDotZero(strprintf("%.1f", v));
}

// The full marks the sample's papers are marked out of: the seeded ones, except that its senior-high
// 语文, 数学 and 英语 papers are out of 120, 120 and 100, as they always were, so that a seed gives
// the same workbook as before.
std::array<int, kSubjectCount> samplePaperMarks(int grade) {
    std::array<int, kSubjectCount> marks = kGradeSeedFullMarks[static_cast<size_t>(grade)];
    if (grade >= kSeniorGradeIndex) {
        marks[0] = 120;
        marks[1] = 120;
        marks[2] = 100;
    }
    return marks;
}

// 3+1+2 in 高二 and 高三: each student takes 物理 or 历史 and two of 化学, 生物, 政治, 地理; the
// classes are those of one track. 高一 still takes every subject.
bool choosesSubjects(int grade) {
    return grade > kSeniorGradeIndex;
}

// A combination as schools write it, the subjects it takes besides 语文, 数学 and 英语, and how
// many students in a hundred of its track choose it. The physics track's first, then the history
// track's, each most chosen first.
struct Combination {
    const char* text;
    const char* subjects[3];
    int weight;
};
constexpr Combination kCombinations[] = {
    {"物化生", {"物理", "化学", "生物"}, 45}, {"物化地", {"物理", "化学", "地理"}, 18},
    {"物生地", {"物理", "生物", "地理"}, 14}, {"物化政", {"物理", "化学", "政治"}, 10},
    {"物生政", {"物理", "生物", "政治"}, 7},  {"物政地", {"物理", "政治", "地理"}, 6},
    {"史政地", {"历史", "政治", "地理"}, 40}, {"史地生", {"历史", "地理", "生物"}, 22},
    {"史政生", {"历史", "政治", "生物"}, 16}, {"史化生", {"历史", "化学", "生物"}, 8},
    {"史化地", {"历史", "化学", "地理"}, 7},  {"史化政", {"历史", "化学", "政治"}, 7},
};
constexpr int kTrackCombinations = 6;  // per track, the first six physics, the next six history

// The subjects a student may take or leave: 物理, 历史 and the four electives.
bool isChosen(int subject) {
    const std::string_view name = kSubjects[static_cast<size_t>(subject)].name;
    for (const char* chosen : {"物理", "化学", "生物", "历史", "地理", "政治"}) {
        if (name == chosen) return true;
    }
    return false;
}

bool takes(const Combination& combination, int subject) {
    const std::string_view name = kSubjects[static_cast<size_t>(subject)].name;
    return std::any_of(std::begin(combination.subjects), std::end(combination.subjects),
                       [&](const char* taken) { return name == taken; });
}

// Whether class `klass` (0-based) of a school of `classes` is a 物理类 class: the first half, and at
// least one of each track from two classes on.
bool physicsClass(int klass, int classes) {
    return klass < (classes + 1) / 2;
}

// The combinations of the students of one class, in the order of their sorted names (indices into
// kCombinations). Schools fill a class around one combination: about three in five take the
// class's own (the track's most chosen ones in turn), the rest as the track chooses. Drawn from a
// generator of the seed, the school and the class alone, so the teacher sheet can ask first.
std::vector<int> classCombinations(uint32_t seed, int school, int klass, int classes, int students) {
    const bool physics = physicsClass(klass, classes);
    const int first = physics ? 0 : kTrackCombinations;
    const int inTrack = physics ? klass : klass - (classes + 1) / 2;
    const int own = first + inTrack % 3;
    std::seed_seq sequence{seed, static_cast<uint32_t>(school), static_cast<uint32_t>(klass), 312u};
    std::mt19937 rng(sequence);
    std::vector<int> combinations;
    for (int i = 0; i < students; ++i) {
        int chosen = own;
        if (rng() % 5 >= 3) {
            int draw = static_cast<int>(rng() % 100);
            chosen = first;
            while (draw >= kCombinations[chosen].weight) draw -= kCombinations[chosen++].weight;
        }
        combinations.push_back(chosen);
    }
    return combinations;
}

void put(ExcelSheet& sheet, int column, int row, const std::string& value, bool centred = true) {
    ExcelRange r = sheet.Range(row - 1, column);
    r.BorderAround();
    if (centred) r.SetHorizontalAlignment(HAlign::Center);
    r.SetValue(value);
}

void putNumber(ExcelSheet& sheet, int column, int row, int number) {
    ExcelRange r = sheet.Range(row - 1, column);
    r.BorderAround();
    r.SetHorizontalAlignment(HAlign::Center);
    r.SetNumber(number);
}

// One student of the question sheet: the texts that name them and their 数学 score as a share of
// the paper.
struct QuestionStudent {
    std::string number, school, klass, name;
    double share;
};

// The question sheet: a row per student who sat 数学, under the header and the 满分 row. The
// questions follow the student's share of the paper, each a little off it; the choice questions are
// right or wrong.
void writeQuestionSheet(ExcelSheet& sheet, const std::vector<QuestionStudent>& students, uint32_t seed) {
    const std::vector<std::pair<std::string, int>> questions = sampleQuestionMarks();
    constexpr int kFirst = static_cast<int>(std::size(tx::kQuestionHead));
    for (int c = 0; c < kFirst; ++c) put(sheet, c, 1, tx::kQuestionHead[c]);
    put(sheet, 0, 2, tx::kFullMarkRow);
    for (int c = 1; c < kFirst; ++c) put(sheet, c, 2, "");
    for (size_t q = 0; q < questions.size(); ++q) {
        put(sheet, kFirst + static_cast<int>(q), 1, questions[q].first);
        putNumber(sheet, kFirst + static_cast<int>(q), 2, questions[q].second);
    }
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> off(0.0, 0.15);
    int row = 3;
    for (const QuestionStudent& student : students) {
        put(sheet, 0, row, student.number);
        put(sheet, 1, row, student.school);
        put(sheet, 2, row, student.klass);
        put(sheet, 3, row, student.name);
        for (size_t q = 0; q < questions.size(); ++q) {
            const int mark = questions[q].second;
            const double share = std::clamp(student.share + off(rng), 0.0, 1.0);
            const int score =
                q < 12 ? (unit(rng) < share ? mark : 0) : static_cast<int>(std::lround(share * mark));
            putNumber(sheet, kFirst + static_cast<int>(q), row, score);
        }
        ++row;
    }
}

}  // namespace

std::vector<std::pair<std::string, int>> sampleQuestionMarks() {
    std::vector<std::pair<std::string, int>> marks;
    for (int q = 1; q <= 16; ++q) marks.emplace_back(std::to_string(q), 5);
    for (int q = 17; q <= 23; ++q) {
        for (int k = 1; k <= 2; ++k) marks.emplace_back(strprintf("%d(%d)", q, k), q < 23 ? 3 : 2);
    }
    return marks;
}

std::string sampleSchoolName(int index) {
    constexpr int kNamed = static_cast<int>(std::size(kSchoolNames));
    if (index < kNamed) return kSchoolNames[index];
    return strprintf(tx::kSchoolNumberFormat, index + 1);
}

SampleSummary buildSampleExam(ExcelSession& session, const SampleOptions& options) {
    std::mt19937 rng(options.seed);
    SampleSummary summary;
    const int grade = std::clamp(options.gradeIndex, 0, kGradeCount - 1);
    const std::string gradeName = kGradeNames[static_cast<size_t>(grade)];
    const std::array<int, kSubjectCount> fullMarks = samplePaperMarks(grade);
    std::vector<int> subjects;
    for (int s = 0; s < kSubjectCount; ++s) {
        if (fullMarks[static_cast<size_t>(s)] > 0) subjects.push_back(s);
    }

    session.AddWorkbook(OmittedArgument);
    summary.teacherSheet = tx::kTeacherSheet;
    summary.scoreSheet = gradeName;
    summary.schools = std::max(options.schools, 1);
    const int classes = std::max(options.classesPerSchool, 1);
    const int perClass = std::max(options.studentsPerClass, 1);
    // Schools in the order the window advises sorting by (学校 ascending, pinyin).
    std::vector<int> schoolOrder(static_cast<size_t>(summary.schools));
    for (int i = 0; i < summary.schools; ++i) schoolOrder[static_cast<size_t>(i)] = i;
    std::stable_sort(schoolOrder.begin(), schoolOrder.end(),
                     [](int a, int b) { return compareCells(sampleSchoolName(a), sampleSchoolName(b)) < 0; });

    // The students' combinations, of the grades that choose subjects (none elsewhere).
    const bool choosing = choosesSubjects(grade);
    auto combinationsOf = [&](int school, int klass) {
        return choosing ? classCombinations(options.seed, school, klass, classes, perClass)
                        : std::vector<int>();
    };

    // Teachers: per school and subject, most teachers take two neighbouring classes of those whose
    // students take the subject (every class, unless students choose).
    ExcelSheet teachers = session.Sheet(1);
    teachers.Activate();
    teachers.SetName(summary.teacherSheet);
    {
        for (int c = 0; c < 3; ++c) put(teachers, c, 1, tx::kTeacherHead[c]);
        for (int s = 0; s < kSubjectCount; ++s)
            put(teachers, 3 + s, 1, kSubjects[static_cast<size_t>(s)].name);
        int row = 2;
        for (int school : schoolOrder) {
            // taught[c][s]: some student of class c takes subject s.
            std::vector<std::array<bool, kSubjectCount>> taught(static_cast<size_t>(classes));
            for (int c = 0; c < classes; ++c) {
                std::array<bool, kSubjectCount>& subjectsOf = taught[static_cast<size_t>(c)];
                subjectsOf.fill(!choosing);
                for (int combination : combinationsOf(school, c)) {
                    for (int s = 0; s < kSubjectCount; ++s)
                        subjectsOf[static_cast<size_t>(s)] = subjectsOf[static_cast<size_t>(s)] ||
                                                             !isChosen(s) ||
                                                             takes(kCombinations[combination], s);
                }
            }
            std::vector<std::vector<std::string>> names(
                kSubjectCount, std::vector<std::string>(static_cast<size_t>(classes)));
            for (int s : subjects) {
                std::vector<int> taking;
                for (int c = 0; c < classes; ++c) {
                    if (taught[static_cast<size_t>(c)][static_cast<size_t>(s)]) taking.push_back(c);
                }
                const int count = static_cast<int>(taking.size());
                for (int k = 0; k < count;) {
                    int span = (rng() % 4 == 0 || k + 1 == count) ? 1 : 2;
                    std::string teacher = personName(rng);
                    for (int j = 0; j < span; ++j)
                        names[static_cast<size_t>(s)]
                             [static_cast<size_t>(taking[static_cast<size_t>(k + j)])] = teacher;
                    k += span;
                }
            }
            for (int c = 0; c < classes; ++c, ++row) {
                put(teachers, 0, row, sampleSchoolName(school));
                put(teachers, 1, row, gradeName);
                putNumber(teachers, 2, row, c + 1);
                for (int s : subjects)
                    put(teachers, 3 + s, row, names[static_cast<size_t>(s)][static_cast<size_t>(c)]);
            }
        }
    }

    // Scores, sorted by school, class and name as the window advises.
    ExcelSheet scores = session.Sheet(2);
    scores.Activate();
    scores.SetName(summary.scoreSheet);
    // 选科 goes right after 班级, as marking platforms place it: beside the class it decides, before
    // the student's name and numbers.
    std::vector<std::string> header(std::begin(tx::kScoreHeadBefore), std::end(tx::kScoreHeadBefore));
    const int shift = choosing ? 1 : 0;
    if (choosing) header.insert(header.begin() + 3, tx::kCombinationHead);
    for (int s : subjects) header.push_back(kSubjects[static_cast<size_t>(s)].name);
    header.insert(header.end(), std::begin(tx::kScoreHeadAfter), std::end(tx::kScoreHeadAfter));
    for (size_t c = 0; c < header.size(); ++c) put(scores, static_cast<int>(c), 1, header[c]);

    // 数学, when the grade has it and the sample its question sheet.
    const auto mathsAt = std::find(subjects.begin(), subjects.end(), subjectIndex(tx::kQuestionSubject));
    const bool questions = options.questionSheet && mathsAt != subjects.end();
    const size_t maths = static_cast<size_t>(mathsAt - subjects.begin());
    std::vector<QuestionStudent> questionStudents;
    int row = 2;
    int serial = 1;
    std::normal_distribution<double> level(0.0, 0.05);
    for (int school : schoolOrder) {
        for (int c = 0; c < classes; ++c) {
            double classLevel = level(rng);
            std::vector<std::string> names;
            for (int i = 0; i < perClass; ++i) names.push_back(personName(rng));
            std::sort(names.begin(), names.end(),
                      [](const std::string& a, const std::string& b) { return compareCells(a, b) < 0; });
            const std::vector<int> combinations = combinationsOf(school, c);
            for (size_t i = 0; i < names.size(); ++i) {
                const std::string& name = names[i];
                const Combination* combination = choosing ? &kCombinations[combinations[i]] : nullptr;
                putNumber(scores, 0, row, serial);
                put(scores, 1, row, sampleSchoolName(school));
                putNumber(scores, 2, row, c + 1);
                if (combination != nullptr) put(scores, 3, row, combination->text);
                put(scores, 3 + shift, row, name);
                putNumber(scores, 4 + shift, row, 1 + (serial - 1) / 30);
                const std::string number = strprintf("2026%02d%05d", school + 1, serial);
                put(scores, 5 + shift, row, number);
                for (size_t k = 0; k < subjects.size(); ++k) {
                    int mark = fullMarks[static_cast<size_t>(subjects[k])];
                    const int column = 6 + shift + static_cast<int>(k);
                    // A subject not taken is blank, and on such a sheet a blank means just that:
                    // a student who missed a paper they take is 缺考.
                    if (combination != nullptr && isChosen(subjects[k]) &&
                        !takes(*combination, subjects[k])) {
                        put(scores, column, row, "");
                        continue;
                    }
                    std::string score = scoreText(rng, mark, classLevel);
                    if (combination != nullptr && score.empty()) score = tx::kAbsent;
                    put(scores, column, row, score);
                    if (questions && k == maths && !score.empty() && score != tx::kAbsent)
                        questionStudents.push_back({number, sampleSchoolName(school), std::to_string(c + 1),
                                                    name, cAtof(score) / mark});
                }
                ++row;
                ++serial;
            }
            ++summary.classes;
        }
    }
    summary.students = serial - 1;
    // The third sheet says what the workbook is.
    ExcelSheet about = session.Sheet(3);
    about.SetName(tx::kAboutSheet);
    const std::string lines[] = {
        strprintf(tx::kAboutMadeByFormat, common_texts::kProgramName),
        strprintf(tx::kAboutSizeFormat, gradeName.c_str(), summary.schools, summary.classes,
                  summary.students),
        strprintf(tx::kAboutSheetsFormat, gradeName.c_str()),
    };
    for (int i = 0; i < 3; ++i) about.Range(i, 0).SetValue(lines[i]);
    about.Range("A1", "A1").SetColumnWidth(70);
    int aboutRow = 3;
    if (choosing)
        about.Range(aboutRow++, 0).SetValue(strprintf(tx::kAboutCombinationsFormat, gradeName.c_str()));
    if (questions) {
        summary.questionSheet = tx::kQuestionSheet;
        about.Range(aboutRow, 0).SetValue(strprintf(tx::kAboutQuestionsFormat, tx::kQuestionSheet));
        // The new sheet goes before the active one, the explanation.
        about.Activate();
        session.AddSheets(1);
        ExcelSheet sheet = session.Sheet(3);
        sheet.SetName(summary.questionSheet);
        writeQuestionSheet(sheet, questionStudents, options.seed + 1);
    }
    return summary;
}

int buildEarlierExam(ExcelSession& session, const std::vector<std::vector<std::string>>& rows,
                     const std::string& sheetName, int gradeIndex, uint32_t seed) {
    std::mt19937 rng(seed);
    const std::array<int, kSubjectCount> fullMarks =
        samplePaperMarks(std::clamp(gradeIndex, 0, kGradeCount - 1));
    session.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = session.Sheet(1);
    sheet.Activate();
    sheet.SetName(sheetName);
    if (rows.empty()) return 0;
    const std::vector<std::string>& header = rows.front();
    auto columnOf = [&](const char* name) {
        auto it = std::find(header.begin(), header.end(), name);
        return it == header.end() ? -1 : static_cast<int>(it - header.begin());
    };
    const int classColumn = columnOf("班级"), schoolColumn = columnOf("学校"), nameColumn = columnOf("姓名");
    const int numberColumn = columnOf("考号");
    for (size_t c = 0; c < header.size(); ++c) put(sheet, static_cast<int>(c), 1, header[c]);

    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> move(0.0, 0.07);
    int row = 2;
    auto write = [&](std::vector<std::string> cells) {
        for (size_t c = 0; c < header.size(); ++c) {
            const std::string& text = c < cells.size() ? cells[c] : std::string();
            const int subject = subjectIndex(header[c]);
            const int mark = subject >= 0 ? fullMarks[static_cast<size_t>(subject)] : 0;
            std::string value = text;
            if (mark > 0 && !text.empty() && text != tx::kAbsent && text != "0") {
                double v = std::clamp(cAtof(text) + move(rng) * mark, 0.0, static_cast<double>(mark));
                v = mark <= 20 ? std::round(v) : std::round(v * 2) / 2;
                value = removeTrailingDotZero(strprintf("%.1f", v));
            }
            put(sheet, static_cast<int>(c), row, value);
        }
        ++row;
    };
    const std::string firstSchool =
        rows.size() > 1 && schoolColumn >= 0 ? rows[1][static_cast<size_t>(schoolColumn)] : "";
    // Students change between classes 1 and 2 only when both are of one track (or nobody chose).
    bool swapping = true;
    if (const int choiceColumn = columnOf(tx::kCombinationHead); choiceColumn >= 0 && classColumn >= 0) {
        std::string trackOfClass[2];
        for (size_t r = 1; r < rows.size(); ++r) {
            const std::vector<std::string>& cells = rows[r];
            const size_t needed = static_cast<size_t>(std::max({schoolColumn, classColumn, choiceColumn}));
            if (cells.size() <= needed ||
                (schoolColumn >= 0 && cells[static_cast<size_t>(schoolColumn)] != firstSchool))
                continue;
            const std::string& klass = cells[static_cast<size_t>(classColumn)];
            if (klass != "1" && klass != "2") continue;
            std::string& track = trackOfClass[klass == "1" ? 0 : 1];
            if (track.empty()) track = trackOf(cells[static_cast<size_t>(choiceColumn)]);
        }
        swapping = trackOfClass[0] == trackOfClass[1];
    }
    int swapped = 0, students = 0;
    for (size_t r = 1; r < rows.size(); ++r) {
        std::vector<std::string> cells = rows[r];
        cells.resize(header.size());
        if (unit(rng) < 0.02) continue;  // came after the earlier exam
        if (swapping && classColumn >= 0 && schoolColumn >= 0 &&
            cells[static_cast<size_t>(schoolColumn)] == firstSchool) {
            std::string& klass = cells[static_cast<size_t>(classColumn)];
            if ((klass == "1" || klass == "2") && ++swapped % 5 == 0) klass = klass == "1" ? "2" : "1";
        }
        write(std::move(cells));
        ++students;
    }
    // Two students who have left since: in the first class, with numbers of their own.
    for (int k = 0; k < 2 && rows.size() > 1; ++k) {
        std::vector<std::string> cells = rows[1];
        cells.resize(header.size());
        if (nameColumn >= 0) cells[static_cast<size_t>(nameColumn)] = personName(rng);
        if (numberColumn >= 0) cells[static_cast<size_t>(numberColumn)] = strprintf("2025%07d", k + 1);
        write(std::move(cells));
        ++students;
    }
    return students;
}

}  // namespace varnex
