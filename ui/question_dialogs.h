#pragma once
// 小题分析 in the window: the dialog of the question sheets read (adding, removing, 导出小题明细),
// the choice of a workbook's sheet and subject, and the table of the questions' full marks asked
// when a sheet has no 满分 row.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace varnex::ui {

/// Runs a core step the way the window runs its commands (on a thread of its own, the window
/// painting meanwhile); it does nothing while another command runs.
using CoreRunner = std::function<void(const std::function<void()>&)>;

/// The sheet of a workbook that holds a subject's question scores, and the subject.
class QuestionSourceDialog : public QDialog {
    Q_OBJECT
  public:
    /// `sheets`: the workbook's worksheets; `subjects`: those offered (another may be typed).
    QuestionSourceDialog(const std::vector<std::string>& sheets, const std::vector<std::string>& subjects,
                         QWidget* parent = nullptr);
    std::string sheet() const;
    std::string subject() const;
    QComboBox* sheetBox() const { return sheets_; }
    QComboBox* subjectBox() const { return subjects_; }

  private:
    /// Offers the subject the sheet's name contains ("数学小题": 数学), if any.
    void guessSubject();

    QComboBox* sheets_ = nullptr;
    QComboBox* subjects_ = nullptr;
};

/// The dialog 小题分析: the question sheets read, one per subject (文件 · 工作表 · 学科); 添加… reads
/// one at once, 移除 lets one go, and 导出小题明细 is chosen here.
class QuestionSheetsDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows and changes state.questionSheets and state.exportOptions.questionDetail; the imports
    /// run through `run` and talk through `frontend`.
    QuestionSheetsDialog(AppState& state, Frontend& frontend, CoreRunner run, QWidget* parent = nullptr);

    /// 添加… after the file was chosen: the workbook's sheets, then the sheet and subject from
    /// QuestionSourceDialog, then the import (which asks for the full marks when the sheet has
    /// none). Nothing changes when a step is cancelled or refused.
    void addFrom(const std::string& path);

    QTableWidget* table() const { return table_; }
    QCheckBox* detailBox() const { return detail_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }

  private:
    /// Shows the sheets of the state.
    void refresh();
    void chooseFile();
    void removeSelected();
    /// The subjects offered for a sheet: the score sheet's examined subjects, else the grade's.
    std::vector<std::string> subjects() const;
    /// Runs `step` with the dialog's own controls disabled, so that nothing starts meanwhile.
    void runStep(const std::function<void()>& step);

    AppState& state_;
    Frontend& frontend_;
    CoreRunner run_;
    QTableWidget* table_ = nullptr;
    QCheckBox* detail_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* close_ = nullptr;
};

/// The full marks of a subject's questions: a box per question, filled with `proposed`; OK refuses
/// a mark that is no positive number (at most 1000) with a message naming the question.
class QuestionMarksDialog : public QDialog {
    Q_OBJECT
  public:
    QuestionMarksDialog(const std::string& subject, const std::vector<std::string>& questions,
                        const std::vector<double>& proposed, Frontend& frontend, QWidget* parent = nullptr);
    /// The marks as accepted, one per question.
    const std::vector<double>& marks() const { return marks_; }
    /// The boxes, in question order.
    const std::vector<QLineEdit*>& boxes() const { return boxes_; }

  public slots:
    void accept() override;

  private:
    std::vector<std::string> questions_;
    Frontend& frontend_;
    std::vector<QLineEdit*> boxes_;
    std::vector<double> marks_;
};

/// The marks a mark box holds: a number above 0 and at most 1000; none for any other text.
std::optional<double> questionMarkOf(const QString& text);

}  // namespace varnex::ui
