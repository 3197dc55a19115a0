#include "app/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "app/app_texts.h"
#include "app/ini_file.h"
#include "app/report_choices.h"
#include "base/common_texts.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = app_texts;

const char* const kSettingsFileName = "配置文件.ini";
const char* const kExportSection = "导出选项";

namespace {

// Saved after the reports' plain flags, seeded off after every other option.
const char* const kIgnoreZeroScoresKey = "忽略零分学科";
// 1: blank scores and texts such as 缺考 are left out; absent or 0: they count as 0. Never seeded.
const char* const kBlankScoresExcludedKey = "缺考不计入统计";
// 1: 良好率 and 低分率 (四率), 超均率 and the spread (扩展指标) beside the three rates; absent or 0:
// not. A newly seeded file has 四率 on.
const char* const kFourRatesKey = "四率";
const char* const kMoreFiguresKey = "扩展指标";
// 1: no sheet shows students' places; absent or 0: the places are shown. Seeded off.
const char* const kNoRanksKey = "不公布名次";
// 1: places and the rate sheets per track (物理类 / 历史类); absent or 0: over the whole grade.
// Seeded off.
const char* const kByTrackKey = "按科类分别统计";

// The plain flags in the order they are saved: the reports', then 忽略零分学科, 缺考不计入统计,
// 四率, 扩展指标, 不公布名次 and 按科类分别统计.
template <class Visit>
void forEachFlag(Visit visit) {
    for (const ReportChoice& report : kReportChoices) {
        if (report.setting == ReportSetting::Flag) visit(report.settingsKey, report.chosen);
    }
    visit(kIgnoreZeroScoresKey, &ExportOptions::ignoreZeroScores);
    visit(kBlankScoresExcludedKey, &ExportOptions::blankScoresExcluded);
    visit(kFourRatesKey, &ExportOptions::fourRates);
    visit(kMoreFiguresKey, &ExportOptions::moreFigures);
    visit(kNoRanksKey, &ExportOptions::noRanks);
    visit(kByTrackKey, &ExportOptions::byTrack);
}

const char* const kTopNKey = reportKeptAs(ReportSetting::TopN).settingsKey;
const char* const kClassRankingKey = reportKeptAs(ReportSetting::ClassRanking).settingsKey;
// The class-ranking layout on its own, so that the choice survives while the ranking is off
// ("班级总分排名" then holds -1); written by every save, never seeded.
const char* const kClassRankingLayoutKey = "班级总分排名方式";
// The points below and above a line that make a student 临界生; 10 when the file has no such key.
const char* const kNearBandKey = "临界生分差";
const char* const kImportSection = "导入选项";
const char* const kSchoolNameKey = "学校名称";
const char* const kScaledScoresKey = "按赋分统计";

const char* const kExcellenceKeySuffix = "优秀率";
// A subject's 良好线 and 低分线 in percent of its full mark, under its name and these: "语文良好线".
const char* const kGoodLineKeySuffix = "良好线";
const char* const kLowLineKeySuffix = "低分线";

// A line in percent read from the grade's key: the default when the key is missing or holds no
// percent of 0 … 100.
int percentKey(const IniFile& file, const std::string& gradeName, const std::string& key, int fallback) {
    std::optional<std::string> text = file.find(gradeName, key);
    if (!text || !startsWithNumber(*text)) return fallback;
    const int value = cAtoi(*text);
    return value >= 0 && value <= 100 ? value : fallback;
}

// The full marks of questions, one key per exam name and subject.
const char* const kQuestionMarksSection = "小题满分";

std::string questionMarksKey(const std::string& examName, const std::string& subject) {
    return examName.empty() ? subject : examName + "-" + subject;
}

std::string excellenceKey(int subject) {
    return std::string(kSubjects[static_cast<size_t>(subject)].name) + kExcellenceKeySuffix;
}

// The grade's key listing its extra subjects, and the separators of the names in it: "、" when
// written, also "," and "，" when read. Each has a full-mark key of its name and an excellence key
// of its name and 优秀率, as the subjects of the list.
const char* const kExtraSubjectsKey = "其他学科";
const char* const kExtraSubjectSeparator = "、";

// The grade's 等级 cuts: 分数 or 比例, the comma-separated lines and names. A grade without them
// uses its default cuts.
const char* const kLevelMethodKey = "等级方式";
const char* const kLevelLinesKey = "等级线";
const char* const kLevelNamesKey = "等级名称";

// 计算赋分 (1 or 0) and the rule of 赋分 (a built-in rule's name or a rule written out).
const char* const kComputeScaledKey = "计算赋分";
const char* const kScaleRuleKey = "赋分规则";

// The grade's 上线 lines, and the export option 临界线 (上线, or 优秀及格 for the total's lines).
const char* const kScoreLinesKey = "上线";
const char* const kNearLinesKey = "临界线";
const char* const kNearScoreLines = "上线";
const char* const kNearExcellencePass = "优秀及格";

// The grade's 赋分 rule: none when it names none, or, after a log line, when it cannot be used.
std::optional<ScaleRule> loadScaleRule(const IniFile& file, const std::string& gradeName,
                                       const std::function<void(const std::string&)>& logLine) {
    std::optional<std::string> text = file.find(gradeName, kScaleRuleKey);
    if (!text || text->empty()) return std::nullopt;
    std::optional<ScaleRule> rule = scaleRuleNamed(*text);
    if (!rule && logLine) logLine(strprintf(tx::kBadScaleRuleFormat, gradeName.c_str(), text->c_str()));
    return rule;
}

// The grade's cuts from its keys: none when it has none, or, after a log line, when they cannot be
// used. A missing 等级方式 is the grade's default one, missing lines that method's default lines.
std::optional<LevelCuts> loadLevelCuts(const IniFile& file, const std::string& gradeName,
                                       const std::function<void(const std::string&)>& logLine) {
    std::optional<std::string> method = file.find(gradeName, kLevelMethodKey);
    std::optional<std::string> lines = file.find(gradeName, kLevelLinesKey);
    std::optional<std::string> names = file.find(gradeName, kLevelNamesKey);
    if (!method && !lines && !names) return std::nullopt;
    const int gradeIndex = static_cast<int>(
        std::find_if(kGradeNames.begin(), kGradeNames.end(), [&](const char* g) { return gradeName == g; }) -
        kGradeNames.begin());
    std::optional<LevelMethod> how = method ? levelMethodNamed(*method) : defaultLevelCuts(gradeIndex).method;
    std::optional<LevelCuts> cuts;
    if (how) {
        const LevelCuts defaults = defaultLevelCuts(*how == LevelMethod::Score ? 0 : kSeniorGradeIndex);
        cuts = makeLevelCuts(*how, lines ? *lines : levelLinesText(defaults), names.value_or(""));
    }
    if (!cuts && logLine)
        logLine(strprintf(tx::kBadLevelSettingsFormat, gradeName.c_str(), method.value_or("").c_str(),
                          lines.value_or("").c_str(), names.value_or("").c_str()));
    return cuts;
}

// The text without blanks (also the ideographic one) at either end.
std::string trimBlanks(std::string text) {
    auto blankAtEnd = [&](bool front) {
        for (std::string_view blank :
             {std::string_view(" "), std::string_view("\t"), std::string_view("　")}) {
            if (front ? text.starts_with(blank) : text.ends_with(blank)) return blank.size();
        }
        return size_t{0};
    };
    while (size_t n = blankAtEnd(true)) text.erase(0, n);
    while (size_t n = blankAtEnd(false)) text.erase(text.size() - n);
    return text;
}

// The names listed in the 其他学科 value, each once, without blanks at either end; names of the
// list of subjects, 总分 and empty names are left out.
std::vector<std::string> extraSubjectNames(std::string_view value) {
    std::string text(value);
    for (std::string_view separator : {std::string_view(","), std::string_view("，")}) {
        for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at))
            text.replace(at, separator.size(), kExtraSubjectSeparator);
    }
    std::vector<std::string> names;
    const std::string_view separator(kExtraSubjectSeparator);
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        std::string name = trimBlanks(text.substr(start, end - start));
        if (!name.empty() && subjectIndex(name) < 0 && name != kTotalName &&
            name.find_first_of("=[];") == std::string::npos &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
        start = end + separator.size();
    }
    return names;
}

