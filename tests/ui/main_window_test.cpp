#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>
#include <QTreeView>
#include <QUrl>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "base/text_util.h"
#include "base/version.h"
#include "import/open_workbook.h"
#include "readers/workbook_reader.h"
#include "sample/sample_exam.h"
#include "tests/support/input_workbook.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"
#include "ui/control_transfer.h"
#include "ui/help_window.h"
#include "ui/keyboard_focus.h"
#include "ui/message_box.h"
#include "ui/qt_dialogs.h"
#include "ui/question_dialogs.h"
#include "ui/row_table_model.h"
#include "ui/score_lines_dialog.h"
#include "ui/single_instance.h"
#include "ui/splash_window.h"
#include "ui/student_row_text.h"
#include "ui/ui_texts.h"
#include "ui/window_layout.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace varnex::ui {
namespace {

using varnex::testing::ScriptedFrontend;
using varnex::testing::TempDir;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

// The control of `window` that has the focus (or gets it when the window is active again: a
// dialog that closed may leave the window inactive for a moment).
QWidget* focused(const QWidget& window) {
    QApplication::processEvents();
    return window.focusWidget();
}

// Presses `key` on the control that has the focus, as a person at the keyboard does.
void press(const QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* control = focused(window);
    ASSERT_NE(control, nullptr);
    QTest::keyClick(control, key, modifiers);
}

const std::vector<std::vector<std::string>> kStudents = {
    {"一中", "1", "张三", "120", "110", "100", "90", "80", "70", "60", "50", "40", "45", "12", "777"},
    {"一中", "2", "李四", "98", "", "", "", "", "", "", "", "", "", "", "98"},
    {"二中", "1", "王五", "60", "70", "80", "", "", "", "", "", "", "", "", "210"},
};

// The real window with recorders in place of the import and export commands and of the dialogs.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { start(); }

    void start() {
        Commands commands;
        commands.openWorkbook = [this](AppState& s, Frontend& f, const std::string& path) {
            opened.push_back(path);
            if (realOpen) {
                (void)openWorkbook(s, f, path);
                return;
            }
            s.workbook.path = path;
            s.workbook.title = "期中考试";
            s.workbook.sheetNames = {"成绩", "教师"};
            s.workbook.selectedSheet = 0;
            s.examNames.push_back("期中考试");
            s.examNameText = "期中考试";
            s.recentFiles.add(path);
            f.enableAction(Action::ImportTeachers, true);
            f.enableAction(Action::ImportStudents, true);
        };
        commands.importStudents = [this](AppState& s, Frontend& f) {
            scoresSeen.push_back(s.scores);
            s.students.clear();
            for (const auto& row : kStudents) s.students.appendRow(row);
            s.imported.studentCount = s.students.rowCount();
            s.imported.gradeName = s.gradeName();
            s.imported.classList.add("一中", "1");
            s.imported.classList.add("一中", "2");
            f.enableAction(Action::Export, true);
        };
        commands.importTeachers = [this](AppState&, Frontend& f) {
            ++teacherImports;
            if (teacherMessage) f.showMessage("已导入任课教师。", "信息", MessageIcon::Information);
        };
        commands.exportRun = [this](AppState& s, Frontend&) {
            exportedNames.push_back(s.examNameText);
            if (exportReversesTable) {  // as the class listing of a stopped export reorders it
                std::vector<int> order;
                for (int row = s.students.rowCount() - 1; row >= 0; --row) order.push_back(row);
                s.students.reorderRows(order);
            }
        };
        commands.generateTemplates = [this](AppState&, Frontend&) { ++templates; };
        window = std::make_unique<MainWindow>(state, dir.path(), commands);
        window->setDialogStandIn(&dialogs);
        window->initialise();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Leaves the program (answering Yes) and starts it again on the same settings file.
    void restart() {
        dialogs.expectQuestion("确定要退出Varnex吗？", true);
        window->close();
        ASSERT_TRUE(window->exitConfirmed());
        window.reset();
        state = AppState();
        start();
    }

    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(window->control(id)); }
    QComboBox* combo(int id) const { return qobject_cast<QComboBox*>(window->control(id)); }
    QLineEdit* fullMark(int subject) const {
        return edit(kSubjectEdits[static_cast<size_t>(subject)].fullMark);
    }
    QLineEdit* excellence(int subject) const {
        return edit(kSubjectEdits[static_cast<size_t>(subject)].excellence);
    }
    QString total() const { return edit(ctl::TotalFullMark)->text(); }
    QString totalExcellence() const { return edit(ctl::TotalExcellence)->text(); }

    // Replaces an edit's text by typing, as a person does after the edit selected its text.
    void type(QLineEdit* target, const QString& text) {
        target->setFocus();
        QApplication::processEvents();
        target->selectAll();
        if (text.isEmpty()) QTest::keyClick(target, Qt::Key_Backspace);
        QTest::keyClicks(target, text);
    }

    void openMenu(QMenu* menu) { Q_EMIT menu->aboutToShow(); }

    QStringList recentTexts() const {
        QStringList texts;
        for (QAction* action : window->recentMenu()->actions()) texts << action->text();
        return texts;
    }

    TempDir dir;
    AppState state;
    ScriptedFrontend dialogs;
    std::unique_ptr<MainWindow> window;
    std::vector<std::string> opened;
    std::vector<ScoreSettings> scoresSeen;
    std::vector<std::string> exportedNames;
    int teacherImports = 0;
    int templates = 0;
    bool exportReversesTable = false;
    bool realOpen = false;        ///< opening runs the real command
    bool teacherMessage = false;  ///< the teacher import ends with a message
};

// A workbook opens, then a file that cannot be read is dropped: the window keeps the workbook's
// sheets and selection, the exam names with the typed text, and its title.
TEST_F(WindowTest, AFileThatCannotBeReadLeavesTheWindowAsItWas) {
    realOpen = true;
    std::string good = dir.file("期中.xlsx");
    std::filesystem::copy_file(varnex::testing::fixture("workbook.xlsx"), good);
    std::string bad = dir.file("名单.xls");
    varnex::testing::writeFile(bad, "学校,班级,姓名\n一中,1班,张三\n");
    window->openDroppedFiles({QString::fromStdString(good)});
    ASSERT_TRUE(dialogs.messages.empty());
    combo(ctl::WorksheetList)->setCurrentIndex(1);
    combo(ctl::ExamNameBox)->setEditText(q("期中联考"));
    auto items = [](QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
        return texts;
    };
    QStringList sheets = items(combo(ctl::WorksheetList));
    QStringList examNames = items(combo(ctl::ExamNameBox));
    QString title = window->windowTitle();
    EXPECT_EQ(title, q("Varnex - 期中：教师任课表"));

    window->openDroppedFiles({QString::fromStdString(bad)});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "文件不是有效的工作簿：名单.xls");
    EXPECT_EQ(items(combo(ctl::WorksheetList)), sheets);
    EXPECT_EQ(combo(ctl::WorksheetList)->currentIndex(), 1);
    EXPECT_EQ(items(combo(ctl::ExamNameBox)), examNames);
    EXPECT_EQ(combo(ctl::ExamNameBox)->currentText(), q("期中联考"));
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(state.workbook.path, good);
}

TEST_F(WindowTest, InitialisationSetsTitleLogExamNameGradeAndStatusBar) {
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("Varnex " + std::string(kVersion)));
    EXPECT_FALSE(window->alwaysOnTop());  // a new settings file: not on top
    EXPECT_FALSE(window->staysOnTop());

    // The window starts with an empty log: the sheet is taken in any row order.
    EXPECT_TRUE(window->controls().log->toPlainText().isEmpty());

    std::string month = formatTime(localNow(), "%m");
    EXPECT_EQ(combo(ctl::ExamNameBox)->currentText().toStdString(), "某地区三校" + month + "月联考");
    EXPECT_EQ(month.size(), 2u);

    EXPECT_EQ(combo(ctl::GradeList)->count(), 12);
    EXPECT_EQ(combo(ctl::GradeList)->currentText(), q("七年级"));
    EXPECT_EQ(fullMark(0)->text(), q("150"));
    EXPECT_EQ(fullMark(3)->text(), q("0"));
    EXPECT_EQ(total(), q("850"));
    EXPECT_EQ(totalExcellence(), q("680"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file(kSettingsFileName))));

    EXPECT_EQ(window->statusPaneText(0), q(ui_texts::kIdlePrompt));
    // The clock: month and day without leading zeros, then the time and the weekday.
    static const QRegularExpression clock(
        q("^\\d{4}年[1-9]\\d?月[1-9]\\d?日 \\d{2}:\\d{2}:\\d{2} 星期[日一二三四五六]$"));
    EXPECT_TRUE(clock.match(window->statusPaneText(2)).hasMatch()) << window->statusPaneText(2).toStdString();

    EXPECT_EQ(window->control(ctl::OpenFile)->toolTip(),
              q("<center><h2>打开文件</h2><br><hr style=\"background-color:#0000ff\"></center><br>"
                "打开含有学生成绩或任课教师的Excel工作表或WPS表格文件（也可以直接拖拽文件至当前窗口）"));
    int withTips = 0;
    for (const auto& tip : ui_texts::kTooltips)
        withTips += window->control(tip.id)->toolTip().contains(q(tip.body));
    EXPECT_EQ(withTips, static_cast<int>(std::size(ui_texts::kTooltips)));
}

TEST_F(WindowTest, SplashShowsUntilInitialisationEnds) {
    auto visibleSplashes = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<SplashWindow*>(w) != nullptr && w->isVisible();
        return n;
    };
    AppState other;
    TempDir otherDir;
    MainWindow second(other, otherDir.path(), Commands{});
    second.setDialogStandIn(&dialogs);
    second.showSplash();
    EXPECT_EQ(visibleSplashes(), 1);
    second.initialise();
    EXPECT_EQ(visibleSplashes(), 0);
}

TEST_F(WindowTest, UpdateRulesFollowWorkbookStudentsAndRecentFiles) {
    QAction* importItem = window->menuAction(ctl::CmdImportStudents);
    QAction* exportItem = window->menuAction(ctl::CmdExport);
    QAction* recentItem = window->recentMenu()->menuAction();
    QAction* clearItem = window->menuAction(ctl::CmdClearRecent);

    openMenu(window->fileMenu());
    openMenu(window->recentMenu());
    EXPECT_FALSE(importItem->isEnabled());
    EXPECT_FALSE(exportItem->isEnabled());
    EXPECT_FALSE(recentItem->isEnabled());
    EXPECT_FALSE(clearItem->isEnabled());
    EXPECT_EQ(recentTexts(), QStringList{q("清除文件列表")});
    for (int id : {ctl::ImportTeachers, ctl::ImportStudents, ctl::ExportResults})
        EXPECT_FALSE(window->control(id)->isEnabled()) << id;

    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->openDroppedFiles({QStringLiteral("/data/b.xlsx")});
    openMenu(window->fileMenu());
    openMenu(window->recentMenu());
    EXPECT_TRUE(importItem->isEnabled());
    EXPECT_FALSE(exportItem->isEnabled());
    EXPECT_TRUE(recentItem->isEnabled());
    EXPECT_TRUE(clearItem->isEnabled());
    EXPECT_EQ(recentTexts(), (QStringList{q("&1 /data/b.xlsx"), q("&2 /data/a.xls"), q("清除文件列表")}));
    EXPECT_TRUE(window->control(ctl::ImportStudents)->isEnabled());
    EXPECT_FALSE(window->control(ctl::ExportResults)->isEnabled());

    // Choosing an entry opens that file.
    window->menuAction(ctl::CmdRecent2)->trigger();
    EXPECT_EQ(opened.back(), "/data/a.xls");

    window->menuAction(ctl::CmdImportStudents)->trigger();
    openMenu(window->fileMenu());
    openMenu(window->contextMenu());
    EXPECT_TRUE(exportItem->isEnabled());
    EXPECT_TRUE(window->contextAction(ctl::CmdExport)->isEnabled());
    EXPECT_TRUE(window->control(ctl::ExportResults)->isEnabled());

    window->runCommand(ctl::CmdClearRecent);
    openMenu(window->fileMenu());
    openMenu(window->recentMenu());
    EXPECT_FALSE(recentItem->isEnabled());
    EXPECT_FALSE(clearItem->isEnabled());
    EXPECT_EQ(recentTexts(), QStringList{q("清除文件列表")});
}

