#include "ui/window_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QChildEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/report_choices.h"
#include "ui/control_ids.h"
#include "ui/ui_texts.h"
#include "ui/window_layout.h"

namespace varnex::ui {

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Deferred: a mouse click that gave the focus would otherwise place the caret afterwards.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          shownText(), foregroundRole());
}

QString tooltipHtml(const char* title, const char* body) {
    return QStringLiteral("<center><h2>%1</h2><br><hr style=\"background-color:#0000ff\"></center><br>%2")
        .arg(QString::fromUtf8(title), QString::fromUtf8(body));
}

QString tooltipForDisplay(const QString& fragment) {
    static const QString heading = QStringLiteral("<center><h2>");
    if (!fragment.startsWith(heading)) return fragment;
    QString shown = fragment;
    shown.replace(QStringLiteral("</h2><br>"), QStringLiteral("</h2>"));
    shown.replace(QStringLiteral("</center><br>"), QStringLiteral("</center>"));
    shown.replace(heading, QStringLiteral("<center><h2 style=\"margin-top:2px; margin-bottom:2px\">"));
    return shown;
}

namespace {

namespace tx = ui_texts;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QColor colourOf(TextColour colour) {
    return colour == TextColour::Blue ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

// A control's own texts in a colour (a frame's title is coloured by Frame instead: a palette set
// on a frame would colour every control in it).
template <typename W>
W* coloured(W* widget, TextColour colour) {
    if (colour == TextColour::Default) return widget;
    QPalette palette = widget->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, role, colourOf(colour));
    widget->setPalette(palette);
    return widget;
}

// A frame with a coloured title. A press on its background goes on to the window, which it moves.
class Frame : public QGroupBox {
  public:
    Frame(const char* caption, TextColour colour) : QGroupBox(qs(caption)), colour_(colour) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        if (colour_ != TextColour::Default) {
            option.palette.setColor(QPalette::WindowText, colourOf(colour_));
            option.textColor = colourOf(colour_);
        }
        painter.drawComplexControl(QStyle::CC_GroupBox, option);
    }

  private:
    TextColour colour_;
};

// The content of an option frame: as tall as it wants where there is room, scrolled vertically
// where there is not; never narrower than its content, so that nothing scrolls sideways.
class OptionsScroller : public QScrollArea {
  public:
    explicit OptionsScroller(QWidget* content) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setFocusPolicy(Qt::NoFocus);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);  // no taller than its content
        content->setAutoFillBackground(false);
        setWidget(content);
        viewport()->setAutoFillBackground(false);
    }
    QSize sizeHint() const override {
        const QSize content = widget()->sizeHint();
        return {content.width() + barWidth(), content.height()};
    }
    QSize minimumSizeHint() const override {
        const int twoLines = 2 * fontMetrics().height() + 8;
        return {widget()->minimumSizeHint().width() + barWidth(), std::min(twoLines, sizeHint().height())};
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The frame around asks for the content's new size when the content's layout changes.
        if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

  private:
    int barWidth() const { return verticalScrollBar()->sizeHint().width(); }
};

// The log: at least kLogLinesShown lines high; its newest line stays in view when it is resized.
class LogBox : public QPlainTextEdit {
  public:
    LogBox() {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        setFocusPolicy(Qt::StrongFocus);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const int lines = kLogLinesShown * fontMetrics().lineSpacing();
        setMinimumSize(fontMetrics().averageCharWidth() * 20,
                       lines + 2 * (frameWidth() + static_cast<int>(document()->documentMargin())) + 2);
    }

    /// Asks for no more than its smallest size: what the window has beyond goes to it by stretch.
    QSize sizeHint() const override { return minimumSize(); }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollBar* scroll = verticalScrollBar();
        const bool atEnd = scroll->value() == scroll->maximum();
        QPlainTextEdit::resizeEvent(event);
        if (atEnd) scroll->setValue(scroll->maximum());
    }
};

QPushButton* makeButton(const char* caption) {
    auto* button = new QPushButton(qs(caption));
    button->setAutoDefault(false);
    return button;
}

// A small button (保存, 默认, 选择…) as wide as its caption, not the style's minimum.
QPushButton* makeSmallButton(const char* caption) {
    QPushButton* button = makeButton(caption);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(qs(caption)) + 20);
    return button;
}

