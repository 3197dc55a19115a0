#include "ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>
#include <QWindow>

#include "app/control_ids.h"
#include "app/settings_file.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "export/export_run.h"
#include "export/template_generator.h"
#include "import/open_workbook.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "ui/about_dialog.h"
#include "ui/control_transfer.h"
#include "ui/desktop_tools.h"
#include "ui/help_window.h"
#include "ui/music_player.h"
#include "ui/row_table_model.h"
#include "ui/splash_window.h"
#include "ui/student_row_text.h"
#include "ui/ui_texts.h"
#include "ui/window_layout.h"

namespace varnex::ui {

namespace tx = ui_texts;

Commands Commands::core() {
    // Lambdas pick the overloads the window uses (the core also has variants for tests).
    return Commands{
        [](AppState& s, Frontend& f, const std::string& path) { varnex::openWorkbook(s, f, path); },
        [](AppState& s, Frontend& f) { varnex::importTeachers(s, f); },
        [](AppState& s, Frontend& f) { varnex::importStudents(s, f); },
        [](AppState& s, Frontend& f) { varnex::exportRun(s, f); },
        [](AppState& s, Frontend& f) { varnex::generateTemplates(s, f); }};
}

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The client area: a press of the left button on the background (not on a control) moves the
// window as if its caption had been grabbed.
class Background : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        QWindow* handle = window()->windowHandle();
        if (handle != nullptr && handle->startSystemMove()) return;
        dragOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
        dragging_ = true;
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragging_ && (event->buttons() & Qt::LeftButton))
            window()->move(event->globalPosition().toPoint() - dragOffset_);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        dragging_ = false;
        QWidget::mouseReleaseEvent(event);
    }

  private:
    QPoint dragOffset_;
    bool dragging_ = false;
};

void fillCombo(QComboBox* combo, const std::vector<std::string>& entries) {
    bool same = combo->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == QString::fromStdString(entries[static_cast<size_t>(i)]);
    if (same) return;
    combo->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries) items << QString::fromStdString(entry);
    combo->addItems(items);
}

// Selects in the view the rows the table marks as selected; returns the last of them, or -1.
int showTableSelection(QTableView* view, RowTableModel* model) {
    const RowTable& table = model->table();
    QItemSelection selection;
    int last = -1;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!table.isSelected(row)) continue;
        selection.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
        last = row;
    }
    if (last >= 0) view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    return last;
}

}  // namespace

MainWindow::MainWindow(AppState& state, std::string programDir, Commands commands, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      programDir_(std::move(programDir)),
      commands_(std::move(commands)),
      frontend_(*this) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/varnex.png")));
    units_ = DialogUnits::forFont(font());

    auto* background = new Background(this);
    background->setFixedSize(units_.x(kWindowWidthDlu), units_.y(kWindowHeightDlu));
    setCentralWidget(background);
    controls_.build(background, units_);

    studentModel_ = new RowTableModel(state_.students, true, this);
    teacherModel_ = new RowTableModel(state_.teachers, false, this);
    controls_.students->setModel(studentModel_);
    controls_.teachers->setModel(teacherModel_);

    // Buttons that wait for a workbook or for imported students.
    for (int id : {ctl::ImportTeachers, ctl::ImportStudents, ctl::ExportResults}) enableControl(id, false);

    music_ = std::make_unique<MusicPlayer>();  // the module is loaded now, played on request
    buildMenus();
    buildCommandTable();
    connectControls();
    qApp->installEventFilter(this);
    setAcceptDrops(false);
    adjustSize();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    if (music_) music_->stop();
}

void MainWindow::showSplash() {
    splash_ = std::make_unique<SplashWindow>(units_);
    splash_->showNow();
}

