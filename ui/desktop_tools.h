#pragma once
// Small conveniences around the main task: the desktop's calculator and text editor, launchers
// for the program on the desktop and in the applications menu.

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

/// The content of a ".desktop" launcher for the program.
QString desktopEntryText(const LauncherTarget& target);
/// Writes a launcher file (an existing one is replaced) and marks it executable.
bool writeLauncher(const QString& filePath, const LauncherTarget& target);

/// The desktop launcher, named after the executable, with the success or failure message.
/// `desktopDir` "" means the desktop folder could not be determined.
void createDesktopShortcut(Frontend& frontend, const QString& desktopDir, const LauncherTarget& target);
/// The launcher "Varnex.desktop" in the user's applications menu folder, with its message.
void createQuickLaunchIcon(Frontend& frontend, const QString& applicationsDir, const LauncherTarget& target);

/// Starts the first of the programs found on the PATH; false when none is installed.
bool startFirstInstalled(const QStringList& programs, const QStringList& arguments = {});
/// The desktop's calculator, when one is installed.
bool startCalculator();
/// The desktop's text editor, or the default application for a new empty text file.
bool startTextEditor();

}  // namespace varnex::ui
