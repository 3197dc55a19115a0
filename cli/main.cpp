// varnex-cli: the same commands as the window, without dialogs, for batch work, demos,
// benchmarks and end-to-end tests.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/app_state.h"
#include "app/report_choices.h"
#include "app/settings_file.h"
#include "app/subjects.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "cli/cli_frontend.h"
#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "export/export_run.h"
#include "export/template_generator.h"
#include "import/header_names.h"
#include "import/open_workbook.h"
#include "import/previous_exam.h"
#include "import/question_import.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "readers/workbook_reader.h"
#include "sample/sample_exam.h"
#include "workbook/workbook_file.h"

namespace {

using namespace varnex;
namespace tx = cli_texts;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints a failure the way the commands' error messages are printed.
void printError(const std::string& text) {
    std::fprintf(stderr, tx::kMessageLineFormat, common_texts::kCaptionError, text.c_str());
}

using Args = CommandLine;

std::optional<int> intOption(const Args& args, const std::string& name, int fallback, int low, int high) {
    auto it = args.values.find(name);
    if (it == args.values.end()) return fallback;
    const std::string& text = it->second;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < low || v > high) {
        std::fprintf(stderr, tx::kNotInRangeFormat, name.c_str(), low, high, name.c_str(), low, high,
                     text.c_str());
        return std::nullopt;
    }
    return static_cast<int>(v);
}

std::optional<int> gradeOption(const Args& args, const std::string& fallback) {
    auto it = args.values.find("--grade");
    std::string name = it == args.values.end() ? fallback : it->second;
    for (int g = 0; g < kGradeCount; ++g) {
        if (name == kGradeNames[static_cast<size_t>(g)]) return g;
    }
    std::fprintf(stderr, tx::kUnknownGradeFormat, name.c_str());
    return std::nullopt;
}

// The pieces of a comma-separated list (a full-width comma separates too), blanks trimmed.
std::vector<std::string> listItems(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    auto finish = [&] {
        items.push_back(plainText(item));
        item.clear();
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ',') {
            finish();
            ++i;
        } else if (text.compare(i, 3, "，") == 0) {
            finish();
            i += 3;
        } else {
            item += text[i++];
        }
    }
    finish();
    return items;
}

// Sets the subjects' values named in the option ("语文=150,数学=150", other names of subjects
// understood; any other name that may head an extra subject's column, "禁毒=10", sets that extra
// subject's value) into `scores`: the known subjects' into `values`, an extra subject's with
// `setExtra`; false after saying what is wrong. An absent option changes nothing.
bool subjectValuesOption(const Args& args, const std::string& name, int low, int high, ScoreSettings& scores,
                         std::array<int, kSubjectCount> ScoreSettings::*values,
                         void (ScoreSettings::*setExtra)(std::string_view, int)) {
    auto it = args.values.find(name);
    if (it == args.values.end()) return true;
    for (const std::string& item : listItems(it->second)) {
        size_t equals = item.find('=');
        std::optional<int> value;
        if (equals != std::string::npos) {
            const std::string number = plainText(item.substr(equals + 1));
            char* end = nullptr;
            long v = std::strtol(number.c_str(), &end, 10);
            if (!number.empty() && *end == '\0' && v >= low && v <= high) value = static_cast<int>(v);
        }
        if (!value) {
            std::fprintf(stderr, tx::kBadSubjectValuesFormat, name.c_str(), low, high, name.c_str(), low,
                         high, it->second.c_str());
            return false;
        }
        const std::string subject = item.substr(0, equals);
        const std::string normalised = normaliseHeaderText(subject);
        int index = subjectIndex(headerNameOf(normalised).name);
        if (index >= 0) {
            (scores.*values)[static_cast<size_t>(index)] = *value;
        } else if (isExtraSubjectColumn(normalised)) {
            (scores.*setExtra)(normalised, *value);
        } else {
            std::fprintf(stderr, tx::kUnknownSubjectFormat, subject.c_str());
            return false;
        }
    }
    return true;
}