void MainWindow::initialise() {
    // The controls start with the records' initial values; a settings file replaces them below.
    writeRecords(controls_, state_);
    setWindowTitle(QString::fromStdString(common_texts::programTitle()));
    toggleAlwaysOnTop();
    for (const char* line : tx::kAdviceLines) appendLog(state_, frontend_, line, false);

    setUpTable(controls_.students, studentModel_);
    setUpTable(controls_.teachers, teacherModel_);

    buildStatusBar();
    updateClock();
    connect(&clock_, &QTimer::timeout, this, &MainWindow::updateClock);
    clock_.start(1000);

    setAcceptDrops(true);

    std::string examName = formatTime(localNow(), tx::kExamNameFormat);
    state_.examNames.push_back(examName);
    state_.examNameText = examName;
    QComboBox* examBox = controls_.combo(ctl::ExamNameBox);
    examBox->addItem(QString::fromStdString(examName));
    examBox->setCurrentIndex(examBox->count() - 1);

    state_.settingsPath = settingsPath(programDir_);
    seedIfMissing(state_.settingsPath);
    state_.recentFiles.setStorePath(state_.settingsPath);
    state_.recentFiles.load();
    rebuildRecentMenu();

    QComboBox* grades = controls_.combo(ctl::GradeList);
    {
        QSignalBlocker block(grades);
        for (const char* grade : kGradeNames) grades->addItem(qs(grade));
        grades->setCurrentIndex(kDefaultGradeIndex);
    }
    onGradeChanged(kDefaultGradeIndex);

    for (const auto& tip : tx::kTooltips) {
        if (QWidget* widget = control(tip.id)) widget->setToolTip(tooltipHtml(tip.title, tip.body));
    }

    if (splash_) {
        splash_->close();
        splash_.reset();
    }
}

