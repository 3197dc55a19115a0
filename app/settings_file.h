#pragma once
// The settings file "配置文件.ini": per-grade full marks and excellence lines, export options and
// the recent-file list.

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

extern const char* const kSettingsFileName;  // "配置文件.ini"
extern const char* const kExportSection;     // "导出选项"

/// Where the settings file lives: beside the executable when that folder is writable and is not
/// one of the system's program folders (…/usr/bin, …/usr/local/bin), otherwise in the user's
/// configuration folder ($XDG_CONFIG_HOME or ~/.config, subfolder "varnex"), which
/// is created when needed. "" when neither can be used.
std::string settingsPath(const std::string& programDir);

/// Writes the seed content when no file exists at path.
void seedIfMissing(const std::string& path);

/// Reads the grade's section and the export options into the records. Returns false (and changes
/// nothing) when there is no file.
bool loadGrade(const std::string& path, const std::string& gradeName, ScoreSettings& scores,
               ExportOptions& options);

/// Writes the grade's positive values and the export options; a failure names the file that could
/// not be written.
Status saveGrade(const std::string& path, const std::string& gradeName, const ScoreSettings& scores,
                 const ExportOptions& options);

/// The 保存 command: saves the selected grade and confirms (or reports a failed write).
void saveGradeCommand(AppState& state, Frontend& frontend);

/// The 默认 command's effect on the records: every excellence line back to 80.
void restoreDefaultExcellence(ScoreSettings& scores);

}  // namespace varnex
