#include "ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/settings_file.h"
#include "app/status_log.h"
#include "app/window_placement.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "export/export_run.h"
#include "export/template_generator.h"
#include "import/open_workbook.h"
#include "import/previous_exam.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/control_transfer.h"
#include "ui/desktop_tools.h"
#include "ui/help_window.h"
#include "ui/music_player.h"
#include "ui/qt_dialogs.h"
#include "ui/question_dialogs.h"
#include "ui/row_table_model.h"
#include "ui/score_lines_dialog.h"
#include "ui/splash_window.h"
#include "ui/student_row_text.h"
#include "ui/ui_texts.h"
#include "ui/window_layout.h"

namespace varnex::ui {

namespace tx = ui_texts;

Commands Commands::core() {
    // Lambdas pick the overloads the window uses (the core also has variants for tests). The window
    // has shown every outcome through its frontend already: the returned one is not needed here.
    return Commands{
        [](AppState& s, Frontend& f, const std::string& path) { (void)varnex::openWorkbook(s, f, path); },
        [](AppState& s, Frontend& f) { (void)varnex::importTeachers(s, f); },
        [](AppState& s, Frontend& f) { (void)varnex::importStudents(s, f); },
        [](AppState& s, Frontend& f) { (void)varnex::exportRun(s, f); },
        [](AppState& s, Frontend& f) { (void)varnex::generateTemplates(s, f); }};
}

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// Puts the focus back on the window's control that had it when a dialog opened (at now() or at the
// end of the scope), where that control can still take it.
class FocusReturn {
  public:
    explicit FocusReturn(QWidget* window) : widget_(window->focusWidget()) {}
    ~FocusReturn() { now(); }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;
    void now() {
        if (widget_ && widget_->isEnabled() && widget_->isVisible()) widget_->setFocus(Qt::OtherFocusReason);
    }

  private:
    QPointer<QWidget> widget_;
};

/// How often a handed-over file asks again whether the window is free.
constexpr int kHandOverRetryMs = 200;

// The client area: a press of the left button on the background (not on a control) moves the
// window as if its caption had been grabbed. Its natural size is the template's, or what the
// controls need when that is more; when it is resized the tables' columns follow.
class Background : public QWidget {
  public:
    Background(QSize templateSize, std::function<void()> resized, QWidget* parent)
        : QWidget(parent), templateSize_(templateSize), resized_(std::move(resized)) {}

    QSize sizeHint() const override { return templateSize_.expandedTo(minimumSizeHint()); }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        resized_();
    }
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
    QSize templateSize_;
    std::function<void()> resized_;
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

// Selects in the view the rows the model kept as selected; returns the last of them, or -1.
int showTableSelection(QTableView* view, RowTableModel* model) {
    const RowTable& table = model->table();
    QItemSelection selection;
    int last = -1;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!model->wasSelected(row)) continue;
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
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/varnex.png")));
    units_ = DialogUnits::forFont(font());

    // The template's size is the window's natural size; the tables and the log take what the window
    // has beyond what the controls need, and on small screens the option frames scroll.
    const QSize templateSize(units_.x(kWindowWidthDlu), units_.y(kWindowHeightDlu));
    auto* background = new Background(
        templateSize,
        [this] {
            if (working_ || studentModel_ == nullptr) return;  // fitted again when the work is done
            fitColumns(controls_.students, studentModel_);
            fitColumns(controls_.teachers, teacherModel_);
        },
        this);
    setCentralWidget(background);
    controls_.build(background);
    keyboard_ = new KeyboardFocus(this, controls_);

    studentModel_ = new RowTableModel(state_.students, true, this);
    teacherModel_ = new RowTableModel(state_.teachers, false, this);
    controls_.students->setModel(studentModel_);
    controls_.teachers->setModel(teacherModel_);

    // Buttons that wait for a workbook or for imported students.
    for (int id : {ctl::ImportTeachers, ctl::ImportStudents, ctl::ExportResults}) enableControl(id, false);

    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(500);
    connect(&progressDelay_, &QTimer::timeout, this, &MainWindow::revealProgress);