TEST_F(WindowTest, CommandTableBindsButtonsMenusAndContextMenu) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    qobject_cast<QPushButton*>(window->control(ctl::ImportTeachers))->click();
    EXPECT_EQ(teacherImports, 1);
    qobject_cast<QPushButton*>(window->control(ctl::ImportStudents))->click();
    window->menuAction(ctl::CmdImportStudents)->trigger();
    window->contextAction(ctl::CmdImportStudents)->trigger();
    EXPECT_EQ(scoresSeen.size(), 3u);
    qobject_cast<QPushButton*>(window->control(ctl::ExportResults))->click();
    window->menuAction(ctl::CmdExport)->trigger();
    window->contextAction(ctl::CmdExport)->trigger();
    EXPECT_EQ(exportedNames.size(), 3u);
    window->menuAction(ctl::CmdGenerateTemplates)->trigger();
    EXPECT_EQ(templates, 1);

    // After a command the window shows the state: worksheets, exam names, classes, tables.
    EXPECT_EQ(combo(ctl::WorksheetList)->count(), 2);
    EXPECT_EQ(combo(ctl::ExamNameBox)->currentText(), q("期中考试"));
    EXPECT_EQ(combo(ctl::ExamNameBox)->count(), 2);
    EXPECT_EQ(combo(ctl::ClassListBox)->count(), 2);
    EXPECT_EQ(combo(ctl::ClassListBox)->currentText(), q("一中 1"));
    EXPECT_EQ(window->controls().students->model()->rowCount(), 3);

    // The exam name typed into the box is what the export sees.
    combo(ctl::ExamNameBox)->setEditText(q("期末联考"));
    window->runCommand(ctl::CmdExport);
    EXPECT_EQ(exportedNames.back(), "期末联考");

    // Always on top and music toggle with their check marks; nothing hangs without a sound device.
    window->runCommand(ctl::CmdAlwaysOnTop);
    window->runCommand(ctl::CmdMusic);
    openMenu(window->toolsMenu());
    EXPECT_TRUE(window->menuAction(ctl::CmdAlwaysOnTop)->isChecked());
    EXPECT_TRUE(window->menuAction(ctl::CmdMusic)->isChecked());
    window->runCommand(ctl::CmdMusic);
    window->runCommand(ctl::CmdAlwaysOnTop);
    openMenu(window->toolsMenu());
    EXPECT_FALSE(window->menuAction(ctl::CmdAlwaysOnTop)->isChecked());
    EXPECT_FALSE(window->menuAction(ctl::CmdMusic)->isChecked());
}

TEST_F(WindowTest, MenuHighlightShowsPromptInPaneZero) {
    Q_EMIT window->fileMenu()->hovered(window->menuAction(ctl::CmdImportStudents));
    EXPECT_EQ(window->statusPaneText(0), q("导入指定工作表中的学生成绩"));
    Q_EMIT window->contextMenu()->hovered(window->contextAction(ctl::CmdExit));
    EXPECT_EQ(window->statusPaneText(0), q("询问是否退出Varnex"));
    Q_EMIT window->fileMenu()->hovered(window->recentMenu()->menuAction());
    EXPECT_EQ(window->statusPaneText(0), q(ui_texts::kIdlePrompt));
    Q_EMIT window->toolsMenu()->hovered(window->menuAction(ctl::CmdCalculator));
    Q_EMIT window->toolsMenu()->aboutToHide();
    EXPECT_EQ(window->statusPaneText(0), q(ui_texts::kIdlePrompt));

    // A greyed item shows its own prompt too, not the one of the item highlighted before it.
    QMenu* file = window->fileMenu();
    file->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    QAction* open = window->menuAction(ctl::CmdOpenFile);
    QAction* import = window->menuAction(ctl::CmdImportStudents);
    ASSERT_FALSE(import->isEnabled());
    QTest::mouseMove(file, file->actionGeometry(open).center());
    EXPECT_EQ(window->statusPaneText(0),
              q("打开含有学生成绩或任课教师的Excel工作表或WPS表格文件（也可以直接拖拽文件至当前窗口）"));
    QTest::mouseMove(file, file->actionGeometry(import).center());
    EXPECT_EQ(window->statusPaneText(0), q("导入指定工作表中的学生成绩"));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(import).center());
    EXPECT_TRUE(scoresSeen.empty());  // choosing it does nothing
    file->close();
    EXPECT_EQ(window->statusPaneText(0), q(ui_texts::kIdlePrompt));
}

TEST(ControlTransfer, DialogIntegers) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"150", 150},
        {" 12 ", 12},
        {"+5", 5},
        {"-3", -3},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(parseDialogInteger(q(input)), expected) << input;
}

// A number box without an integer is named in the prompt and gets the focus; the command stops:
// nothing is imported, exported or saved with a value left unread.
TEST_F(WindowTest, IntegerPromptNamesTheBoxAndStopsTheCommand) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    type(fullMark(0), q("120"));
    type(fullMark(1), q("abc"));
    type(fullMark(2), q("99"));
    dialogs.messages.clear();
    window->setWindowTitle(q("Varnex - 期中考试成绩汇总：七年级 - 导入完成"));
    window->runCommand(ctl::CmdImportStudents);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "数学分值：请输入一个整数。");
    EXPECT_EQ(dialogs.messages[0].caption, "Varnex");  // never the long window title
    EXPECT_TRUE(fullMark(1)->hasFocus());
    EXPECT_TRUE(scoresSeen.empty());

    type(fullMark(1), q("150"));
    window->runCommand(ctl::CmdImportStudents);
    ASSERT_EQ(scoresSeen.size(), 1u);
    type(excellence(0), q("8O"));  // a letter O for a zero
    dialogs.messages.clear();
    window->runCommand(ctl::CmdExport);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "语文优秀控制线：请输入一个整数。");
    EXPECT_TRUE(excellence(0)->hasFocus());
    EXPECT_TRUE(exportedNames.empty());

    // 保存 stores nothing and claims nothing.
    const std::string settings = dir.file(kSettingsFileName);
    const std::string before = testing::readFile(settings);
    dialogs.messages.clear();
    qobject_cast<QPushButton*>(window->control(ctl::SaveSettings))->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "语文优秀控制线：请输入一个整数。");
    EXPECT_EQ(testing::readFile(settings), before);

    // The other boxes are named too.
    type(excellence(0), q("80"));
    for (auto [id, name] :
         {std::pair{ctl::MissingLimit, "缺考科数"}, std::pair{ctl::TopNCount, "总分前N名"}}) {
        type(edit(id), q("x"));
        dialogs.messages.clear();
        window->runCommand(ctl::CmdExport);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, std::string(name) + "：请输入一个整数。");
        type(edit(id), q("5"));
    }
    EXPECT_TRUE(exportedNames.empty());
    dialogs.messages.clear();
    qobject_cast<QPushButton*>(window->control(ctl::SaveSettings))->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "七年级学科分值和优秀控制线保存成功！");
    ScoreSettings saved;
    ExportOptions options;
    ASSERT_TRUE(loadGrade(settings, "七年级", saved, options));
    EXPECT_EQ(saved.fullMark[0], 120);
    EXPECT_EQ(saved.fullMark[2], 99);
}

// A settings file the window cannot read (saved as UTF-16) is named at start-up with the reason;
// the values held stay in force and the file is left as it is.
TEST_F(WindowTest, AnUnreadableSettingsFileIsNamedAtStartUp) {
    const std::string settings = dir.file(kSettingsFileName);
    const std::string utf16("\xFF\xFE[\0x\0]\0", 8);
    testing::writeFile(settings, utf16);
    dialogs.messages.clear();
    start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("无法读取配置文件：" + settings + "\n", 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].caption, "错误");
    EXPECT_EQ(fullMark(0)->text(), q("150"));  // as the state held it (from the earlier start)
    qobject_cast<QPushButton*>(window->control(ctl::SaveSettings))->click();
    EXPECT_EQ(testing::readFile(settings), utf16);
}

// Opening a workbook and generating the templates read no number box: a box holding no integer
// brings no prompt there.
TEST_F(WindowTest, OpeningAndTemplatesReadNoNumberBox) {
    type(fullMark(0), q("abc"));
    type(edit(ctl::TopNCount), QString());
    dialogs.messages.clear();
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::CmdGenerateTemplates);
    EXPECT_TRUE(dialogs.messages.empty()) << (dialogs.messages.empty() ? "" : dialogs.messages[0].text);
    EXPECT_EQ(opened, std::vector<std::string>{"/data/a.xls"});
    EXPECT_EQ(templates, 1);
    EXPECT_EQ(fullMark(0)->text(), q("abc"));  // left as typed
}

TEST_F(WindowTest, IntegerPromptIsAWarningBoxUnderTheProgramName) {
    window->setDialogStandIn(nullptr);
    type(edit(ctl::TopNCount), QString());
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start(10);
    window->runCommand(ctl::CmdExport);
    poll.stop();
    EXPECT_EQ(seenText, q("总分前N名：请输入一个整数。"));
    EXPECT_EQ(seenTitle, q("Varnex"));
    EXPECT_EQ(seenIcon, QMessageBox::Warning);
    EXPECT_TRUE(exportedNames.empty());
}

TEST_F(WindowTest, ChartsBoxStartsOnWithANewSettingsFileAndReachesTheOptions) {
    auto* box = qobject_cast<QCheckBox*>(window->control(ctl::Charts));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), q("导出统计图表"));
    EXPECT_TRUE(box->isChecked());  // the settings file was seeded at the start
    box->setChecked(false);
    ASSERT_EQ(readControls(window->controls(), state), -1);
    EXPECT_FALSE(state.exportOptions.charts);
}

// The counting rule for blank scores starts as the settings file has it (no key: counted as 0) and
// reaches the export options beside the other choices.
TEST_F(WindowTest, BlankScoresBoxStartsOffAndReachesTheOptions) {
    auto* box = qobject_cast<QCheckBox*>(window->control(ctl::BlankScoresExcluded));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), q("缺考和空白成绩不计入统计"));
    EXPECT_FALSE(box->isChecked());
    box->setChecked(true);
    ASSERT_EQ(readControls(window->controls(), state), -1);
    EXPECT_TRUE(state.exportOptions.blankScoresExcluded);
}

// 四率 starts on with a newly seeded settings file, 扩展指标 off; the 良好 and 低分 rows show the
// grade's lines (70 and 40 % without keys) and reach the records with the boxes; a line that is no
// number is refused by name.
TEST_F(WindowTest, FourRatesBoxesAndLinesReachTheOptions) {
    auto* four = qobject_cast<QCheckBox*>(window->control(ctl::FourRates));
    auto* more = qobject_cast<QCheckBox*>(window->control(ctl::MoreFigures));
    ASSERT_NE(four, nullptr);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(four->text(), q("四率"));
    EXPECT_TRUE(four->isChecked());
    EXPECT_FALSE(more->isChecked());
    EXPECT_EQ(edit(kSubjectLineEdits[0].good)->text(), q("70"));
    EXPECT_EQ(edit(kSubjectLineEdits[10].low)->text(), q("40"));
    four->setChecked(false);
    more->setChecked(true);
    type(edit(kSubjectLineEdits[1].good), q("75"));
    type(edit(kSubjectLineEdits[2].low), q("30"));
    ASSERT_EQ(readControls(window->controls(), state), -1);
    EXPECT_FALSE(state.exportOptions.fourRates);
    EXPECT_TRUE(state.exportOptions.moreFigures);
    EXPECT_EQ(state.scores.goodLine[1], 75);
    EXPECT_EQ(state.scores.lowLine[2], 30);
    type(edit(kSubjectLineEdits[3].low), q(""));
    EXPECT_EQ(readControls(window->controls(), state), kSubjectLineEdits[3].low);
    EXPECT_EQ(numberBoxName(kSubjectLineEdits[3].low), "物理低分线");
    // A percent over 100 is refused too, not saved to be read back later as the default.
    type(edit(kSubjectLineEdits[3].low), q("40"));
    type(edit(kSubjectLineEdits[4].good), q("120"));
    EXPECT_EQ(readControls(window->controls(), state), kSubjectLineEdits[4].good);
    type(edit(kSubjectLineEdits[4].good), q("100"));
    EXPECT_EQ(readControls(window->controls(), state), -1);
}

// 不公布名次 starts off with a new settings file and reaches the export options.
TEST_F(WindowTest, NoRanksBoxStartsOffAndReachesTheOptions) {
    auto* box = qobject_cast<QCheckBox*>(window->control(ctl::NoRanks));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), q("不公布名次"));
    EXPECT_FALSE(box->isChecked());
    box->setChecked(true);
    ASSERT_EQ(readControls(window->controls(), state), -1);
    EXPECT_TRUE(state.exportOptions.noRanks);
}

// 按科类分别统计 likewise, and a grade read from the settings file shows what was saved.
TEST_F(WindowTest, ByTrackBoxStartsOffAndIsKept) {
    auto* box = qobject_cast<QCheckBox*>(window->control(ctl::ByTrack));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), q("按科类分别统计"));
    EXPECT_FALSE(box->isChecked());
    box->setChecked(true);
    dialogs.messages.clear();
    window->runCommand(ctl::SaveSettings);
    EXPECT_TRUE(state.exportOptions.byTrack);
    box->setChecked(false);
    combo(ctl::GradeList)->setCurrentIndex(9);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(WindowTest, TotalsFollowEveryKeystroke) {
    QLineEdit* chinese = fullMark(0);
    type(chinese, q("1"));
    EXPECT_EQ(total(), q("701"));            // 850 - 150 + 1
    EXPECT_EQ(totalExcellence(), q("560"));  // 1 × 80 / 100 truncates to 0
    QTest::keyClicks(chinese, q("20"));
    EXPECT_EQ(total(), q("820"));
    EXPECT_EQ(totalExcellence(), q("656"));
    type(excellence(2), q("100"));  // 100 % contributes nothing
    EXPECT_EQ(totalExcellence(), q("536"));
    type(fullMark(3), q("x"));  // not a number: counts as 0
    EXPECT_EQ(total(), q("820"));
    type(excellence(3), q("150"));  // a subject without full mark is not counted
    EXPECT_EQ(totalExcellence(), q("536"));
}

