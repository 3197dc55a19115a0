#include "ui/score_lines_dialog.h"

#include <QAbstractItemDelegate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "base/common_texts.h"
#include "base/text_util.h"
#include "ui/dialog_units.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// A line's value as the settings file writes it: "480", "60%".
std::string valueText(ScoreLine line) {
    line.track.clear();
    const std::string text = scoreLinesText({line});
    return text.substr(text.find('=') + 1);
}

// The one line `text` names, for every track; none for any other text.
std::optional<ScoreLine> singleLine(const std::string& text) {
    std::optional<std::vector<ScoreLine>> lines = scoreLinesNamed(text);
    if (!lines || lines->size() != 1 || !lines->front().track.empty()) return std::nullopt;
    return lines->front();
}

constexpr int kDialogWidthDlu = 230;
constexpr int kDialogHeightDlu = 170;

}  // namespace

std::vector<ScoreLineRow> scoreLineRows(const std::vector<ScoreLine>& lines) {
    std::vector<ScoreLineRow> rows;
    for (const std::string& name : scoreLineNames(lines)) {
        ScoreLineRow row{name, {}};
        for (const ScoreLine& line : lines) {
            if (line.name != name) continue;
            for (size_t t = 0; t < row.values.size(); ++t) {
                if (line.track.empty() || line.track == kTracks[t]) row.values[t] = valueText(line);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Result<std::vector<ScoreLine>> scoreLinesOfRows(const std::vector<ScoreLineRow>& rows) {
    std::vector<ScoreLine> lines;
    std::vector<std::string> names;
    for (size_t r = 0; r < rows.size(); ++r) {
        const ScoreLineRow& row = rows[r];
        if (row.name.empty() && row.values[0].empty() && row.values[1].empty()) continue;
        if (row.name.empty()) return fail(strprintf(tx::kScoreLineNoNameFormat, static_cast<int>(r + 1)));
        const std::optional<ScoreLine> named = singleLine(row.name + "=1");
        if (!named) return fail(strprintf(tx::kScoreLineBadNameFormat, row.name.c_str()));
        const std::string& name = named->name;  // as the settings file keeps it: no blanks
        if (std::find(names.begin(), names.end(), name) != names.end())
            return fail(strprintf(tx::kScoreLineTwiceFormat, name.c_str()));
        names.push_back(name);
        std::array<std::optional<ScoreLine>, 2> perTrack;
        for (size_t t = 0; t < perTrack.size(); ++t) {
            if (row.values[t].empty()) continue;
            perTrack[t] = singleLine(name + "=" + row.values[t]);
            if (!perTrack[t] || perTrack[t]->name != name)
                return fail(
                    strprintf(tx::kScoreLineBadValueFormat, name.c_str(), kTracks[t], row.values[t].c_str()));
        }
        if (!perTrack[0] && !perTrack[1]) return fail(strprintf(tx::kScoreLineEmptyFormat, name.c_str()));
        if (perTrack[0] && perTrack[1] && *perTrack[0] == *perTrack[1]) {
            lines.push_back(*perTrack[0]);  // the same for both: one line for every track
            continue;
        }
        for (size_t t = 0; t < perTrack.size(); ++t) {
            if (!perTrack[t]) continue;
            perTrack[t]->track = kTracks[t];
            lines.push_back(*perTrack[t]);
        }
    }
    return lines;
}

ScoreLinesDialog::ScoreLinesDialog(const std::string& gradeName, const std::vector<ScoreLine>& lines,
                                   Frontend& frontend, QWidget* parent)
    : QDialog(parent), frontend_(frontend) {
    setWindowTitle(qs(tx::kScoreLinesTitle));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QString::fromStdString(strprintf(tx::kScoreLinesHintFormat, gradeName.c_str())));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({qs(tx::kScoreLineNameHeader), qs(kTracks[0]), qs(kTracks[1])});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing in a cell replaces its text, as in a worksheet; Tab goes on to the next cell.
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    layout->addWidget(table_, 1);
    for (const ScoreLineRow& row : scoreLineRows(lines)) addRow(row);
    if (table_->rowCount() == 0) addRow({});
    table_->setCurrentCell(0, 0);

    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(qs(tx::kAddRowButton));
    remove_ = new QPushButton(qs(tx::kRemoveRowButton));
    for (QPushButton* button : {add_, remove_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    box->button(QDialogButtonBox::Ok)->setText(qs(tx::kOkButton));
    box->button(QDialogButtonBox::Cancel)->setText(qs(tx::kCancelButton));
    buttons->addWidget(box);
    layout->addLayout(buttons);

    connect(add_, &QPushButton::clicked, this, [this] {
        addRow({});
        table_->setFocus();
        table_->setCurrentCell(table_->rowCount() - 1, 0);
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (int row = table_->currentRow(); row >= 0) table_->removeRow(row);
    });
    connect(box, &QDialogButtonBox::accepted, this, &ScoreLinesDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &ScoreLinesDialog::reject);

    const DialogUnits units = DialogUnits::forFont(font());
    resize(units.x(kDialogWidthDlu), units.y(kDialogHeightDlu));
}

void ScoreLinesDialog::addRow(const ScoreLineRow& row) {
    const int at = table_->rowCount();
    table_->insertRow(at);
    table_->setItem(at, 0, new QTableWidgetItem(QString::fromStdString(row.name)));
    for (size_t t = 0; t < row.values.size(); ++t)
        table_->setItem(at, static_cast<int>(t) + 1,
                        new QTableWidgetItem(QString::fromStdString(row.values[t])));
}

std::vector<ScoreLineRow> ScoreLinesDialog::rows() const {
    auto text = [this](int row, int column) {
        const QTableWidgetItem* item = table_->item(row, column);
        return item != nullptr ? item->text().trimmed().toStdString() : std::string();
    };
    std::vector<ScoreLineRow> rows;
    for (int r = 0; r < table_->rowCount(); ++r) rows.push_back({text(r, 0), {text(r, 1), text(r, 2)}});
    return rows;
}

void ScoreLinesDialog::accept() {
    // Enter in a cell being edited comes here before the cell has taken the text: it takes it now,
    // and the cell is closed, so that typing after a refusal starts afresh.
    if (QWidget* editor = table_->indexWidget(table_->currentIndex())) {
        emit table_->itemDelegate()->commitData(editor);
        emit table_->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    Result<std::vector<ScoreLine>> read = scoreLinesOfRows(rows());
    if (!read) {
        frontend_.showMessage(read.error(), common_texts::kCaptionError, MessageIcon::Error);
        table_->setFocus();
        return;
    }
    lines_ = std::move(*read);
    QDialog::accept();
}

}  // namespace varnex::ui
