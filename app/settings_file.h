#pragma once
// The settings file "配置文件.ini": per-grade full marks and excellence lines, export options, the
// school name given last for a sheet without 学校 column, and the recent-file list.

#include <functional>
#include <string>

#include "app/app_state.h"
#include "app/frontend.h"
#include "app/ini_file.h"
#include "base/result.h"

namespace varnex {

extern const char* const kSettingsFileName;  // "配置文件.ini"
extern const char* const kExportSection;     // "导出选项"

/// Where the settings file lives: beside the executable when that folder is writable (and is not one
/// of the system's program folders, …/usr/bin or …/usr/local/bin, which every user shares) or a
/// file is there already (an administrator's or an older copy), otherwise in the user's
/// configuration folder ($XDG_CONFIG_HOME or ~/.config, subfolder "varnex"), which is created when
/// needed. "" when neither can be used.
std::string settingsPath(const std::string& programDir);

/// The file that holds the settings kept at `path`: `path` itself, unless its folder exists but
/// cannot be written and a change was saved before to the user's copy (the same name in the
/// user's configuration folder); from then on that copy is the one read.
std::string settingsFileInUse(const std::string& path);
/// Reads the settings kept at `path` (settingsFileInUse).
IniFile loadSettingsFile(const std::string& path);
/// Writes the settings kept at `path`: to `path`, or, when its folder exists but cannot be written,
/// to the user's copy, so that a file read beside the program is never lost. False when nothing
/// could be written.
bool saveSettingsFile(const IniFile& file, const std::string& path);

/// Why the settings file at `path` cannot be used (it is there but cannot be read, or is not GBK
/// or UTF-8 text), naming the file; success when it can, or when there is none.
Status checkSettingsFile(const std::string& path);

/// Writes the seed content when no file exists at path.
void seedIfMissing(const std::string& path);

/// Reads the grade's section and the export options into the records. Returns false (and changes
/// nothing) when there is no file. `logLine`, when given, hears why the grade's 等级 keys or its
/// 赋分规则 cannot be used (the grade's default cuts, or the default rule, are used then).
bool loadGrade(const std::string& path, const std::string& gradeName, ScoreSettings& scores,
               ExportOptions& options, const std::function<void(const std::string&)>& logLine = {});

/// Writes the grade's positive values and the export options; a failure names the file that could
/// not be written.
Status saveGrade(const std::string& path, const std::string& gradeName, const ScoreSettings& scores,
                 const ExportOptions& options);

/// The 保存 command: saves the selected grade and confirms (or reports a failed write).
void saveGradeCommand(AppState& state, Frontend& frontend);

/// The school name given last for a sheet without 学校 column ("" when none was).
std::string loadSchoolName(const std::string& path);
/// Keeps the school name given for a sheet without 学校 column; a failure names the file.
Status saveSchoolName(const std::string& path, const std::string& school);

/// 按赋分统计 as the settings file keeps it (its import options, 0 or 1); false when the file
/// has no such key.
bool loadScaledScores(const std::string& path);
/// Keeps 按赋分统计; a failure names the file.
Status saveScaledScores(const std::string& path, bool scaled);

/// Keeps the grade's 等级 cuts (its 等级方式, 等级线 and 等级名称 keys); a failure names the file.
Status saveLevelCuts(const std::string& path, const std::string& gradeName, const LevelCuts& cuts);
/// Keeps the grade's 上线 lines (its key 上线; no lines leave the key empty, or absent when it was);
/// a failure names the file.
Status saveScoreLines(const std::string& path, const std::string& gradeName,
                      const std::vector<ScoreLine>& lines);
/// The full marks of the questions of an exam's subject as the settings file keeps them (section
/// 小题满分, key "<exam name>-<subject>", written as "1~12=5,17(1)=4"); "" when it has none.
std::string loadQuestionMarks(const std::string& path, const std::string& examName,
                              const std::string& subject);
/// Keeps the full marks of the questions of an exam's subject; a failure names the file.
Status saveQuestionMarks(const std::string& path, const std::string& examName, const std::string& subject,
                         const std::string& marks);

/// The 默认 command's effect on the records: every excellence line back to 80.
void restoreDefaultExcellence(ScoreSettings& scores);

}  // namespace varnex