TEST_F(WindowTest, NumericEditsSelectTheirTextOnFocus) {
    QLineEdit* limit = edit(ctl::MissingLimit);
    QTest::mouseClick(limit, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(limit->selectedText(), q("4"));
}

TEST_F(WindowTest, DefaultPutsTheRecordsBackAfterTyping) {
    type(fullMark(0), q("120"));
    type(excellence(1), q("50"));
    qobject_cast<QPushButton*>(window->control(ctl::DefaultExcellence))->click();
    EXPECT_EQ(fullMark(0)->text(), q("150"));
    for (int s = 0; s < kSubjectCount; ++s) EXPECT_EQ(excellence(s)->text(), q("80")) << s;
    EXPECT_EQ(total(), q("850"));
    EXPECT_EQ(totalExcellence(), q("680"));
}

TEST_F(WindowTest, GradeChangeLoadsTheGradeWithoutAsking) {
    type(fullMark(0), q("120"));
    combo(ctl::GradeList)->setCurrentIndex(8);  // 九年级
    const char* expected[] = {"150", "150", "150", "90", "60", "0", "70", "0", "80", "50", "15"};
    for (int s = 0; s < kSubjectCount; ++s) EXPECT_EQ(fullMark(s)->text(), q(expected[s])) << s;
    EXPECT_EQ(total(), q("815"));
    EXPECT_EQ(totalExcellence(), q("652"));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(state.gradeIndex, 8);

    // Without a settings file the grade change loads nothing and the typed values stay.
    std::filesystem::remove(dir.file(kSettingsFileName));
    type(fullMark(0), q("120"));
    combo(ctl::GradeList)->setCurrentIndex(6);
    EXPECT_EQ(fullMark(0)->text(), q("120"));
    EXPECT_EQ(total(), q("785"));
    EXPECT_EQ(state.gradeIndex, 6);
}

// The 等级 boxes show the grade's cuts (its default without keys of its own), say at once when what
// was typed cannot be used, keep usable cuts in the settings file when a box is left, and show
// each grade's own cuts again when the grade changes.
TEST_F(WindowTest, LevelBoxesFollowTheGradeAndKeepWhatWasTyped) {
    QWidget* problem = window->control(ctl::LevelProblem);
    auto shows = [&](const char* method, const char* lines, const char* names) {
        const int id = std::string(method) == "比例" ? ctl::LevelByShare : ctl::LevelByScore;
        EXPECT_TRUE(qobject_cast<QRadioButton*>(window->control(id))->isChecked()) << method;
        EXPECT_EQ(edit(ctl::LevelLines)->text(), q(lines));
        EXPECT_EQ(edit(ctl::LevelNames)->text(), q(names));
        EXPECT_TRUE(problem->isHidden());
    };
    shows("分数", "90,75,60", "A,B,C,D");

    type(edit(ctl::LevelLines), q("60,75"));  // rising lines
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(readControls(window->controls(), state), ctl::LevelLines);
    type(edit(ctl::LevelLines), q("85,60"));
    EXPECT_FALSE(problem->isHidden()) << "three names are needed";
    QLineEdit* names = edit(ctl::LevelNames);
    names->setFocus();
    QApplication::processEvents();
    names->setText(q("优秀,合格,待合格"));  // typed through an input method
    EXPECT_TRUE(problem->isHidden());
    edit(ctl::LevelLines)->setFocus();  // leaving the names box keeps the cuts
    QApplication::processEvents();
    ASSERT_TRUE(state.scores.levels.has_value());
    EXPECT_EQ(*state.scores.levels, *makeLevelCuts(LevelMethod::Score, "85,60", "优秀,合格,待合格"));
    IniFile file = IniFile::load(dir.file(kSettingsFileName));
    EXPECT_EQ(file.get("七年级", "等级线"), "85,60");
    EXPECT_EQ(file.get("七年级", "等级名称"), "优秀,合格,待合格");

    combo(ctl::GradeList)->setCurrentIndex(9);  // 高一: its default, by share
    shows("比例", "15,35,35,13,2", "A,B,C,D,E");
    // Choosing 分数 shows that method's default lines and keeps them for 高一.
    qobject_cast<QRadioButton*>(window->control(ctl::LevelByScore))->click();
    shows("分数", "90,75,60", "A,B,C,D");
    EXPECT_EQ(IniFile::load(dir.file(kSettingsFileName)).get("高一", "等级方式"), "分数");
    combo(ctl::GradeList)->setCurrentIndex(6);
    shows("分数", "85,60", "优秀,合格,待合格");
}

TEST_F(WindowTest, TitleFollowsTheSelectedWorksheet) {
    window->openDroppedFiles({QStringLiteral("/data/期中考试.xls")});
    combo(ctl::WorksheetList)->setCurrentIndex(1);
    EXPECT_EQ(window->windowTitle(), q("Varnex - 期中考试：教师"));
    EXPECT_EQ(state.workbook.selectedSheet, 1);
    combo(ctl::WorksheetList)->setCurrentIndex(0);
    EXPECT_EQ(window->windowTitle(), q("Varnex - 期中考试：成绩"));
}

TEST(StudentRowText, SkipsEmptySubjectsButAlwaysHasTheTotal) {
    RowTable table(kStudentTableColumns);
    for (const auto& row : kStudents) table.appendRow(row);
    EXPECT_EQ(studentRowText(table, 1, "七年级"),
              "学校：一中\r\n年级：七年级\r\n班级：（2）班\r\n姓名：李四\r\n语文：98\r\n总分：98\r\n");
    EXPECT_EQ(
        studentRowText(table, 0, "八年级"),
        "学校：一中\r\n年级：八年级\r\n班级：（1）班\r\n姓名：张三\r\n语文：120\r\n数学：110\r\n英语：100\r\n"
        "物理：90\r\n化学：80\r\n生物：70\r\n历史：60\r\n地理：50\r\n政治：40\r\n体育：45\r\n实验：12\r\n"
        "总分：777\r\n");
    RowTable emptyTotal(kStudentTableColumns);
    emptyTotal.appendRow({"一中", "3", "赵六", "", "", "", "", "", "", "", "", "", "", "", ""});
    EXPECT_EQ(studentRowText(emptyTotal, 0, "七年级"),
              "学校：一中\r\n年级：七年级\r\n班级：（3）班\r\n姓名：赵六\r\n总分：\r\n");
}

TEST_F(WindowTest, DoubleClickCopiesTheTopmostSelectedRow) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    QTableView* view = window->controls().students;
    dialogs.messages.clear();

    // Nothing selected: nothing happens.
    view->clearSelection();
    window->copyStudentRow();
    EXPECT_TRUE(dialogs.clipboard.empty());

    // A click, then the double-click event itself (QTest's synthetic timing does not always
    // produce one on the offscreen platform).
    QPoint at = view->visualRect(view->model()->index(1, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, view->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &doubleClick);
    ASSERT_EQ(dialogs.clipboard.size(), 1u);
    EXPECT_EQ(dialogs.clipboard[0],
              "学校：一中\r\n年级：七年级\r\n班级：（2）班\r\n姓名：李四\r\n语文：98\r\n总分：98\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "学生:李四\n的成绩已复制到了剪贴板，按 Ctrl+V 粘贴。");
    EXPECT_EQ(dialogs.messages[0].caption, "信息");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);

    // Several rows selected: the topmost one.
    view->selectionModel()->select(view->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->copyStudentRow();
    EXPECT_NE(dialogs.clipboard.back().find("姓名：张三"), std::string::npos);

    dialogs.clipboardWorks = false;
    window->copyStudentRow();
    EXPECT_EQ(dialogs.messages.back().text, "无法打开剪贴板！");
    EXPECT_EQ(dialogs.messages.back().caption, "信息");
}

TEST_F(WindowTest, HeadingClickSortsWithToggleAndShowsTheDirection) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    QTableView* view = window->controls().students;
    QHeaderView* header = view->horizontalHeader();
    auto click = [&](int column) {
        QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    auto names = [&] {
        std::vector<std::string> out;
        for (int r = 0; r < state.students.rowCount(); ++r) out.emplace_back(state.students.cellText(r, 2));
        return out;
    };
    auto selectedRows = [&] {
        std::vector<int> rows;
        for (const QModelIndex& index : view->selectionModel()->selectedRows()) rows.push_back(index.row());
        return rows;
    };
    view->selectRow(0);  // 张三
    click(kTotalColumn);
    EXPECT_EQ(names(), (std::vector<std::string>{"李四", "王五", "张三"}));
    EXPECT_EQ(selectedRows(), std::vector<int>{2});  // the selection moves with the row
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), kTotalColumn);
    Qt::SortOrder ascendingShown = header->sortIndicatorOrder();
    click(kTotalColumn);
    EXPECT_EQ(names(), (std::vector<std::string>{"张三", "王五", "李四"}));
    EXPECT_NE(header->sortIndicatorOrder(), ascendingShown);
    EXPECT_EQ(view->model()->data(view->model()->index(0, 2)).toString(), q("张三"));

    // StudentTable rows alternate light grey and white; the TeacherTable keeps the defaults.
    auto background = [](QAbstractItemModel* model, int row) {
        return model->data(model->index(row, 0), Qt::BackgroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(background(view->model(), 0), QColor(240, 240, 240));
    EXPECT_EQ(background(view->model(), 1), QColor(255, 255, 255));
    EXPECT_EQ(background(view->model(), 2), QColor(240, 240, 240));
    EXPECT_FALSE(window->controls()
                     .teachers->model()
                     ->data(window->controls().teachers->model()->index(0, 0), Qt::BackgroundRole)
                     .isValid());
}

// The selected rows are selected again after a command, wherever it moved them; rows a command
// puts in place of the old ones (a new import) start unselected.
TEST_F(WindowTest, TheSelectionFollowsItsRowsThroughCommands) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    QTableView* view = window->controls().students;
    auto selectedNames = [&] {
        std::vector<std::string> out;
        for (const QModelIndex& index : view->selectionModel()->selectedRows())
            out.emplace_back(state.students.cellText(index.row(), 2));
        return out;
    };
    view->selectRow(0);
    const std::vector<std::string> first = selectedNames();
    ASSERT_EQ(first.size(), 1u);
    exportReversesTable = true;
    window->runCommand(ctl::ExportResults);
    EXPECT_EQ(selectedNames(), first);
    EXPECT_EQ(view->selectionModel()->selectedRows().front().row(), state.students.rowCount() - 1);

    window->runCommand(ctl::ImportStudents);
    EXPECT_TRUE(selectedNames().empty());
}

TEST_F(WindowTest, OnlyTheFirstDroppedFileIsOpenedWithLinksResolved) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/one.xls")),
                  QUrl::fromLocalFile(QStringLiteral("/data/two.xls")),
                  QUrl::fromLocalFile(QStringLiteral("/data/three.xls"))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(opened, std::vector<std::string>{"/data/one.xls"});

    std::string target = dir.file("成绩.xlsx");
    std::string link = dir.file("link.xlsx");
    varnex::testing::writeFile(target, "x");
    std::filesystem::create_symlink(target, link);
    window->openDroppedFiles({QString::fromStdString(link), QStringLiteral("/data/two.xls")});
    EXPECT_EQ(opened.back(), target);
}

TEST_F(WindowTest, DraggingTheBackgroundMovesTheWindow) {
    QWidget* background = window->centralWidget();
    // On the frame 数据导入, just inside its bottom edge, away from its controls.
    const QWidget* dataImport = window->control(frame::DataImport);
    QPoint grip = dataImport->geometry().bottomRight() - QPoint(8, 2);
    EXPECT_EQ(background->childAt(grip), dataImport);  // the frame lets the press through
    QPoint before = window->pos();
    QTest::mousePress(background, Qt::LeftButton, {}, grip);
    QTest::mouseMove(background, grip + QPoint(30, 20));
    QTest::mouseRelease(background, Qt::LeftButton, {}, grip + QPoint(30, 20));
    EXPECT_EQ(window->pos(), before + QPoint(30, 20));
}

// Enter presses the push button that has the focus; in an edit, a combo box, a check box or a table
// it does nothing, and Escape nowhere closes the window.
TEST_F(WindowTest, EnterPressesTheFocusedButtonAndClosesNothing) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    QWidget* importTeachers = window->control(ctl::ImportTeachers);
    importTeachers->setFocus();
    QTest::keyClick(importTeachers, Qt::Key_Return);
    EXPECT_EQ(teacherImports, 1);
    EXPECT_TRUE(importTeachers->hasFocus());
    auto* charts = qobject_cast<QCheckBox*>(window->control(ctl::Charts));
    const bool chartsChecked = charts->isChecked();
    QTest::keyClick(charts, Qt::Key_Return);
    QTest::keyClick(window->controls().students, Qt::Key_Enter);
    EXPECT_EQ(charts->isChecked(), chartsChecked);
    EXPECT_EQ(teacherImports, 1);

    QComboBox* exam = combo(ctl::ExamNameBox);
    int entries = exam->count();
    exam->setEditText(q("新的考试"));
    QTest::keyClick(exam->lineEdit(), Qt::Key_Return);
    QTest::keyClick(fullMark(0), Qt::Key_Enter);
    QTest::keyClick(fullMark(0), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(exam->count(), entries);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(teacherImports, 1);
}

// The name of a control for a test's message: its id's name, else its class.
std::string nameOf(const MainWindow& window, const QWidget* widget) {
    for (int id = 1000; id < 1400; ++id) {
        if (window.control(id) == widget) {
            const char* name = ctl::controlName(static_cast<ControlId>(id));
            return name != nullptr ? name : std::to_string(id);
        }
    }
    return widget != nullptr ? widget->metaObject()->className() : "nothing";
}