// The question-score sheets of --questions, each with the --question-sheet, --question-subject
// and --question-marks that follow it; nothing after saying what is wrong.
std::optional<std::vector<QuestionSource>> questionSources(const Args& args) {
    std::vector<QuestionSource> sources;
    for (const auto& [name, value] : args.given) {
        if (name == "--questions") {
            sources.push_back({value, {}, {}, {}});
            continue;
        }
        std::string QuestionSource::*field = name == "--question-sheet"     ? &QuestionSource::sheet
                                             : name == "--question-subject" ? &QuestionSource::subject
                                             : name == "--question-marks"   ? &QuestionSource::marks
                                                                            : nullptr;
        if (field == nullptr) continue;
        if (sources.empty()) {
            std::fprintf(stderr, tx::kQuestionOptionFirstFormat, name.c_str(), name.c_str());
            return std::nullopt;
        }
        sources.back().*field = value;
    }
    for (const QuestionSource& source : sources) {
        if (source.sheet.empty() || source.subject.empty()) {
            std::fprintf(stderr, tx::kQuestionSourceIncompleteFormat, source.path.c_str());
            return std::nullopt;
        }
        if (Result<std::vector<QuestionMark>> marks = parseQuestionMarks(source.marks); !marks) {
            std::fprintf(stderr, "%s\n", marks.error().c_str());
            return std::nullopt;
        }
    }
    return sources;
}

// The question reports need a question-score sheet; without --reports, one asks for 小题分析.
bool questionReports(const std::vector<QuestionSource>& sources, bool reportsGiven, ExportOptions& options) {
    if (!sources.empty() && !reportsGiven) options.questionAnalysis = true;
    if (!sources.empty()) return true;
    for (bool ExportOptions::*chosen : {&ExportOptions::questionAnalysis, &ExportOptions::questionDetail}) {
        if (!reportsGiven || !(options.*chosen)) continue;
        const char* caption = reportCaption(chosen);
        std::fprintf(stderr, tx::kQuestionReportWithoutSheetFormat, caption, caption);
        return false;
    }
    // The settings file's choice of them has nothing to work on this time.
    options.questionAnalysis = options.questionDetail = false;
    return true;
}

// Chooses the reports named in --reports (as the window's check boxes show them, "导出" may be
// left out; "导出总分前30名" also sets N) instead of the settings file's choice; false after
// saying what is wrong. An absent option changes nothing.
bool reportsOption(const Args& args, ExportOptions& options) {
    auto it = args.values.find("--reports");
    if (it == args.values.end()) return true;
    const auto& reports = kReportChoices;
    ExportOptions chosen = options;
    for (const ReportChoice& report : reports) chosen.*report.chosen = false;
    constexpr std::string_view kExportWord = "导出";
    constexpr std::string_view kPlaces = "名";  // ends the top-N report's name
    for (const std::string& item : listItems(it->second)) {
        std::string_view name(item);
        if (name.starts_with(kExportWord)) name.remove_prefix(kExportWord.size());
        const ReportChoice* found = nullptr;
        for (const ReportChoice& report : reports) {
            std::string_view caption(report.caption);
            caption.remove_prefix(kExportWord.size());
            if (report.setting == ReportSetting::TopN && name.starts_with(caption) &&
                name.ends_with(kPlaces)) {
                std::string_view count =
                    name.substr(caption.size(), name.size() - caption.size() - kPlaces.size());
                int n = cAtoi(count);
                if (count != "N" && (n < 1 || std::to_string(n) != count)) continue;
                if (count != "N") chosen.topN = n;
                found = &report;
            } else if (name == caption || name == report.settingsKey) {
                found = &report;
            }
            if (found != nullptr) break;
        }
        if (found == nullptr) {
            std::string names;
            for (const ReportChoice& report : reports) {
                if (!names.empty()) names += tx::kReportSeparator;
                names += report.caption;
                if (report.setting == ReportSetting::TopN) names += std::string("N") + std::string(kPlaces);
            }
            std::fprintf(stderr, tx::kUnknownReportFormat, item.c_str(), names.c_str());
            return false;
        }
        chosen.*found->chosen = true;
    }
    options = chosen;
    return true;
}

// How blank scores count for this run (--blank-scores zero|exclude) instead of the settings file's
// choice; false after saying what is wrong. An absent option changes nothing.
bool blankScoresOption(const Args& args, ExportOptions& options) {
    auto it = args.values.find("--blank-scores");
    if (it == args.values.end()) return true;
    if (it->second != "zero" && it->second != "exclude") {
        std::fprintf(stderr, tx::kBadBlankScoresFormat, it->second.c_str());
        return false;
    }
    options.blankScoresExcluded = it->second == "exclude";
    return true;
}

