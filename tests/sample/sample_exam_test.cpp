// The senior-high sample as 3+1+2 students take it: read back through the imports (each student's
// track, blanks exactly where a subject is not taken, one track a class, teachers for what a class
// takes), kept by the earlier exam, and exported per track by varnex-cli.

#include "sample/sample_exam.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/score_lines.h"
#include "app/settings_file.h"
#include "app/subjects.h"
#include "import/open_workbook.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "readers/workbook_reader.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "workbook/workbook_file.h"

namespace varnex::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr int kSecondYear = 10;  // 高二

// The subjects a student chooses and the character a combination writes each with.
const std::map<std::string, std::string> kChosen = {{"物理", "物"}, {"化学", "化"}, {"生物", "生"},
                                                    {"历史", "史"}, {"地理", "地"}, {"政治", "政"}};

bool takes(const std::string& combination, const std::string& subject) {
    auto it = kChosen.find(subject);
    return it == kChosen.end() || combination.find(it->second) != std::string::npos;
}

// The rows of one sheet as read, its header first.
Rows sheetRows(const std::string& path, const std::string& sheet) {
    Rows rows;
    auto reader = openWorkbookReader(path);
    EXPECT_TRUE(reader) << reader.error();
    if (!reader) return rows;
    const auto& names = (*reader)->sheetNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != sheet) continue;
        auto stream = (*reader)->openSheet(i);
        if (!stream) break;
        SheetRow row;
        for (Result<bool> more = (*stream)->next(row); more && *more; more = (*stream)->next(row))
            rows.push_back(row.cells);
    }
    return rows;
}

// Each student's 选科 by 考号, from a score sheet whose header has both.
std::map<std::string, std::string> combinationsByNumber(const Rows& rows) {
    std::map<std::string, std::string> combinations;
    if (rows.empty()) return combinations;
    size_t number = 0, choice = 0;
    for (size_t c = 0; c < rows[0].size(); ++c) {
        if (rows[0][c] == "考号") number = c;
        if (rows[0][c] == "选科") choice = c;
    }
    for (size_t r = 1; r < rows.size(); ++r) combinations[rows[r].at(number)] = rows[r].at(choice);
    return combinations;
}

std::string saveSample(const TempDir& dir, const SampleOptions& options) {
    const std::string path = dir.file("示例.xlsx");
    ExcelSession session;
    buildSampleExam(session, options);
    auto saved = saveWorkbook(session.workbook(), {.exactPath = path});
    EXPECT_TRUE(saved) << saved.error();
    return path;
}

bool selectSheet(AppState& state, const std::string& name) {
    for (size_t i = 0; i < state.workbook.sheetNames.size(); ++i) {
        if (state.workbook.sheetNames[i] != name) continue;
        state.workbook.selectedSheet = static_cast<int>(i);
        return true;
    }
    return false;
}