    music_ = std::make_unique<MusicPlayer>();  // the module is loaded now, played on request
    buildMenus();
    buildCommandTable();
    connectControls();
    qApp->installEventFilter(this);
    setAcceptDrops(false);
    resize(sizeHint());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The widgets go after this object's members: a box that loses the focus then must not reach
    // them.
    for (int id : {ctl::LevelLines, ctl::LevelNames}) disconnect(controls_.edit(id), nullptr, this, nullptr);
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
    alwaysOnTop_ = loadAlwaysOnTop(state_.settingsPath);
    applyOnTop(alwaysOnTop_);
    state_.schoolName = loadSchoolName(state_.settingsPath);
    state_.importOptions.scaledScores = loadScaledScores(state_.settingsPath);
    // 按赋分统计 is kept in the settings file as soon as it changes, like the other remembered choices.
    QCheckBox* converted = controls_.check(ctl::ConvertedScores);
    converted->setChecked(state_.importOptions.scaledScores);
    connect(converted, &QCheckBox::toggled, this, [this](bool on) {
        if (state_.importOptions.scaledScores == on) return;
        state_.importOptions.scaledScores = on;
        if (Status saved = saveScaledScores(state_.settingsPath, on); !saved)
            frontend_.showMessage(saved.error(), common_texts::kCaptionError, MessageIcon::Error);
    });
    state_.recentFiles.setStorePath(state_.settingsPath);
    state_.recentFiles.load();
    rebuildRecentMenu();

    // The exam names of earlier exports follow the proposed one in the list.
    examHistory_.setStorePath(state_.settingsPath);
    examHistory_.load();
    for (const std::string& name : examHistory_.entries()) {
        if (name.empty() || name == examName) continue;
        state_.examNames.push_back(name);
        examBox->addItem(QString::fromStdString(name));
    }

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

    restorePlacement();

    if (splash_) {
        splash_->close();
        splash_.reset();
    }
    // A settings file that cannot be read is left untouched; the user learns which and why.
    if (Status usable = checkSettingsFile(state_.settingsPath); !usable)
        frontend_.showMessage(usable.error(), common_texts::kCaptionError, MessageIcon::Error);
}

void MainWindow::restorePlacement() {
    std::optional<WindowPlacement> placed = loadWindowPlacement(state_.settingsPath);
    if (!placed) return;
    // Screens change between runs: the old place is used only where a screen still shows enough
    // of the window to grab it; otherwise the window keeps its size and is centred.
    QRect area(placed->left, placed->top, placed->width, placed->height);
    bool onScreen = false;
    for (QScreen* screen : QGuiApplication::screens()) {
        QRect seen = screen->availableGeometry().intersected(area);
        onScreen = onScreen || (seen.width() >= units_.x(40) && seen.height() >= units_.y(20));
    }
    if (onScreen) {
        setGeometry(area);
        centred_ = true;
    } else {
        resize(area.size());
    }
    if (placed->maximised) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::savePlacement() {
    QRect normal = normalGeometry();
    if (!normal.isValid()) normal = geometry();
    saveWindowPlacement(state_.settingsPath,
                        {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()});
}

void MainWindow::fitColumns(QTableView* view, RowTableModel* model) {
    // The table's own widths at the template's size; a wider table widens every column alike.
    const int templateWidth =
        view == controls_.students ? units_.x(kStudentTableWidthDlu) : units_.x(kTeacherTableWidthDlu);
    const double widen = std::max(1.0, static_cast<double>(view->width()) / templateWidth);
    const auto& columns = model->table().columns();
    for (size_t c = 0; c < columns.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), static_cast<int>(units_.scaled(columns[c].width) * widen));
}