// One workbook per school or class beside the whole one for this run (--split school|class)
// instead of the settings file's 分别导出; false after saying what is wrong.
bool splitOption(const Args& args, ExportOptions& options) {
    auto it = args.values.find("--split");
    if (it == args.values.end()) return true;
    if (it->second == "school") {
        options.split = SplitFiles::BySchool;
    } else if (it->second == "class") {
        options.split = SplitFiles::ByClass;
    } else {
        std::fprintf(stderr, tx::kBadSplitFormat, it->second.c_str());
        return false;
    }
    return true;
}

// How equal totals share places for this run (--ranking 1224|1223) instead of the settings file's
// 名次方式; false after saying what is wrong. An absent option changes nothing.
bool rankingOption(const Args& args, ExportOptions& options) {
    auto it = args.values.find("--ranking");
    if (it == args.values.end()) return true;
    if (it->second == "1224") {
        options.rankingRule = RankingRule::Competition;
    } else if (it->second == "1223") {
        options.rankingRule = RankingRule::Dense;
    } else {
        std::fprintf(stderr, tx::kBadRankingFormat, it->second.c_str());
        return false;
    }
    return true;
}

// How levels are cut for this run (--levels score:90,75,60 or share:15,35,35,13,2, optionally
// followed by :NAME,…) instead of the settings file's; false after saying what is wrong.
bool levelsOption(const Args& args, ScoreSettings& scores) {
    auto it = args.values.find("--levels");
    if (it == args.values.end()) return true;
    const std::string& value = it->second;
    const size_t colon = value.find(':');
    const size_t second = colon == std::string::npos ? std::string::npos : value.find(':', colon + 1);
    std::optional<LevelMethod> method =
        colon == std::string::npos ? std::nullopt : levelMethodNamed(value.substr(0, colon));
    std::optional<LevelCuts> cuts;
    if (method && (second == std::string::npos || second + 1 < value.size()))
        cuts = makeLevelCuts(
            *method,
            value.substr(colon + 1, second == std::string::npos ? std::string::npos : second - colon - 1),
            second == std::string::npos ? std::string() : value.substr(second + 1));
    if (!cuts) {
        std::fprintf(stderr, tx::kBadLevelsFormat, value.c_str());
        return false;
    }
    scores.levels = std::move(cuts);
    return true;
}

// The 上线 lines of this run (--lines by score, --lines-top by share, both may be given) instead of
// the settings file's, and the lines 临界生 are near (--near-lines 上线|优秀及格); false after saying
// what is wrong. Absent options change nothing.
bool scoreLinesOptions(const Args& args, ScoreSettings& scores, ExportOptions& options) {
    std::vector<ScoreLine> lines;
    auto given = args.values.find("--lines");
    if (given != args.values.end()) {
        std::optional<std::vector<ScoreLine>> read = scoreLinesNamed(given->second);
        if (!read || given->second.find('%') != std::string::npos) {
            std::fprintf(stderr, tx::kBadLinesFormat, given->second.c_str());
            return false;
        }
        lines = std::move(*read);
    }
    auto top = args.values.find("--lines-top");
    if (top != args.values.end()) {
        std::optional<std::vector<ScoreLine>> read = scoreLinesNamed(top->second);
        const bool shares = read && std::all_of(read->begin(), read->end(), [](const ScoreLine& line) {
                                return line.byShare && line.track.empty();
                            });
        if (!shares) {
            std::fprintf(stderr, tx::kBadTopLinesFormat, top->second.c_str());
            return false;
        }
        for (ScoreLine& line : *read) {
            if (std::none_of(lines.begin(), lines.end(),
                             [&](const ScoreLine& l) { return l.name == line.name; }))
                lines.push_back(std::move(line));
        }
    }
    if (given != args.values.end() || top != args.values.end()) scores.lines = std::move(lines);
    if (auto near = args.values.find("--near-lines"); near != args.values.end()) {
        if (near->second != "上线" && near->second != "优秀及格") {
            std::fprintf(stderr, tx::kBadNearLinesFormat, near->second.c_str());
            return false;
        }
        options.nearScoreLines = near->second == "上线";
    }
    return true;
}

std::string programDir() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