// Tab goes through every control in reading order, the tables included, and back to the start;
// each control it reaches shows the focus frame around it. Of a group of radio buttons Tab reaches
// the chosen one, and the arrow keys choose another.
TEST_F(WindowTest, TabReachesEveryControlInReadingOrderWithAFocusFrame) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);  // every button enabled
    std::vector<int> expected = {ctl::OpenFile,      ctl::WorksheetList,  ctl::ImportTeachers,
                                 ctl::GradeList,     ctl::ImportStudents, ctl::QuestionSheets,
                                 ctl::ClassListBox,  ctl::MissingRule0,   ctl::MissingRule1,
                                 ctl::MissingLimit,  ctl::MissingRule2,   ctl::ConvertedScores,
                                 ctl::ComputeScaled, ctl::ByTrack};
    for (const SubjectEdits& edits : kSubjectEdits) expected.push_back(edits.fullMark);
    expected.push_back(ctl::TotalFullMark);
    for (const SubjectEdits& edits : kSubjectEdits) expected.push_back(edits.excellence);
    expected.push_back(ctl::TotalExcellence);
    for (const SubjectLineEdits& edits : kSubjectLineEdits) expected.push_back(edits.good);
    for (const SubjectLineEdits& edits : kSubjectLineEdits) expected.push_back(edits.low);
    for (int id : {ctl::LevelByScore,
                   ctl::LevelByShare,
                   ctl::LevelLines,
                   ctl::LevelNames,
                   ctl::FourRates,
                   ctl::MoreFigures,
                   ctl::SaveSettings,
                   ctl::DefaultExcellence,
                   ctl::ScoreLineTable,
                   ctl::StudentTable,
                   ctl::TeacherTable,
                   ctl::ExamNameBox,
                   ctl::RankingTiesSkip,
                   ctl::RankingTiesDense,
                   ctl::SplitFilesList,
                   ctl::NoRanks,
                   ctl::GradeRates,
                   ctl::TotalBands,
                   ctl::TopNEnabled,
                   ctl::TopNCount,
                   ctl::IgnoreZeroScores,
                   ctl::ScoreLines,
                   ctl::ClassRates,
                   ctl::TotalRankBands,
                   ctl::ClassRanking,
                   ctl::ClassRankingPerClass,
                   ctl::ClassRankingOneSheet,
                   ctl::NearScoreLines,
                   ctl::TeacherRates,
                   ctl::SubjectBands,
                   ctl::Charts,
                   ctl::BlankScoresExcluded,
                   ctl::QuestionAnalysis,
                   ctl::PreviousFile,
                   ctl::PreviousSheetList,
                   ctl::Progress,
                   ctl::NearLine,
                   ctl::LevelDistribution,
                   ctl::StandardScores,
                   ctl::ExportResults,
                   ctl::StatusLogBox,
                   ctl::OpenFile})
        expected.push_back(id);

    // A group of radio buttons is one stop.
    auto stop = [&](const QWidget* widget) {
        const WindowControls& c = window->controls();
        for (const QButtonGroup* group : {c.missingRule, c.rankingLayout, c.rankingTies, c.levelMethod})
            for (const QAbstractButton* radio : group->buttons())
                if (radio == widget) return "radios:" + nameOf(*window, group->buttons().front());
        return nameOf(*window, widget);
    };
    auto stops = [](const std::vector<std::string>& names) {
        std::string all;
        for (const std::string& name : names) all += name + " ";
        return all;
    };

    window->control(ctl::OpenFile)->setFocus();
    QApplication::processEvents();
    const FocusRing* ring = window->keyboardFocus()->ring();
    std::vector<std::string> wanted;  // each stop once, where it first comes; OpenFile again at the end
    for (int id : expected) {
        const std::string name = stop(window->control(id));
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() || id == expected.back())
            wanted.push_back(name);
    }
    std::vector<std::string> reached;
    for (size_t i = 0; i < wanted.size(); ++i) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) break;
        if (qobject_cast<QComboBox*>(focused->parentWidget()) != nullptr)
            focused = focused->parentWidget();  // the edit field of the exam-name box
        reached.push_back(stop(focused));
        QApplication::processEvents();
        EXPECT_TRUE(ring->isVisible()) << reached.back();
        EXPECT_EQ(ring->parentWidget(), focused->parentWidget()) << reached.back();
        EXPECT_TRUE(ring->geometry().contains(focused->geometry())) << reached.back();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(stops(reached), stops(wanted));
    QWidget* firstRule = window->control(ctl::MissingRule0);
    firstRule->setFocus();
    QTest::keyClick(firstRule, Qt::Key_Down);
    EXPECT_TRUE(window->control(ctl::MissingRule1)->hasFocus());
    EXPECT_EQ(window->controls().missingRule->checkedId(), 1);

    // The frame is drawn: its colour shows on the window beside the focused button.
    QWidget* button = window->control(ctl::SaveSettings);
    button->setFocus();
    QApplication::processEvents();
    const QImage drawn = button->parentWidget()->grab(ring->geometry()).toImage();
    EXPECT_EQ(drawn.pixelColor(1, drawn.height() / 2).rgb(), FocusRing::colour().rgb());
}

TEST_F(WindowTest, ExitAsksAndNoKeepsTheWindow) {
    dialogs.expectQuestion("确定要退出Varnex吗？", false);
    window->runCommand(ctl::CmdExit);
    dialogs.expectQuestion("确定要退出Varnex吗？", false);
    window->close();
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[1].caption, "确认");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->exitConfirmed());

    // Yes stops the music and ends the window.
    window->runCommand(ctl::CmdMusic);
    dialogs.expectQuestion("确定要退出Varnex吗？", true);
    window->close();
    EXPECT_TRUE(window->exitConfirmed());
    EXPECT_FALSE(window->musicPlaying());
    EXPECT_FALSE(window->isVisible());
}

// What a box on the screen showed, and the box closed with the button asked for.
struct SeenBox {
    QString title;
    QString text;
    QRect frame;
    bool plainMessageBox = false;
    QString copied;
};

// Closes the next box that appears with `answer`, after pressing its copy button when it has one.
SeenBox closeNextBox(const std::function<void()>& show, QMessageBox::StandardButton answer) {
    SeenBox seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                seen = {box->windowTitle(), box->text(), box->frameGeometry(), true, {}};
                box->button(answer)->click();
            } else if (auto* scrolling = qobject_cast<ScrollingMessageBox*>(w)) {
                seen = {scrolling->windowTitle(),
                        scrolling->textView()->toPlainText(),
                        scrolling->frameGeometry(),
                        false,
                        {}};
                scrolling->copyButton()->click();
                seen.copied = QGuiApplication::clipboard()->text();
                scrolling->button(answer)->click();
            }
        }
    });
    poll.start(10);
    show();
    poll.stop();
    return seen;
}

// No box reaches beyond the screen: a text too tall for a message box scrolls in a box that fits,
// with a button that copies the whole text; a short text keeps the plain message box.
TEST_F(WindowTest, TallMessagesScrollInABoxThatFitsTheScreen) {
    window->setDialogStandIn(nullptr);
    const QRect screen = window->screen()->availableGeometry();
    std::string tall;
    for (int i = 1; i <= 120; ++i) tall += strprintf("第一中学（%d）班总分排名\n", i);

    SeenBox info = closeNextBox(
        [&] { window->frontend().showMessage(tall, "信息", MessageIcon::Information); }, QMessageBox::Ok);
    EXPECT_EQ(info.title, q("信息"));
    EXPECT_EQ(info.text, QString::fromStdString(tall));
    EXPECT_LE(info.frame.height(), screen.height());
    EXPECT_TRUE(screen.contains(info.frame)) << info.frame.height();
    EXPECT_FALSE(info.plainMessageBox);
    EXPECT_EQ(info.copied, QString::fromStdString(tall));

    bool answer = false;
    SeenBox question = closeNextBox(
        [&] { answer = window->frontend().askYesNo(tall + "确认无误吗？", "确认"); }, QMessageBox::Yes);
    EXPECT_TRUE(answer);
    EXPECT_LE(question.frame.height(), screen.height());
    closeNextBox([&] { answer = window->frontend().askYesNo(tall, "确认"); }, QMessageBox::No);
    EXPECT_FALSE(answer);

    SeenBox shortBox =
        closeNextBox([&] { window->frontend().showMessage("已完成。", "信息", MessageIcon::Information); },
                     QMessageBox::Ok);
    EXPECT_TRUE(shortBox.plainMessageBox);
}

TEST_F(WindowTest, CloseBoxShowsARealYesNoQuestion) {
    window->setDialogStandIn(nullptr);
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            EXPECT_EQ(box->button(QMessageBox::No)->text(), q("否(&N)"));
            box->button(QMessageBox::No)->click();
        }
    });
    poll.start(10);
    window->close();
    poll.stop();
    EXPECT_EQ(seenText, q("确定要退出Varnex吗？"));
    EXPECT_EQ(seenTitle, q("确认"));
    EXPECT_EQ(seenIcon, QMessageBox::Information);
    EXPECT_TRUE(window->isVisible());
}

// The question for a school's name is a real input dialog offering the name given last, with
// Chinese buttons; cancelling gives nothing.
TEST_F(WindowTest, SchoolNameIsAskedInAnInputDialog) {
    window->setDialogStandIn(nullptr);
    QString seenLabel, seenTitle, seenOffer, seenOk, seenCancel;
    bool cancel = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            seenLabel = dialog->labelText();
            seenTitle = dialog->windowTitle();
            seenOffer = dialog->textValue();
            seenOk = dialog->okButtonText();
            seenCancel = dialog->cancelButtonText();
            if (cancel) {
                dialog->reject();
            } else {
                dialog->setTextValue(q("育才中学"));
                dialog->accept();
            }
        }
    });
    poll.start(10);
    std::optional<std::string> answer = window->frontend().askText("请输入学校名称：", "学校名称", "一中");
    EXPECT_EQ(answer, std::optional<std::string>("育才中学"));
    EXPECT_EQ(seenLabel, q("请输入学校名称："));
    EXPECT_EQ(seenTitle, q("学校名称"));
    EXPECT_EQ(seenOffer, q("一中"));
    EXPECT_EQ(seenOk, q("确定"));
    EXPECT_EQ(seenCancel, q("取消"));
    cancel = true;
    EXPECT_EQ(window->frontend().askText("请输入学校名称：", "学校名称", ""), std::nullopt);
    poll.stop();
}

// The rows of the 班级各科三率 sheet of a result workbook, by sheet row; none when it cannot be read.
std::map<uint32_t, std::vector<std::string>> classRatesRows(const std::string& path) {
    std::map<uint32_t, std::vector<std::string>> rows;
    auto reader = openWorkbookReader(path);
    EXPECT_TRUE(reader) << reader.error();
    if (!reader) return rows;
    const auto& names = (*reader)->sheetNames();
    const size_t classRates = std::find(names.begin(), names.end(), "班级各科三率") - names.begin();
    EXPECT_LT(classRates, names.size());
    if (classRates >= names.size()) return rows;
    auto stream = (*reader)->openSheet(classRates);
    EXPECT_TRUE(stream) << stream.error();
    if (!stream) return rows;
    SheetRow row;
    for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row))
        rows[row.number] = row.cells;
    return rows;
}

// The real commands on sheets as a marking platform and a school keep them: both sheets lack a
// 学校 column; the school given for the first is kept in the settings file and offered for the
// second; the score sheet has no 历史, which is not examined while its full mark stays in the
// window and the settings; the export writes the analysis of what went in.
TEST(WindowWithRealCommands, PlatformSheetsGoInAndOutAsTheyAre) {
    TempDir dir;
    const std::string workbook = dir.file("期末成绩.xlsx");
    std::filesystem::copy_file(varnex::testing::fixture("platform_sheets.xlsx"), workbook);
    AppState state;
    ScriptedFrontend dialogs;
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    window.initialise();
    window.openDroppedFiles({QString::fromStdString(workbook)});
    auto* grades = qobject_cast<QComboBox*>(window.control(ctl::GradeList));
    auto* sheets = qobject_cast<QComboBox*>(window.control(ctl::WorksheetList));
    grades->setCurrentIndex(10);  // 高二
    auto* history = qobject_cast<QLineEdit*>(window.control(kSubjectEdits[6].fullMark));
    EXPECT_EQ(history->text(), q("100"));

    sheets->setCurrentIndex(sheets->findText(q("任课教师")));
    dialogs.expectQuestion("数据来源：任课教师", true);
    dialogs.expectTextQuestion("工作表“任课教师”没有“学校”列", "育才中学");
    window.runCommand(ctl::ImportTeachers);
    EXPECT_EQ(loadSchoolName(state.settingsPath), "育才中学");
    EXPECT_EQ(state.teachers.rowCount(), 16);

    sheets->setCurrentIndex(sheets->findText(q("高二物理类")));
    dialogs.expectTextQuestion("工作表“高二物理类”没有“学校”列", "育才中学");
    dialogs.expectQuestion("表中没有：历史，本次不统计", true);
    window.runCommand(ctl::ImportStudents);
    EXPECT_EQ(dialogs.textOffers, (std::vector<std::string>{"", "育才中学"}));
    ASSERT_EQ(window.studentModel()->rowCount(), 6);
    EXPECT_EQ(window.studentModel()->data(window.studentModel()->index(2, 1)).toString(), q("9"));

    dialogs.expectQuestion("考试名称：", true);
    window.runCommand(ctl::ExportResults);
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    std::vector<std::string> classFour = classRatesRows(dialogs.openedDocuments[0])[4];
    ASSERT_GE(classFour.size(), 13u);
    EXPECT_EQ(classFour[1], "育才中学");
    EXPECT_EQ(classFour[2], "（9）班");
    EXPECT_EQ(classFour[5], "许文静");
    EXPECT_EQ(classFour[12], "108.3");
    EXPECT_EQ(history->text(), q("100"));
    ScoreSettings stored;
    ExportOptions options;
    ASSERT_TRUE(loadGrade(state.settingsPath, "高二", stored, options));
    EXPECT_EQ(stored.fullMark[6], 100);
}