void MainWindow::setUpTable(QTableView* view, RowTableModel* model) {
    fitColumns(view, model);
    QHeaderView* header = view->horizontalHeader();
    header->setMinimumSectionSize(0);
    connect(header, &QHeaderView::sectionClicked, this, [this, view, model](int column) {
        // Selected rows stay selected where the sort puts them.
        const RowTable& table = model->table();
        model->keepSelection(view->selectionModel());
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
        // The hint gives way to the progress with an ellipsis, not cut through a character.
        panes_[i] =
            i == 0 ? new ElidedLabel(qs(initial[i]), statusBar_) : new QLabel(qs(initial[i]), statusBar_);
        panes_[i]->setContentsMargins(4, 0, 4, 0);
        if (i == 0) {
            panes_[i]->setMinimumWidth(1);
            statusBar_->addWidget(panes_[i], 1);
        } else {
            panes_[i]->setFixedWidth(widths[i]);
            statusBar_->addPermanentWidget(panes_[i]);
        }
    }
    // The progress of long work, left of the notice pane; hidden until work runs half a second.
    progressText_ = new QLabel(statusBar_);
    progressBar_ = new QProgressBar(statusBar_);
    progressBar_->setFixedWidth(units_.scaled(160));
    progressBar_->setTextVisible(true);
    statusBar_->insertPermanentWidget(1, progressText_);
    statusBar_->insertPermanentWidget(2, progressBar_);
    progressText_->hide();
    progressBar_->hide();
    // Along the bottom of the client area, under everything else.
    statusBar_->setFixedHeight(units_.baseY + 10);
    controls_.outerLayout->addWidget(statusBar_);
    statusBar_->show();
}

void MainWindow::connectControls() {
    for (int id :
         {ctl::OpenFile, ctl::ImportTeachers, ctl::ImportStudents, ctl::ExportResults, ctl::SaveSettings,
          ctl::DefaultExcellence, ctl::PreviousFile, ctl::QuestionSheets, ctl::ScoreLineTable}) {
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
    // Choosing another sheet of the previous exam reads it at once.
    connect(controls_.combo(ctl::PreviousSheetList), &QComboBox::currentIndexChanged, this,
            [this](int index) {
                if (busy_ || index < 0) return;
                state_.previous.workbook.selectedSheet = index;
                runCore([this] { (void)importPreviousExam(state_, frontend_); });
            });
    connect(controls_.students, &QTableView::doubleClicked, this, [this] { copyStudentRow(); });
    // The 等级 boxes: their problem shows as they are typed in; usable cuts are kept when a box is
    // left. Choosing the other method shows its default cuts.
    for (int id : {ctl::LevelLines, ctl::LevelNames}) {
        connect(controls_.edit(id), &QLineEdit::textChanged, this, &MainWindow::showLevelProblem);
        connect(controls_.edit(id), &QLineEdit::editingFinished, this, &MainWindow::saveShownLevelCuts);
    }
    connect(controls_.levelMethod, &QButtonGroup::idClicked, this, [this](int id) {
        writeLevelCuts(controls_, defaultLevelCuts(id == 1 ? kSeniorGradeIndex : 0));
        saveShownLevelCuts();
    });
}

void MainWindow::showLevelProblem() {
    QWidget* problem = controls_.byId(ctl::LevelProblem);
    if (auto* label = qobject_cast<QLabel*>(problem)) label->setText(qs(tx::kBadLevels));
    problem->setVisible(!levelCutsShown(controls_).has_value());
}

void MainWindow::saveShownLevelCuts() {
    if (busy_) return;
    bool changed = false;
    if (!readLevelCuts(controls_, state_, &changed) || !changed) return;
    if (Status saved = saveLevelCuts(state_.settingsPath, state_.gradeName(), *state_.scores.levels); !saved)
        frontend_.showMessage(saved.error(), common_texts::kCaptionError, MessageIcon::Error);
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
    if (loadGrade(state_.settingsPath, state_.gradeName(), state_.scores, state_.exportOptions,
                  [this](const std::string& problem) { appendLogLine(QString::fromStdString(problem)); }))
        writeRecords(controls_, state_);
}

void MainWindow::restoreDefaultExcellence() {
    varnex::restoreDefaultExcellence(state_.scores);
    writeRecords(controls_, state_);
}

void MainWindow::transferSelectionAndExamName() {
    // The selected rows are shown again, wherever they are, when the command has finished.
    studentModel_->keepSelection(controls_.students->selectionModel());
    readExamName(controls_, state_);
}

bool MainWindow::transferToState() {
    transferSelectionAndExamName();
    int failed = readControls(controls_, state_);
    if (failed < 0) return true;
    if (failed == ctl::LevelLines) {
        frontend_.showWarning(tx::kBadLevels, common_texts::kProgramName);
        focusControl(failed);
        return false;
    }
    // Under the program's name: the window's title can be too long for a caption.
    const bool percent =
        std::any_of(kSubjectLineEdits.begin(), kSubjectLineEdits.end(),
                    [failed](const SubjectLineEdits& e) { return e.good == failed || e.low == failed; });
    frontend_.showWarning(strprintf(percent ? tx::kPercentPromptFormat : tx::kIntegerPromptFormat,
                                    numberBoxName(failed).c_str()),
                          common_texts::kProgramName);
    focusControl(failed);
    return false;
}

void MainWindow::reflectState() {
    {
        QComboBox* sheets = controls_.combo(ctl::WorksheetList);
        QSignalBlocker block(sheets);
        fillCombo(sheets, state_.workbook.sheetNames);
        sheets->setCurrentIndex(state_.workbook.selectedSheet);
    }
    {
        // Each entry names the file too ("期中.xlsx · 高二"), so that the line says which exam it is.
        QComboBox* previous = controls_.combo(ctl::PreviousSheetList);
        QSignalBlocker block(previous);
        std::vector<std::string> entries;
        for (const std::string& sheet : state_.previous.workbook.sheetNames)
            entries.push_back(TableSource{state_.previous.workbook.path, sheet}.text());
        fillCombo(previous, entries);
        previous->setCurrentIndex(state_.previous.workbook.selectedSheet);
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
        // The first class shows once there are classes.
        classes->setCurrentIndex(state_.imported.classList.empty() ? -1 : 0);
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
    if (auto* frame = qobject_cast<QGroupBox*>(control(frame::Teachers))) {
        const std::string source = state_.teacherSource.text();
        const QString title =
            source.empty() ? qs(tx::kTeacherFrameTitle)
                           : QString::fromStdString(strprintf(tx::kTeacherFrameSourceFormat, source.c_str()));
        // A long file or sheet name must not widen the window: the title is shortened in the middle
        // to the width the table has, and shown whole as the frame's tooltip.
        const int room = std::max(controls_.teachers->width(), controls_.teachers->minimumSizeHint().width());
        const QString shown = frame->fontMetrics().elidedText(title, Qt::ElideMiddle, room);
        frame->setTitle(shown);
        frame->setToolTip(shown == title ? QString() : title);
    }
    // The columns of the last score sheet outside the subject list, each with its boxes.
    if (controls_.showOtherSubjects(state_.imported.extraColumns)) writeOtherSubjects(controls_, state_);
    rebuildRecentMenu();
    // The button and the menu item follow the same rule.
    enableControl(ctl::ExportResults, exportAllowed());
}

void MainWindow::runCore(const std::function<void()>& command) {
    if (busy_ || !transferToState()) return;
    runOffThread(command);
    reflectState();
    busy_ = false;
}

void MainWindow::runWithoutNumbers(const std::function<void()>& command) {
    if (busy_) return;
    transferSelectionAndExamName();
    runOffThread(command);
    reflectState();
    busy_ = false;
}

void MainWindow::runCommand(int id) {
    // While a command works no other starts: they all read or change the state it works on.
    if (busy_) return;
    // Back at work in the window: it stays on top again where that is chosen.
    if (alwaysOnTop_ && !staysOnTop()) applyOnTop(true);
    auto it = commandTable_.find(id);
    if (it != commandTable_.end()) it->second();
}

void MainWindow::buildCommandTable() {
    // An import may be given the school of a sheet without 学校 column; the settings file keeps it
    // for the next such sheet. Not keeping it loses nothing imported, so a failed write is let go.
    auto import = [this](const std::function<void(AppState&, Frontend&)>& command) {
        return [this, command] {
            runCore([&] {
                const std::string before = state_.schoolName;
                command(state_, frontend_);
                if (state_.schoolName != before) (void)saveSchoolName(state_.settingsPath, state_.schoolName);
            });
        };
    };
    commandTable_ = {
        {ctl::OpenFile, [this] { chooseAndOpenFile(); }},
        {ctl::PreviousFile, [this] { choosePreviousExam(); }},
        {ctl::CmdOpenFile, [this] { chooseAndOpenFile(); }},
        {ctl::ImportTeachers, import(commands_.importTeachers)},
        {ctl::ImportStudents, import(commands_.importStudents)},
        {ctl::CmdImportStudents, import(commands_.importStudents)},
        {ctl::ExportResults, [this] { exportResults(); }},
        {ctl::CmdExport, [this] { exportResults(); }},
        {ctl::SaveSettings, [this] { saveSettings(); }},
        {ctl::ScoreLineTable, [this] { editScoreLines(); }},
        {ctl::CmdScoreLines, [this] { editScoreLines(); }},
        {ctl::QuestionSheets, [this] { showQuestionSheets(); }},
        {ctl::CmdQuestionSheets, [this] { showQuestionSheets(); }},
        {ctl::DefaultExcellence, [this] { restoreDefaultExcellence(); }},
        {ctl::CmdGenerateTemplates,
         [this] { runWithoutNumbers([this] { commands_.generateTemplates(state_, frontend_); }); }},
        {ctl::CmdRecent1, [this] { openRecent(0); }},
        {ctl::CmdRecent2, [this] { openRecent(1); }},
        {ctl::CmdRecent3, [this] { openRecent(2); }},
        {ctl::CmdRecent4, [this] { openRecent(3); }},
        {ctl::CmdClearTeachers,
         [this] { runWithoutNumbers([this] { (void)clearTeachers(state_, frontend_); }); }},
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
             // The desktop folder comes from the user's XDG user dirs (user-dirs.dirs).
             createDesktopShortcut(
                 frontend_, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                 QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation), launcherTarget());
         }},
        {ctl::CmdSettingsFolder,
         [this] {
             QString file = QString::fromStdString(settingsFileInUse(state_.settingsPath));
             if (file.isEmpty()) file = QString::fromStdString(programDir_ + kSettingsFileName);
             startedOrMissing(showInFileManager(file),
                              strprintf(tx::kNoFileManagerFormat, file.toUtf8().constData()));
         }},
        {ctl::CmdAlwaysOnTop, [this] { toggleAlwaysOnTop(); }},
        {ctl::CmdMusic, [this] { toggleMusic(); }},
        {ctl::CmdCalculator,
         [this] {
             startedOrMissing(
                 startCalculator(),
                 strprintf(tx::kNoCalculatorFormat, programList(calculatorPrograms()).toUtf8().constData()));
         }},
        {ctl::CmdNotepad,
         [this] {
             startedOrMissing(
                 startTextEditor(),
                 strprintf(tx::kNoTextEditorFormat, programList(textEditorPrograms()).toUtf8().constData()));
         }},
        {ctl::CmdHelp, [this] { showHelp(); }},
        {ctl::CmdAbout, [this] { showAbout(); }},
    };
    updateRules_ = {
        {ctl::CmdImportStudents, {[this] { return !state_.workbook.title.empty(); }, {}}},
        {ctl::CmdExport, {[this] { return exportAllowed(); }, {}}},
        {ctl::CmdClearRecent, {[this] { return state_.recentFiles.count() > 0; }, {}}},
        {ctl::CmdClearTeachers, {[this] { return state_.teachers.rowCount() > 0; }, {}}},
        {ctl::CmdAlwaysOnTop, {{}, [this] { return alwaysOnTop_; }}},
        {ctl::CmdMusic, {{}, [this] { return musicPlaying_; }}},
    };
}