// The window's program folder, whose settings file the command line shares: the window program
// "varnex" beside this one (installed), or in the build tree's ui/ folder; otherwise ours.
std::string windowProgramDir() {
    const std::string own = programDir();
    for (const std::string& dir : {own, own + "../ui/"}) {
        if (::access((dir + "varnex").c_str(), X_OK) == 0) {
            std::error_code ec;
            std::string canonical = std::filesystem::canonical(dir, ec).string();
            return ec ? dir : canonical + "/";
        }
    }
    return own;
}

bool refuseExisting(const std::string& path, bool force) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        printError(strprintf(tx::kOutputIsFolderFormat, path.c_str()));
        return true;
    }
    if (force || !std::filesystem::exists(path, ec)) return false;
    printError(strprintf(tx::kOutputExistsFormat, path.c_str()));
    return true;
}

// The result never replaces the workbook it is made from, not even with --force.
bool refuseInputAsOutput(const std::string& input, const std::string& output) {
    std::error_code ec;
    if (!std::filesystem::equivalent(input, output, ec)) return false;
    printError(strprintf(tx::kOutputIsInputFormat, output.c_str()));
    return true;
}

// A command's arguments when they hold everything it needs (`complete`). Otherwise none, and
// `exitStatus` is kExitUsage after the command's help on standard error.
std::optional<Args> commandArgs(const Args& line, const std::function<bool(const Args&)>& complete,
                                int& exitStatus) {
    exitStatus = kExitUsage;
    if (!complete(line)) {
        std::fputs(commandHelp(*line.command).c_str(), stderr);
        return std::nullopt;
    }
    return line;
}

int runSheets(const Args& line) {
    int status = 0;
    auto args = commandArgs(
        line, [](const Args& a) { return a.positional.size() == 1; }, status);
    if (!args) return status;
    AppState state;
    CliFrontend ui(false, true);
    Result<OpenOutcome> opened = openWorkbook(state, ui, args->positional[0]);
    if (!opened) return kExitFailed;
    for (const auto& name : opened->sheetNames) std::printf("%s\n", name.c_str());
    return 0;
}

int runTemplate(const Args& line) {
    int status = 0;
    auto args = commandArgs(
        line, [](const Args& a) { return a.positional.empty() && a.values.count("--exam"); }, status);
    if (!args) return status;
    AppState state;
    state.examNameText = args->values["--exam"];
    if (args->values.count("-o")) {
        state.outputPath = args->values["-o"];
        state.overwriteOutput = args->flags.count("--force") > 0;
        if (refuseExisting(state.outputPath, state.overwriteOutput)) return kExitFailed;
    }
    CliFrontend ui(true);
    Result<TemplateOutcome> made = generateTemplates(state, ui);
    if (!made) return kExitFailed;
    ui.clearProgress();
    std::printf("%s\n", made->savedPath.c_str());
    return 0;
}

// The rows of a worksheet as read, its first row first; false after saying why it cannot be read.
bool readSheetRows(const std::string& path, const std::string& sheetName,
                   std::vector<std::vector<std::string>>& rows) {
    Result<std::unique_ptr<WorkbookReader>> reader = openWorkbookReader(path);
    if (!reader) {
        printError(reader.error());
        return false;
    }
    const std::vector<std::string>& names = (*reader)->sheetNames();
    auto at = std::find(names.begin(), names.end(), sheetName);
    if (at == names.end()) {
        printError(strprintf(tx::kNoSuchSheetFormat, sheetName.c_str(), sheetName.c_str()));
        return false;
    }
    Result<std::unique_ptr<SheetRowStream>> stream =
        (*reader)->openSheet(static_cast<size_t>(at - names.begin()));
    if (!stream) {
        printError(stream.error());
        return false;
    }
    SheetRow row;
    for (;;) {
        Result<bool> more = (*stream)->next(row);
        if (!more) {
            printError(more.error());
            return false;
        }
        if (!*more) return true;
        rows.push_back(row.cells);
    }
}

// `sample --previous-of FILE`: an earlier exam of the students of FILE's score sheet (the grade's).
int runEarlierSample(const std::string& of, const SampleOptions& options, const std::string& out,
                     bool force) {
    const std::string sheetName = kGradeNames[static_cast<size_t>(options.gradeIndex)];
    std::vector<std::vector<std::string>> rows;
    if (!readSheetRows(of, sheetName, rows)) return kExitFailed;
    ExcelSession session;
    int students = buildEarlierExam(session, rows, sheetName, options.gradeIndex, options.seed + 1);
    Result<std::string> saved = saveWorkbook(session.workbook(), {.exactPath = out, .overwrite = force});
    if (!saved) {
        printError(saved.error());
        return kExitFailed;
    }
    std::fprintf(stderr, tx::kEarlierSampleSummaryFormat, sheetName.c_str(), students, of.c_str());
    std::printf("%s\n", saved->c_str());
    return 0;
}

