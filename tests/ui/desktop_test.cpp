#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMimeDatabase>
#include <QTextBrowser>
#include <algorithm>
#include <atomic>
#include <thread>

#include "app/app_state.h"
#include "base/text_util.h"
#include "base/version.h"
#include "import/open_workbook.h"
#include "readers/reader_messages.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "ui/about_dialog.h"
#include "ui/desktop_tools.h"
#include "ui/help_window.h"
#include "ui/music_player.h"
#include "ui/qt_dialogs.h"
#include "ui/single_instance.h"
#include "ui/ui_texts.h"

namespace varnex::ui {
namespace {

using varnex::testing::ScriptedFrontend;
using varnex::testing::TempDir;

QString uniqueMarker() {
    static int counter = 0;
    return QStringLiteral("varnex-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Runs a second start on its own thread while this thread answers as the running copy.
SingleInstance::Outcome secondStart(const QString& marker, const QString& file = QString()) {
    std::atomic<bool> done = false;
    SingleInstance::Outcome outcome = SingleInstance::Outcome::First;
    std::thread second([&] {
        SingleInstance instance(marker);
        outcome = instance.acquire(file);
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    second.join();
    return outcome;
}

// The open dialog, the check of a file's extension before it is read, and the desktop entries all
// speak of the same files.
TEST(OpenedFiles, TheDialogTheReaderCheckAndTheDesktopEntriesAgree) {
    QFileDialog dialog;
    prepareOpenDialog(dialog, nullptr);
    const QString filter =
        QStringLiteral("Excel工作表、WPS表格、CSV或网页文件(*.xls *.xlsx *.et *.csv *.xml *.htm *.html)");
    ASSERT_EQ(dialog.nameFilters(), QStringList{filter});
    QStringList extensions;
    for (const QString& pattern : filter.section('(', 1).chopped(1).split(' ')) extensions << pattern.mid(2);

    // Every extension the dialog offers passes the check, in either case; others are refused.
    TempDir dir;
    auto refusedForItsName = [&](const QString& extension) {
        const std::string path = dir.file("成绩." + extension.toStdString());
        varnex::testing::writeFile(path, "");
        AppState state;
        ScriptedFrontend frontend;
        (void)openWorkbook(state, frontend, path, {});  // the refusal is read from the messages
        const std::string refusal = strprintf(reader_texts::kWrongExtensionFormat, path.c_str());
        return std::any_of(frontend.messages.begin(), frontend.messages.end(),
                           [&](const auto& m) { return m.text == refusal; });
    };
    for (const QString& extension : extensions) {
        EXPECT_FALSE(refusedForItsName(extension)) << extension.toStdString();
        EXPECT_FALSE(refusedForItsName(extension.toUpper())) << extension.toStdString();
    }
    for (const char* other : {"txt", "xlsm", "ods", "xl"}) EXPECT_TRUE(refusedForItsName(other)) << other;

    // The installed desktop entry and the launchers the window writes list the same MIME types, and
    // each one the MIME database knows is the type of files the dialog offers.
    auto mimeLine = [](const QString& entry) {
        for (const QString& line : entry.split('\n'))
            if (line.startsWith(QStringLiteral("MimeType="))) return line.mid(9);
        return QString();
    };
    const QString installed =
        QString::fromStdString(varnex::testing::readFile(VARNEX_INSTALLED_DESKTOP_ENTRY));
    EXPECT_TRUE(installed.contains(QStringLiteral("\nName=Varnex ") + QString::fromUtf8(kVersion) + u'\n'));
    const QString types = mimeLine(installed);
    EXPECT_EQ(types,
              mimeLine(desktopEntryText({QStringLiteral("/opt/varnex"), QStringLiteral("/opt"), QString()})));
    ASSERT_TRUE(types.endsWith(';'));
    const QMimeDatabase mimes;
    for (const QString& name : types.chopped(1).split(';')) {
        const QMimeType type = mimes.mimeTypeForName(name);
        if (!type.isValid()) continue;  // application/wps-office.et, where WPS is not installed
        const QStringList suffixes = type.suffixes();
        EXPECT_TRUE(std::any_of(suffixes.begin(), suffixes.end(), [&](const QString& suffix) {
            return extensions.contains(suffix);
        })) << name.toStdString();
    }
}

TEST(SingleInstance, SecondStartRaisesTheRunningWindowOrReportsIt) {
    QString marker = uniqueMarker();
    {
        SingleInstance first(marker);
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
        // Before the window exists, a second start hears that the program is already running.
        EXPECT_EQ(secondStart(marker), SingleInstance::Outcome::AlreadyRunning);
        QStringList handed;
        first.setActivationHandler([&](const QString& file) {
            handed << file;
            return true;
        });
        EXPECT_EQ(secondStart(marker), SingleInstance::Outcome::Activated);
        // A second start with a file hands it over whole, whatever characters its name holds.
        const QString odd = QString::fromUtf8("/data/期中 成绩\n(2).xlsx");
        EXPECT_EQ(secondStart(marker, odd), SingleInstance::Outcome::Activated);
        EXPECT_EQ(handed, (QStringList{QString(), odd}));
    }
    // The first copy ended: the next start runs.
    SingleInstance again(marker);
    EXPECT_EQ(again.acquire(), SingleInstance::Outcome::First);
}

TEST(SingleInstance, TheFileArgumentIsTheFirstNonOptionAsAnAbsolutePath) {
    const QString here = QDir::currentPath();
    const std::pair<QStringList, QString> cases[] = {
        {{"varnex"}, ""},
        {{"varnex", "/data/a.xls"}, "/data/a.xls"},
        {{"varnex", "成绩.xlsx"}, here + "/成绩.xlsx"},
        {{"varnex", "--verbose", "../b.et"}, QFileInfo(here + "/../b.et").absoluteFilePath()},
        {{"varnex", "file:///data/%E6%88%90%E7%BB%A9.csv"}, "/data/成绩.csv"},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(fileArgument(arguments), expected) << arguments.join(' ').toStdString();
}

TEST(SingleInstance, HeldLockWithoutServerMeansAlreadyRunning) {
    QString marker = uniqueMarker();
    SingleInstance probe(marker);
    QLockFile held(probe.lockPath());
    ASSERT_TRUE(held.tryLock(0));
    SingleInstance starting(marker);
    EXPECT_EQ(starting.acquire(), SingleInstance::Outcome::AlreadyRunning);
}

TEST(Launchers, DesktopShortcutAndApplicationsMenuEntry) {
    TempDir dir;
    LauncherTarget target{QStringLiteral("/opt/varnex dir/varnex"), QStringLiteral("/opt/varnex dir"),
                          QString()};
    ScriptedFrontend frontend;
    const QString applications = QString::fromStdString(dir.file("share/applications"));

    createDesktopShortcut(frontend, QString::fromStdString(dir.path()), applications, target);
    QString desktopFile = QString::fromStdString(dir.file("varnex.desktop"));
    ASSERT_EQ(frontend.messages.size(), 1u);
    EXPECT_EQ(frontend.messages[0].text, "创建桌面快捷方式成功！");
    EXPECT_EQ(frontend.messages[0].icon, MessageIcon::None);
    ASSERT_TRUE(QFile::exists(desktopFile));
    EXPECT_TRUE(QFileInfo(desktopFile).isExecutable());
    std::string entry = varnex::testing::readFile(desktopFile.toStdString());
    // A file opened with the launcher reaches the program as its argument.
    EXPECT_NE(entry.find("Exec=\"/opt/varnex dir/varnex\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/vnd.ms-excel;application/"
                         "vnd.openxmlformats-officedocument.spreadsheetml.sheet;application/wps-office.et;"
                         "text/csv;\n"),
              std::string::npos);
    const std::string title = std::string("Varnex ") + kVersion;  // "Varnex 3.1"
    EXPECT_NE(entry.find("Name=" + title + "\n"), std::string::npos);
    EXPECT_NE(entry.find("Comment=" + title + "\n"), std::string::npos);

    // No desktop folder: the launcher goes to the applications menu, and the message says where.
    const QString inMenu = applications + QStringLiteral("/varnex.desktop");
    for (const QString& desktop : {QString::fromStdString(dir.file("missing/desktop")), QString()}) {
        createDesktopShortcut(frontend, desktop, applications, target);
        EXPECT_EQ(frontend.messages.back().text,
                  "没有找到桌面文件夹，快捷方式已放在应用程序菜单的文件夹中：\n" + inMenu.toStdString());
        EXPECT_TRUE(QFile::exists(inMenu));
    }
    varnex::testing::writeFile(dir.file("file"), "x");
    const QString blocked = QString::fromStdString(dir.file("file/applications"));
    createDesktopShortcut(frontend, QString(), blocked, target);
    EXPECT_EQ(frontend.messages.back().text,
              "创建桌面快捷方式失败！\n无法写入：" + blocked.toStdString() + "/varnex.desktop");
    createDesktopShortcut(frontend, QString(), QString(), target);
    EXPECT_EQ(frontend.messages.back().text, "获取当前桌面路径失败！\nＷＩＮ７ 系统？");

    createQuickLaunchIcon(frontend, applications, target);
    EXPECT_EQ(frontend.messages.back().text, "创建快速启动图标成功！");
    EXPECT_TRUE(QFile::exists(applications + QStringLiteral("/Varnex.desktop")));
    createQuickLaunchIcon(frontend, blocked, target);
    EXPECT_EQ(frontend.messages.back().text, "创建快速启动项失败：4");
    createQuickLaunchIcon(frontend, QString(), target);
    EXPECT_EQ(frontend.messages.back().text, "获取QuickLaunch目录失败？");
}

TEST(HelpPlacement, BesideTheWindowWhereThereIsRoomOtherwiseAtTheScreenEdge) {
    const QRect screen(0, 0, 1920, 1050);
    const QSize wanted(900, 640);
    struct Case {
        const char* what;
        QRect main;
        QRect expected;
    };
    const Case cases[] = {
        {"room on the right", QRect(40, 100, 1150, 720), QRect(1190, 100, 730, 640)},
        {"room on the left", QRect(760, 300, 1150, 720), QRect(0, 300, 760, 640)},
        {"maximised: over the window at the right edge", QRect(0, 0, 1920, 1050), QRect(1020, 0, 900, 640)},
        {"low on the screen: moved up to fit", QRect(40, 700, 1150, 300), QRect(1190, 410, 730, 640)},
        {"less room than wanted, but enough", QRect(0, 0, 1280, 700), QRect(1280, 0, 640, 640)},
    };
    for (const Case& c : cases) EXPECT_EQ(besideRect(c.main, screen, wanted), c.expected) << c.what;
    // A screen smaller than the help window: never larger than the screen.
    EXPECT_EQ(besideRect(QRect(0, 0, 800, 600), QRect(0, 0, 800, 600), wanted), QRect(0, 0, 800, 600));
}

TEST(HelpWindow, EveryTopicHasItsPage) {
    HelpWindow help;
    int index = 0;
    for (const auto& topic : ui_texts::kHelpTopics) {
        help.showTopic(index++);
        QString page = help.browser()->toPlainText();
        EXPECT_TRUE(page.startsWith(QString::fromUtf8(topic.title))) << topic.title;
        EXPECT_GT(page.size(), 200) << topic.title;
    }
}

TEST(AboutDialog, NamesTheProgramAndTheProjectVersion) {
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("关于Varnex"));
    const QString name = QStringLiteral("Varnex");
    const QString version = QString::fromUtf8("版本 ") + QString::fromUtf8(kVersion);  // "版本 3.1"
    bool shown = false;
    for (const QLabel* label : about.findChildren<QLabel*>())
        shown = shown || (label->text().contains(name) && label->text().contains(version));
    EXPECT_TRUE(shown) << version.toStdString();
}

TEST(MusicPlayer, StartAndStopNeverBlockWithoutASoundDevice) {
    MusicPlayer player;
    player.start();
    player.start();  // a restart
    player.stop();
    player.stop();
    player.start();
    // Destroying a playing player ends its thread.
}

}  // namespace
}  // namespace varnex::ui