bool folderIsWritable(const std::string& dir) {
    return !dir.empty() && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// A program in the system's program folders (…/usr/bin, …/usr/local/bin; also a package's tree
// unpacked elsewhere) is shared by every user: its settings go to the user's folder even when the
// administrator could write beside it.
bool isInstalledProgramDir(const std::string& dir) {
    for (std::string_view folder : {"/usr/bin/", "/usr/local/bin/"}) {
        if (dir.size() >= folder.size() &&
            dir.compare(dir.size() - folder.size(), folder.size(), folder) == 0)
            return true;
    }
    return dir == "/bin/";
}

bool fileExists(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), F_OK) == 0;
}

bool makeFolders(const std::string& dir) {
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        partial = dir.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// The user's configuration folder for Varnex, created when needed; "" when there is none that can
// be written.
std::string userSettingsFolder() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        config = std::string(home) + "/.config";
    } else {
        return std::string();
    }
    config += "/varnex";
    if (!makeFolders(config) || !folderIsWritable(config + "/")) return std::string();
    return config + "/";
}

// The folder part of a path, with its separator; "./" when there is none.
std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// A folder that is there but cannot be written (a program installed read-only, a write-protected
// share). A folder that is not there at all is no reason to write elsewhere.
bool folderIsReadOnly(const std::string& dir) {
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && !folderIsWritable(dir);
}

