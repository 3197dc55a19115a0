#pragma once
// Small conveniences around the main task: the desktop's calculator, text editor and file
// manager, launchers for the program on the desktop and in the applications menu, and the place of
// the help window.

#include <QRect>
#include <QString>
#include <QStringList>

#include "app/frontend.h"

namespace varnex::ui {

/// What a launcher starts.
struct LauncherTarget {
    QString programPath;  ///< the running executable
    QString workingDir;   ///< its folder
    QString iconPath;     ///< an icon file, "" for none
};

/// The content of a ".desktop" launcher for the program; it offers the program for workbooks.
QString desktopEntryText(const LauncherTarget& target);
/// Writes a launcher file (an existing one is replaced) and marks it executable.
bool writeLauncher(const QString& filePath, const LauncherTarget& target);

/// The desktop launcher, named after the executable, with the success or failure message. When
/// `desktopDir` (the desktop folder of the user's XDG user dirs) is "" or no folder, the launcher
/// goes to `applicationsDir` (the applications menu) and the message says where it was put.
void createDesktopShortcut(Frontend& frontend, const QString& desktopDir, const QString& applicationsDir,
                           const LauncherTarget& target);
/// The launcher "Varnex.desktop" in the user's applications menu folder, with its message.
void createQuickLaunchIcon(Frontend& frontend, const QString& applicationsDir, const LauncherTarget& target);

/// Starts the first of the programs found on the PATH; false when none is installed.
bool startFirstInstalled(const QStringList& programs, const QStringList& arguments = {});
/// The calculators looked for, in the order they are tried.
QStringList calculatorPrograms();
/// The text editors looked for, in the order they are tried.
QStringList textEditorPrograms();
/// The desktop's calculator, when one is installed.
bool startCalculator();
/// The desktop's text editor, or the default application for a new empty text file.
bool startTextEditor();
/// Shows `file` in a file manager: selected where the file manager can do that, otherwise its
/// folder is opened. False when no file manager could be started.
bool showInFileManager(const QString& file);
/// Program names joined for a message: "gnome-calculator、kcalc、xcalc".
QString programList(const QStringList& programs);

/// Where a window of size `wanted` goes beside `mainFrame` within `available` (the screen's
/// working area): to its right or left where there is room enough, otherwise at the right edge
/// of the screen, over part of the main window. Never larger than the working area.
QRect besideRect(const QRect& mainFrame, const QRect& available, QSize wanted);

}  // namespace varnex::ui