// A school's list of one row per teacher and class, without 年级 column and with several classes
// in one cell, goes in through the window before the grade is chosen; its rows then go with the
// grade of the scores, and the class rates name the teachers of both classes.
TEST(WindowWithRealCommands, TeacherListWithoutGradeGoesWithTheScoresGrade) {
    TempDir dir;
    const std::string workbook = dir.file("任课名单.xlsx");
    varnex::testing::writeInputWorkbook(workbook, {{"任课",
                                                    {{"学校", "班级", "学科", "教师"},
                                                     {"一中", "1、2班", "语文", "张三"},
                                                     {"一中", "1-2", "数学", "李四"}}},
                                                   {"成绩",
                                                    {{"学校", "班级", "姓名", "语文", "数学"},
                                                     {"一中", "1", "甲", "90", "80"},
                                                     {"一中", "2", "乙", "70", "60"}}}});
    AppState state;
    ScriptedFrontend dialogs;
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    window.initialise();
    window.openDroppedFiles({QString::fromStdString(workbook)});
    auto* sheets = qobject_cast<QComboBox*>(window.control(ctl::WorksheetList));

    sheets->setCurrentIndex(sheets->findText(q("任课")));
    dialogs.expectQuestion("数据来源：任课", true);
    window.runCommand(ctl::ImportTeachers);
    EXPECT_EQ(state.teachers.rowCount(), 4);
    EXPECT_TRUE(window.controls().log->toPlainText().contains(q("工作表“任课”没有“年级”列")));

    qobject_cast<QComboBox*>(window.control(ctl::GradeList))->setCurrentIndex(7);  // 八年级
    sheets->setCurrentIndex(sheets->findText(q("成绩")));
    dialogs.expectQuestion("导入年级：八年级", true);
    window.runCommand(ctl::ImportStudents);
    dialogs.expectQuestion("考试名称：", true);
    window.runCommand(ctl::ExportResults);
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    std::map<uint32_t, std::string> teacherOfRow;
    for (const auto& [number, cells] : classRatesRows(dialogs.openedDocuments[0])) {
        if (number >= 4 && number <= 7 && cells.size() > 5) teacherOfRow[number] = cells[5];
    }
    EXPECT_EQ(teacherOfRow,
              (std::map<uint32_t, std::string>{{4, "张三"}, {5, "张三"}, {6, "李四"}, {7, "李四"}}));
}

// The data that belongs together stays together through the real commands: the teacher table of
// one file names its source in its frame and does not stop the export of another file's scores
// (the confirmation lists the classes without a teacher); the exam name follows the opened file,
// then the score sheet's title, and a refused file leaves it; a second export needs no new import;
// 清除任课教师 empties the table and its frame's title.
TEST(WindowWithRealCommands, TeachersExamNameAndScoresFollowTheirFiles) {
    TempDir dir;
    const std::string teacherFile = dir.file("上学期任课.xlsx");
    varnex::testing::writeInputWorkbook(
        teacherFile, {{"任课", {{"学校", "年级", "班级", "语文"}, {"一中", "八年级", "1", "张三"}}}});
    const std::string scoreFile = dir.file("期末成绩.xlsx");
    varnex::testing::writeInputWorkbook(scoreFile, {{"成绩",
                                                     {{"2025学年八年级期末考试"},
                                                      {"学校", "班级", "姓名", "语文", "数学"},
                                                      {"一中", "1", "甲", "90", "80"},
                                                      {"一中", "2", "乙", "70", "60"}}}});
    const std::string emptyFile = dir.file("空.xlsx");
    varnex::testing::writeFile(emptyFile, "");
    AppState state;
    ScriptedFrontend dialogs;
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    window.initialise();
    auto* teacherFrame = qobject_cast<QGroupBox*>(window.control(frame::Teachers));
    auto* exam = qobject_cast<QComboBox*>(window.control(ctl::ExamNameBox));
    ASSERT_NE(teacherFrame, nullptr);
    EXPECT_EQ(teacherFrame->title(), q("教师任课表"));

    window.openDroppedFiles({QString::fromStdString(teacherFile)});
    EXPECT_EQ(exam->currentText(), q("上学期任课"));
    dialogs.expectQuestion("数据来源：任课", true);
    window.runCommand(ctl::ImportTeachers);
    EXPECT_EQ(teacherFrame->title(), q("教师任课表（上学期任课.xlsx · 任课）"));

    window.openDroppedFiles({QString::fromStdString(scoreFile)});
    EXPECT_EQ(exam->currentText(), q("期末成绩"));
    qobject_cast<QComboBox*>(window.control(ctl::GradeList))->setCurrentIndex(7);  // 八年级
    dialogs.expectQuestion("导入年级：八年级", true);
    window.runCommand(ctl::ImportStudents);
    EXPECT_EQ(exam->currentText(), q("2025学年八年级期末考试"));
    window.openDroppedFiles({QString::fromStdString(emptyFile)});
    EXPECT_EQ(dialogs.messages.back().text, "文件“空.xlsx”是空文件（0 字节），其中没有任何工作表");
    EXPECT_EQ(exam->currentText(), q("2025学年八年级期末考试"));

    dialogs.expectQuestion(
        "教师任课表中没有以下班级学科的任课教师（任课教师一栏留空）：\n"
        "一中（1）班：数学\n一中（2）班：全部学科\n",
        true);
    window.runCommand(ctl::ExportResults);
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    EXPECT_EQ(classRatesRows(dialogs.openedDocuments[0])[4].at(5), "张三");
    EXPECT_TRUE(window.controls().log->toPlainText().contains(q("可以更改选项后再次导出")));

    // Another export at once, with another option, of the same scores.
    qobject_cast<QCheckBox*>(window.control(ctl::GradeRates))->setChecked(true);
    dialogs.expectQuestion("考试名称：2025学年八年级期末考试", true);
    window.runCommand(ctl::ExportResults);
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    ASSERT_EQ(dialogs.openedDocuments.size(), 2u);
    EXPECT_NE(dialogs.openedDocuments[1], dialogs.openedDocuments[0]);
    EXPECT_EQ(window.studentModel()->rowCount(), 2);

    Q_EMIT window.fileMenu()->aboutToShow();
    EXPECT_TRUE(window.menuAction(ctl::CmdClearTeachers)->isEnabled());
    window.menuAction(ctl::CmdClearTeachers)->trigger();
    EXPECT_EQ(state.teachers.rowCount(), 0);
    EXPECT_EQ(teacherFrame->title(), q("教师任课表"));
    EXPECT_TRUE(
        window.controls().log->toPlainText().contains(q("已清除任课教师（上学期任课.xlsx · 任课）。")));
}

// Types `path` into the next open-file dialog and presses Enter there; again where the dialog is
// still open (a completion list took the key), and Escape after ten tries, so that a dialog that
// will not take the path fails the test instead of waiting for ever.
void typeIntoNextFileDialog(QTimer& poll, const QString& path) {
    auto tries = std::make_shared<int>(0);
    QObject::connect(&poll, &QTimer::timeout, [&poll, path, tries] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) continue;
            if (++*tries > 10) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                continue;
            }
            if (name->text() != path) {
                QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(name, path);
            }
            // The completion list that typing opened closes first, as a person's next key would.
            if (QCompleter* completer = name->completer(); completer != nullptr) completer->popup()->hide();
            QTest::keyClick(name, Qt::Key_Return);
            return;
        }
        if (*tries > 0) poll.stop();
    });
    poll.start(50);
}

// The whole work with the keyboard alone: 1.打开文件 in the file dialog, the sheet, the import of
// the scores, the export; after the dialog the focus is back on the button that opened it.
TEST(WindowWithRealCommands, TheWholeWorkWithTheKeyboardAlone) {
    TempDir dir;
    const std::string workbook = dir.file("midterm.xlsx");  // typed: QTest types ASCII only
    varnex::testing::writeInputWorkbook(workbook, {{"说明", {{"说明"}, {"成绩在第二张表"}}},
                                                   {"成绩",
                                                    {{"学校", "班级", "姓名", "语文", "数学", "英语"},
                                                     {"一中", "1", "甲", "90", "80", "70"},
                                                     {"一中", "2", "乙", "70", "60", "50"}}}});
    AppState state;
    ScriptedFrontend dialogs;  // answers the questions; the file dialog is the real one
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    window.initialise();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.control(ctl::OpenFile)->setFocus();

    QTimer poll;
    typeIntoNextFileDialog(poll, QString::fromStdString(workbook));
    press(window, Qt::Key_Return);
    ASSERT_EQ(state.workbook.path, workbook);
    EXPECT_EQ(focused(window), window.control(ctl::OpenFile));
    window.activateWindow();  // the desktop's part: the window is active again once the dialog is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    press(window, Qt::Key_Tab);  // 2.选择工作表
    EXPECT_EQ(focused(window), window.control(ctl::WorksheetList));
    press(window, Qt::Key_Down);
    EXPECT_EQ(state.workbook.selectedSheetName(), "成绩");
    for (int i = 0; i < 3; ++i) press(window, Qt::Key_Tab);  // 3.导入任课教师, 4.选择年级, 5.导入学生成绩
    EXPECT_EQ(focused(window), window.control(ctl::ImportStudents));
    dialogs.expectQuestion("成绩", true);
    press(window, Qt::Key_Return);
    EXPECT_EQ(state.imported.studentCount, 2);
    EXPECT_EQ(focused(window), window.control(ctl::ImportStudents));

    dialogs.expectQuestion("考试名称：", true);
    press(window, Qt::Key_6, Qt::AltModifier);  // 6.导出分析结果 by its mnemonic, pressed a moment later
    for (int wait = 0; wait < 250 && dialogs.openedDocuments.empty(); ++wait) QTest::qWait(20);
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dialogs.openedDocuments[0]));
}

// A box or dialog closed with the keyboard gives the focus back to the button that led to it,
// also when the box came from the work of the command (which disables the controls meanwhile).
TEST_F(WindowTest, TheFocusComesBackAfterADialog) {
    window->setDialogStandIn(nullptr);
    teacherMessage = true;
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    QTimer poll;  // closes each box with Enter and each other dialog with Escape
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            QTest::keyClick(dialog,
                            qobject_cast<QMessageBox*>(w) != nullptr ? Qt::Key_Return : Qt::Key_Escape);
        }
    });
    poll.start(20);
    QWidget* importTeachers = window->control(ctl::ImportTeachers);
    importTeachers->setFocus();
    QTest::keyClick(importTeachers, Qt::Key_Return);
    EXPECT_EQ(teacherImports, 1);
    EXPECT_EQ(focused(*window), importTeachers);
    press(*window, Qt::Key_Tab);
    EXPECT_EQ(focused(*window), window->control(ctl::GradeList));

    QWidget* openFile = window->control(ctl::OpenFile);
    openFile->setFocus();
    QTest::keyClick(openFile, Qt::Key_Return);  // the file dialog, left with Escape
    EXPECT_EQ(focused(*window), openFile);
    window->runCommand(ctl::CmdAbout);
    EXPECT_EQ(focused(*window), openFile);
    poll.stop();
}

// Long work runs beside the window: it goes on painting and answering; after half a second the
// status bar shows the step with a progress bar; the tables are empty and the controls that change
// data disabled meanwhile, and closing is refused. Quick work shows no bar.
TEST(WindowWithRealCommands, LongWorkShowsItsProgressWithTheControlsDisabled) {
    // The questions and log lines of the command's thread reach the dialogs on the window's thread.
    struct ThreadCheckingDialogs : ScriptedFrontend {
        bool askYesNo(const std::string& text, const std::string& caption) override {
            elsewhere += QThread::currentThread() != qApp->thread() ? 1 : 0;
            return ScriptedFrontend::askYesNo(text, caption);
        }
        void logAppended(const std::string& line) override {
            elsewhere += QThread::currentThread() != qApp->thread() ? 1 : 0;
            ScriptedFrontend::logAppended(line);
        }
        void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
            barUnderMessages += window != nullptr && window->progressBar()->isVisible() ? 1 : 0;
            ScriptedFrontend::showMessage(text, caption, icon);
        }
        int elsewhere = 0;
        int barUnderMessages = 0;  ///< messages shown while the progress bar was still there
        MainWindow* window = nullptr;
    };
    TempDir dir;
    const std::string workbook = dir.file("大考.xlsx");
    {
        ExcelSession session;
        SampleOptions options;
        options.schools = 24;
        options.classesPerSchool = 10;
        options.studentsPerClass = 80;  // 19,200 students: an export of about a second
        buildSampleExam(session, options);
        ASSERT_TRUE(saveWorkbook(session.workbook(), {.exactPath = workbook, .overwrite = true}));
    }
    AppState state;
    ThreadCheckingDialogs dialogs;
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    dialogs.window = &window;
    window.setProgressDelay(
        100);  // the export takes about a second here; a faster machine still shows the bar
    window.initialise();
    window.show();

    struct Seen {
        bool bar;
        QString step;
        bool exportButton;
        bool menus;
        int rows;
    };
    std::vector<Seen> seen;
    bool closeTried = false;
    QTimer watcher;  // what the window shows while it works, every 20 ms
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        seen.push_back({window.progressBar()->isVisible(), window.progressText()->text(),
                        window.control(ctl::ExportResults)->isEnabled(), window.menuBar()->isEnabled(),
                        window.studentModel()->rowCount()});
        if (seen.back().bar && !closeTried) {
            closeTried = true;
            window.close();
        }
    });
    watcher.start();
    window.openDroppedFiles({QString::fromStdString(workbook)});
    auto* sheets = qobject_cast<QComboBox*>(window.control(ctl::WorksheetList));
    sheets->setCurrentIndex(sheets->findText(q("七年级")));
    dialogs.expectQuestion("数据来源：七年级", true);
    window.runCommand(ctl::ImportStudents);
    ASSERT_EQ(window.studentModel()->rowCount(), 19200);
    for (const Seen& s : seen) EXPECT_FALSE(s.bar && s.step.isEmpty());
    seen.clear();

    dialogs.expectQuestion("考试名称：", true);
    window.runCommand(ctl::ExportResults);
    watcher.stop();
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    EXPECT_EQ(dialogs.elsewhere, 0);
    EXPECT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.barUnderMessages, 0);  // the bar is full and gone before the completion
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    ASSERT_FALSE(seen.empty());
    auto shown = std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return s.bar; });
    ASSERT_NE(shown, seen.end()) << "no progress bar in " << seen.size() << " looks";
    // On a busy machine the bar can show before the first sheet is reported ("正在处理…"); the
    // steps of the export follow while it works.
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const Seen& s) {
        return s.bar && s.step.startsWith(q("导出："));
    })) << shown->step.toStdString();
    for (const Seen& s : seen) EXPECT_FALSE(s.bar && s.step.isEmpty());
    for (const Seen& s : seen) {
        EXPECT_FALSE(s.exportButton);
        EXPECT_FALSE(s.menus);
        EXPECT_EQ(s.rows, 0);
    }
    EXPECT_TRUE(closeTried);
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(dialogs.calls.end(),
              std::find_if(dialogs.calls.begin(), dialogs.calls.end(), [](const std::string& c) {
                  return c.find("请等它完成后再退出") != std::string::npos;
              }));
    // Afterwards: no bar, the menus back, the button as the export leaves it (a new import needed).
    EXPECT_FALSE(window.progressBar()->isVisible());
    EXPECT_TRUE(window.menuBar()->isEnabled());
    EXPECT_TRUE(window.control(ctl::ImportStudents)->isEnabled());
    EXPECT_TRUE(window.control(ctl::OpenFile)->isEnabled());
}

