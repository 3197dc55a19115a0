#pragma once
// 上线设置: the grade's lines of the total in a table, one row per line, a column per track.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "app/frontend.h"
#include "app/score_lines.h"
#include "base/result.h"

class QTableWidget;
class QPushButton;

namespace varnex::ui {

/// One row of the table as typed: the line's name and its value per track (kTracks order), each a
/// score ("480"), a share ("60%") or "" where the line does not apply.
struct ScoreLineRow {
    std::string name;
    std::array<std::string, 2> values;
    bool operator==(const ScoreLineRow&) const = default;
};

/// The rows that show `lines`: one per name in the order first given; a line for every track shows
/// in both columns.
std::vector<ScoreLineRow> scoreLineRows(const std::vector<ScoreLine>& lines);

/// The lines the rows give, in row order; a row typed alike for both tracks is one line for every
/// track, and empty rows are passed over. The failure names the row, or the line and the track of a
/// value that cannot be read.
Result<std::vector<ScoreLine>> scoreLinesOfRows(const std::vector<ScoreLineRow>& rows);

class ScoreLinesDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows `lines` of the grade `gradeName`; a refusal of 确定 goes to `frontend` as an error.
    ScoreLinesDialog(const std::string& gradeName, const std::vector<ScoreLine>& lines, Frontend& frontend,
                     QWidget* parent = nullptr);

    /// The lines as accepted (valid once the dialog was accepted).
    const std::vector<ScoreLine>& lines() const { return lines_; }
    QTableWidget* table() const { return table_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }

  public slots:
    /// Takes the table's lines, or says what cannot be read and stays open.
    void accept() override;

  private:
    void addRow(const ScoreLineRow& row);
    std::vector<ScoreLineRow> rows() const;

    Frontend& frontend_;
    QTableWidget* table_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    std::vector<ScoreLine> lines_;
};

}  // namespace varnex::ui