TEST(SeniorSample, StudentsTakeTheirTrackAndTwoElectivesInTrackClasses) {
    TempDir dir;
    SampleOptions options;
    options.gradeIndex = kSecondYear;
    options.schools = 2;
    options.classesPerSchool = 3;
    options.studentsPerClass = 15;
    options.seed = 11;
    const std::string path = saveSample(dir, options);
    const Rows raw = sheetRows(path, "高二");
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(raw[0][2], "班级");
    EXPECT_EQ(raw[0][3], "选科");
    const std::map<std::string, std::string> combinations = combinationsByNumber(raw);

    AppState state;
    state.gradeIndex = kSecondYear;
    state.settingsPath = settingsPath(dir.path() + "/");
    seedIfMissing(state.settingsPath);
    ASSERT_TRUE(loadGrade(state.settingsPath, "高二", state.scores, state.exportOptions));
    state.importOptions.missingRule = 2;  // every student, whatever they missed
    ScriptedFrontend ui;
    ui.expectQuestion("教师任课表", true);
    ui.expectQuestion("高二", true);
    ASSERT_TRUE(openWorkbook(state, ui, path));
    ASSERT_TRUE(selectSheet(state, "教师任课表") && importTeachers(state, ui));
    ASSERT_TRUE(selectSheet(state, "高二") && importStudents(state, ui));
    EXPECT_TRUE(ui.allQuestionsAsked());
    ASSERT_EQ(state.students.rowCount(), 2 * 3 * 15);

    const RowTable& students = state.students;
    std::map<std::pair<std::string, std::string>, std::set<std::string>> tracksOfClass, takenInClass;
    std::map<std::string, std::set<std::string>> tracksOfSchool;
    for (int i = 0; i < students.rowCount(); ++i) {
        const std::vector<std::string>& hidden = students.hiddenCells(i);
        ASSERT_GT(hidden.size(), kTrackHiddenCell);
        const std::string& combination = combinations.at(hidden[0]);
        const std::string track = hidden[kTrackHiddenCell];
        EXPECT_EQ(track, trackOf(combination)) << combination;
        EXPECT_FALSE(track.empty()) << "row " << i;
        const std::string school(students.cellText(i, 0)), klass(students.cellText(i, 1));
        tracksOfClass[{school, klass}].insert(track);
        tracksOfSchool[school].insert(track);
        int taken = 0;
        for (const char* subject : {"语文", "数学", "英语", "物理", "化学", "生物", "历史", "地理", "政治"}) {
            const bool blank = students.cellText(i, columnOfSubject(subject)).empty();
            EXPECT_EQ(blank, !takes(combination, subject)) << combination << " " << subject;
            if (takes(combination, subject)) {
                ++taken;
                takenInClass[{school, klass}].insert(subject);
            }
        }
        EXPECT_EQ(taken, 6) << combination;
    }
    for (const auto& [at, tracks] : tracksOfClass) EXPECT_EQ(tracks.size(), 1u) << at.first << at.second;
    for (const auto& [school, tracks] : tracksOfSchool) EXPECT_EQ(tracks.size(), 2u) << school;

    // Teachers: exactly the subjects some student of the class takes.
    std::map<std::pair<std::string, std::string>, std::set<std::string>> taughtInClass;
    for (int i = 0; i < state.teachers.rowCount(); ++i) {
        if (!state.teachers.cellText(i, 4).empty())
            taughtInClass[{std::string(state.teachers.cellText(i, 0)),
                           std::string(state.teachers.cellText(i, 2))}]
                .insert(std::string(state.teachers.cellText(i, 3)));
    }
    EXPECT_EQ(taughtInClass, takenInClass);
}

struct RunResult {
    int status = -1;
    std::string err;
};

// Runs varnex-cli with `args`, its standard error kept in a file of `dir`.
RunResult runCli(const TempDir& dir, const std::vector<std::string>& args) {
    auto quoted = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    std::string command = quoted(VARNEX_CLI);
    for (const auto& a : args) command += " " + quoted(a);
    const std::string errFile = dir.file("stderr.txt");
    command += " >/dev/null 2>" + quoted(errFile) + " </dev/null";
    RunResult r;
    const int status = std::system(command.c_str());
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = readFile(errFile);
    return r;
}