// The window's rectangle of a widget.
QRect inWindow(const QWidget* widget, const QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// Whether `widget` lies inside `frames`' scrolled content.
bool inScrollingFrame(const QWidget* widget, const WindowControls& controls) {
    for (const QScrollArea* frame : controls.scrollingFrames)
        if (frame->widget()->isAncestorOf(widget)) return true;
    return false;
}

// Every visible control of the window, each inside the window and inside every widget around it
// (not cut off); those in the option frames inside their frame's content (reached by scrolling),
// and with `scrolls` false, nothing scrolls at all. The frames and the log do not overlap.
void expectReachable(MainWindow& window, bool scrolls, const std::string& what) {
    SCOPED_TRACE(what);
    QApplication::processEvents();
    const WindowControls& controls = window.controls();
    int checked = 0;
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        const bool control = widget->focusPolicy() != Qt::NoFocus || qobject_cast<QLabel*>(widget) != nullptr;
        if (!control || !widget->isVisibleTo(&window) || widget->inherits("QComboBoxPrivateContainer"))
            continue;
        if (qobject_cast<QLineEdit*>(widget) != nullptr && qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        if (widget->window() != &window) continue;
        ++checked;
        const QRect rect = inWindow(widget, &window);
        const std::string name =
            (widget->metaObject()->className() + std::string(" ") +
             (qobject_cast<QLabel*>(widget) ? qobject_cast<QLabel*>(widget)->text().toStdString()
              : qobject_cast<QAbstractButton*>(widget)
                  ? qobject_cast<QAbstractButton*>(widget)->text().toStdString()
                  : std::string()));
        EXPECT_TRUE(window.rect().contains(rect)) << name;
        const bool scrolled = inScrollingFrame(widget, controls);
        for (QWidget* around = widget->parentWidget(); around != nullptr && around != &window;
             around = around->parentWidget()) {
            if (scrolled && qobject_cast<QScrollArea*>(around->parentWidget()) != nullptr)
                break;  // a viewport
            EXPECT_TRUE(inWindow(around, &window).contains(rect))
                << name << " cut off by " << around->metaObject()->className();
        }
    }
    EXPECT_GT(checked, 80);
    for (const QScrollArea* frame : controls.scrollingFrames) {
        const int range = frame->verticalScrollBar()->maximum();
        if (!scrolls) {
            EXPECT_EQ(range, 0) << "a frame scrolls";
        }
        EXPECT_GE(frame->viewport()->height(), frame->fontMetrics().height()) << "a frame without room";
    }
    const int frames[] = {frame::DataImport, frame::Students, frame::Teachers, frame::Export};
    for (int a : frames) {
        for (int b : frames)
            EXPECT_TRUE(a == b || !window.control(a)->geometry().intersects(window.control(b)->geometry()))
                << a << " and " << b;
    }
    const QRect log = inWindow(controls.log, &window);
    EXPECT_FALSE(log.intersects(inWindow(window.control(frame::Export), &window)));
    EXPECT_FALSE(log.intersects(inWindow(window.control(frame::Teachers), &window)));
    const QStatusBar* statusBar = window.centralWidget()->findChild<QStatusBar*>();
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(inWindow(statusBar, &window).bottom(), window.rect().bottom());
    // The tables show their rows and the log its lines however small the window.
    EXPECT_GE(controls.students->viewport()->height(),
              kStudentRowsShown * controls.students->verticalHeader()->defaultSectionSize());
    EXPECT_GE(controls.log->viewport()->height(), kLogLinesShown * controls.log->fontMetrics().lineSpacing());
}

// The window's client area on a screen of this size in logical pixels, with a panel of 40 pixels
// and a window frame (a title bar of 30 pixels, borders of 4).
QSize clientOn(QSize screen) {
    return {screen.width() - 8, screen.height() - 40 - 30 - 4};
}

// The further subjects a score sheet may bring, as the settings row takes them: a label, then per
// subject its name and two edits.
void fillOtherSubjects(QWidget* row, int count) {
    auto* layout = qobject_cast<QHBoxLayout*>(row->layout());
    ASSERT_NE(layout, nullptr);
    layout->addWidget(new QLabel(q("其他学科")));
    const char* names[] = {"信息", "心理", "书法", "美术"};
    for (int i = 0; i < count; ++i) {
        layout->addWidget(new QLabel(q(names[i % 4])));
        layout->addWidget(new QLineEdit(q("100")));
        layout->addWidget(new QLineEdit(q("80")));
    }
    layout->addStretch(1);
}

// A school's screens: 1024×768, and 1366×768 at 125 % (1093×614 logical pixels). On the first
// nothing scrolls; on the second only the option frames may. Also with three further subjects.
TEST_F(WindowTest, EveryControlIsWithinReachOnSmallScreens) {
    struct Case {
        QSize screen;
        bool scrolls;
    };
    const Case cases[] = {{{1024, 768}, false}, {{1093, 614}, true}};
    window->showNormal();
    for (int others : {0, 3}) {
        if (others > 0) {
            QWidget* row = window->controls().otherSubjectsRow;
            fillOtherSubjects(row, others);
            EXPECT_TRUE(row->isVisibleTo(window.get()));
            // Its edits come after the 低分 edits in the tab order, before the 等级 row.
            const QList<QLineEdit*> edits = row->findChildren<QLineEdit*>();
            window->control(kSubjectLineEdits.back().low)->setFocus();
            press(*window, Qt::Key_Tab);
            EXPECT_EQ(focused(*window), edits.front());
            edits.back()->setFocus();
            press(*window, Qt::Key_Tab);
            EXPECT_EQ(focused(*window), window->control(ctl::LevelByScore));
        }
        for (const Case& c : cases) {
            const QSize client = clientOn(c.screen);
            window->resize(client);
            for (int wait = 0; wait < 100 && window->size() != client; ++wait) QTest::qWait(10);
            ASSERT_EQ(window->size(), client) << "the window's smallest size does not fit";
            expectReachable(
                *window, c.scrolls,
                strprintf("%dx%d with %d further subjects", c.screen.width(), c.screen.height(), others));
        }
    }
}

TEST_F(WindowTest, ResizingAndMaximisingGrowTheTablesAndTheLog) {
    QWidget* client = window->centralWidget();
    const QSize templateSize = client->sizeHint();
    EXPECT_EQ(templateSize, QSize(window->dialogUnits().x(651), window->dialogUnits().y(381)));
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    expectReachable(*window, false, "first shown");
    const QRect students = window->control(ctl::StudentTable)->geometry();
    const QRect log = window->control(ctl::StatusLogBox)->geometry();
    const QSize button = window->control(ctl::ExportResults)->size();
    const QRect dataImport = window->control(frame::DataImport)->geometry();
    const int firstColumn = window->controls().students->columnWidth(0);

    // Maximised on the 1280×720 screen of the tests: the whole window fits the screen.
    ASSERT_EQ(window->screen()->geometry(), QRect(0, 0, 1280, 720));
    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    QTRY_COMPARE(window->frameGeometry().width(), window->screen()->availableGeometry().width());
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    expectReachable(*window, false, "maximised at 1280×720");

    // Larger: the tables and the log take the room; the buttons and the frame at the top keep
    // their height.
    window->showNormal();
    window->resize(window->width() + 400, window->height() + 200);
    QTRY_VERIFY(window->control(ctl::StudentTable)->width() > students.width() + 300);
    expectReachable(*window, false, "larger");
    EXPECT_GT(window->control(ctl::StudentTable)->width(), students.width() + 300);
    EXPECT_GT(window->control(ctl::StudentTable)->height(), students.height() + 60);
    EXPECT_GT(window->control(ctl::StatusLogBox)->height(), log.height() + 60);
    EXPECT_GT(window->control(ctl::StatusLogBox)->width(), log.width() + 100);
    EXPECT_GT(window->controls().students->columnWidth(0), firstColumn);
    EXPECT_EQ(window->control(ctl::ExportResults)->size(), button);
    EXPECT_EQ(window->control(frame::DataImport)->height(), dataImport.height());
}

TEST_F(WindowTest, TheLastLogLineIsInViewAfterStartAndResize) {
    QPlainTextEdit* log = window->controls().log;
    auto lastLineShown = [log] {
        QTextCursor end(log->document());
        end.movePosition(QTextCursor::End);
        return log->viewport()->rect().contains(log->cursorRect(end));
    };
    QTRY_VERIFY(lastLineShown());
    window->resize(1, 1);
    QTRY_VERIFY(lastLineShown());
    window->resize(window->width(), window->height() + 300);
    QTRY_VERIFY(lastLineShown());
}

TEST_F(WindowTest, PlaceSizeAndMaximisingAreRememberedAcrossStarts) {
    window->showNormal();
    const QRect placed(60, 40, window->width() + 20, window->height() - 30);
    window->setGeometry(placed);
    QTRY_COMPARE(window->geometry(), placed);
    restart();
    EXPECT_EQ(window->geometry(), placed);
    EXPECT_FALSE(window->isMaximized());

    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    restart();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->normalGeometry(), placed);

    // A place no screen shows any more (a second monitor gone): the size stays, the place not.
    window->showNormal();
    QTRY_VERIFY(!window->isMaximized());
    window->setGeometry(QRect(60, 40, placed.width(), placed.height()));
    dialogs.expectQuestion("确定要退出Varnex吗？", true);
    window->close();
    IniFile file = IniFile::load(dir.file(kSettingsFileName));
    file.set("窗口", "左", "5000");
    ASSERT_TRUE(file.save(dir.file(kSettingsFileName)));
    window.reset();
    state = AppState();
    start();
    EXPECT_EQ(window->size(), placed.size());
    EXPECT_TRUE(window->screen()->availableGeometry().intersects(window->frameGeometry()));
}

// 总在最前 is a choice kept in the settings file (off without it); while a result is opened in the
// spreadsheet program the window does not stay above it, until the next command in the window.
TEST_F(WindowTest, AlwaysOnTopIsRememberedAndGivesWayToAResult) {
    auto stored = [&] { return IniFile::load(dir.file(kSettingsFileName)).find("窗口", "总在最前"); };
    EXPECT_EQ(stored(), std::nullopt);
    window->runCommand(ctl::CmdAlwaysOnTop);
    EXPECT_EQ(stored(), std::optional<std::string>("1"));
    restart();
    EXPECT_TRUE(window->alwaysOnTop());
    EXPECT_TRUE(window->staysOnTop());

    window->frontend().openDocument("/data/结果.xlsx");
    EXPECT_FALSE(window->staysOnTop());
    EXPECT_TRUE(window->alwaysOnTop());  // the choice stays
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    EXPECT_TRUE(window->staysOnTop());

    window->runCommand(ctl::CmdAlwaysOnTop);
    EXPECT_EQ(stored(), std::optional<std::string>("0"));
    restart();
    EXPECT_FALSE(window->staysOnTop());
}

// The status bar's hint gives way to the progress with an ellipsis, whole characters only.
TEST(ElidedLabel, ShortensWithAnEllipsisAndKeepsItsText) {
    const QString hint = q(ui_texts::kIdlePrompt);
    ElidedLabel label(hint);
    label.resize(label.fontMetrics().horizontalAdvance(hint) + 10, 20);
    EXPECT_EQ(label.shownText(), hint);
    label.resize(label.fontMetrics().horizontalAdvance(hint) / 3, 20);
    const QString shown = label.shownText();
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(hint.startsWith(shown.chopped(1)));
    EXPECT_GT(shown.size(), 3);
    EXPECT_EQ(label.text(), hint);
}

