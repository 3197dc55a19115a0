// Draws the main window and saves it as a PNG: the pictures in the README (docs/screenshot.png,
// docs/window-1024x768.png, docs/window-1280x800.png).
// Usage:
//   varnex-window-screenshot out.png
//       [window|maximised|splash|about|help|menu|tooltip|lines|questions|marks] [WORKBOOK]
// With a workbook (for example one from `varnex-cli sample`), the window's own commands open it
// and import its first sheet as teachers and its second as students, every question answered
// Yes; without one, a small built-in sample is shown. Run under Xvfb for the desktop look, or
// with QT_QPA_PLATFORM=offscreen. "maximised" maximises the window and takes the whole screen,
// with the window manager's frame (run it under a window manager).

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/null_frontend.h"
#include "app/status_log.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/qt_frontend.h"
#include "ui/question_dialogs.h"
#include "ui/row_table_model.h"
#include "ui/score_lines_dialog.h"
#include "ui/splash_window.h"

namespace {

using namespace varnex;

// A deterministic sample: three schools, four classes each, a dozen students per class.
void fillSample(AppState& state, Frontend& frontend) {
    const char* schools[] = {"城关一中", "实验中学", "育才中学"};
    const char* family[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙"};
    const char* given[] = {"子涵", "浩然", "欣怡", "宇轩", "梓萱", "俊杰",
                           "雨桐", "明轩", "思远", "佳怡", "一诺", "博文"};
    const char* subjects[] = {"语文", "数学", "英语", "生物", "历史", "地理", "政治"};
    const char* teachers[] = {"赵敏", "钱伟", "孙丽", "李强", "周芳", "吴刚", "郑洁"};
    unsigned seed = 7;
    auto next = [&seed](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 16) % static_cast<unsigned>(hi - lo + 1));
    };
    for (const char* school : schools) {
        for (int c = 1; c <= 4; ++c) {
            std::string cls = std::to_string(c);
            for (int s = 0; s < 12; ++s) {
                int marks[3] = {next(70, 142), next(60, 148), next(65, 145)};
                int small[4] = {next(55, 98), next(50, 99), next(58, 97), next(60, 96)};
                int total = marks[0] + marks[1] + marks[2] + small[0] + small[1] + small[2] + small[3];
                std::string name = std::string(family[next(0, 11)]) + given[next(0, 11)];
                state.students.appendRow(
                    {school, cls, name, std::to_string(marks[0]), std::to_string(marks[1]),
                     std::to_string(marks[2]), "", "", std::to_string(small[0]), std::to_string(small[1]),
                     std::to_string(small[2]), std::to_string(small[3]), "", "", std::to_string(total)});
            }
            state.imported.classList.add(school, cls);
            for (int k = 0; k < 7; ++k)
                state.teachers.appendRow({school, "七年级", cls, subjects[k], teachers[(k + c) % 7]});
        }
    }
    state.imported.studentCount = state.students.rowCount();
    state.imported.teacherCount = state.teachers.rowCount();
    state.imported.gradeName = "七年级";
    state.workbook.title = "某地区三校12月联考成绩";
    state.workbook.sheetNames = {"学生成绩", "教师任课"};
    state.workbook.selectedSheet = 0;
    state.examNames.push_back("某地区三校12月联考成绩");
    state.examNameText = "某地区三校12月联考成绩";
    appendLog(state, frontend, "打开文件：/home/teacher/成绩/某地区三校12月联考成绩.xlsx");
    appendLog(state, frontend, "导入任课教师：84 条任课记录");
    appendLog(state, frontend, "导入学生成绩：144 名学生，12 个班级");
    frontend.enableAction(Action::ImportTeachers, true);
    frontend.enableAction(Action::ImportStudents, true);
    frontend.enableAction(Action::Export, true);
    frontend.setTitle("Varnex - 某地区三校12月联考成绩：学生成绩");
}

// Answers every question Yes and keeps message boxes off the screen.
class YesFrontend : public NullFrontend {
  public:
    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};

