#include "ui/desktop_tools.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

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
    text += QStringLiteral("Exec=%1\n").arg(execQuoted(target.programPath));
    text += QStringLiteral("Path=%1\n").arg(target.workingDir);
    if (!target.iconPath.isEmpty()) text += QStringLiteral("Icon=%1\n").arg(target.iconPath);
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

void createDesktopShortcut(Frontend& frontend, const QString& desktopDir, const LauncherTarget& target) {
    if (desktopDir.isEmpty()) {
        frontend.showMessage(tx::kDesktopUnknown, "", MessageIcon::None);
        return;
    }
    QString name = QFileInfo(target.programPath).completeBaseName();
    if (name.isEmpty()) name = QString::fromUtf8(common_texts::kProgramName);
    bool saved = writeLauncher(QDir(desktopDir).filePath(name + QStringLiteral(".desktop")), target);
    frontend.showMessage(saved ? tx::kDesktopShortcutOk : tx::kDesktopShortcutFailed, "", MessageIcon::None);
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

bool startCalculator() {
    return startFirstInstalled({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                QStringLiteral("galculator"), QStringLiteral("mate-calc"),
                                QStringLiteral("xcalc")});
}

bool startTextEditor() {
    if (startFirstInstalled({QStringLiteral("gedit"), QStringLiteral("gnome-text-editor"),
                             QStringLiteral("kate"), QStringLiteral("kwrite"), QStringLiteral("mousepad"),
                             QStringLiteral("xed"), QStringLiteral("pluma"), QStringLiteral("featherpad")}))
        return true;
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

}  // namespace varnex::ui
