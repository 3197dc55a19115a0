#include "ui/desktop_tools.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

#include "app/opened_files.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {

// Quotes an argument of the Exec key as the desktop entry format wants it.
QString execQuoted(const QString& argument) {
    QString quoted = argument;
    for (QChar c : {u'\\', u'"', u'`', u'$'}) quoted.replace(c, QStringLiteral("\\") + c);
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

QString desktopEntryText(const LauncherTarget& target) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    const QString title = QString::fromStdString(common_texts::programTitle());
    text += QStringLiteral("Name=%1\n").arg(title);
    // The launcher's description, shown as its tooltip.
    text += QStringLiteral("Comment=%1\n").arg(title);
    // %f: a file the desktop opens with the program is handed to it as its argument.
    text += QStringLiteral("Exec=%1 %f\n").arg(execQuoted(target.programPath));
    text += QStringLiteral("Path=%1\n").arg(target.workingDir);
    if (!target.iconPath.isEmpty()) text += QStringLiteral("Icon=%1\n").arg(target.iconPath);
    text += QStringLiteral("MimeType=%1\n").arg(QString::fromUtf8(kOpenedMimeTypes));
    text += QStringLiteral("Terminal=false\nCategories=Education;Office;\nStartupNotify=true\n");
    return text;
}

bool writeLauncher(const QString& filePath, const LauncherTarget& target) {
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.write(desktopEntryText(target).toUtf8());
    if (!file.commit()) return false;
    return QFile::setPermissions(filePath, QFile::permissions(filePath) | QFileDevice::ExeOwner |
                                               QFileDevice::ExeUser | QFileDevice::ExeGroup |
                                               QFileDevice::ExeOther);
}

void createDesktopShortcut(Frontend& frontend, const QString& desktopDir, const QString& applicationsDir,
                           const LauncherTarget& target) {
    QString name = QFileInfo(target.programPath).completeBaseName();
    if (name.isEmpty()) name = QString::fromUtf8(common_texts::kProgramName);
    name += QStringLiteral(".desktop");
    auto failed = [&frontend](const QString& path) {
        frontend.showMessage(strprintf(tx::kDesktopShortcutFailedFormat, path.toUtf8().constData()), "",
                             MessageIcon::None);
    };
    if (!desktopDir.isEmpty() && QFileInfo(desktopDir).isDir()) {
        QString path = QDir(desktopDir).filePath(name);
        if (!writeLauncher(path, target)) return failed(path);
        // GNOME starts a launcher on the desktop only once it is marked as trusted.
        if (!QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty())
            QProcess::startDetached(
                QStringLiteral("gio"),
                {QStringLiteral("set"), path, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
        frontend.showMessage(tx::kDesktopShortcutOk, "", MessageIcon::None);
        return;
    }
    // No desktop folder (a desktop without icons, or none set up): the launcher goes to the
    // applications menu instead, under the same name, and the message says so.
    if (applicationsDir.isEmpty()) {
        frontend.showMessage(tx::kDesktopUnknown, "", MessageIcon::None);
        return;
    }
    QString path = QDir(applicationsDir).filePath(name);
    if (!QDir().mkpath(applicationsDir) || !writeLauncher(path, target)) return failed(path);
    frontend.showMessage(strprintf(tx::kDesktopShortcutElsewhereFormat, path.toUtf8().constData()), "",
                         MessageIcon::None);
}

void createQuickLaunchIcon(Frontend& frontend, const QString& applicationsDir, const LauncherTarget& target) {
    if (applicationsDir.isEmpty()) {
        frontend.showMessage(tx::kQuickLaunchUnknown, "", MessageIcon::None);
        return;
    }
    constexpr int kSaveFailed = 4;
    QString file = QDir(applicationsDir)
                       .filePath(QString::fromUtf8(common_texts::kProgramName) + QStringLiteral(".desktop"));
    bool saved = QDir().mkpath(applicationsDir) && writeLauncher(file, target);
    if (saved)
        frontend.showMessage(tx::kQuickLaunchOk, "", MessageIcon::None);
    else
        frontend.showMessage(strprintf(tx::kQuickLaunchFailedFormat, kSaveFailed), "", MessageIcon::None);
}

bool startFirstInstalled(const QStringList& programs, const QStringList& arguments) {
    for (const QString& program : programs) {
        QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, arguments)) return true;
    }
    return false;
}

QStringList calculatorPrograms() {
    return {QStringLiteral("gnome-calculator"),  QStringLiteral("kcalc"),
            QStringLiteral("galculator"),        QStringLiteral("mate-calc"),
            QStringLiteral("deepin-calculator"), QStringLiteral("xcalc")};
}

QStringList textEditorPrograms() {
    return {QStringLiteral("gedit"),  QStringLiteral("gnome-text-editor"), QStringLiteral("kate"),
            QStringLiteral("kwrite"), QStringLiteral("mousepad"),          QStringLiteral("xed"),
            QStringLiteral("pluma"),  QStringLiteral("featherpad"),        QStringLiteral("deepin-editor")};
}

bool startCalculator() {
    return startFirstInstalled(calculatorPrograms());
}

bool startTextEditor() {
    if (startFirstInstalled(textEditorPrograms())) return true;
    // No known editor: let the desktop open a new, empty text file with its default application.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
    QString folder =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/varnex");
    if (!QDir().mkpath(folder)) return false;
    QString path = folder + QLatin1Char('/') + QString::fromUtf8(tx::kNewTextFileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.close();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool showInFileManager(const QString& file) {
    // File managers that select a file they are given, with the option each needs.
    const std::pair<const char*, const char*> selecting[] = {
        {"nautilus", "--select"},
        {"dolphin", "--select"},
        {"caja", "--select"},
        {"nemo", nullptr},
        {"dde-file-manager", "--show-item"},
        {"peony", "--show-items"},
    };
    for (const auto& [program, option] : selecting) {
        QString path = QStandardPaths::findExecutable(QString::fromUtf8(program));
        if (path.isEmpty()) continue;
        QStringList arguments;
        if (option != nullptr) arguments << QString::fromUtf8(option);
        arguments << file;
        if (QProcess::startDetached(path, arguments)) return true;
    }
    // Otherwise the folder, in whatever the desktop opens folders with.
    const QString folder = QFileInfo(file).absolutePath();
    if (startFirstInstalled(
            {QStringLiteral("thunar"), QStringLiteral("pcmanfm-qt"), QStringLiteral("pcmanfm")}, {folder}))
        return true;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString programList(const QStringList& programs) {
    return programs.join(QString::fromUtf8("、"));
}

QRect besideRect(const QRect& mainFrame, const QRect& available, QSize wanted) {
    // Narrower than this, a help page is no pleasure to read: rather cover part of the window.
    constexpr int kNarrowest = 480;
    QSize size = wanted.boundedTo(available.size());
    const int right = available.right() - mainFrame.right();
    const int left = mainFrame.left() - available.left();
    int x;
    if (right >= std::min(size.width(), kNarrowest)) {
        size.setWidth(std::min(size.width(), right));
        x = mainFrame.right() + 1;
    } else if (left >= std::min(size.width(), kNarrowest)) {
        size.setWidth(std::min(size.width(), left));
        x = mainFrame.left() - size.width();
    } else {
        x = available.right() + 1 - size.width();
    }
    int y = std::clamp(mainFrame.top(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}

}  // namespace varnex::ui