QLabel* makeLabel(const char* caption, TextColour colour = TextColour::Default) {
    return coloured(new QLabel(qs(caption)), colour);
}

QComboBox* makeCombo(bool editable, int visibleItems) {
    auto* combo = new QComboBox;
    if (editable) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    combo->setMaxVisibleItems(visibleItems);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

// A numeric edit as wide as `digits` digits; the editable ones select their text on focus.
QLineEdit* makeNumberEdit(int digits, Qt::Alignment alignment, bool readOnly = false) {
    QLineEdit* edit = readOnly ? new QLineEdit : new NumberEdit;
    edit->setAlignment(alignment);
    edit->setReadOnly(readOnly);
    edit->setTextMargins(0, 0, 0, 0);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(digits, u'0')) + 10);
    return edit;
}

// A row table: whole rows selected, no editing, a clickable header for sorting; reached with Tab.
// It asks for the height of its header and `rows` rows and takes whatever more the window gives.
class RowTableView : public QTableView {
  public:
    explicit RowTableView(int rows) : rows_(rows) {
        setFocusPolicy(Qt::StrongFocus);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setShowGrid(true);
        setWordWrap(false);
        setTabKeyNavigation(false);
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        horizontalHeader()->setSectionsClickable(true);
        horizontalHeader()->setHighlightSections(false);
        horizontalHeader()->setStretchLastSection(false);
        horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QSize minimumSizeHint() const override {
        const int header = std::max(horizontalHeader()->sizeHint().height(), fontMetrics().height() + 8);
        return {fontMetrics().averageCharWidth() * 30,
                header + rows_ * verticalHeader()->defaultSectionSize() + 2 * frameWidth() +
                    horizontalScrollBar()->sizeHint().height()};
    }
    QSize sizeHint() const override { return minimumSizeHint(); }

  private:
    int rows_;
};

template <typename L>
L* tight(L* layout, int spacing) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// A frame holding one widget (a table, or the scrolled content of an option frame).
Frame* frameAround(const char* caption, TextColour colour, QWidget* inside) {
    auto* frame = new Frame(caption, colour);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(inside);
    return frame;
}

constexpr int kRowSpacing = 4;
constexpr int kColumnSpacing = 6;

}  // namespace

OtherSubjectsRow::OtherSubjectsRow(QWidget* before, QWidget* parent) : QWidget(parent), before_(before) {
    tight(new QHBoxLayout(this), kColumnSpacing);
    hide();
}

void OtherSubjectsRow::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    if (!event->child()->isWidgetType()) return;
    QList<QWidget*> widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (event->removed()) widgets.removeAll(static_cast<QWidget*>(event->child()));
    auto* child = static_cast<QWidget*>(event->child());
    if (event->added() && (child->focusPolicy() & Qt::TabFocus)) {
        // After the last control already in the row that takes the focus (or the control before
        // the row); texts take no part in the tab order.
        QWidget* previous = before_;
        for (QWidget* w : widgets)
            if (w != child && (w->focusPolicy() & Qt::TabFocus)) previous = w;
        QWidget::setTabOrder(previous, child);
    }
    setVisible(!widgets.isEmpty());
}

