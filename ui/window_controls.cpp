#include "ui/window_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "ui/window_layout.h"

namespace varnex::ui {

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Deferred: a mouse click that gave the focus would otherwise place the caret afterwards.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

QString tooltipHtml(const char* title, const char* body) {
    return QStringLiteral("<center><h2>%1</h2><br><hr style=\"background-color:#0000ff\"></center><br>%2")
        .arg(QString::fromUtf8(title), QString::fromUtf8(body));
}

namespace {

void applyColour(QWidget* widget, TextColour colour) {
    if (colour == TextColour::Default) return;
    QColor c = colour == TextColour::Blue ? QColor(0, 0, 255) : QColor(255, 0, 0);
    QPalette palette = widget->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Active, role, c), palette.setColor(QPalette::Inactive, role, c);
    widget->setPalette(palette);
}

// Places a control whose template height is one text line: vertically centred on its rectangle,
// as tall as the widget needs.
void placeCentred(QWidget* widget, QRect rect) {
    int height = std::max(rect.height(), widget->sizeHint().height());
    widget->setGeometry(rect.x(), rect.center().y() - height / 2 + 1, rect.width(), height);
}

}  // namespace

void WindowControls::build(QWidget* parent, const DialogUnits& units) {
    missingRule = new QButtonGroup(parent);
    rankingLayout = new QButtonGroup(parent);

    for (const ControlTemplate& t : controlTemplates()) {
        QRect rect = units.rect(t.x, t.y, t.width, t.height);
        QString caption = QString::fromUtf8(t.caption);
        QWidget* widget = nullptr;
        switch (t.kind) {
            case ControlKind::GroupBox: {
                auto* box = new QGroupBox(caption, parent);
                box->setGeometry(rect);
                // A frame is background: a press on it moves the window like one on the dialog.
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                widget = box;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(caption, parent);
                button->setAutoDefault(false);
                button->setGeometry(rect);
                widget = button;
                break;
            }
            case ControlKind::Label:
            case ControlKind::LabelRight: {
                auto* label = new QLabel(caption, parent);
                label->setAlignment((t.kind == ControlKind::LabelRight ? Qt::AlignRight : Qt::AlignLeft) |
                                    Qt::AlignVCenter);
                placeCentred(label, rect);
                widget = label;
                break;
            }
            case ControlKind::DropList:
            case ControlKind::ComboEdit: {
                auto* combo = new QComboBox(parent);
                if (t.kind == ControlKind::ComboEdit) {
                    combo->setEditable(true);
                    combo->setInsertPolicy(QComboBox::NoInsert);
                }
                combo->setMaxVisibleItems(std::max(4, units.y(t.height) / units.baseY - 2));
                combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
                widget = combo;
                break;
            }
            case ControlKind::RadioFirst:
            case ControlKind::Radio: {
                auto* radio = new QRadioButton(caption, parent);
                placeCentred(radio, rect);
                widget = radio;
                break;
            }
            case ControlKind::Check: {
                auto* check = new QCheckBox(caption, parent);
                placeCentred(check, rect);
                widget = check;
                break;
            }
            case ControlKind::Edit:
            case ControlKind::EditCentred:
            case ControlKind::EditReadOnly: {
                QLineEdit* edit =
                    t.kind == ControlKind::EditReadOnly ? new QLineEdit(parent) : new NumberEdit(parent);
                edit->setAlignment(t.kind == ControlKind::Edit ? Qt::AlignLeft : Qt::AlignHCenter);
                edit->setReadOnly(t.kind == ControlKind::EditReadOnly);
                edit->setTextMargins(0, 0, 0, 0);
                edit->setGeometry(rect);
                widget = edit;
                break;
            }
            case ControlKind::List: {
                auto* view = new QTableView(parent);
                view->setGeometry(rect);
                view->setSelectionBehavior(QAbstractItemView::SelectRows);
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
                view->setEditTriggers(QAbstractItemView::NoEditTriggers);
                view->setShowGrid(true);
                view->setWordWrap(false);
                view->setTabKeyNavigation(false);
                view->verticalHeader()->hide();
                view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
                view->verticalHeader()->setDefaultSectionSize(units.baseY + 4);
                view->horizontalHeader()->setSectionsClickable(true);
                view->horizontalHeader()->setHighlightSections(false);
                view->horizontalHeader()->setStretchLastSection(false);
                view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                widget = view;
                break;
            }
            case ControlKind::Log: {
                auto* box = new QPlainTextEdit(parent);
                box->setReadOnly(true);
                box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
                box->setGeometry(rect);
                widget = box;
                break;
            }
        }
        applyColour(widget, t.colour);
        if (t.id != kNoId) byId_[t.id] = widget;
    }

    // The settings row: headings, full-mark and excellence edits, "%" after each excellence edit.
    const SubjectColumns& c = kSubjectColumns;
    for (int k = 0; k <= kSubjectCount; ++k) {
        const char* name = k < kSubjectCount ? kSubjects[static_cast<size_t>(k)].name : kTotalName;
        auto* heading = new QLabel(QString::fromUtf8(name), parent);
        placeCentred(heading,
                     units.rect(c.headingX + c.pitch * k, c.headingY, c.headingWidth, c.headingHeight));
        if (k == kSubjectCount) continue;
        const Subject& subject = kSubjects[static_cast<size_t>(k)];
        auto makeEdit = [&](int id, int y) {
            auto* edit = new NumberEdit(parent);
            edit->setAlignment(Qt::AlignHCenter);
            edit->setTextMargins(0, 0, 0, 0);
            edit->setGeometry(units.rect(c.editX + c.pitch * k, y, c.editWidth, c.editHeight));
            byId_[id] = edit;
            return edit;
        };
        fullMarks[static_cast<size_t>(k)] = makeEdit(subject.fullMarkEdit, c.fullMarkY);
        excellenceLines[static_cast<size_t>(k)] = makeEdit(subject.excellenceEdit, c.excellenceY);
        auto* percent = new QLabel(QStringLiteral("%"), parent);
        placeCentred(percent, units.rect(c.editX + c.pitch * k + c.percentDx, c.excellenceY + c.percentDy,
                                         c.percentWidth, c.percentHeight));
    }
    // The tab order follows creation; the settings row belongs after the import options.
    QWidget* previous = byId(ctl::MissingRule2);
    for (QLineEdit* edit : fullMarks) QWidget::setTabOrder(previous, edit), previous = edit;
    for (QLineEdit* edit : excellenceLines) QWidget::setTabOrder(previous, edit), previous = edit;
    QWidget::setTabOrder(previous, byId(ctl::SaveSettings));
    QWidget::setTabOrder(byId(ctl::SaveSettings), byId(ctl::DefaultExcellence));

    students = qobject_cast<QTableView*>(byId(ctl::StudentTable));
    teachers = qobject_cast<QTableView*>(byId(ctl::TeacherTable));
    log = qobject_cast<QPlainTextEdit*>(byId(ctl::StatusLogBox));

    missingRule->addButton(radio(ctl::MissingRule0), 0);
    missingRule->addButton(radio(ctl::MissingRule1), 1);
    missingRule->addButton(radio(ctl::MissingRule2), 2);
    rankingLayout->addButton(radio(ctl::ClassRankingPerClass), 0);
    rankingLayout->addButton(radio(ctl::ClassRankingOneSheet), 1);
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
