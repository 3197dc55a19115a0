#pragma once
// The program's one working window: import controls, settings row, the two row tables, export
// options, progress log, status bar, menus. Every user action is a command of its command table;
// the window moves control values into AppState, calls the command and shows the state again.

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/app_state.h"
#include "ui/desktop_tools.h"
#include "ui/dialog_units.h"
#include "ui/keyboard_focus.h"
#include "ui/qt_frontend.h"
#include "ui/window_controls.h"

class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;

namespace varnex::ui {

class AboutDialog;
class HelpWindow;
class MusicPlayer;
class RowTableModel;
class SplashWindow;

/// The core commands the window calls; tests put recorders in their place.
struct Commands {
    std::function<void(AppState&, Frontend&, const std::string&)> openWorkbook;
    std::function<void(AppState&, Frontend&)> importTeachers;
    std::function<void(AppState&, Frontend&)> importStudents;
    std::function<void(AppState&, Frontend&)> exportRun;
    std::function<void(AppState&, Frontend&)> generateTemplates;

    /// The real commands of the import and export libraries.
    static Commands core();
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    /// `programDir`: the executable's folder, where the settings file is placed when writable.
    MainWindow(AppState& state, std::string programDir, Commands commands = Commands::core(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Shows the green start-up splash at once; initialise() closes it.
    void showSplash();
    /// The window's initialisation: title, 总在最前 as chosen last time, advice lines, tables, status bar,
    /// clock, drops, exam name, settings file and recent files, grade, tooltips; closes the splash.
    void initialise();

    Frontend& frontend() { return frontend_; }
    /// See QtFrontend::setDialogStandIn.
    void setDialogStandIn(Frontend* standIn) { frontend_.setDialogStandIn(standIn); }
    /// How long work runs before its progress shows: half a second (a test may shorten it, so that
    /// the bar shows on a machine of any speed).
    void setProgressDelay(int milliseconds) { progressDelay_.setInterval(milliseconds); }

    /// Runs the command with this id (menu command, button or recent-file entry).
    void runCommand(int id);
    /// Applies the update rules to the items of a menu (done before every menu opens).
    void updateMenu(QMenu* menu);
    /// Opens a workbook handed to the program from outside (its argument, a later start's file)
    /// as 1.打开文件 does, as soon as no command or dialog of the window is running.
    void openFromOutside(const QString& path);
    /// Opens the first of the dropped paths (symbolic links resolved).
    void openDroppedFiles(const QStringList& paths);
    /// Copies the topmost selected student row to the clipboard (double-click in the table).
    void copyStudentRow();
    /// Asks whether to leave the program; true when the answer was Yes.
    bool confirmExit();

    // Window effects of the Frontend.
    void appendLogLine(const QString& line);
    void focusControl(int controlId);
    void enableControl(int controlId, bool enabled);
    void minimiseLater();
    /// A step of the running command's work (Frontend::showProgress), on the window's thread.
    void showProgress(const QString& step, int done, int total);
    /// Before a message of the running work: a shown progress bar fills up and goes, so that the
    /// message (the completion, a failure) is not shown under a bar that is still running.
    void settleProgress();
    /// A result is being opened in the spreadsheet program: the window stops staying on top of
    /// it until the person works in the window again (the next command), where 总在最前 is chosen.
    void suspendAlwaysOnTop();

    // Views for the tests and the single-instance activation.
    QWidget* control(int id) const { return controls_.byId(id); }
    const WindowControls& controls() const { return controls_; }
    QAction* menuAction(int id) const;
    QAction* contextAction(int id) const;
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* recentMenu() const { return recentMenu_; }
    QMenu* toolsMenu() const { return toolsMenu_; }
    QMenu* contextMenu() const { return contextMenu_; }
    QString statusPaneText(int pane) const;
    /// The status bar's progress bar and its step text (shown only while long work runs).
    QProgressBar* progressBar() const { return progressBar_; }
    QLabel* progressText() const { return progressText_; }
    /// True while a command runs (on its worker thread).
    bool busy() const { return busy_; }
    RowTableModel* studentModel() const { return studentModel_; }
    /// The choice of 总在最前 (the window may have it suspended: see suspendAlwaysOnTop).
    bool alwaysOnTop() const { return alwaysOnTop_; }
    /// Whether the window stays above the others now.
    bool staysOnTop() const;
    KeyboardFocus* keyboardFocus() const { return keyboard_; }
    bool musicPlaying() const { return musicPlaying_; }
    bool exitConfirmed() const { return exiting_; }
    const DialogUnits& dialogUnits() const { return units_; }
    /// Brings the window back from the task bar and to the front (a second start asks for it).
    void restoreAndRaise();
    /// A later start's request: the window comes to the front and opens `file` ("" for none).
    /// Always true: the window is there to take it.
    bool handOver(const QString& file);

  signals:
    /// The exit was confirmed and the window closed: the program ends.
    void exitAccepted();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildStatusBar();
    void buildMenus();
    void buildCommandTable();
    void connectControls();
    void setUpTable(QTableView* view, RowTableModel* model);
    /// The table's own column widths, widened alike when the table is wider than in
    /// the template.
    void fitColumns(QTableView* view, RowTableModel* model);

    /// Moves the control values into the state. False, after the integer prompt naming the box
    /// and with the focus in it, when a number box holds no integer.
    bool transferToState();
    /// Moves only what commands that read no number box need: the table selection, the exam name.
    void transferSelectionAndExamName();
    /// Shows the state after a command: lists, exam name, class list, tables.
    void reflectState();
    /// transferToState, the command, reflectState; the command does not run when a number box
    /// holds no integer (nothing is imported, saved or exported with a value left unread).
    void runCore(const std::function<void()>& command);
    /// The same for the commands that read no number box (opening a workbook, the templates).
    void runWithoutNumbers(const std::function<void()>& command);
    /// Runs a core command on a thread of its own and waits for it while the window goes on
    /// painting: the tables show nothing and the controls that change data are disabled meanwhile,
    /// and work of more than half a second shows its progress in the status bar. What the command
    /// asks of the Frontend is done on the window's thread.
    void runOffThread(const std::function<void()>& command);
    void beginWork();
    void endWork();
    void revealProgress();

    void updateClock();
    void showSheetTitle();
    void onGradeChanged(int index);
    /// Shows beside the 等级 boxes whether their cuts can be used.
    void showLevelProblem();
    /// Keeps the 等级 cuts shown, when they can be used and differ from the grade's, in the state
    /// and the settings file.
    void saveShownLevelCuts();
    void restoreDefaultExcellence();
    /// Puts the window where it was when the program was last left (settings file).
    void restorePlacement();
    /// Stores the window's place for the next start.
    void savePlacement();
    /// The update rule of 导出分析结果, shared by the button and the menu items.
    bool exportAllowed() const;
    void rebuildRecentMenu();
    void showMenuPrompt(QAction* action);

    /// The height allowed for a window manager's title bar before the real one is known.
    int titleBarAllowance() const;
    /// Minimises the window after a program was started for the user; otherwise shows `missing`.
    void startedOrMissing(bool started, const std::string& missing);

    /// The running program as a launcher starts it.
    LauncherTarget launcherTarget() const;

    // Commands
    void exportResults();
    void chooseAndOpenFile();
    void choosePreviousExam();
    void openRecent(int index);
    void saveSettings();
    /// 上线设置: the grade's lines in a table, kept in the settings file when accepted.
    void editScoreLines();
    /// 小题分析: the question sheets read, added and removed in a dialog.
    void showQuestionSheets();
    void toggleAlwaysOnTop();
    /// Gives the window the on-top state `onTop`, shown or not.
    void applyOnTop(bool onTop);
    void toggleMusic();
    void showHelp();
    void showAbout();
    void exitProgram();

    AppState& state_;
    std::string programDir_;
    Commands commands_;
    QtFrontend frontend_;
    DialogUnits units_;
    WindowControls controls_;
    KeyboardFocus* keyboard_ = nullptr;  ///< owned by the window
    RowTableModel* studentModel_ = nullptr;
    RowTableModel* teacherModel_ = nullptr;

    QStatusBar* statusBar_ = nullptr;
    QLabel* panes_[3] = {nullptr, nullptr, nullptr};
    QProgressBar* progressBar_ = nullptr;
    QLabel* progressText_ = nullptr;
    QTimer progressDelay_;     ///< shows the progress once the work has run half a second
    QElapsedTimer workClock_;  ///< since the running command began
    bool working_ = false;     ///< a command runs on its worker thread
    std::vector<QPointer<QWidget>> disabledForWork_;
    std::unordered_map<int, bool> enableAfterWork_;  ///< what the command enabled or disabled
    std::optional<int> focusAfterWork_;              ///< the control the command gave the focus
    QPointer<QWidget> focusBeforeWork_;              ///< where the focus goes back after the work
    QTimer clock_;

    QMenu* fileMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    std::unordered_map<int, QAction*> menuActions_;
    std::unordered_map<int, QAction*> contextActions_;

    struct UpdateRule {
        std::function<bool()> enabled;  ///< empty: the rule does not touch the enabled state
        std::function<bool()> checked;  ///< empty: the item has no check mark
    };
    std::unordered_map<int, std::function<void()>> commandTable_;
    std::unordered_map<int, UpdateRule> updateRules_;

    bool alwaysOnTop_ = false;
    bool musicPlaying_ = false;
    bool exiting_ = false;
    bool busy_ = false;     ///< a command is running
    bool centred_ = false;  ///< placed at its first show (centred or where it was last time)
    bool firstShown_ = false;

    RecentFileList examHistory_{kExamNamesStore};  ///< exam names of earlier exports

    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<MusicPlayer> music_;
};

}  // namespace varnex::ui