void MainWindow::startedOrMissing(bool started, const std::string& missing) {
    // The started program comes to the front; when there is none the window stays and says so.
    if (started)
        minimiseLater();
    else
        frontend_.showMessage(missing, common_texts::kCaptionInfo, MessageIcon::Information);
}

bool MainWindow::exportAllowed() const {
    return state_.imported.studentCount > 0;
}

void MainWindow::exportResults() {
    runCore([this] {
        // The exam name of an export joins the list and is remembered for later runs.
        const std::string& name = state_.examNameText;
        if (!name.empty()) {
            if (std::find(state_.examNames.begin(), state_.examNames.end(), name) == state_.examNames.end())
                state_.examNames.push_back(name);
            examHistory_.add(name);
        }
        commands_.exportRun(state_, frontend_);
    });
}

void MainWindow::chooseAndOpenFile() {
    FocusReturn focusReturn(this);
    QFileDialog dialog(this);
    prepareOpenDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    focusReturn.now();
    std::string chosen = dialog.selectedFiles().front().toStdString();
    runWithoutNumbers([&] { commands_.openWorkbook(state_, frontend_, chosen); });
}

void MainWindow::choosePreviousExam() {
    FocusReturn focusReturn(this);
    QFileDialog dialog(this);
    prepareOpenDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    focusReturn.now();
    std::string chosen = dialog.selectedFiles().front().toStdString();
    runCore([&] {
        if (openPreviousWorkbook(state_, frontend_, chosen)) (void)importPreviousExam(state_, frontend_);
    });
}