void MainWindow::setUpTable(QTableView* view, RowTableModel* model) {
    const auto& columns = model->table().columns();
    for (size_t c = 0; c < columns.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), units_.scaled(columns[c].width));
    QHeaderView* header = view->horizontalHeader();
    header->setMinimumSectionSize(0);
    connect(header, &QHeaderView::sectionClicked, this, [this, view, model](int column) {
        // Selected rows stay selected where the sort puts them.
        RowTable& table = model->table();
        table.clearSelection();
        for (const QModelIndex& row : view->selectionModel()->selectedRows()) table.selectRow(row.row());
        model->headingClicked(column);
        showTableSelection(view, model);
        view->horizontalHeader()->setSortIndicatorShown(true);
        view->horizontalHeader()->setSortIndicator(
            table.sortColumn(), table.sortAscending() ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
}

void MainWindow::buildStatusBar() {
    statusBar_ = new QStatusBar(centralWidget());
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setAutoFillBackground(true);
    QPalette palette = statusBar_->palette();
    palette.setColor(QPalette::Window, QColor(154, 205, 50));
    palette.setColor(QPalette::WindowText, Qt::black);
    statusBar_->setPalette(palette);
    const int widths[3] = {0, units_.scaled(160), units_.scaled(180)};
    const char* initial[3] = {tx::kIdlePrompt, tx::kNoticePane, tx::kClockPlaceholder};
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(qs(initial[i]), statusBar_);
        panes_[i]->setContentsMargins(4, 0, 4, 0);
        if (i == 0) {
            panes_[i]->setMinimumWidth(1);
            statusBar_->addWidget(panes_[i], 1);
        } else {
            panes_[i]->setFixedWidth(widths[i]);
            statusBar_->addPermanentWidget(panes_[i]);
        }
    }
    int height = units_.baseY + 10;
    QWidget* client = centralWidget();
    statusBar_->setGeometry(0, client->height() - height, client->width(), height);
    statusBar_->show();
}

void MainWindow::connectControls() {
    for (int id : {ctl::OpenFile, ctl::ImportTeachers, ctl::ImportStudents, ctl::ExportResults,
                   ctl::SaveSettings, ctl::DefaultExcellence}) {
        connect(controls_.button(id), &QPushButton::clicked, this, [this, id] { runCommand(id); });
    }
    for (QLineEdit* edit : controls_.fullMarks) {
        connect(edit, &QLineEdit::textChanged, this, [this] {
            recomputeTotalFullMark(controls_);
            recomputeTotalExcellence(controls_);
        });
    }
    for (QLineEdit* edit : controls_.excellenceLines)
        connect(edit, &QLineEdit::textChanged, this, [this] { recomputeTotalExcellence(controls_); });

    connect(controls_.combo(ctl::WorksheetList), &QComboBox::currentIndexChanged, this, [this](int index) {
        state_.workbook.selectedSheet = index;
        showSheetTitle();
    });
    connect(controls_.combo(ctl::GradeList), &QComboBox::currentIndexChanged, this,
            &MainWindow::onGradeChanged);
    connect(controls_.students, &QTableView::doubleClicked, this, [this] { copyStudentRow(); });
}

void MainWindow::updateClock() {
    if (panes_[2] != nullptr) panes_[2]->setText(QString::fromStdString(clockText(localNow())));
}

QString MainWindow::statusPaneText(int pane) const {
    return pane >= 0 && pane < 3 && panes_[pane] != nullptr ? panes_[pane]->text() : QString();
}

void MainWindow::showSheetTitle() {
    std::string title = strprintf(common_texts::kSheetTitleFormat, common_texts::kProgramName,
                                  state_.workbook.title.c_str(), state_.workbook.selectedSheetName().c_str());
    setWindowTitle(QString::fromStdString(title));
}

void MainWindow::onGradeChanged(int index) {
    if (index < 0 || index >= kGradeCount) return;
    state_.gradeIndex = index;
    // Without a settings file nothing is loaded and the controls keep what they show.
    if (loadGrade(state_.settingsPath, state_.gradeName(), state_.scores, state_.exportOptions))
        writeRecords(controls_, state_);
}

void MainWindow::restoreDefaultExcellence() {
    varnex::restoreDefaultExcellence(state_.scores);
    writeRecords(controls_, state_);
}

void MainWindow::transferToState() {
    // The view's selection is what the commands (and the row copy) see as selected rows.
    RowTable& students = state_.students;
    students.clearSelection();
    if (QItemSelectionModel* selection = controls_.students->selectionModel()) {
        for (const QModelIndex& row : selection->selectedRows()) students.selectRow(row.row());
    }
    int failed = readControls(controls_, state_);
    if (failed >= 0) {
        frontend_.showWarning(tx::kIntegerPrompt, windowTitle().toStdString());
        focusControl(failed);
    }
}

void MainWindow::reflectState() {
    {
        QComboBox* sheets = controls_.combo(ctl::WorksheetList);
        QSignalBlocker block(sheets);
        fillCombo(sheets, state_.workbook.sheetNames);
        sheets->setCurrentIndex(state_.workbook.selectedSheet);
    }
    {
        QComboBox* exam = controls_.combo(ctl::ExamNameBox);
        QSignalBlocker block(exam);
        fillCombo(exam, state_.examNames);
        QString text = QString::fromStdString(state_.examNameText);
        int index = exam->findText(text, Qt::MatchExactly);
        if (index >= 0) exam->setCurrentIndex(index);
        exam->setEditText(text);
    }
    {
        QComboBox* classes = controls_.combo(ctl::ClassListBox);
        QSignalBlocker block(classes);
        fillCombo(classes, state_.imported.classList.entries());
        classes->setCurrentIndex(state_.imported.classList.selected);
    }
    for (auto [view, model] :
         {std::pair{controls_.students, studentModel_}, std::pair{controls_.teachers, teacherModel_}}) {
        model->reload();
        RowTable& table = model->table();
        QHeaderView* header = view->horizontalHeader();
        header->setSortIndicatorShown(table.sortColumn() >= 0);
        if (table.sortColumn() >= 0)
            header->setSortIndicator(table.sortColumn(),
                                     table.sortAscending() ? Qt::DescendingOrder : Qt::AscendingOrder);
        if (int last = showTableSelection(view, model); last >= 0) view->scrollTo(model->index(last, 0));
    }
    rebuildRecentMenu();
}

void MainWindow::runCore(const std::function<void()>& command) {
    transferToState();
    command();
    reflectState();
}

void MainWindow::runCommand(int id) {
    auto it = commandTable_.find(id);
    if (it != commandTable_.end()) it->second();
}

void MainWindow::buildCommandTable() {
    auto core = [this](const std::function<void(AppState&, Frontend&)>& command) {
        return [this, command] { runCore([&] { command(state_, frontend_); }); };
    };
    commandTable_ = {
        {ctl::OpenFile, [this] { chooseAndOpenFile(); }},
        {ctl::CmdOpenFile, [this] { chooseAndOpenFile(); }},
        {ctl::ImportTeachers, core(commands_.importTeachers)},
        {ctl::ImportStudents, core(commands_.importStudents)},
        {ctl::CmdImportStudents, core(commands_.importStudents)},
        {ctl::ExportResults, core(commands_.exportRun)},
        {ctl::CmdExport, core(commands_.exportRun)},
        {ctl::SaveSettings, [this] { saveSettings(); }},
        {ctl::DefaultExcellence, [this] { restoreDefaultExcellence(); }},
        {ctl::CmdGenerateTemplates, core(commands_.generateTemplates)},
        {ctl::CmdRecent1, [this] { openRecent(0); }},
        {ctl::CmdRecent2, [this] { openRecent(1); }},
        {ctl::CmdRecent3, [this] { openRecent(2); }},
        {ctl::CmdRecent4, [this] { openRecent(3); }},
        {ctl::CmdClearRecent,
         [this] {
             state_.recentFiles.clear();
             rebuildRecentMenu();
         }},
        {ctl::CmdExit, [this] { exitProgram(); }},
        {ctl::CmdQuickLaunch,
         [this] {
             createQuickLaunchIcon(frontend_,
                                   QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation),
                                   launcherTarget());
             ;
         }},
        {ctl::CmdDesktopShortcut,
         [this] {
             createDesktopShortcut(frontend_,
                                   QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                                   launcherTarget());
             ;
         }},
        {ctl::CmdSettingsFolder,
         [this] {
             QString file = QString::fromStdString(state_.settingsPath);
             QString folder =
                 file.isEmpty() ? QString::fromStdString(programDir_) : QFileInfo(file).absolutePath();
             QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
             minimiseLater();
         }},
        {ctl::CmdAlwaysOnTop, [this] { toggleAlwaysOnTop(); }},
        {ctl::CmdMusic, [this] { toggleMusic(); }},
        {ctl::CmdCalculator,
         [this] {
             startCalculator();
             minimiseLater();
         }},
        {ctl::CmdNotepad,
         [this] {
             startTextEditor();
             minimiseLater();
         }},
        {ctl::CmdHelp, [this] { showHelp(); }},
        {ctl::CmdAbout, [this] { showAbout(); }},
    };
    updateRules_ = {
        {ctl::CmdImportStudents, {[this] { return !state_.workbook.title.empty(); }, {}}},
        {ctl::CmdExport, {[this] { return state_.imported.studentCount > 0; }, {}}},
        {ctl::CmdClearRecent, {[this] { return state_.recentFiles.count() > 0; }, {}}},
        {ctl::CmdAlwaysOnTop, {{}, [this] { return alwaysOnTop_; }}},
        {ctl::CmdMusic, {{}, [this] { return musicPlaying_; }}},
    };
}

