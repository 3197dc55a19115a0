#include "app/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "app/app_texts.h"
#include "app/ini_file.h"
#include "base/common_texts.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = app_texts;

const char* const kSettingsFileName = "配置文件.ini";
const char* const kExportSection = "导出选项";

namespace {

struct FlagKey {
    const char* key;
    bool ExportOptions::*field;
};

// The seven plain flags in the order they are seeded and saved.
const FlagKey kFlagKeys[] = {
    {"年级各科三率", &ExportOptions::gradeRates},       {"班级各科三率", &ExportOptions::classRates},
    {"教师个人三率", &ExportOptions::teacherRates},     {"各科分数段", &ExportOptions::subjectBands},
    {"总分分数段", &ExportOptions::totalBands},         {"总分名次段", &ExportOptions::totalRankBands},
    {"忽略零分学科", &ExportOptions::ignoreZeroScores},
};

const char* const kTopNKey = "总分前N名";
const char* const kClassRankingKey = "班级总分排名";

std::string excellenceKey(int subject) {
    return std::string(kSubjects[static_cast<size_t>(subject)].name) + "优秀率";
}

bool folderIsWritable(const std::string& dir) {
    return !dir.empty() && ::access(dir.c_str(), W_OK | X_OK) == 0;
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

}  // namespace

std::string settingsPath(const std::string& programDir) {
    std::string dir = programDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (folderIsWritable(dir)) return dir + kSettingsFileName;
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
    return config + "/" + kSettingsFileName;
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
    for (const char* key :
         {"年级各科三率", "班级各科三率", "教师个人三率", "各科分数段", "总分分数段", "总分名次段"})
        file.set(kExportSection, key, "1");
    file.set(kExportSection, kClassRankingKey, "1");
    file.set(kExportSection, kTopNKey, "50");
    file.set(kExportSection, "忽略零分学科", "0");
    file.save(path);
}

bool loadGrade(const std::string& path, const std::string& gradeName, ScoreSettings& scores,
               ExportOptions& options) {
    if (path.empty()) return false;
    IniFile file = IniFile::load(path);
    if (!file.exists()) return false;
    for (int s = 0; s < kSubjectCount; ++s)
        scores.fullMark[static_cast<size_t>(s)] =
            cAtoi(file.get(gradeName, kSubjects[static_cast<size_t>(s)].name));
    for (int s = 0; s < kSubjectCount; ++s)
        scores.excellenceLine[static_cast<size_t>(s)] = cAtoi(file.get(gradeName, excellenceKey(s)));
    for (const auto& flag : kFlagKeys) options.*flag.field = cAtoi(file.get(kExportSection, flag.key)) != 0;
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
    } else {
        options.classRanking = true;
        options.classRankingLayout = ranking != 0 ? 1 : 0;
    }
    return true;
}

bool saveGrade(const std::string& path, const std::string& gradeName, const ScoreSettings& scores,
               const ExportOptions& options) {
    if (path.empty()) return false;
    IniFile file = IniFile::load(path);
    if (file.unreadable()) return false;  // saving would replace everything it holds
    for (int s = 0; s < kSubjectCount; ++s) {
        int mark = scores.fullMark[static_cast<size_t>(s)];
        if (mark > 0) file.set(gradeName, kSubjects[static_cast<size_t>(s)].name, strprintf("%d", mark));
    }
    for (int s = 0; s < kSubjectCount; ++s) {
        int line = scores.excellenceLine[static_cast<size_t>(s)];
        if (line > 0) file.set(gradeName, excellenceKey(s), strprintf("%d", line));
    }
    for (const auto& flag : kFlagKeys)
        file.set(kExportSection, flag.key, strprintf("%d", options.*flag.field ? 1 : 0));
    file.set(kExportSection, kTopNKey, strprintf("%d", options.topNEnabled ? options.topN : 0));
    file.set(kExportSection, kClassRankingKey,
             strprintf("%d", options.classRanking ? options.classRankingLayout : -1));
    return file.save(path);
}

void saveGradeCommand(AppState& state, Frontend& frontend) {
    std::string grade = state.gradeName();
    if (saveGrade(state.settingsPath, grade, state.scores, state.exportOptions)) {
        frontend.showMessage(strprintf(tx::kGradeSavedFormat, grade.c_str()), common_texts::kCaptionInfo,
                             MessageIcon::Information);
    } else {
        std::string where = state.settingsPath.empty() ? std::string(kSettingsFileName) : state.settingsPath;
        frontend.showMessage(strprintf(tx::kSaveFailedFormat, where.c_str()), common_texts::kCaptionError,
                             MessageIcon::Error);
    }
}

void restoreDefaultExcellence(ScoreSettings& scores) {
    scores.excellenceLine.fill(80);
}

}  // namespace varnex
