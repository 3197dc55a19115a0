#pragma once
// The controls of the main window, laid out by Qt layouts and addressed by control id.

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

#include "app/subjects.h"
#include "ui/window_layout.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;
class QTableView;
class QWidget;

namespace varnex::ui {

/// A numeric edit: receiving the focus selects its whole text, so that typing replaces it.
class NumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

/// A label that shows its text shortened with "…" when it is narrower than the text; text()
/// stays the whole text.
class ElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;
    /// The text as the label shows it at its present width.
    QString shownText() const;
    QSize minimumSizeHint() const override { return {1, QLabel::minimumSizeHint().height()}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

/// The HTML fragment of a rich tooltip: centred title, rule, then the body.
QString tooltipHtml(const char* title, const char* body);
/// The fragment as the tooltip shows it: Qt's rich text would turn each line break after a block
/// (the heading, the centring) into an empty line, a blank band under the title; the heading, the
/// rule and the body are shown without them. Any other text is returned as it is.
QString tooltipForDisplay(const QString& fragment);

/// The row of the score settings that holds the subjects beyond the eleven (a label, then per
/// subject its name, a full-mark edit and an excellence edit). Hidden while it holds no widget;
/// each widget put into it takes its place in the tab order after the previous one.
class OtherSubjectsRow : public QWidget {
  public:
    /// `before`: the control the row's first widget follows in the tab order.
    OtherSubjectsRow(QWidget* before, QWidget* parent);

  protected:
    void childEvent(QChildEvent* event) override;

  private:
    QWidget* before_;
};

class WindowControls {
  public:
    /// Creates every control and frame on `parent` in Qt layouts: the import row and the option
    /// frames at the top, the student table, the teacher table beside the export options and the
    /// log. The option frames scroll when the window is too low for them. The tab order is the
    /// reading order.
    void build(QWidget* parent);

    /// The control with this id (frames included), or nullptr.
    QWidget* byId(int id) const;
    QPushButton* button(int id) const;
    QLineEdit* edit(int id) const;
    QComboBox* combo(int id) const;
    QCheckBox* check(int id) const;
    QRadioButton* radio(int id) const;

    std::array<QLineEdit*, kSubjectCount> fullMarks{};
    std::array<QLineEdit*, kSubjectCount> excellenceLines{};
    std::array<QLineEdit*, kSubjectCount> goodLines{};  ///< 良好线, percent of the full mark
    std::array<QLineEdit*, kSubjectCount> lowLines{};   ///< 低分线, percent of the full mark
    QTableView* students = nullptr;
    QTableView* teachers = nullptr;
    QPlainTextEdit* log = nullptr;
    QButtonGroup* missingRule = nullptr;    ///< ids 0, 1, 2
    QButtonGroup* rankingLayout = nullptr;  ///< ids 0, 1
    QButtonGroup* rankingTies = nullptr;    ///< 名次方式: 0 并列占位, 1 并列不占位
    QButtonGroup* levelMethod = nullptr;    ///< 等级方式: 0 分数, 1 比例
    /// The row for the further subjects (a QHBoxLayout), below the two rows of subject edits.
    QWidget* otherSubjectsRow = nullptr;
    /// The boxes of one further subject (a column of the score sheet outside the subject list).
    struct OtherSubjectEdits {
        std::string name;
        QLineEdit* fullMark = nullptr;
        QLineEdit* excellence = nullptr;
    };
    /// The further subjects shown, in the order of their columns.
    std::vector<OtherSubjectEdits> otherSubjects;
    /// Shows a full-mark and an excellence box for each of `names` in the further-subjects row,
    /// after the caption "其他学科" (the row is hidden while there are none). Nothing changes when
    /// the row already shows these names. True when the boxes were made anew.
    bool showOtherSubjects(const std::vector<std::string>& names);
    /// The frames that scroll when the window is too low: import options, score settings, export.
    std::array<QScrollArea*, 3> scrollingFrames{};
    /// The layout the window's status bar goes into, below everything else.
    QVBoxLayout* outerLayout = nullptr;

  private:
    QWidget* buildImportRow();
    QWidget* buildImportOptions();
    QWidget* buildScoreSettings();
    QWidget* buildExportOptions();
    /// Sets the tab order: the controls in the order they were registered (reading order).
    void orderTabs();
    /// Registers a control under its id (kNoId: none) in the reading order, and returns it.
    template <typename W>
    W* add(int id, W* widget);

    std::unordered_map<int, QWidget*> byId_;
    std::vector<QWidget*> readingOrder_;
};

}  // namespace varnex::ui