void MainWindow::chooseAndOpenFile() {
    QFileDialog dialog(this, qs(tx::kOpenDialogTitle), QString(), qs(tx::kOpenFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::LookIn, qs(tx::kOpenDialogLookIn));
    dialog.setLabelText(QFileDialog::FileName, qs(tx::kOpenDialogFileName));
    dialog.setLabelText(QFileDialog::FileType, qs(tx::kOpenDialogFileType));
    dialog.setLabelText(QFileDialog::Accept, qs(tx::kOpenDialogAccept));
    dialog.setLabelText(QFileDialog::Reject, qs(tx::kOpenDialogReject));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    std::string chosen = dialog.selectedFiles().front().toStdString();
    runCore([&] { commands_.openWorkbook(state_, frontend_, chosen); });
}

void MainWindow::openRecent(int index) {
    const auto& entries = state_.recentFiles.entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    std::string path = entries[static_cast<size_t>(index)];  // a copy: the open reorders the list
    runCore([&] { commands_.openWorkbook(state_, frontend_, path); });
}

void MainWindow::openDroppedFiles(const QStringList& paths) {
    if (paths.isEmpty() || paths.front().isEmpty()) return;
    QString path = paths.front();
    QFileInfo info(path);
    if (info.isSymLink()) {
        QString target = info.symLinkTarget();
        if (!target.isEmpty()) path = target;
    }
    std::string chosen = path.toStdString();
    runCore([&] { commands_.openWorkbook(state_, frontend_, chosen); });
}

void MainWindow::saveSettings() {
    transferToState();
    saveGradeCommand(state_, frontend_);
}

void MainWindow::copyStudentRow() {
    RowTable& students = state_.students;
    students.clearSelection();
    for (const QModelIndex& row : controls_.students->selectionModel()->selectedRows())
        students.selectRow(row.row());
    int row = students.firstSelectedRow();
    if (row < 0) return;
    std::string copied = studentRowText(students, row, state_.imported.gradeName);
    if (frontend_.setClipboardText(copied)) {
        frontend_.showMessage(strprintf(tx::kRowCopiedFormat, std::string(students.cellText(row, 2)).c_str()),
                              common_texts::kCaptionInfo, MessageIcon::Information);
    } else {
        frontend_.showMessage(tx::kClipboardFailed, common_texts::kCaptionInfo, MessageIcon::Information);
    }
}

bool MainWindow::confirmExit() {
    return frontend_.askYesNo(tx::kExitQuestion, common_texts::kCaptionConfirm);
}

void MainWindow::exitProgram() {
    close();
}

void MainWindow::toggleAlwaysOnTop() {
    alwaysOnTop_ = !alwaysOnTop_;
    // On a shown window only the window-manager state changes: no hiding, moving or activating.
    if (QWindow* handle = windowHandle(); handle != nullptr && isVisible())
        handle->setFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
}

void MainWindow::toggleMusic() {
    if (musicPlaying_) {
        music_->stop();
        musicPlaying_ = false;
    } else {
        music_->start();
        musicPlaying_ = true;
    }
}

void MainWindow::showHelp() {
    if (!help_) help_ = std::make_unique<HelpWindow>();
    help_->showMaximized();
    help_->raise();
    help_->activateWindow();
    minimiseLater();
}

void MainWindow::showAbout() {
    if (musicPlaying_) {
        if (music_) music_->stop();
        musicPlaying_ = false;
    }
    AboutDialog about(this);
    about.exec();
}

void MainWindow::appendLogLine(const QString& line) {
    QPlainTextEdit* log = controls_.log;
    log->appendPlainText(line);
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

void MainWindow::focusControl(int controlId) {
    if (QWidget* widget = control(controlId)) widget->setFocus(Qt::OtherFocusReason);
}

void MainWindow::enableControl(int controlId, bool enabled) {
    if (QWidget* widget = control(controlId)) widget->setEnabled(enabled);
}

void MainWindow::minimiseLater() {
    QTimer::singleShot(0, this, &QWidget::showMinimized);
}

void MainWindow::restoreAndRaise() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // 退出 and the close box both come here: the same question, and on Yes the music stops.
    if (exiting_) return event->accept();
    if (!confirmExit()) return event->ignore();
    if (musicPlaying_) {
        if (music_) music_->stop();
        musicPlaying_ = false;
    }
    exiting_ = true;
    if (help_) help_->close();
    event->accept();
    emit exitAccepted();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->reason() == QContextMenuEvent::Keyboard ? centralWidget()->mapToGlobal(QPoint(5, 5))
                                                               : event->globalPos();
    contextMenu_->exec(at);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    openDroppedFiles(paths);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter and Escape never reach the window's controls: neither closes anything.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (QScreen* screen = this->screen()) {
        QRect available = screen->availableGeometry();
        QRect frame = frameGeometry();
        move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}

}  // namespace varnex::ui
