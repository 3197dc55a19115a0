#pragma once
// Moving values between the window's controls and AppState, as the dialog exchange does it.

#include <QString>
#include <optional>

#include "app/app_state.h"
#include "ui/window_controls.h"

namespace varnex::ui {

/// Reads an edit's text as an integer field: optional blanks, an optional sign, digits, optional
/// blanks, within the 32-bit range. Anything else (also an empty text) holds no integer.
std::optional<int> parseDialogInteger(const QString& text);

/// Moves every control's value into the state, in the order of the window's layout. Stops at the
/// first numeric edit that holds no integer and returns its id; the fields read before it hold
/// their new values, the others keep their old ones. The 等级 boxes come last: cuts that cannot be
/// used return ctl::LevelLines. Returns -1 when everything was read.
int readControls(const WindowControls& controls, AppState& state);
/// The 等级 cuts the method buttons and the lines and names boxes show; none when they cannot be
/// used.
std::optional<LevelCuts> levelCutsShown(const WindowControls& controls);
/// The cuts the state's grade uses: its own, else the grade's default.
LevelCuts levelCutsOf(const AppState& state);
/// Moves the shown cuts into the state: the grade keeps no cuts of its own while they are its
/// default. False (and nothing changes) when they cannot be used; `changed` says whether they did.
bool readLevelCuts(const WindowControls& controls, AppState& state, bool* changed = nullptr);
/// Shows the cuts, and hides the problem text.
void writeLevelCuts(WindowControls& controls, const LevelCuts& cuts);

/// Moves only the exam-name box's text into the state (commands that read no other control).
void readExamName(const WindowControls& controls, AppState& state);
/// The name of a numeric edit as the integer prompt gives it ("语文分值", "总分前N名").
std::string numberBoxName(int controlId);

/// Pushes the score settings, import options and export options into their controls and
/// recomputes the two totals.
void writeRecords(WindowControls& controls, const AppState& state);

/// Pushes the further subjects' full marks and excellence lines into their boxes (an empty box for
/// a subject without a full mark).
void writeOtherSubjects(WindowControls& controls, const AppState& state);

/// Recomputes the read-only total full mark from the edits' texts.
void recomputeTotalFullMark(WindowControls& controls);
/// Recomputes the read-only total excellence score from the edits' texts.
void recomputeTotalExcellence(WindowControls& controls);

}  // namespace varnex::ui