void MainWindow::openRecent(int index) {
    const auto& entries = state_.recentFiles.entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    std::string path = entries[static_cast<size_t>(index)];  // a copy: the open reorders the list
    runWithoutNumbers([&] { commands_.openWorkbook(state_, frontend_, path); });
}

void MainWindow::openFromOutside(const QString& path) {
    // A later start may hand a file over at any moment, also while a command asks a question or
    // the open-file dialog is up: the file waits until the window is free again.
    QTimer::singleShot(0, this, [this, path] {
        if (busy_ || exiting_ || QApplication::activeModalWidget() != nullptr ||
            QApplication::activePopupWidget() != nullptr) {
            QTimer::singleShot(kHandOverRetryMs, this, [this, path] { openFromOutside(path); });
            return;
        }
        std::string chosen = path.toStdString();
        runWithoutNumbers([&] { commands_.openWorkbook(state_, frontend_, chosen); });
    });
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
    runWithoutNumbers([&] { commands_.openWorkbook(state_, frontend_, chosen); });
}

void MainWindow::saveSettings() {
    if (!transferToState()) return;  // nothing is saved with a value left unread
    saveGradeCommand(state_, frontend_);
}

void MainWindow::editScoreLines() {
    FocusReturn focusReturn(this);
    ScoreLinesDialog dialog(state_.gradeName(), state_.scores.lines, frontend_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    // Kept for this session even when the settings file refuses them.
    state_.scores.lines = dialog.lines();
    if (Status saved = saveScoreLines(state_.settingsPath, state_.gradeName(), state_.scores.lines); !saved)
        frontend_.showMessage(saved.error(), common_texts::kCaptionError, MessageIcon::Error);
}

void MainWindow::showQuestionSheets() {
    FocusReturn focusReturn(this);
    const bool hadSheets = !state_.questionSheets.empty();
    QuestionSheetsDialog dialog(
        state_, frontend_, [this](const std::function<void()>& step) { runWithoutNumbers(step); }, this);
    dialog.exec();
    // The first sheet read asks for its analysis, as on the command line.
    if (!hadSheets && !state_.questionSheets.empty())
        controls_.check(ctl::QuestionAnalysis)->setChecked(true);
}

void MainWindow::copyStudentRow() {
    const RowTable& students = state_.students;
    QItemSelectionModel* selection = controls_.students->selectionModel();
    studentModel_->keepSelection(selection);
    int row = -1;  // the topmost selected row
    for (const QModelIndex& index : selection->selectedRows())
        if (row < 0 || index.row() < row) row = index.row();
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
    applyOnTop(alwaysOnTop_);
    // Remembered for the next start; not remembering it loses nothing else, so a failed write is let go.
    (void)saveAlwaysOnTop(state_.settingsPath, alwaysOnTop_);
}

void MainWindow::applyOnTop(bool onTop) {
    // On a shown window only the window-manager state changes: no hiding, moving or activating.
    if (QWindow* handle = windowHandle(); handle != nullptr && isVisible())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

bool MainWindow::staysOnTop() const {
    QWindow* handle = windowHandle();
    return handle != nullptr && isVisible() ? handle->flags().testFlag(Qt::WindowStaysOnTopHint)
                                            : windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MainWindow::suspendAlwaysOnTop() {
    if (alwaysOnTop_) applyOnTop(false);
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
    // Beside the window, which stays as it is: the help is read while working. It belongs to the
    // window and shares its always-on-top state, so that the window never covers it.
    if (!help_) help_ = std::make_unique<HelpWindow>(this);
    help_->setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_);
    if (!help_->isVisible()) {
        QScreen* screen = this->screen();
        QRect available =
            screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), help_->size());
        available.setTop(available.top() + titleBarAllowance());  // the help's own title bar stays in view
        help_->setGeometry(besideRect(frameGeometry(), available, help_->size()));
    }
    help_->showNormal();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::showAbout() {
    if (musicPlaying_) {
        if (music_) music_->stop();
        musicPlaying_ = false;
    }
    FocusReturn focusReturn(this);
    AboutDialog about(this);
    about.exec();
}

void MainWindow::appendLogLine(const QString& line) {
    QPlainTextEdit* log = controls_.log;
    log->appendPlainText(line);
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

void MainWindow::focusControl(int controlId) {
    if (working_) {
        focusAfterWork_ = controlId;  // a disabled control takes no focus
        return;
    }
    if (QWidget* widget = control(controlId)) widget->setFocus(Qt::OtherFocusReason);
}

void MainWindow::enableControl(int controlId, bool enabled) {
    if (working_) {
        enableAfterWork_[controlId] = enabled;
        return;
    }
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

int MainWindow::titleBarAllowance() const {
    return std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 2 * units_.baseY);
}

bool MainWindow::handOver(const QString& file) {
    restoreAndRaise();
    if (!file.isEmpty()) openFromOutside(file);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // 退出 and the close box both come here: the same question, and on Yes the music stops.
    if (exiting_) return event->accept();
    if (busy_) {
        // The command works on the state the window holds: the window stays until it is done.
        frontend_.showMessage(tx::kBusyNoExit, common_texts::kCaptionInfo, MessageIcon::Information);
        return event->ignore();
    }
    if (!confirmExit()) return event->ignore();
    if (musicPlaying_) {
        if (music_) music_->stop();
        musicPlaying_ = false;
    }
    exiting_ = true;
    savePlacement();
    if (help_) help_->close();
    event->accept();
    emit exitAccepted();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (busy_) return;
    QPoint at = event->reason() == QContextMenuEvent::Keyboard ? centralWidget()->mapToGlobal(QPoint(5, 5))
                                                               : event->globalPos();
    contextMenu_->exec(at);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    if (busy_) return event->ignore();
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    openDroppedFiles(paths);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window's rich tooltips are shown without the blank band Qt would put under the title.
    if (event->type() == QEvent::ToolTip && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* widget = static_cast<QWidget*>(watched);
        const QString tip = widget->toolTip();
        const QString shown = tooltipForDisplay(tip);
        if (!tip.isEmpty() && shown != tip) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shown, widget);
            return true;
        }
    }
    // Enter presses the push button that has the focus and does nothing anywhere else; Escape
    // does nothing: neither closes anything.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter || key->key() == Qt::Key_Escape) {
            auto* button = qobject_cast<QPushButton*>(watched);
            if (enter && !key->isAutoRepeat() && button != nullptr && button->hasFocus() &&
                button->isEnabled())
                button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstShown_) return;
    firstShown_ = true;
    // Once the log has its final size, its last line (the last advice line at start) is in view.
    QTimer::singleShot(0, this, [this] {
        QScrollBar* scroll = controls_.log->verticalScrollBar();
        scroll->setValue(scroll->maximum());
    });
    if (centred_ || isMaximized()) return;
    centred_ = true;
    QScreen* screen = this->screen();
    if (screen == nullptr) return;
    // Centred with its frame; on a small screen (1280×720 with a panel) the window gives up some
    // height so that it fits with its title bar. Before the window manager has framed the window
    // its frame is unknown: a title bar of two text lines and thin borders are allowed for.
    const QRect available = screen->availableGeometry();
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) {
        const int border = units_.baseY / 2;
        frame = QMargins(border, titleBarAllowance(), border, border);
    }
    const QSize room = available.size().shrunkBy(frame);
    const QSize fitted = size().boundedTo(room).expandedTo(minimumSize());
    const QPoint offset(std::max(0, (room.width() - fitted.width()) / 2),
                        std::max(0, (room.height() - fitted.height()) / 2));
    // The geometry places the client area, whether or not the frame is known yet.
    setGeometry(QRect(available.topLeft() + QPoint(frame.left(), frame.top()) + offset, fitted));
}

}  // namespace varnex::ui