// The user's copy of the settings kept at `path`: the same name in the user's folder; "" when
// there is no such folder or it is the folder of `path` itself.
std::string userCopyOf(const std::string& path) {
    std::string folder = userSettingsFolder();
    if (folder.empty() || folder == folderOf(path)) return std::string();
    return folder + fileNameOf(path);
}

// Why the settings file `file` cannot be used, naming it.
Error unusableSettings(const std::string& file, IniFile::Problem problem) {
    const char* format =
        problem == IniFile::Problem::NotText ? tx::kSettingsNotTextFormat : tx::kSettingsUnreadableFormat;
    return fail(strprintf(format, file.c_str()));
}

}  // namespace

std::string settingsPath(const std::string& programDir) {
    std::string dir = programDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if ((folderIsWritable(dir) && !isInstalledProgramDir(dir)) || fileExists(dir + kSettingsFileName))
        return dir + kSettingsFileName;
    std::string config = userSettingsFolder();
    return config.empty() ? std::string() : config + kSettingsFileName;
}

std::string settingsFileInUse(const std::string& path) {
    if (path.empty() || !folderIsReadOnly(folderOf(path))) return path;
    std::string copy = userCopyOf(path);
    return fileExists(copy) ? copy : path;
}

IniFile loadSettingsFile(const std::string& path) {
    return IniFile::load(settingsFileInUse(path));
}

bool saveSettingsFile(const IniFile& file, const std::string& path) {
    if (path.empty()) return false;
    if (!folderIsReadOnly(folderOf(path))) return file.save(path);
    std::string copy = userCopyOf(path);
    return !copy.empty() && file.save(copy);
}

Status checkSettingsFile(const std::string& path) {
    const std::string inUse = settingsFileInUse(path);
    const IniFile file = IniFile::load(inUse);
    if (!file.unreadable()) return {};
    return unusableSettings(inUse, file.problem());
}

void seedIfMissing(const std::string& path) {
    if (path.empty() || ::access(path.c_str(), F_OK) == 0) return;
    IniFile file;
    for (int g = 0; g < kGradeCount; ++g) {
        for (int s = 0; s < kSubjectCount; ++s) {
            int mark = kGradeSeedFullMarks[static_cast<size_t>(g)][static_cast<size_t>(s)];
            if (mark != 0)
                file.set(kGradeNames[static_cast<size_t>(g)], kSubjects[static_cast<size_t>(s)].name,
                         std::to_string(mark));
        }
    }
    for (int g = 0; g < kGradeCount; ++g) {
        for (int s = 0; s < kSubjectCount; ++s) {
            if (kGradeSeedFullMarks[static_cast<size_t>(g)][static_cast<size_t>(s)] != 0)
                file.set(kGradeNames[static_cast<size_t>(g)], excellenceKey(s), "80");
        }
    }
    for (const ReportChoice& report : kReportChoices) {
        if (report.setting == ReportSetting::Flag && report.seededOn)
            file.set(kExportSection, report.settingsKey, "1");
    }
    file.set(kExportSection, kClassRankingKey, "1");
    file.set(kExportSection, kTopNKey, "50");
    file.set(kExportSection, kIgnoreZeroScoresKey, "0");
    file.set(kExportSection, tx::kRankingRuleKey, tx::kCompetitionRanking);
    file.set(kExportSection, kFourRatesKey, "1");
    file.set(kExportSection, kNoRanksKey, "0");
    file.set(kExportSection, kByTrackKey, "0");
    file.save(path);
}