// The earlier exam keeps every student's 选科 and blanks; the export's per-track sheets come out.
TEST(SeniorSample, EarlierExamKeepsCombinationsAndTheExportSplitsByTrack) {
    TempDir dir;
    const std::string sample = dir.file("本次.xlsx"), earlier = dir.file("上次.xlsx");
    const std::string settings = dir.file("配置文件.ini"), result = dir.file("结果.xlsx");
    seedIfMissing(settings);
    const std::vector<std::string> size = {
        "--grade", "高二", "--schools", "2", "--classes-per-school", "2", "--students-per-class", "25"};
    auto sampleArgs = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"sample"};
        args.insert(args.end(), size.begin(), size.end());
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    RunResult r = runCli(dir, sampleArgs({"-o", sample}));
    ASSERT_EQ(r.status, 0) << r.err;
    r = runCli(dir, sampleArgs({"--previous-of", sample, "-o", earlier}));
    ASSERT_EQ(r.status, 0) << r.err;

    const Rows now = sheetRows(sample, "高二"), before = sheetRows(earlier, "高二");
    ASSERT_FALSE(now.empty());
    ASSERT_EQ(before.at(0), now[0]);
    std::map<std::string, std::vector<std::string>> nowByNumber;
    for (size_t i = 1; i < now.size(); ++i) nowByNumber[now[i].at(6)] = now[i];
    int paired = 0;
    std::map<std::pair<std::string, std::string>, std::set<std::string>> tracksOfClass;
    for (size_t i = 1; i < before.size(); ++i) {
        tracksOfClass[{before[i].at(1), before[i].at(2)}].insert(trackOf(before[i].at(3)));
        auto it = nowByNumber.find(before[i].at(6));
        if (it == nowByNumber.end()) continue;  // one who has left since
        ++paired;
        const std::vector<std::string>& was = before[i];
        const std::vector<std::string>& is = it->second;
        EXPECT_EQ(was.at(3), is.at(3)) << is.at(6);
        for (size_t c = 7; c < now[0].size(); ++c) {
            const bool wasBlank = c >= was.size() || was[c].empty(),
                       isBlank = c >= is.size() || is[c].empty();
            EXPECT_EQ(wasBlank, isBlank) << is.at(6) << " " << now[0][c];
        }
    }
    EXPECT_GT(paired, 90);
    // Nobody moved into a class of the other track.
    for (const auto& [at, tracks] : tracksOfClass) EXPECT_EQ(tracks.size(), 1u) << at.first << at.second;

    r = runCli(dir, {"export",      sample,
                     "--teachers",  "教师任课表",
                     "--scores",    "高二",
                     "--grade",     "高二",
                     "--exam",      "期中考试",
                     "--settings",  settings,
                     "--by-track",  "--blank-scores",
                     "exclude",     "--scale-electives",
                     "--reports",   "上线分析,年级各科三率",
                     "--lines-top", "本科=60%",
                     "--yes",       "-o",
                     result});
    ASSERT_EQ(r.status, 0) << r.err;
    auto reader = openWorkbookReader(result);
    ASSERT_TRUE(reader) << reader.error();
    const std::vector<std::string>& names = (*reader)->sheetNames();
    for (const char* sheet : {"年级各科三率-物理类", "年级各科三率-历史类", "上线分析", "赋分"})
        EXPECT_NE(std::find(names.begin(), names.end(), sheet), names.end()) << sheet;
    // Each track's rates list only the subjects its students take.
    for (const auto& [sheet, own, absent] :
         {std::tuple{"年级各科三率-物理类", "物理100", "历史"}, {"年级各科三率-历史类", "历史100", "物理"}}) {
        const Rows rows = sheetRows(result, sheet);
        auto header = std::find_if(rows.begin(), rows.end(), [](const std::vector<std::string>& row) {
            return !row.empty() && row[0] == "项目";
        });
        ASSERT_NE(header, rows.end()) << sheet;
        EXPECT_NE(std::find(header->begin(), header->end(), own), header->end()) << sheet;
        for (const std::string& head : *header)
            EXPECT_EQ(head.find(absent), std::string::npos) << sheet << " " << head;
    }
    // A block of 上线分析 for each track.
    std::set<std::string> tracks;
    for (const auto& row : sheetRows(result, "上线分析")) {
        for (const char* track : kTracks) {
            if (!row.empty() && row[0].starts_with(std::string(track) + " 本科线")) tracks.insert(track);
        }
    }
    EXPECT_EQ(tracks, (std::set<std::string>{"物理类", "历史类"}));
}

}  // namespace
}  // namespace varnex::testing