int runSample(const Args& line) {
    int status = 0;
    auto args = commandArgs(
        line, [](const Args& a) { return a.positional.empty() && a.values.count("-o"); }, status);
    if (!args) return status;
    SampleOptions options;
    auto grade = gradeOption(*args, kGradeNames[kDefaultGradeIndex]);
    auto schools = intOption(*args, "--schools", options.schools, 1, 10000);
    auto classes = intOption(*args, "--classes-per-school", options.classesPerSchool, 1, 1000);
    auto students = intOption(*args, "--students-per-class", options.studentsPerClass, 1, 100000);
    auto seed = intOption(*args, "--seed", static_cast<int>(options.seed), 0, 2147483647);
    if (!grade || !schools || !classes || !students || !seed) return kExitUsage;
    options.gradeIndex = *grade;
    options.schools = *schools;
    options.classesPerSchool = *classes;
    options.studentsPerClass = *students;
    options.seed = static_cast<uint32_t>(*seed);
    const std::string out = args->values["-o"];
    bool force = args->flags.count("--force") > 0;
    if (refuseExisting(out, force)) return kExitFailed;
    if (args->values.count("--previous-of"))
        return runEarlierSample(args->values["--previous-of"], options, out, force);

    ExcelSession session;
    SampleSummary summary = buildSampleExam(session, options);
    Result<std::string> saved = saveWorkbook(session.workbook(), {.exactPath = out, .overwrite = force});
    if (!saved) {
        printError(saved.error());
        return kExitFailed;
    }
    std::fprintf(stderr, tx::kSampleSummaryFormat, summary.scoreSheet.c_str(), summary.schools,
                 summary.classes, summary.students, summary.teacherSheet.c_str(), summary.scoreSheet.c_str());
    std::printf("%s\n", saved->c_str());
    return 0;
}

bool selectSheetOf(WorkbookState& workbook, const std::string& name) {
    for (size_t i = 0; i < workbook.sheetNames.size(); ++i) {
        if (workbook.sheetNames[i] == name) {
            workbook.selectedSheet = static_cast<int>(i);
            return true;
        }
    }
    printError(strprintf(tx::kNoSuchSheetFormat, name.c_str(), name.c_str()));
    return false;
}

bool selectSheet(AppState& state, const std::string& name) {
    return selectSheetOf(state.workbook, name);
}