bool loadGrade(const std::string& path, const std::string& gradeName, ScoreSettings& scores,
               ExportOptions& options, const std::function<void(const std::string&)>& logLine) {
    if (path.empty()) return false;
    IniFile file = loadSettingsFile(path);
    if (!file.exists()) return false;
    for (int s = 0; s < kSubjectCount; ++s)
        scores.fullMark[static_cast<size_t>(s)] =
            cAtoi(file.get(gradeName, kSubjects[static_cast<size_t>(s)].name));
    for (int s = 0; s < kSubjectCount; ++s)
        scores.excellenceLine[static_cast<size_t>(s)] = cAtoi(file.get(gradeName, excellenceKey(s)));
    for (int s = 0; s < kSubjectCount; ++s) {
        const std::string name = kSubjects[static_cast<size_t>(s)].name;
        scores.goodLine[static_cast<size_t>(s)] =
            percentKey(file, gradeName, name + kGoodLineKeySuffix, kDefaultGoodLine);
        scores.lowLine[static_cast<size_t>(s)] =
            percentKey(file, gradeName, name + kLowLineKeySuffix, kDefaultLowLine);
    }
    scores.extra.clear();
    for (std::string& name : extraSubjectNames(file.get(gradeName, kExtraSubjectsKey))) {
        ExtraSubject subject{name, cAtoi(file.get(gradeName, name))};
        if (std::optional<std::string> line = file.find(gradeName, name + kExcellenceKeySuffix))
            subject.excellenceLine = cAtoi(*line);
        subject.goodLine = percentKey(file, gradeName, name + kGoodLineKeySuffix, kDefaultGoodLine);
        subject.lowLine = percentKey(file, gradeName, name + kLowLineKeySuffix, kDefaultLowLine);
        scores.extra.push_back(std::move(subject));
    }
    scores.levels = loadLevelCuts(file, gradeName, logLine);
    scores.computeScaled = cAtoi(file.get(gradeName, kComputeScaledKey)) != 0;
    scores.scaleRule = loadScaleRule(file, gradeName, logLine);
    scores.lines.clear();
    if (std::optional<std::string> text = file.find(gradeName, kScoreLinesKey); text && !text->empty()) {
        if (std::optional<std::vector<ScoreLine>> lines = scoreLinesNamed(*text)) {
            scores.lines = std::move(*lines);
        } else if (logLine) {
            logLine(strprintf(tx::kBadScoreLinesFormat, gradeName.c_str(), text->c_str()));
        }
    }
    forEachFlag([&](const char* key, bool ExportOptions::*field) {
        options.*field = cAtoi(file.get(kExportSection, key)) != 0;
    });
    int topN = cAtoi(file.get(kExportSection, kTopNKey));
    if (topN > 0) {
        options.topNEnabled = true;
        options.topN = topN;
    } else {
        options.topNEnabled = false;
    }
    int ranking = cAtoi(file.get(kExportSection, kClassRankingKey));
    if (ranking < 0) {
        options.classRanking = false;
        if (std::optional<std::string> layout = file.find(kExportSection, kClassRankingLayoutKey))
            options.classRankingLayout = cAtoi(*layout) != 0 ? 1 : 0;
    } else {
        options.classRanking = true;
        options.classRankingLayout = ranking != 0 ? 1 : 0;
    }
    if (int band = cAtoi(file.get(kExportSection, kNearBandKey)); band > 0) options.nearBand = band;
    // A file without the key (or with another value) keeps the places it always gave.
    options.rankingRule = rankingRuleNamed(file.get(kExportSection, tx::kRankingRuleKey));
    options.split = splitFilesNamed(file.get(kExportSection, tx::kSplitKey));
    options.nearScoreLines = file.get(kExportSection, kNearLinesKey) == kNearScoreLines;
    return true;
}