void selectWorksheet(ui::MainWindow& window, int index) {
    if (auto* box = qobject_cast<QComboBox*>(window.control(ctl::WorksheetList))) box->setCurrentIndex(index);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");
    QString what = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("window");
    QTemporaryDir settings;
    AppState state;
    const bool real = argc > 3;
    ui::Commands commands = real ? ui::Commands::core() : ui::Commands{};
    if (!real) commands.importStudents = [](AppState& s, Frontend& f) { fillSample(s, f); };
    ui::MainWindow window(state, settings.path().toStdString(), commands);
    YesFrontend yes;
    window.initialise();
    const bool maximised = what == QStringLiteral("maximised");
    if (maximised)
        window.showMaximized();
    else
        window.show();
    if (real) {
        window.setDialogStandIn(&yes);
        window.openDroppedFiles({QString::fromLocal8Bit(argv[3])});
        selectWorksheet(window, 0);
        window.runCommand(ctl::ImportTeachers);
        selectWorksheet(window, 1);
        window.runCommand(ctl::CmdImportStudents);
        window.setDialogStandIn(nullptr);
    } else {
        window.runCommand(ctl::CmdImportStudents);  // shows the sample through the window's own path
    }
    QTableView* students = window.controls().students;
    students->horizontalHeader()->sectionClicked(14);
    students->horizontalHeader()->sectionClicked(14);
    students->selectRow(2);
    window.control(ctl::OpenFile)->setFocus();  // shows the focus frame on the first step
    ui::SplashWindow splash(window.dialogUnits());
    ui::AboutDialog about(&window);
    ui::HelpWindow help;
    QWidget* shown = &window;
    if (what == QStringLiteral("splash")) shown = &splash;
    if (what == QStringLiteral("about")) shown = &about;
    if (what == QStringLiteral("help")) shown = &help;
    if (what == QStringLiteral("menu")) {
        window.updateMenu(window.fileMenu());
        window.fileMenu()->popup(window.mapToGlobal(QPoint(0, 20)));
        shown = window.fileMenu();
    }
    // The dialogs of 上线… and 小题分表…, filled as a school would fill them.
    std::vector<ScoreLine> lines =
        *scoreLinesNamed("物理类:本科=480,特控=560;历史类:本科=470,特控=550;艺术=60%");
    ui::ScoreLinesDialog linesDialog("高三", lines, window.frontend(), &window);
    if (what == QStringLiteral("lines")) shown = &linesDialog;
    for (const char* subject : {"数学", "语文"}) {
        QuestionScores sheet;
        sheet.source = {"/home/teacher/成绩/12月联考小题分.xlsx", std::string(subject) + "小题", subject, ""};
        state.questionSheets.push_back(std::move(sheet));
    }
    ui::QuestionSheetsDialog questions(
        state, window.frontend(), [](const std::function<void()>& step) { step(); }, &window);
    if (what == QStringLiteral("questions")) shown = &questions;
    ui::QuestionMarksDialog marks("数学", {"1",  "2",  "3",  "4",  "5",  "6",  "7",     "8",     "9",  "10",
                                           "11", "12", "13", "14", "15", "16", "17(1)", "17(2)", "18", "19"},
                                  {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 4, 6, 12, 12},
                                  window.frontend(), &window);
    if (what == QStringLiteral("marks")) shown = &marks;
    if (shown != &window) shown->show();
    QTimer::singleShot(maximised ? 1500 : 500, &app, [&] {
        if (what == QStringLiteral("tooltip")) {
            // The tooltip of 1.打开文件… as the window shows it when the pointer rests on the button.
            QWidget* button = window.control(ctl::OpenFile);
            QHelpEvent hover(QEvent::ToolTip, QPoint(10, 10), button->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(button, &hover);
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->inherits("QTipLabel") && w->isVisible()) shown = w;
            }
        }
        if (maximised)
            window.screen()->grabWindow(0).save(out);
        else
            shown->grab().save(out);
        window.setDialogStandIn(&yes);  // quitting closes the window, which asks whether to leave
        app.quit();
    });
    return app.exec();
}
