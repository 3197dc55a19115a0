#include "ui/question_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/report_choices.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/question_import.h"
#include "ui/dialog_units.h"
#include "ui/qt_dialogs.h"
#include "ui/ui_texts.h"
#include "ui/window_controls.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}
QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// 确定 and 取消 (or 关闭 alone) under a dialog.
QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    box->button(QDialogButtonBox::Ok)->setText(qs(tx::kOkButton));
    box->button(QDialogButtonBox::Cancel)->setText(qs(tx::kCancelButton));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

constexpr int kSheetsDialogWidthDlu = 300;
constexpr int kSheetsDialogHeightDlu = 170;
// The full-mark boxes stand in columns of this many questions.
constexpr int kMarksPerColumn = 10;

}  // namespace

QuestionSourceDialog::QuestionSourceDialog(const std::vector<std::string>& sheets,
                                           const std::vector<std::string>& subjects, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(qs(tx::kQuestionSourceTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    sheets_ = new QComboBox;
    for (const std::string& sheet : sheets) sheets_->addItem(qs(sheet));
    subjects_ = new QComboBox;
    subjects_->setEditable(true);
    subjects_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& subject : subjects) subjects_->addItem(qs(subject));
    form->addRow(qs(tx::kQuestionSheetLabel), sheets_);
    form->addRow(qs(tx::kQuestionSubjectLabel), subjects_);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
    connect(sheets_, &QComboBox::currentIndexChanged, this, &QuestionSourceDialog::guessSubject);
    guessSubject();
}

std::string QuestionSourceDialog::sheet() const {
    return sheets_->currentText().toStdString();
}

std::string QuestionSourceDialog::subject() const {
    return subjects_->currentText().trimmed().toStdString();
}

void QuestionSourceDialog::guessSubject() {
    const QString sheet = sheets_->currentText();
    for (int i = 0; i < subjects_->count(); ++i) {
        if (sheet.contains(subjects_->itemText(i))) {
            subjects_->setCurrentIndex(i);
            return;
        }
    }
}

QuestionSheetsDialog::QuestionSheetsDialog(AppState& state, Frontend& frontend, CoreRunner run,
                                           QWidget* parent)
    : QDialog(parent), state_(state), frontend_(frontend), run_(std::move(run)) {
    setWindowTitle(qs(tx::kQuestionSheetsTitle));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(qs(tx::kQuestionSheetsHint));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels(
        {qs(tx::kQuestionFileHeader), qs(tx::kQuestionSheetHeader), qs(tx::kQuestionSubjectHeader)});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setTabKeyNavigation(false);
    layout->addWidget(table_, 1);

    auto* row = new QHBoxLayout;
    add_ = new QPushButton(qs(tx::kAddSheetButton));
    remove_ = new QPushButton(qs(tx::kRemoveSheetButton));
    detail_ = new QCheckBox(qs(reportCaption(&ExportOptions::questionDetail)));
    close_ = new QPushButton(qs(tx::kCloseButton));
    for (QPushButton* button : {add_, remove_, close_}) button->setAutoDefault(false);
    close_->setDefault(true);
    row->addWidget(add_);
    row->addWidget(remove_);
    row->addSpacing(12);
    row->addWidget(detail_);
    row->addStretch(1);
    row->addWidget(close_);
    layout->addLayout(row);

    connect(add_, &QPushButton::clicked, this, &QuestionSheetsDialog::chooseFile);
    connect(remove_, &QPushButton::clicked, this, &QuestionSheetsDialog::removeSelected);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(detail_, &QCheckBox::toggled, this,
            [this](bool on) { state_.exportOptions.questionDetail = on; });
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { remove_->setEnabled(!table_->selectedItems().isEmpty()); });

    const DialogUnits units = DialogUnits::forFont(font());
    resize(units.x(kSheetsDialogWidthDlu), units.y(kSheetsDialogHeightDlu));
    refresh();
    add_->setFocus();
}

void QuestionSheetsDialog::refresh() {
    table_->setRowCount(0);
    for (const QuestionScores& sheet : state_.questionSheets) {
        const int at = table_->rowCount();
        table_->insertRow(at);
        const QuestionSource& source = sheet.source;
        table_->setItem(at, 0, new QTableWidgetItem(qs(fileNameOf(source.path))));
        table_->item(at, 0)->setToolTip(qs(source.path));
        table_->setItem(at, 1, new QTableWidgetItem(qs(source.sheet)));
        table_->setItem(at, 2, new QTableWidgetItem(qs(source.subject)));
    }
    if (table_->rowCount() > 0) table_->selectRow(table_->rowCount() - 1);
    remove_->setEnabled(!table_->selectedItems().isEmpty());
    QSignalBlocker block(detail_);
    detail_->setChecked(state_.exportOptions.questionDetail);
}

void QuestionSheetsDialog::runStep(const std::function<void()>& step) {
    const std::vector<QWidget*> controls{table_, add_, remove_, detail_, close_};
    std::vector<bool> enabled;
    for (QWidget* control : controls) {
        enabled.push_back(control->isEnabled());
        control->setEnabled(false);
    }
    run_(step);
    for (size_t k = 0; k < controls.size(); ++k) controls[k]->setEnabled(enabled[k]);
}