namespace {

// Why the settings could not be saved, naming the file.
Error settingsNotSaved(const std::string& path) {
    std::string where = path.empty() ? std::string(kSettingsFileName) : path;
    return fail(strprintf(tx::kSaveFailedFormat, where.c_str()));
}

}  // namespace

Status saveGrade(const std::string& path, const std::string& gradeName, const ScoreSettings& scores,
                 const ExportOptions& options) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = loadSettingsFile(path);
    // Saving would replace everything it holds: say which file and why instead.
    if (file.unreadable()) return unusableSettings(settingsFileInUse(path), file.problem());
    for (int s = 0; s < kSubjectCount; ++s) {
        int mark = scores.fullMark[static_cast<size_t>(s)];
        if (mark > 0) file.set(gradeName, kSubjects[static_cast<size_t>(s)].name, strprintf("%d", mark));
    }
    for (int s = 0; s < kSubjectCount; ++s) {
        int line = scores.excellenceLine[static_cast<size_t>(s)];
        if (line > 0) file.set(gradeName, excellenceKey(s), strprintf("%d", line));
    }
    // The 良好线 and 低分线 of the subjects with a full mark; those of the others stay as they were.
    for (int s = 0; s < kSubjectCount; ++s) {
        if (scores.fullMark[static_cast<size_t>(s)] <= 0) continue;
        const std::string name = kSubjects[static_cast<size_t>(s)].name;
        file.set(gradeName, name + kGoodLineKeySuffix,
                 strprintf("%d", scores.goodLine[static_cast<size_t>(s)]));
        file.set(gradeName, name + kLowLineKeySuffix,
                 strprintf("%d", scores.lowLine[static_cast<size_t>(s)]));
    }
    // The extra subjects with a full mark are listed; one without is left out of the list, and so
    // is not read back, while its keys stay as they were.
    std::string extraNames;
    for (const ExtraSubject& subject : scores.extra) {
        if (subject.fullMark <= 0 ||
            extraSubjectNames(subject.name) != std::vector<std::string>{subject.name})
            continue;
        extraNames += (extraNames.empty() ? "" : kExtraSubjectSeparator) + subject.name;
        file.set(gradeName, subject.name, strprintf("%d", subject.fullMark));
        file.set(gradeName, subject.name + kExcellenceKeySuffix, strprintf("%d", subject.excellenceLine));
        file.set(gradeName, subject.name + kGoodLineKeySuffix, strprintf("%d", subject.goodLine));
        file.set(gradeName, subject.name + kLowLineKeySuffix, strprintf("%d", subject.lowLine));
    }
    if (!extraNames.empty() || file.find(gradeName, kExtraSubjectsKey))
        file.set(gradeName, kExtraSubjectsKey, extraNames);
    // A grade on its default cuts keeps what its keys hold (nothing, or values that could not be used).
    if (scores.levels) {
        file.set(gradeName, kLevelMethodKey, levelMethodName(scores.levels->method));
        file.set(gradeName, kLevelLinesKey, levelLinesText(*scores.levels));
        file.set(gradeName, kLevelNamesKey, levelNamesText(*scores.levels));
    }
    // Written once chosen, so that a grade that never chose 计算赋分 keeps its section as it was.
    if (scores.computeScaled || file.find(gradeName, kComputeScaledKey))
        file.set(gradeName, kComputeScaledKey, scores.computeScaled ? "1" : "0");
    if (scores.scaleRule) file.set(gradeName, kScaleRuleKey, scaleRuleText(*scores.scaleRule));
    if (!scores.lines.empty()) file.set(gradeName, kScoreLinesKey, scoreLinesText(scores.lines));
    forEachFlag([&](const char* key, bool ExportOptions::*field) {
        file.set(kExportSection, key, strprintf("%d", options.*field ? 1 : 0));
    });
    file.set(kExportSection, kTopNKey, strprintf("%d", options.topNEnabled ? options.topN : 0));
    file.set(kExportSection, kClassRankingKey,
             strprintf("%d", options.classRanking ? options.classRankingLayout : -1));
    file.set(kExportSection, kClassRankingLayoutKey, strprintf("%d", options.classRankingLayout));
    file.set(kExportSection, kNearBandKey, strprintf("%d", options.nearBand));
    if (options.rankingRule != RankingRule::Unchosen)
        file.set(kExportSection, tx::kRankingRuleKey, rankingRuleName(options.rankingRule));
    // A file that never had the key keeps reading 不分 without it.
    if (options.split != SplitFiles::None || file.find(kExportSection, tx::kSplitKey))
        file.set(kExportSection, tx::kSplitKey, splitFilesName(options.split));
    if (options.nearScoreLines || file.find(kExportSection, kNearLinesKey))
        file.set(kExportSection, kNearLinesKey,
                 options.nearScoreLines ? kNearScoreLines : kNearExcellencePass);
    if (!saveSettingsFile(file, path)) return settingsNotSaved(path);
    return {};
}