TEST_F(WindowTest, ExamNamesOfExportsAndTheRankingLayoutAreRemembered) {
    const QString proposed = combo(ctl::ExamNameBox)->currentText();
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    combo(ctl::ExamNameBox)->setEditText(q("期末联考"));
    window->runCommand(ctl::ExportResults);
    ASSERT_EQ(exportedNames, std::vector<std::string>{"期末联考"});
    EXPECT_NE(combo(ctl::ExamNameBox)->findText(q("期末联考")), -1);

    // The ranking layout is kept also while the ranking itself is off.
    auto* ranking = qobject_cast<QCheckBox*>(window->control(ctl::ClassRanking));
    ranking->setChecked(false);
    qobject_cast<QRadioButton*>(window->control(ctl::ClassRankingPerClass))->setChecked(true);
    window->runCommand(ctl::SaveSettings);

    restart();
    QComboBox* exam = combo(ctl::ExamNameBox);
    EXPECT_EQ(exam->currentText(), proposed);  // the month's proposal stays the choice
    EXPECT_NE(exam->findText(q("期末联考")), -1);
    EXPECT_FALSE(qobject_cast<QCheckBox*>(window->control(ctl::ClassRanking))->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(window->control(ctl::ClassRankingPerClass))->isChecked());
    // Another grade reads the same export options.
    combo(ctl::GradeList)->setCurrentIndex(8);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(window->control(ctl::ClassRankingPerClass))->isChecked());
}

// The three choices of later reports reach the state and the settings file: 名次方式 with 保存
// (a file that has made no choice checks neither button and keeps it so), 按赋分统计 as soon as it
// changes, and each further subject of the last score sheet with its two boxes.
TEST_F(WindowTest, RankingRuleConvertedScoresAndFurtherSubjectsAreBound) {
    auto stored = [&](const char* section, const char* key) {
        return IniFile::load(dir.file(kSettingsFileName)).find(section, key);
    };
    auto* skip = qobject_cast<QRadioButton*>(window->control(ctl::RankingTiesSkip));
    auto* dense = qobject_cast<QRadioButton*>(window->control(ctl::RankingTiesDense));
    auto* converted = qobject_cast<QCheckBox*>(window->control(ctl::ConvertedScores));
    EXPECT_TRUE(skip->isChecked());  // a new settings file chooses 并列占位
    EXPECT_FALSE(converted->isChecked());

    dense->setChecked(true);
    window->runCommand(ctl::SaveSettings);
    EXPECT_EQ(stored("导出选项", "名次方式"), std::optional<std::string>("并列不占位"));
    converted->setChecked(true);
    EXPECT_EQ(stored("导入选项", "按赋分统计"), std::optional<std::string>("1"));

    // Further subjects appear with the score sheet that has them; a full mark typed is kept.
    EXPECT_FALSE(window->controls().otherSubjectsRow->isVisibleTo(window.get()));
    state.imported.extraColumns = {"禁毒", "信息技术"};
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    window->runCommand(ctl::ImportStudents);
    ASSERT_EQ(window->controls().otherSubjects.size(), 2u);
    EXPECT_TRUE(window->controls().otherSubjectsRow->isVisibleTo(window.get()));
    EXPECT_EQ(window->controls().otherSubjects[0].fullMark->text(), QString());
    EXPECT_EQ(window->controls().otherSubjects[0].excellence->text(), q("80"));
    type(window->controls().otherSubjects[0].fullMark, q("10"));
    window->runCommand(ctl::SaveSettings);
    EXPECT_EQ(state.scores.extraFullMark("禁毒"), 10);
    EXPECT_EQ(state.scores.extraFullMark("信息技术"), 0);
    EXPECT_TRUE(state.importOptions.scaledScores);
    EXPECT_EQ(stored("七年级", "其他学科"), std::optional<std::string>("禁毒"));
    EXPECT_EQ(stored("七年级", "禁毒"), std::optional<std::string>("10"));

    restart();
    EXPECT_TRUE(qobject_cast<QRadioButton*>(window->control(ctl::RankingTiesDense))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(window->control(ctl::ConvertedScores))->isChecked());
    EXPECT_EQ(state.scores.extraFullMark("禁毒"), 10);

    // A settings file without a choice (written before it, or by hand): neither button, and the
    // state stays without a choice.
    IniFile file = IniFile::load(dir.file(kSettingsFileName));
    file.set("导出选项", "名次方式", "");
    ASSERT_TRUE(file.save(dir.file(kSettingsFileName)));
    restart();
    EXPECT_FALSE(qobject_cast<QRadioButton*>(window->control(ctl::RankingTiesSkip))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(window->control(ctl::RankingTiesDense))->isChecked());
    window->runCommand(ctl::SaveSettings);
    EXPECT_EQ(state.exportOptions.rankingRule, RankingRule::Unchosen);
}

// 分别导出: the combo reaches the state and the settings file with 保存, and comes back with it.
TEST_F(WindowTest, SplitFilesChoiceIsBound) {
    EXPECT_EQ(combo(ctl::SplitFilesList)->currentText(), q("不分"));
    combo(ctl::SplitFilesList)->setCurrentIndex(2);
    window->runCommand(ctl::SaveSettings);
    EXPECT_EQ(state.exportOptions.split, SplitFiles::ByClass);
    EXPECT_EQ(IniFile::load(dir.file(kSettingsFileName)).find("导出选项", "分别导出"),
              std::optional<std::string>("按班级"));
    restart();
    EXPECT_EQ(combo(ctl::SplitFilesList)->currentText(), q("按班级"));
}

// Each entry of the previous exam's sheet list names the file beside the sheet.
TEST_F(WindowTest, ThePreviousExamListNamesItsFile) {
    state.previous.workbook.path = "/data/上次/期中.xlsx";
    state.previous.workbook.sheetNames = {"高二", "高一"};
    state.previous.workbook.selectedSheet = 1;
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    QComboBox* previous = combo(ctl::PreviousSheetList);
    ASSERT_EQ(previous->count(), 2);
    EXPECT_EQ(previous->itemText(0), q("期中.xlsx · 高二"));
    EXPECT_EQ(previous->currentText(), q("期中.xlsx · 高一"));
}

TEST_F(WindowTest, AfterAnExportTheButtonAndTheMenuItemStayEnabledTogether) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    openMenu(window->fileMenu());
    EXPECT_FALSE(window->control(ctl::ExportResults)->isEnabled());
    EXPECT_FALSE(window->menuAction(ctl::CmdExport)->isEnabled());
    window->runCommand(ctl::ImportStudents);
    openMenu(window->fileMenu());
    EXPECT_TRUE(window->control(ctl::ExportResults)->isEnabled());
    EXPECT_TRUE(window->menuAction(ctl::CmdExport)->isEnabled());
    qobject_cast<QPushButton*>(window->control(ctl::ExportResults))->click();
    openMenu(window->fileMenu());
    EXPECT_TRUE(window->control(ctl::ExportResults)->isEnabled());
    EXPECT_TRUE(window->menuAction(ctl::CmdExport)->isEnabled());
}

TEST_F(WindowTest, AFileHandedOverIsOpenedOnceTheWindowIsFree) {
    // As `varnex FILE` hands it over, but not while a dialog of the window is open.
    QDialog question(window.get());
    question.setModal(true);
    question.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &question);
    window->openFromOutside(q("/data/期中 成绩.xlsx"));
    QTest::qWait(300);
    EXPECT_TRUE(opened.empty());
    question.close();
    QTRY_COMPARE(opened, std::vector<std::string>{"/data/期中 成绩.xlsx"});
    EXPECT_EQ(state.recentFiles.entries().front(), "/data/期中 成绩.xlsx");

    // A second start of the program hands its file to this window, which comes back to the front.
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    const QString marker = QStringLiteral("varnex-window-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(marker);
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First);
    running.setActivationHandler([this](const QString& file) { return window->handOver(file); });
    std::atomic<bool> done = false;
    SingleInstance::Outcome second = SingleInstance::Outcome::First;
    std::thread start([&] {
        SingleInstance instance(marker);
        second = instance.acquire(q("/data/b.xls"));
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    start.join();
    EXPECT_EQ(second, SingleInstance::Outcome::Activated);
    QTRY_COMPARE(opened.size(), 2u);
    EXPECT_EQ(opened.back(), "/data/b.xls");
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(WindowTest, ConveniencesSayWhichProgramIsMissingAndKeepTheWindow) {
    TempDir emptyPath;
    QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(emptyPath.path()));
    window->runCommand(ctl::CmdCalculator);
    window->runCommand(ctl::CmdNotepad);
    window->runCommand(ctl::CmdSettingsFolder);
    qputenv("PATH", oldPath);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].text,
              "没有找到计算器程序。请安装以下程序之一："
              "gnome-calculator、kcalc、galculator、mate-calc、deepin-calculator、xcalc");
    EXPECT_EQ(dialogs.messages[0].caption, "信息");
    EXPECT_NE(dialogs.messages[1].text.find("没有找到文本编辑器。请安装以下程序之一：gedit、"),
              std::string::npos);
    EXPECT_EQ(dialogs.messages[2].text, "没有找到文件管理器。配置文件在：\n" + dir.file(kSettingsFileName));
    QTest::qWait(50);
    EXPECT_FALSE(window->isMinimized());

    // Where the program is there, it starts and the window makes way for it.
    TempDir tools;
    std::string calculator = tools.file("xcalc");
    varnex::testing::writeFile(calculator, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(calculator, std::filesystem::perms::owner_all);
    qputenv("PATH", QByteArray::fromStdString(tools.path()));
    window->runCommand(ctl::CmdCalculator);
    qputenv("PATH", oldPath);
    EXPECT_EQ(dialogs.messages.size(), 3u);
    QTRY_VERIFY(window->isMinimized());
}

TEST_F(WindowTest, HelpOpensBesideTheWindowWhichStays) {
    window->runCommand(ctl::CmdHelp);
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<HelpWindow*>(w) != nullptr && w->isVisible()) help = w;
    ASSERT_NE(help, nullptr);
    QTest::qWait(50);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(help->isMaximized());
    EXPECT_TRUE(window->screen()->availableGeometry().contains(help->geometry()));
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : help,
                    Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());  // Escape closes the help
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, TooltipsShowTheirTitleWithoutABlankLineUnderIt) {
    QWidget* button = window->control(ctl::OpenFile);
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &hover);
    QTRY_VERIFY(QToolTip::isVisible());
    const QString shown = QToolTip::text();
    EXPECT_TRUE(shown.contains(q("打开文件</h2><hr"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(
        q("</center>打开含有学生成绩或任课教师的Excel工作表或WPS表格文件（也可以直接拖拽文件至当前窗口）")))
        << shown.toStdString();
    EXPECT_FALSE(shown.contains(q("<br>")));
    QToolTip::hideText();
}

TEST_F(WindowTest, TheOpenFileDialogIsChineseWithReadableColumns) {
    const QLocale before;
    ASSERT_TRUE(installQtChineseTexts(*qApp)) << "qt6-translations-l10n is not installed";
    std::filesystem::create_directory(dir.file("成绩"));
    QFileDialog dialog(window.get());
    prepareOpenDialog(dialog, window.get());
    dialog.setDirectory(QString::fromStdString(dir.path()));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    QHeaderView* header = list->header();
    QStringList headings;
    for (int c = 0; c < header->count(); ++c) {
        headings << header->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << c;  // the heading fits
    }
    EXPECT_EQ(headings, (QStringList{q("名称"), q("体积"), q("类型"), q("修改日期")}));
    EXPECT_GE(header->sectionSize(0),
              list->fontMetrics().horizontalAdvance(q("某地区三校12月联考成绩汇总表.xlsx")));
    EXPECT_EQ(dialog.windowTitle(), q("打开"));
    // A folder's type is Chinese too ("Folder" is missing from Qt's translations).
    QString folderType;
    for (int wait = 0; wait < 200 && folderType.isEmpty(); ++wait) {
        QTest::qWait(10);
        const QModelIndexList found = list->model()->match(list->model()->index(0, 0, list->rootIndex()),
                                                           Qt::DisplayRole, q("成绩"), 1, Qt::MatchExactly);
        if (!found.isEmpty()) folderType = found.front().siblingAtColumn(2).data().toString();
    }
    EXPECT_EQ(folderType, q("文件夹"));
    dialog.close();
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(before);
}

// The first visible top-level widget of type D, or nullptr.
template <typename D>
D* shownDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<D*>(w); dialog != nullptr && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

// Closes every dialog still shown after ten seconds, so that a test whose script went wrong fails
// instead of waiting for ever.
class DialogWatchdog {
  public:
    DialogWatchdog() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                    ADD_FAILURE() << "left open: " << dialog->windowTitle().toStdString();
                    dialog->reject();
                }
            }
        });
        timer_.start(10000);
    }

  private:
    QTimer timer_;
};

// Types `text` into a cell of the 上线 table as a person does: the cell is chosen and typing
// replaces its text (Chinese comes through an input method: the cell takes it whole).
void typeCell(QTableWidget* table, int row, int column, const QString& text) {
    table->setFocus();
    table->setCurrentCell(row, column);
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 128;
    if (ascii) {
        // The first key opens the cell's editor, which takes the focus and the keys after it.
        for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    } else {
        table->item(row, column)->setText(text);
    }
    QApplication::processEvents();
}

