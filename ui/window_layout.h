#pragma once
// Sizes and ids of the main window that are not controls of their own: its natural size in dialog
// units, the tables' reference widths, the splash, the frames, and the colours of texts.

namespace varnex::ui {

/// The window's natural client area in dialog units: it opens at this size where the screen allows.
constexpr int kWindowWidthDlu = 651;
constexpr int kWindowHeightDlu = 381;
/// Widths of the two tables at the natural size (dialog units): their columns widen with them.
constexpr int kStudentTableWidthDlu = 625;
constexpr int kTeacherTableWidthDlu = 257;
/// Size of the start-up splash in dialog units.
constexpr int kSplashWidthDlu = 251;
constexpr int kSplashHeightDlu = 155;

/// Rows of the student table and lines of the log that stay in view however small the window.
constexpr int kStudentRowsShown = 3;
constexpr int kTeacherRowsShown = 4;
constexpr int kLogLinesShown = 5;

enum class TextColour { Default, Blue, Red };

/// The id of a control nobody addresses.
constexpr int kNoId = -1;

/// Ids of the frames and texts that only the window itself addresses.
namespace frame {
constexpr int DataImport = 1239;
constexpr int ImportOptions = 1256;
constexpr int ScoreSettings = 1244;
constexpr int Students = 1285;
constexpr int Teachers = 1286;
constexpr int Export = 1238;
constexpr int MissingLimitLabel = 1251;
}  // namespace frame

}  // namespace varnex::ui