Status saveLevelCuts(const std::string& path, const std::string& gradeName, const LevelCuts& cuts) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return unusableSettings(settingsFileInUse(path), file.problem());
    file.set(gradeName, kLevelMethodKey, levelMethodName(cuts.method));
    file.set(gradeName, kLevelLinesKey, levelLinesText(cuts));
    file.set(gradeName, kLevelNamesKey, levelNamesText(cuts));
    if (!saveSettingsFile(file, path)) return settingsNotSaved(path);
    return {};
}

Status saveScoreLines(const std::string& path, const std::string& gradeName,
                      const std::vector<ScoreLine>& lines) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return unusableSettings(settingsFileInUse(path), file.problem());
    if (lines.empty() && !file.find(gradeName, kScoreLinesKey)) return {};
    file.set(gradeName, kScoreLinesKey, scoreLinesText(lines));
    if (!saveSettingsFile(file, path)) return settingsNotSaved(path);
    return {};
}

void saveGradeCommand(AppState& state, Frontend& frontend) {
    std::string grade = state.gradeName();
    if (Status saved = saveGrade(state.settingsPath, grade, state.scores, state.exportOptions)) {
        frontend.showMessage(strprintf(tx::kGradeSavedFormat, grade.c_str()), common_texts::kCaptionInfo,
                             MessageIcon::Information);
    } else {
        frontend.showMessage(saved.error(), common_texts::kCaptionError, MessageIcon::Error);
    }
}

bool loadScaledScores(const std::string& path) {
    if (path.empty()) return false;
    return cAtoi(loadSettingsFile(path).get(kImportSection, kScaledScoresKey)) != 0;
}

Status saveScaledScores(const std::string& path, bool scaled) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return unusableSettings(settingsFileInUse(path), file.problem());
    file.set(kImportSection, kScaledScoresKey, scaled ? "1" : "0");
    if (!saveSettingsFile(file, path)) return settingsNotSaved(path);
    return {};
}

void restoreDefaultExcellence(ScoreSettings& scores) {
    scores.excellenceLine.fill(80);
    for (ExtraSubject& subject : scores.extra) subject.excellenceLine = kDefaultExcellenceLine;
}

std::string loadSchoolName(const std::string& path) {
    if (path.empty()) return std::string();
    return IniFile::load(path).get(kImportSection, kSchoolNameKey);
}

Status saveSchoolName(const std::string& path, const std::string& school) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = IniFile::load(path);
    if (file.unreadable()) return settingsNotSaved(path);
    file.set(kImportSection, kSchoolNameKey, school);
    if (!file.save(path)) return settingsNotSaved(path);
    return {};
}

std::string loadQuestionMarks(const std::string& path, const std::string& examName,
                              const std::string& subject) {
    if (path.empty()) return std::string();
    return loadSettingsFile(path).get(kQuestionMarksSection, questionMarksKey(examName, subject));
}

Status saveQuestionMarks(const std::string& path, const std::string& examName, const std::string& subject,
                         const std::string& marks) {
    if (path.empty()) return settingsNotSaved(path);
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return unusableSettings(settingsFileInUse(path), file.problem());
    file.set(kQuestionMarksSection, questionMarksKey(examName, subject), marks);
    if (!saveSettingsFile(file, path)) return settingsNotSaved(path);
    return {};
}

}  // namespace varnex