// 上线设置 shows the grade's lines, refuses a value it cannot read with the line and the track
// named (nothing saved, the dialog stays), keeps the accepted table under the grade's key 上线
// (a cell typed and ended with Enter included) and shows each grade's own lines again.
TEST_F(WindowTest, ScoreLinesAreTypedInATableKeptPerGrade) {
    DialogWatchdog watchdog;
    const std::string settings = dir.file(kSettingsFileName);
    // Each step runs once, when the dialog is shown and the step before it is done.
    std::vector<std::function<void(ScoreLinesDialog*)>> steps;
    size_t next = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ScoreLinesDialog* dialog = shownDialog<ScoreLinesDialog>();
        if (dialog == nullptr || next >= steps.size()) return;
        steps[next++](dialog);
    });
    poll.start(10);
    auto rowsShown = [](ScoreLinesDialog* dialog) {
        std::vector<std::string> rows;
        QTableWidget* table = dialog->table();
        for (int r = 0; r < table->rowCount(); ++r) {
            std::string row;
            for (int c = 0; c < 3; ++c)
                row +=
                    (c > 0 ? "|" : "") + (table->item(r, c) ? table->item(r, c)->text().toStdString() : "");
            rows.push_back(row);
        }
        return rows;
    };
    std::vector<std::string> shown;
    auto clickOk = [](ScoreLinesDialog* dialog) {
        QTimer::singleShot(0, dialog, [dialog] {
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
    };

    steps = {
        [&](ScoreLinesDialog* d) {
            shown = rowsShown(d);
            EXPECT_EQ(d->windowTitle(), q("上线设置"));
            typeCell(d->table(), 0, 0, q("本科"));
            typeCell(d->table(), 0, 1, q("480"));
            typeCell(d->table(), 0, 2, q("470"));
            d->addButton()->click();
            typeCell(d->table(), 1, 0, q("特控"));
            typeCell(d->table(), 1, 1, q("60%"));
            typeCell(d->table(), 1, 2, q("60%"));
            d->addButton()->click();
            typeCell(d->table(), 2, 0, q("艺术"));
            typeCell(d->table(), 2, 2, q("48o"));
            clickOk(d);
        },
        [&](ScoreLinesDialog* d) {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(
                dialogs.messages[0].text,
                "“艺术”线的历史类“48o”无效：请填写分数（如 480）或比例（如 60%），比例大于0、不超过100%。");
            EXPECT_FALSE(IniFile::load(settings).find("七年级", "上线"));
            // The value typed again: Enter ends the cell, a second Enter is 确定.
            typeCell(d->table(), 2, 2, q("400"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QApplication::processEvents();
            EXPECT_EQ(d->table()->item(2, 2)->text(), q("400"));
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        },
    };
    window->runCommand(ctl::ScoreLineTable);
    EXPECT_EQ(shown, (std::vector<std::string>{"||"}));
    EXPECT_EQ(IniFile::load(settings).get("七年级", "上线"),
              "物理类:本科=480;历史类:本科=470;特控=60%;历史类:艺术=400");
    EXPECT_EQ(scoreLinesText(state.scores.lines), "物理类:本科=480;历史类:本科=470;特控=60%;历史类:艺术=400");

    // Another grade has its own (none); 取消 keeps the file as it is.
    combo(ctl::GradeList)->setCurrentIndex(9);
    EXPECT_TRUE(state.scores.lines.empty());
    steps.push_back([&](ScoreLinesDialog* d) {
        shown = rowsShown(d);
        typeCell(d->table(), 0, 0, q("本科"));
        typeCell(d->table(), 0, 1, q("500"));
        d->reject();
    });
    window->runCommand(ctl::CmdScoreLines);
    EXPECT_EQ(shown, (std::vector<std::string>{"||"}));
    EXPECT_FALSE(IniFile::load(settings).find("高一", "上线"));

    // Back at 七年级 its lines show again; a row deleted is gone from the file.
    combo(ctl::GradeList)->setCurrentIndex(6);
    steps.push_back([&](ScoreLinesDialog* d) {
        shown = rowsShown(d);
        d->table()->setCurrentCell(0, 1);
        d->removeButton()->click();
        clickOk(d);
    });
    window->runCommand(ctl::ScoreLineTable);
    EXPECT_EQ(shown, (std::vector<std::string>{"本科|480|470", "特控|60%|60%", "艺术||400"}));
    EXPECT_EQ(IniFile::load(settings).get("七年级", "上线"), "特控=60%;历史类:艺术=400");
    EXPECT_EQ(next, steps.size());
    poll.stop();
}

// The full-mark table of a sheet without 满分 row: the proposal in the boxes, the first box with
// the focus, a mark that is no positive number refused by its question with the focus put in
// its box, then the marks typed with the keyboard.
TEST_F(WindowTest, QuestionMarksAreAskedInATableOfBoxes) {
    DialogWatchdog watchdog;
    window->setDialogStandIn(nullptr);
    QStringList offered, refusals;
    bool focusedFirst = false, focusedRefused = false, tabbedOn = false;
    int phase = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = shownDialog<QMessageBox>()) {
            refusals << box->text();
            box->accept();
            return;
        }
        auto* dialog = shownDialog<QuestionMarksDialog>();
        if (dialog == nullptr) return;
        const std::vector<QLineEdit*>& boxes = dialog->boxes();
        if (phase == 0) {
            phase = 1;
            for (QLineEdit* box : boxes) offered << box->text();
            focusedFirst = dialog->focusWidget() == boxes[0];
            boxes[1]->setFocus();
            QTest::keyClicks(boxes[1], q("abc"));
            QTimer::singleShot(0, dialog, [box = boxes[1]] { QTest::keyClick(box, Qt::Key_Return); });
        } else if (phase == 1 && !refusals.isEmpty()) {
            phase = 2;
            focusedRefused = dialog->focusWidget() == boxes[1];
            boxes[1]->selectAll();
            QTest::keyClicks(boxes[1], q("4"));
            QTest::keyClick(boxes[1], Qt::Key_Tab);
            tabbedOn = dialog->focusWidget() == boxes[2];
            boxes[2]->selectAll();  // as the box does when it takes the focus
            QTest::keyClicks(boxes[2], q("6"));
            QTimer::singleShot(0, dialog, [box = boxes[2]] { QTest::keyClick(box, Qt::Key_Return); });
        }
    });
    poll.start(10);
    const std::optional<std::vector<double>> marks =
        window->frontend().askQuestionMarks("语文", {"1", "2", "17(1)"}, {5, 0, 3.5});
    poll.stop();
    EXPECT_EQ(offered, (QStringList{q("5"), q(""), q("3.5")}));
    EXPECT_TRUE(focusedFirst);
    EXPECT_EQ(refusals, (QStringList{q("第2题的满分“abc”无效：请填写大于0、不超过1000的数。")}));
    EXPECT_TRUE(focusedRefused);
    EXPECT_TRUE(tabbedOn);
    EXPECT_EQ(marks, (std::optional<std::vector<double>>{{5, 4, 6}}));
}

// A frontend whose full-mark table is answered with `answer`.
class MarksAnswered : public ScriptedFrontend {
  public:
    std::vector<double> answer;
    std::vector<std::string> asked;  ///< the subjects whose marks were asked
    std::optional<std::vector<double>> askQuestionMarks(const std::string& subject,
                                                        const std::vector<std::string>&,
                                                        const std::vector<double>&) override {
        asked.push_back(subject);
        return answer;
    }
};

// 小题分析 through the window with the real commands: 添加 before any scores says what comes
// first; a sheet with its 满分 row and one without (its marks asked) are read at once and listed
// with their file, sheet and subject, the subject offered from the sheet's name; the same subject
// again replaces its sheet, 移除 lets one go, and the first sheet chooses 导出小题分析. The export
// writes a sheet per subject and, chosen in the dialog, 小题明细. Without any sheet the export says
// what it needs; importing the scores again lets the question sheets go, with a log line.
TEST(WindowWithRealCommands, QuestionSheetsAreAddedInTheirDialogAndExported) {
    DialogWatchdog watchdog;
    TempDir dir;
    const std::string input = dir.file("小题.xlsx");
    std::filesystem::copy_file(varnex::testing::fixture("question_sheets.xlsx"), input);
    AppState state;
    MarksAnswered dialogs;
    dialogs.answer = {5, 5, 5, 4, 6};
    MainWindow window(state, dir.path(), Commands::core());
    window.setDialogStandIn(&dialogs);
    window.initialise();
    auto* analysis = qobject_cast<QCheckBox*>(window.control(ctl::QuestionAnalysis));
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->text(), q("导出小题分析"));
    EXPECT_FALSE(analysis->isChecked());

    // Each step runs once, in the dialog named, when it is shown and the step before it is done.
    struct Step {
        const QMetaObject* dialog;
        std::function<void(QDialog*)> run;
    };
    std::vector<Step> steps;
    size_t next = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (next >= steps.size()) return;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible() || dialog->metaObject() != steps[next].dialog)
                continue;
            // Later steps may open dialogs of their own: they run after this call has returned.
            QTimer::singleShot(0, dialog, [dialog, run = steps[next].run] { run(dialog); });
            ++next;
            return;
        }
    });
    poll.start(10);
    auto sheetsDialog = [](QDialog* d) { return static_cast<QuestionSheetsDialog*>(d); };
    auto choose = [](const char* sheet, const char* subject, std::string* offered = nullptr) {
        return Step{&QuestionSourceDialog::staticMetaObject, [=](QDialog* d) {
                        auto* choice = static_cast<QuestionSourceDialog*>(d);
                        choice->sheetBox()->setCurrentText(q(sheet));
                        if (offered != nullptr) *offered = choice->subject();
                        choice->subjectBox()->setCurrentText(q(subject));
                        choice->accept();
                    }};
    };
    auto rowsOf = [](QuestionSheetsDialog* d) {
        std::vector<std::string> rows;
        for (int r = 0; r < d->table()->rowCount(); ++r)
            rows.push_back(d->table()->item(r, 0)->text().toStdString() + " · " +
                           d->table()->item(r, 1)->text().toStdString() + " · " +
                           d->table()->item(r, 2)->text().toStdString());
        return rows;
    };

    // Before the scores.
    steps = {{&QuestionSheetsDialog::staticMetaObject, [&](QDialog* d) {
                  sheetsDialog(d)->addFrom(input);
                  d->accept();
              }}};
    window.runCommand(ctl::QuestionSheets);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "请先导入学生成绩，再添加小题分表。");
    EXPECT_TRUE(state.questionSheets.empty());

    window.openDroppedFiles({QString::fromStdString(input)});
    auto* sheets = qobject_cast<QComboBox*>(window.control(ctl::WorksheetList));
    sheets->setCurrentIndex(sheets->findText(q("成绩")));
    dialogs.expectQuestion("数据来源：成绩", true);
    window.runCommand(ctl::ImportStudents);
    ASSERT_GT(state.imported.studentCount, 0);

    std::string offered;
    std::vector<std::string> listed, afterReplace, afterRemove;
    bool detailChecked = false;
    next = 0;
    steps = {
        {&QuestionSheetsDialog::staticMetaObject,
         [&](QDialog* d) {
             sheetsDialog(d)->addFrom(input);
             sheetsDialog(d)->addFrom(input);
             listed = rowsOf(sheetsDialog(d));
             sheetsDialog(d)->addFrom(input);
             afterReplace = rowsOf(sheetsDialog(d));
             sheetsDialog(d)->table()->selectRow(0);
             sheetsDialog(d)->removeButton()->click();
             afterRemove = rowsOf(sheetsDialog(d));
             sheetsDialog(d)->detailBox()->click();
             detailChecked = state.exportOptions.questionDetail;
             d->accept();
         }},
        choose("数学小题", "数学", &offered),
        choose("无满分行", "语文"),
        choose("数学小题", "数学"),
    };
    window.runCommand(ctl::CmdQuestionSheets);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(offered, "数学");
    EXPECT_EQ(listed,
              (std::vector<std::string>{"小题.xlsx · 数学小题 · 数学", "小题.xlsx · 无满分行 · 语文"}));
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"语文"}));
    EXPECT_EQ(afterReplace, listed);
    EXPECT_EQ(afterRemove, (std::vector<std::string>{"小题.xlsx · 无满分行 · 语文"}));
    EXPECT_TRUE(detailChecked);
    EXPECT_TRUE(analysis->isChecked());
    ASSERT_EQ(state.questionSheets.size(), 1u);
    EXPECT_EQ(state.questionSheets[0].fullMarks, dialogs.answer);

    dialogs.expectQuestion("考试名称：", true);
    window.runCommand(ctl::ExportResults);
    ASSERT_EQ(dialogs.openedDocuments.size(), 1u);
    auto reader = openWorkbookReader(dialogs.openedDocuments[0]);
    ASSERT_TRUE(reader) << reader.error();
    const std::vector<std::string>& tabs = (*reader)->sheetNames();
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "小题分析-语文"), tabs.end());
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "小题明细-语文"), tabs.end());

    // The scores imported again: the question sheets go, and the export asks for one.
    dialogs.messages.clear();
    dialogs.expectQuestion("数据来源：成绩", true);
    window.runCommand(ctl::ImportStudents);
    EXPECT_TRUE(state.questionSheets.empty());
    EXPECT_NE(window.controls().log->toPlainText().indexOf(q("原来读入的小题分表（语文）已清除")), -1);
    window.runCommand(ctl::ExportResults);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_NE(dialogs.messages.back().text.find("导出小题分析或小题明细必须先读入小题分表"),
              std::string::npos);
    EXPECT_TRUE(dialogs.allQuestionsAsked());
    poll.stop();
}

}  // namespace
}  // namespace varnex::ui