std::vector<std::string> QuestionSheetsDialog::subjects() const {
    std::vector<std::string> names = state_.imported.examSubjects;
    for (const std::string& column : state_.imported.extraColumns) {
        if (state_.scores.extraFullMark(column) > 0 &&
            std::find(names.begin(), names.end(), column) == names.end())
            names.push_back(column);
    }
    if (!names.empty()) return names;
    for (size_t s = 0; s < kSubjects.size(); ++s) {
        if (state_.scores.fullMark[s] > 0) names.push_back(kSubjects[s].name);
    }
    return names;
}

void QuestionSheetsDialog::chooseFile() {
    if (state_.imported.studentCount == 0) {
        frontend_.showMessage(tx::kQuestionsNeedScores, common_texts::kCaptionInfo, MessageIcon::Information);
        return;
    }
    QFileDialog dialog(this);
    prepareOpenDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    addFrom(dialog.selectedFiles().front().toStdString());
}

void QuestionSheetsDialog::addFrom(const std::string& path) {
    if (state_.imported.studentCount == 0) {
        frontend_.showMessage(tx::kQuestionsNeedScores, common_texts::kCaptionInfo, MessageIcon::Information);
        return;
    }
    std::optional<std::vector<std::string>> sheets;
    runStep([&] {
        if (Result<std::vector<std::string>> read = questionWorkbookSheets(state_, frontend_, path))
            sheets = std::move(*read);
    });
    if (!sheets) return;  // the core said why
    QuestionSourceDialog choice(*sheets, subjects(), this);
    if (choice.exec() != QDialog::Accepted) return;
    const QuestionSource source{path, choice.sheet(), choice.subject(), ""};
    runStep([&] { (void)importQuestionSheet(state_, frontend_, source); });
    refresh();
    add_->setFocus();
}

void QuestionSheetsDialog::removeSelected() {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows) {
        if (row >= 0 && row < static_cast<int>(state_.questionSheets.size()))
            state_.questionSheets.erase(state_.questionSheets.begin() + row);
    }
    refresh();
}

std::optional<double> questionMarkOf(const QString& text) {
    bool ok = false;
    const double mark = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(mark) || mark <= 0 || mark > 1000) return std::nullopt;
    return mark;
}

QuestionMarksDialog::QuestionMarksDialog(const std::string& subject,
                                         const std::vector<std::string>& questions,
                                         const std::vector<double>& proposed, Frontend& frontend,
                                         QWidget* parent)
    : QDialog(parent), questions_(questions), frontend_(frontend) {
    setWindowTitle(qs(tx::kQuestionMarksTitle));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(qs(strprintf(tx::kQuestionMarksHintFormat, subject.c_str())));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    // The questions down columns of kMarksPerColumn, each its label and its box; they scroll when
    // there are more than the screen shows.
    auto* grid = new QWidget;
    auto* cells = new QGridLayout(grid);
    cells->setHorizontalSpacing(6);
    cells->setVerticalSpacing(3);
    QWidget* previous = nullptr;
    for (size_t q = 0; q < questions.size(); ++q) {
        const int row = static_cast<int>(q) % kMarksPerColumn;
        const int column = 2 * (static_cast<int>(q) / kMarksPerColumn);
        auto* label = new QLabel(qs(questions[q]));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new NumberEdit;
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000.0")) + 12);
        const double offered = q < proposed.size() ? proposed[q] : 0;
        if (std::isfinite(offered) && offered > 0) box->setText(QString::number(offered, 'g', 10));
        label->setBuddy(box);
        cells->addWidget(label, row, column);
        cells->addWidget(box, row, column + 1);
        if (previous != nullptr) QWidget::setTabOrder(previous, box);
        previous = box;
        boxes_.push_back(box);
    }
    cells->setColumnStretch(cells->columnCount(), 1);
    auto* scroller = new QScrollArea;
    scroller->setWidget(grid);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroller, 1);
    QDialogButtonBox* buttons = okCancel(this);
    layout->addWidget(buttons);
    if (previous != nullptr) QWidget::setTabOrder(previous, buttons);

    // As large as the boxes need, within the screen.
    const QSize wanted = grid->sizeHint() + QSize(40, hint->sizeHint().height() + 100);
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen != nullptr ? screen->availableGeometry().size() * 9 / 10 : wanted;
    resize(wanted.boundedTo(room).expandedTo(QSize(DialogUnits::forFont(font()).x(200), 0)));
    if (!boxes_.empty()) boxes_.front()->setFocus();
}

void QuestionMarksDialog::accept() {
    std::vector<double> marks;
    for (size_t q = 0; q < boxes_.size(); ++q) {
        const std::optional<double> mark = questionMarkOf(boxes_[q]->text());
        if (!mark) {
            frontend_.showMessage(strprintf(tx::kQuestionMarkBadFormat, questions_[q].c_str(),
                                            boxes_[q]->text().trimmed().toUtf8().constData()),
                                  common_texts::kCaptionError, MessageIcon::Error);
            boxes_[q]->setFocus();
            return;
        }
        marks.push_back(*mark);
    }
    marks_ = std::move(marks);
    QDialog::accept();
}

}  // namespace varnex::ui
