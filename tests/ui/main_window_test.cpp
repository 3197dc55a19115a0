#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "app/control_ids.h"
#include "app/settings_file.h"
#include "base/text_util.h"
#include "base/version.h"
#include "import/open_workbook.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "ui/control_transfer.h"
#include "ui/row_table_model.h"
#include "ui/splash_window.h"
#include "ui/student_row_text.h"
#include "ui/ui_texts.h"

namespace varnex::ui {
namespace {

using varnex::testing::ScriptedFrontend;
using varnex::testing::TempDir;

QString q(const char* text) {
    return QString::fromUtf8(text);
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
            if (realOpen) return openWorkbook(s, f, path);
            s.workbook.path = path;
            s.workbook.title = "期中考试";
            s.workbook.sheetNames = {"成绩", "教师"};
            s.workbook.selectedSheet = 0;
            s.examNames.push_back("期中考试");
            s.examNameText = "期中考试";
            s.recentFiles.add(path);
            f.enableControl(ctl::ImportTeachers, true);
            f.enableControl(ctl::ImportStudents, true);
        };
        commands.importStudents = [this](AppState& s, Frontend& f) {
            scoresSeen.push_back(s.scores);
            s.students.clear();
            for (const auto& row : kStudents) s.students.appendRow(row);
            s.imported.studentCount = s.students.rowCount();
            s.imported.gradeName = s.gradeName();
            s.imported.classList.add("一中", "1");
            s.imported.classList.add("一中", "2");
            s.imported.classList.selected = 0;
            f.enableControl(ctl::ExportResults, true);
        };
        commands.importTeachers = [this](AppState&, Frontend&) { ++teacherImports; };
        commands.exportRun = [this](AppState& s, Frontend&) { exportedNames.push_back(s.examNameText); };
        commands.generateTemplates = [this](AppState&, Frontend&) { ++templates; };
        window = std::make_unique<MainWindow>(state, dir.path(), commands);
        window->setDialogStandIn(&dialogs);
        window->initialise();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(window->control(id)); }
    QComboBox* combo(int id) const { return qobject_cast<QComboBox*>(window->control(id)); }
    QLineEdit* fullMark(int subject) const {
        return edit(kSubjects[static_cast<size_t>(subject)].fullMarkEdit);
    }
    QLineEdit* excellence(int subject) const {
        return edit(kSubjects[static_cast<size_t>(subject)].excellenceEdit);
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
    bool realOpen = false;  ///< opening runs the real command
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
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("Varnex" + std::string(kVersion)));
    EXPECT_TRUE(window->alwaysOnTop());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);

    const std::string advice =
        "建议导入成绩之前，先对Excel成绩数据进行排序。\r\n\r\n建议排序方式为：\r\n1."
        "主要关键字：学校，升序。\r\n"
        "2.次要关键字：班级，升序。\r\n3.第三关键字：姓名，升序。\r\n";
    EXPECT_EQ(state.statusLog, advice);
    QString shown = window->controls().log->toPlainText() + QLatin1Char('\n');
    EXPECT_EQ(shown.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString(), advice);

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
    EXPECT_EQ(withTips, 10);
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
    EXPECT_FALSE(window->menuAction(ctl::CmdAlwaysOnTop)->isChecked());
    EXPECT_TRUE(window->menuAction(ctl::CmdMusic)->isChecked());
    window->runCommand(ctl::CmdMusic);
    window->runCommand(ctl::CmdAlwaysOnTop);
    openMenu(window->toolsMenu());
    EXPECT_TRUE(window->menuAction(ctl::CmdAlwaysOnTop)->isChecked());
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

TEST_F(WindowTest, IntegerPromptStopsTheTransferAtTheBadEditAndTheCommandGoesOn) {
    window->openDroppedFiles({QStringLiteral("/data/a.xls")});
    type(fullMark(0), q("120"));
    type(fullMark(1), q("abc"));
    type(fullMark(2), q("99"));
    dialogs.messages.clear();
    window->runCommand(ctl::CmdImportStudents);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "请输入一个整数。");
    EXPECT_EQ(dialogs.messages[0].caption, window->windowTitle().toStdString());
    EXPECT_TRUE(fullMark(1)->hasFocus());
    ASSERT_EQ(scoresSeen.size(), 1u);  // the import ran with the values read so far
    EXPECT_EQ(scoresSeen[0].fullMark[0], 120);
    EXPECT_EQ(scoresSeen[0].fullMark[1], 150);
    EXPECT_EQ(scoresSeen[0].fullMark[2], 150);

    // 保存 goes on with the values then held.
    dialogs.messages.clear();
    qobject_cast<QPushButton*>(window->control(ctl::SaveSettings))->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "请输入一个整数。");
    EXPECT_EQ(dialogs.messages[1].text, "七年级学科分值和优秀控制线保存成功！");
    ScoreSettings saved;
    ExportOptions options;
    ASSERT_TRUE(loadGrade(dir.file(kSettingsFileName), "七年级", saved, options));
    EXPECT_EQ(saved.fullMark[0], 120);
    EXPECT_EQ(saved.fullMark[2], 150);
}

TEST_F(WindowTest, IntegerPromptIsAWarningBoxUnderTheWindowTitle) {
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
    window->runCommand(ctl::CmdGenerateTemplates);
    poll.stop();
    EXPECT_EQ(seenText, q("请输入一个整数。"));
    EXPECT_EQ(seenTitle, QString::fromStdString("Varnex" + std::string(kVersion)));
    EXPECT_EQ(seenIcon, QMessageBox::Warning);
    EXPECT_EQ(templates, 1);
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
    // Inside the frame 数据导入, away from its controls.
    QRect frame = window->dialogUnits().rect(7, 5, 638, 96);
    QPoint grip(frame.right() - 4, frame.bottom() - 4);
    EXPECT_EQ(background->childAt(grip), nullptr);  // the frame lets the press through
    QPoint before = window->pos();
    QTest::mousePress(background, Qt::LeftButton, {}, grip);
    QTest::mouseMove(background, grip + QPoint(30, 20));
    QTest::mouseRelease(background, Qt::LeftButton, {}, grip + QPoint(30, 20));
    EXPECT_EQ(window->pos(), before + QPoint(30, 20));
}

TEST_F(WindowTest, EnterAndEscapeCloseNothing) {
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

}  // namespace
}  // namespace varnex::ui