int runExport(const Args& line) {
    int status = 0;
    auto args = commandArgs(
        line,
        [](const Args& a) {
            const auto& v = a.values;
            return a.positional.size() == 1 && v.count("--scores") && v.count("--grade") &&
                   v.count("--exam") && v.count("-o");
        },
        status);
    if (!args) return status;
    auto& v = args->values;
    auto grade = gradeOption(*args, "");
    auto rule = intOption(*args, "--missing-rule", 0, 0, 2);
    auto limit = intOption(*args, "--missing-limit", 4, 0, 11);
    auto near = intOption(*args, "--near", 0, 1, 10000);
    if (!grade || !rule || !limit || !near) return kExitUsage;

    AppState state;
    state.gradeIndex = *grade;
    state.importOptions.missingRule = *rule;
    state.importOptions.missingLimit = *limit;
    if (v.count("--settings")) {
        state.settingsPath = v["--settings"];
        if (!std::filesystem::exists(state.settingsPath)) {
            printError(strprintf(tx::kNoSettingsFileFormat, state.settingsPath.c_str()));
            return kExitFailed;
        }
    } else {
        state.settingsPath = settingsPath(windowProgramDir());
        seedIfMissing(state.settingsPath);
    }
    // Settings that cannot be read are not silently replaced by the built-in values.
    if (Status usable = checkSettingsFile(state.settingsPath); !usable) {
        printError(usable.error());
        return kExitFailed;
    }
    loadGrade(state.settingsPath, state.gradeName(), state.scores, state.exportOptions,
              [](const std::string& problem) { std::fprintf(stderr, "%s\n", problem.c_str()); });
    state.importOptions.scaledScores =
        args->flags.count("--scaled") > 0 || loadScaledScores(state.settingsPath);
    if (args->flags.count("--scale-electives") > 0) state.scores.computeScaled = true;
    if (!subjectValuesOption(*args, "--full-mark", 0, 10000, state.scores, &ScoreSettings::fullMark,
                             &ScoreSettings::setExtraFullMark) ||
        !subjectValuesOption(*args, "--excellence", 0, 100, state.scores, &ScoreSettings::excellenceLine,
                             &ScoreSettings::setExtraExcellenceLine) ||
        !subjectValuesOption(*args, "--good", 0, 100, state.scores, &ScoreSettings::goodLine,
                             &ScoreSettings::setExtraGoodLine) ||
        !subjectValuesOption(*args, "--low", 0, 100, state.scores, &ScoreSettings::lowLine,
                             &ScoreSettings::setExtraLowLine) ||
        !reportsOption(*args, state.exportOptions) || !blankScoresOption(*args, state.exportOptions) ||
        !rankingOption(*args, state.exportOptions) || !levelsOption(*args, state.scores) ||
        !splitOption(*args, state.exportOptions) ||
        !scoreLinesOptions(*args, state.scores, state.exportOptions))
        return kExitUsage;
    const std::optional<std::vector<QuestionSource>> questions = questionSources(*args);
    if (!questions || !questionReports(*questions, v.count("--reports") > 0, state.exportOptions))
        return kExitUsage;
    if (v.count("--near")) state.exportOptions.nearBand = *near;
    if (args->flags.count("--four-rates")) state.exportOptions.fourRates = true;
    if (args->flags.count("--more-figures")) state.exportOptions.moreFigures = true;
    if (args->flags.count("--no-ranks")) state.exportOptions.noRanks = true;
    if (args->flags.count("--by-track")) state.exportOptions.byTrack = true;
    // A previous exam asks for the progress reports unless --reports chooses the reports.
    if (v.count("--previous") && !v.count("--reports")) state.exportOptions.progress = true;
    state.outputPath = v["-o"];
    state.overwriteOutput = args->flags.count("--force") > 0;
    if (refuseExisting(state.outputPath, state.overwriteOutput)) return kExitFailed;
    if (refuseInputAsOutput(args->positional[0], state.outputPath)) return kExitFailed;

    CliFrontend ui(args->flags.count("--yes") > 0);
    if (v.count("--school")) ui.answerSchoolWith(v["--school"]);
    if (v.count("--class")) ui.answerClassWith(v["--class"]);
    if (!openWorkbook(state, ui, args->positional[0])) return kExitFailed;
    if (v.count("--teachers")) {
        if (!selectSheet(state, v["--teachers"])) return kExitFailed;
        if (!importTeachers(state, ui)) return kExitFailed;
    }
    if (!selectSheet(state, v["--scores"])) return kExitFailed;
    if (!importStudents(state, ui)) return kExitFailed;
    if (v.count("--previous")) {
        if (!openPreviousWorkbook(state, ui, v["--previous"])) return kExitFailed;
        if (v.count("--previous-sheet") && !selectSheetOf(state.previous.workbook, v["--previous-sheet"]))
            return kExitFailed;
        if (!importPreviousExam(state, ui)) return kExitFailed;
    }
    state.examNameText = v["--exam"];
    for (const QuestionSource& source : *questions) {
        if (!importQuestionSheet(state, ui, source)) return kExitFailed;
    }
    Result<ExportOutcome> exported = exportRun(state, ui);
    if (!exported) return kExitFailed;
    ui.clearProgress();
    std::printf("%s\n", exported->savedPath.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::variant<CommandLine, CommandLineError> parsed = parseCommandLine(argc, argv);
    if (const auto* refused = std::get_if<CommandLineError>(&parsed)) {
        std::fputs(refused->message.c_str(), stderr);
        return kExitUsage;
    }
    const CommandLine& line = std::get<CommandLine>(parsed);
    if (line.help) {
        std::fputs((line.command ? commandHelp(*line.command) : mainHelp()).c_str(), stdout);
        return 0;
    }
    switch (*line.command) {
        case CliCommand::Sheets:
            return runSheets(line);
        case CliCommand::Template:
            return runTemplate(line);
        case CliCommand::Sample:
            return runSample(line);
        case CliCommand::Export:
            return runExport(line);
    }
    return kExitUsage;
}
