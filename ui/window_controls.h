#pragma once
// The controls of the main window, built from the dialog template and addressed by control id.

#include <QLineEdit>
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

#include "app/subjects.h"
#include "ui/dialog_units.h"
#include "ui/window_layout.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
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

/// The HTML fragment of a rich tooltip: centred title, rule, then the body.
QString tooltipHtml(const char* title, const char* body);
/// The fragment as the tooltip shows it: Qt's rich text would turn each line break after a block
/// (the heading, the centring) into an empty line, a blank band under the title; the heading, the
/// rule and the body are shown without them. Any other text is returned as it is.
QString tooltipForDisplay(const QString& fragment);

class WindowControls {
  public:
    /// Creates every control of the template on `parent` at its place.
    void build(QWidget* parent, const DialogUnits& units);

    /// Lets a widget placed for the template's size follow the window by `anchor` (the controls
    /// of the template are registered by build()).
    void follow(QWidget* widget, Anchor anchor);
    /// Places every registered widget for a client area `gained` pixels wider and taller than the
    /// template (negative: smaller). The log stays scrolled to its end when it was there.
    void fitTo(QSize gained);

    /// The control with this id, or nullptr.
    QWidget* byId(int id) const;
    QPushButton* button(int id) const;
    QLineEdit* edit(int id) const;
    QComboBox* combo(int id) const;
    QCheckBox* check(int id) const;
    QRadioButton* radio(int id) const;

    std::array<QLineEdit*, kSubjectCount> fullMarks{};
    std::array<QLineEdit*, kSubjectCount> excellenceLines{};
    QTableView* students = nullptr;
    QTableView* teachers = nullptr;
    QPlainTextEdit* log = nullptr;
    QButtonGroup* missingRule = nullptr;    ///< ids 0, 1, 2
    QButtonGroup* rankingLayout = nullptr;  ///< ids 0, 1

  private:
    /// The subject columns of the settings row, which the template leaves out.
    void buildSettingsRow(QWidget* parent, const DialogUnits& units);
    /// Puts the settings row after the import options in the tab order.
    void orderSettingsRowTabs();
    /// The two radio groups: the missing-subject rule and the class-ranking layout.
    void groupRadioButtons();

    struct Follower {
        QWidget* widget;
        QRect templateRect;  ///< the widget's geometry for the template's size
        Anchor anchor;
    };

    std::unordered_map<int, QWidget*> byId_;
    std::vector<Follower> followers_;
};

}  // namespace varnex::ui