bool WindowControls::showOtherSubjects(const std::vector<std::string>& names) {
    std::vector<std::string> shown;
    for (const OtherSubjectEdits& subject : otherSubjects) shown.push_back(subject.name);
    if (shown == names) return false;
    otherSubjects.clear();
    for (QWidget* child : otherSubjectsRow->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete child;
    if (names.empty()) return true;
    QLayout* row = otherSubjectsRow->layout();
    // Only whole numbers can be typed; an empty box reads as no full mark, or the default line.
    auto numberBox = [&](int digits, int top) {
        QLineEdit* edit = makeNumberEdit(digits, Qt::AlignHCenter);
        edit->setValidator(new QIntValidator(0, top, edit));
        edit->setParent(otherSubjectsRow);
        return edit;
    };
    auto label = [&](const QString& text) {
        QLabel* caption = new QLabel(text, otherSubjectsRow);
        row->addWidget(caption);
        return caption;
    };
    label(qs(tx::kOtherSubjectsCaption));
    for (const std::string& name : names) {
        label(QString::fromStdString(name));
        OtherSubjectEdits edits{name, numberBox(3, 10000), numberBox(2, 99)};
        edits.fullMark->setToolTip(qs(tx::kOtherSubjectFullMarkTip));
        edits.excellence->setToolTip(qs(tx::kOtherSubjectExcellenceTip));
        row->addWidget(edits.fullMark);
        row->addWidget(edits.excellence);
        label(qs(tx::kPercent));
        otherSubjects.push_back(edits);
    }
    static_cast<QHBoxLayout*>(row)->addStretch(1);
    return true;
}

template <typename W>
W* WindowControls::add(int id, W* widget) {
    if (id != kNoId) byId_[id] = widget;
    readingOrder_.push_back(widget);
    return widget;
}

void WindowControls::build(QWidget* parent) {
    missingRule = new QButtonGroup(parent);
    rankingLayout = new QButtonGroup(parent);
    rankingTies = new QButtonGroup(parent);
    levelMethod = new QButtonGroup(parent);

    outerLayout = tight(new QVBoxLayout(parent), 0);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(6, 4, 6, 4);
    content->setSpacing(kRowSpacing);
    outerLayout->addLayout(content, 1);

    // 数据导入: the numbered steps, then the import options beside the score settings.
    auto* dataImport = add(frame::DataImport, new Frame(tx::kFrameDataImport, TextColour::Blue));
    readingOrder_.pop_back();  // a frame takes no focus
    auto* dataLayout = new QVBoxLayout(dataImport);
    dataLayout->setContentsMargins(6, 4, 6, 6);
    dataLayout->setSpacing(kRowSpacing);
    dataLayout->addWidget(buildImportRow());
    auto* optionsRow = tight(new QHBoxLayout, kColumnSpacing);
    optionsRow->addWidget(buildImportOptions());
    optionsRow->addWidget(buildScoreSettings(), 1);
    dataLayout->addLayout(optionsRow);
    content->addWidget(dataImport);

    students = add(ctl::StudentTable, new RowTableView(kStudentRowsShown));
    Frame* studentFrame = frameAround(tx::kFrameStudents, TextColour::Blue, students);
    byId_[frame::Students] = studentFrame;
    // The student table and the row below share what the window has beyond their sizes; each gets
    // its size first (a stretch factor would promise only the smallest size to the export frame).
    studentFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    content->addWidget(studentFrame);

    // The teacher table beside the export options and the log.
    auto* lower = tight(new QHBoxLayout, kColumnSpacing);
    teachers = add(ctl::TeacherTable, new RowTableView(kTeacherRowsShown));
    Frame* teacherFrame = frameAround(tx::kFrameTeachers, TextColour::Blue, teachers);
    byId_[frame::Teachers] = teacherFrame;
    lower->addWidget(teacherFrame, 2);
    auto* exportColumn = tight(new QVBoxLayout, kRowSpacing);
    exportColumn->addWidget(buildExportOptions());
    log = add(ctl::StatusLogBox, coloured(new LogBox, TextColour::Blue));
    exportColumn->addWidget(log, 1);
    lower->addLayout(exportColumn, 3);
    content->addLayout(lower);  // expands with the log

    orderTabs();
}

QWidget* WindowControls::buildImportRow() {
    auto* row = new QWidget;
    auto* layout = tight(new QHBoxLayout(row), kColumnSpacing);
    layout->addWidget(add(ctl::OpenFile, makeButton(tx::kOpenFileButton)));
    QLabel* sheetLabel = makeLabel(tx::kSheetLabel);
    layout->addWidget(sheetLabel);
    QComboBox* sheets = add(ctl::WorksheetList, makeCombo(false, 12));
    sheets->setMinimumContentsLength(8);
    sheetLabel->setBuddy(sheets);
    layout->addWidget(sheets, 2);
    layout->addWidget(add(ctl::ImportTeachers, makeButton(tx::kImportTeachersButton)));
    QLabel* gradeLabel = makeLabel(tx::kGradeLabel);
    layout->addWidget(gradeLabel);
    QComboBox* grades = add(ctl::GradeList, makeCombo(false, 12));
    grades->setMinimumContentsLength(5);
    gradeLabel->setBuddy(grades);
    layout->addWidget(grades);
    layout->addWidget(add(ctl::ImportStudents, makeButton(tx::kImportStudentsButton)));
    // The question sheets are read after the scores they are matched with.
    layout->addWidget(add(ctl::QuestionSheets, makeButton(tx::kQuestionSheetsButton)));
    layout->addWidget(makeLabel(tx::kClassLabel));
    QComboBox* classes = add(ctl::ClassListBox, makeCombo(false, 20));
    classes->setMinimumContentsLength(10);
    layout->addWidget(classes, 3);
    return row;
}

QWidget* WindowControls::buildImportOptions() {
    auto* content = new QWidget;
    auto* layout = tight(new QVBoxLayout(content), 2);
    auto radio = [&](int id, const char* caption, int groupId) {
        auto* button = add(id, coloured(new QRadioButton(qs(caption)), TextColour::Blue));
        missingRule->addButton(button, groupId);
        return button;
    };
    layout->addWidget(radio(ctl::MissingRule0, tx::kMissingRule0, 0));
    auto* limitRow = tight(new QHBoxLayout, 4);
    limitRow->addWidget(radio(ctl::MissingRule1, tx::kMissingRule1, 1));
    limitRow->addWidget(add(ctl::MissingLimit, coloured(makeNumberEdit(2, Qt::AlignLeft), TextColour::Blue)));
    QLabel* unit = makeLabel(tx::kMissingLimitUnit, TextColour::Blue);
    byId_[frame::MissingLimitLabel] = unit;
    limitRow->addWidget(unit);
    limitRow->addStretch(1);
    layout->addLayout(limitRow);
    layout->addWidget(radio(ctl::MissingRule2, tx::kMissingRule2, 2));
    // 计算赋分 beside 按赋分统计: the frame keeps its height.
    auto* scaledRow = tight(new QHBoxLayout, 4);
    scaledRow->addWidget(
        add(ctl::ConvertedScores, coloured(new QCheckBox(qs(tx::kConvertedScores)), TextColour::Blue)));
    scaledRow->addWidget(
        add(ctl::ComputeScaled, coloured(new QCheckBox(qs(tx::kComputeScaled)), TextColour::Blue)));
    scaledRow->addStretch(1);
    layout->addLayout(scaledRow);
    layout->addWidget(add(ctl::ByTrack, coloured(new QCheckBox(qs(tx::kByTrack)), TextColour::Blue)));
    layout->addStretch(1);
    auto* scroller = new OptionsScroller(content);
    scrollingFrames[0] = scroller;
    Frame* frame = frameAround(tx::kFrameImportOptions, TextColour::Blue, scroller);
    byId_[frame::ImportOptions] = frame;
    return frame;
}

QWidget* WindowControls::buildScoreSettings() {
    // Headings over the subjects' two edits; "%" after each excellence edit; 总分 at the end; the
    // further subjects' row below; 保存 and 默认 at the right.
    auto* content = new QWidget;
    auto* outer = tight(new QHBoxLayout(content), kColumnSpacing);
    // The rows of edits, the further subjects and 等级 close together, so that the frame still fits
    // a 1024×768 screen.
    auto* rows = tight(new QVBoxLayout, 1);
    auto* grid = tight(new QGridLayout, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    grid->addWidget(makeLabel(tx::kFullMarkRow), 1, 0);
    grid->addWidget(makeLabel(tx::kExcellenceRow), 2, 0);
    grid->setColumnMinimumWidth(1, 2);
    auto editColumn = [](int k) { return 2 + 2 * k; };
    for (int k = 0; k <= kSubjectCount; ++k) {
        const char* name = k < kSubjectCount ? kSubjects[static_cast<size_t>(k)].name : kTotalName;
        grid->addWidget(makeLabel(name), 0, editColumn(k), Qt::AlignHCenter);
        if (k < kSubjectCount) {
            grid->addWidget(makeLabel(tx::kPercent), 2, editColumn(k) + 1);
            grid->setColumnStretch(editColumn(k) + 1, 1);  // the subjects spread over a wide frame
            // The "%" column holds the gap to the next subject.
            grid->setColumnMinimumWidth(editColumn(k) + 1,
                                        content->fontMetrics().horizontalAdvance(qs("%")) + 6);
        }
    }
    for (int k = 0; k < kSubjectCount; ++k) {
        fullMarks[static_cast<size_t>(k)] =
            add(kSubjectEdits[static_cast<size_t>(k)].fullMark, makeNumberEdit(3, Qt::AlignHCenter));
        grid->addWidget(fullMarks[static_cast<size_t>(k)], 1, editColumn(k));
    }
    QLineEdit* totalFullMark = add(ctl::TotalFullMark, makeNumberEdit(4, Qt::AlignHCenter, true));
    grid->addWidget(totalFullMark, 1, editColumn(kSubjectCount));
    for (int k = 0; k < kSubjectCount; ++k) {
        excellenceLines[static_cast<size_t>(k)] =
            add(kSubjectEdits[static_cast<size_t>(k)].excellence, makeNumberEdit(3, Qt::AlignHCenter));
        grid->addWidget(excellenceLines[static_cast<size_t>(k)], 2, editColumn(k));
    }
    QLineEdit* totalExcellence = add(ctl::TotalExcellence, makeNumberEdit(4, Qt::AlignHCenter, true));
    grid->addWidget(totalExcellence, 2, editColumn(kSubjectCount));
    // The 良好 and 低分 lines of 四率, in percent of the full mark.
    grid->addWidget(makeLabel(tx::kGoodLineRow), 3, 0);
    grid->addWidget(makeLabel(tx::kLowLineRow), 4, 0);
    for (int k = 0; k < kSubjectCount; ++k) {
        goodLines[static_cast<size_t>(k)] =
            add(kSubjectLineEdits[static_cast<size_t>(k)].good, makeNumberEdit(3, Qt::AlignHCenter));
        grid->addWidget(goodLines[static_cast<size_t>(k)], 3, editColumn(k));
        grid->addWidget(makeLabel(tx::kPercent), 3, editColumn(k) + 1);
    }
    for (int k = 0; k < kSubjectCount; ++k) {
        lowLines[static_cast<size_t>(k)] =
            add(kSubjectLineEdits[static_cast<size_t>(k)].low, makeNumberEdit(3, Qt::AlignHCenter));
        grid->addWidget(lowLines[static_cast<size_t>(k)], 4, editColumn(k));
        grid->addWidget(makeLabel(tx::kPercent), 4, editColumn(k) + 1);
    }
    rows->addLayout(grid);
    otherSubjectsRow = new OtherSubjectsRow(lowLines.back(), content);
    rows->addWidget(otherSubjectsRow);
    // The grade's 等级: the method, the lines and the names, and what is wrong with them.
    auto* levelRow = tight(new QHBoxLayout, kColumnSpacing);
    levelRow->addWidget(makeLabel(tx::kLevelsCaption));
    auto* byScore = add(ctl::LevelByScore, new QRadioButton(qs(tx::kLevelByScore)));
    auto* byShare = add(ctl::LevelByShare, new QRadioButton(qs(tx::kLevelByShare)));
    levelMethod->addButton(byScore, 0);
    levelMethod->addButton(byShare, 1);
    byScore->setChecked(true);
    levelRow->addWidget(byScore);
    levelRow->addWidget(byShare);
    QLabel* linesLabel = makeLabel(tx::kLevelLinesLabel);
    levelRow->addWidget(linesLabel);
    auto* lines = add(ctl::LevelLines, new QLineEdit);
    lines->setMinimumWidth(lines->fontMetrics().horizontalAdvance(qs("15,35,35,13,2")) + 12);
    linesLabel->setBuddy(lines);
    levelRow->addWidget(lines, 1);
    QLabel* namesLabel = makeLabel(tx::kLevelNamesLabel);
    levelRow->addWidget(namesLabel);
    auto* names = add(ctl::LevelNames, new QLineEdit);
    names->setMinimumWidth(names->fontMetrics().horizontalAdvance(qs("A,B,C,D,E")) + 12);
    namesLabel->setBuddy(names);
    levelRow->addWidget(names, 1);
    // 四率 and 扩展指标 beside it: they add figures to the rate sheets from the lines above.
    levelRow->addSpacing(kColumnSpacing * 2);
    auto* fourRates = add(ctl::FourRates, new QCheckBox(qs(tx::kFourRates)));
    fourRates->setToolTip(qs(tx::kFourRatesTip));
    auto* moreFigures = add(ctl::MoreFigures, new QCheckBox(qs(tx::kMoreFigures)));
    moreFigures->setToolTip(qs(tx::kMoreFiguresTip));
    levelRow->addWidget(fourRates);
    levelRow->addWidget(moreFigures);
    QLabel* problem = makeLabel("", TextColour::Red);
    problem->setWordWrap(true);
    problem->hide();
    byId_[ctl::LevelProblem] = problem;
    rows->addLayout(levelRow);
    rows->addWidget(problem);
    rows->addStretch(1);
    outer->addLayout(rows, 1);

    auto* buttons = tight(new QVBoxLayout, kRowSpacing);
    buttons->addStretch(1);
    buttons->addWidget(add(ctl::SaveSettings, makeSmallButton(tx::kSaveButton)));
    buttons->addWidget(add(ctl::DefaultExcellence, makeSmallButton(tx::kDefaultButton)));
    buttons->addWidget(add(ctl::ScoreLineTable, makeSmallButton(tx::kScoreLinesButton)));
    buttons->addStretch(1);
    outer->addLayout(buttons);

    auto* scroller = new OptionsScroller(content);
    scrollingFrames[1] = scroller;
    Frame* frame = frameAround(tx::kFrameScoreSettings, TextColour::Blue, scroller);
    byId_[frame::ScoreSettings] = frame;
    return frame;
}

QWidget* WindowControls::buildExportOptions() {
    // The exam's name and 名次方式, the reports in four columns, the previous exam, the button.
    auto* content = new QWidget;
    auto* layout = tight(new QVBoxLayout(content), kRowSpacing);
    auto hbox = [](std::initializer_list<QWidget*> widgets, int spacing = 4) {
        auto* box = tight(new QHBoxLayout, spacing);
        for (QWidget* w : widgets) box->addWidget(w);
        return box;
    };
    auto* nameRow = tight(new QHBoxLayout, kColumnSpacing);
    nameRow->addWidget(makeLabel(tx::kExamNameLabel));
    nameRow->addWidget(add(ctl::ExamNameBox, makeCombo(true, 12)), 1);
    nameRow->addSpacing(kColumnSpacing * 2);
    nameRow->addWidget(makeLabel(tx::kRankingTiesLabel));
    auto* tiesSkip = add(ctl::RankingTiesSkip, new QRadioButton(qs(tx::kRankingTiesSkip)));
    auto* tiesDense = add(ctl::RankingTiesDense, new QRadioButton(qs(tx::kRankingTiesDense)));
    rankingTies->addButton(tiesSkip, 0);
    rankingTies->addButton(tiesDense, 1);
    tiesSkip->setChecked(true);
    nameRow->addWidget(tiesSkip);
    nameRow->addWidget(tiesDense);
    // 分别导出: one workbook per school or class beside the whole one.
    nameRow->addSpacing(kColumnSpacing);
    nameRow->addWidget(makeLabel(tx::kSplitFilesLabel));
    QComboBox* split = add(ctl::SplitFilesList, makeCombo(false, 3));
    // Wide enough for its longest choice (按学校, 按班级): three wide characters.
    split->setMinimumContentsLength(6);
    for (SplitFiles choice : {SplitFiles::None, SplitFiles::BySchool, SplitFiles::ByClass})
        split->addItem(qs(splitFilesName(choice)));
    nameRow->addWidget(split);
    nameRow->addSpacing(kColumnSpacing);
    nameRow->addWidget(add(ctl::NoRanks, coloured(new QCheckBox(qs(tx::kNoRanks)), TextColour::Red)));
    layout->addLayout(nameRow);

    auto report = [&](bool ExportOptions::*chosen) {
        return add(reportCheckBox(chosen), new QCheckBox(qs(reportCaption(chosen))));
    };
    auto* grid = tight(new QGridLayout, 0);
    grid->setHorizontalSpacing(kColumnSpacing * 2);
    grid->setVerticalSpacing(kRowSpacing);
    // Row by row, so that the tab order follows the reading order.
    grid->addWidget(report(&ExportOptions::gradeRates), 0, 0);
    grid->addWidget(report(&ExportOptions::totalBands), 0, 1);
    QCheckBox* topN = report(&ExportOptions::topNEnabled);
    QLineEdit* topNCount = add(ctl::TopNCount, makeNumberEdit(3, Qt::AlignLeft));
    QHBoxLayout* topNRow = hbox({topN, topNCount, makeLabel(tx::kTopNUnit)});
    topNRow->addStretch(1);
    grid->addLayout(topNRow, 0, 2);
    grid->addWidget(
        add(ctl::IgnoreZeroScores, coloured(new QCheckBox(qs(tx::kIgnoreZeroScores)), TextColour::Red)), 0,
        3);
    // 上线分析 and the lines 临界生 are near, at the end of the first two rows; 小题分析 under them.
    grid->addWidget(report(&ExportOptions::scoreLines), 0, 4);
    grid->addWidget(report(&ExportOptions::classRates), 1, 0);
    grid->addWidget(report(&ExportOptions::totalRankBands), 1, 1);
    grid->addWidget(report(&ExportOptions::classRanking), 1, 2);
    auto* perClass = add(ctl::ClassRankingPerClass, new QRadioButton(qs(tx::kRankingPerClass)));
    auto* oneSheet = add(ctl::ClassRankingOneSheet, new QRadioButton(qs(tx::kRankingOneSheet)));
    rankingLayout->addButton(perClass, 0);
    rankingLayout->addButton(oneSheet, 1);
    QHBoxLayout* layoutRow = hbox({perClass, oneSheet}, kColumnSpacing);
    layoutRow->addStretch(1);
    grid->addLayout(layoutRow, 1, 3);
    grid->addWidget(add(ctl::NearScoreLines, new QCheckBox(qs(tx::kNearScoreLines))), 1, 4);
    grid->addWidget(report(&ExportOptions::teacherRates), 2, 0);
    grid->addWidget(report(&ExportOptions::subjectBands), 2, 1);
    grid->addWidget(report(&ExportOptions::charts), 2, 2);
    grid->addWidget(add(ctl::BlankScoresExcluded,
                        coloured(new QCheckBox(qs(app_texts::kBlankScoresExcludedCaption)), TextColour::Red)),
                    2, 3);
    grid->addWidget(report(&ExportOptions::questionAnalysis), 2, 4);
    grid->setColumnStretch(5, 1);
    layout->addLayout(grid);

    auto* previousRow = tight(new QHBoxLayout, kColumnSpacing);
    previousRow->addWidget(makeLabel(tx::kPreviousExamLabel));
    previousRow->addWidget(add(ctl::PreviousFile, makeSmallButton(tx::kPreviousFileButton)));
    QComboBox* previousSheets = add(ctl::PreviousSheetList, makeCombo(false, 12));
    previousSheets->setMinimumContentsLength(10);
    previousRow->addWidget(previousSheets);
    previousRow->addSpacing(kColumnSpacing);
    previousRow->addWidget(report(&ExportOptions::progress));
    previousRow->addWidget(report(&ExportOptions::nearLine));
    previousRow->addWidget(report(&ExportOptions::levelDistribution));
    previousRow->addWidget(report(&ExportOptions::standardScores));
    previousRow->addStretch(1);
    previousRow->addWidget(add(ctl::ExportResults, makeButton(tx::kExportButton)));
    layout->addLayout(previousRow);
    layout->addStretch(1);

    auto* scroller = new OptionsScroller(content);
    scrollingFrames[2] = scroller;
    Frame* frame = frameAround(tx::kFrameExport, TextColour::Blue, scroller);
    byId_[frame::Export] = frame;
    return frame;
}

void WindowControls::orderTabs() {
    for (size_t i = 1; i < readingOrder_.size(); ++i)
        QWidget::setTabOrder(readingOrder_[i - 1], readingOrder_[i]);
}

QWidget* WindowControls::byId(int id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

QPushButton* WindowControls::button(int id) const {
    return qobject_cast<QPushButton*>(byId(id));
}
QLineEdit* WindowControls::edit(int id) const {
    return qobject_cast<QLineEdit*>(byId(id));
}
QComboBox* WindowControls::combo(int id) const {
    return qobject_cast<QComboBox*>(byId(id));
}
QCheckBox* WindowControls::check(int id) const {
    return qobject_cast<QCheckBox*>(byId(id));
}
QRadioButton* WindowControls::radio(int id) const {
    return qobject_cast<QRadioButton*>(byId(id));
}

}  // namespace varnex::ui
