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
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

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

// A frame is background: a press on it moves the window like one on the dialog.
QWidget* makeGroupBox(const QString& caption, QWidget* parent, QRect rect) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(rect);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
}

QWidget* makeButton(const QString& caption, QWidget* parent, QRect rect) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

QWidget* makeLabel(const QString& caption, QWidget* parent, QRect rect, Qt::Alignment alignment) {
    auto* label = new QLabel(caption, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    placeCentred(label, rect);
    return label;
}

// A combo box as tall as one line; its list shows the rows the template's height leaves room for.
QWidget* makeCombo(bool editable, QWidget* parent, QRect rect, int templateHeight, const DialogUnits& units) {
    auto* combo = new QComboBox(parent);
    if (editable) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    combo->setMaxVisibleItems(std::max(4, units.y(templateHeight) / units.baseY - 2));
    combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
    return combo;
}

// A one-line edit; the editable ones select their text on receiving the focus.
QLineEdit* makeLineEdit(QWidget* parent, QRect rect, Qt::Alignment alignment, bool readOnly) {
    QLineEdit* edit = readOnly ? new QLineEdit(parent) : new NumberEdit(parent);
    edit->setAlignment(alignment);
    edit->setReadOnly(readOnly);
    edit->setTextMargins(0, 0, 0, 0);
    edit->setGeometry(rect);
    return edit;
}

// A row table: whole rows selected, no editing, a clickable header for sorting.
QWidget* makeTableView(QWidget* parent, QRect rect, const DialogUnits& units) {
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
    return view;
}

QWidget* makeLogBox(QWidget* parent, QRect rect) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setGeometry(rect);
    return box;
}

// Creates the widget of one template entry at its place.
QWidget* makeControl(const ControlTemplate& t, QWidget* parent, const DialogUnits& units) {
    const QRect rect = units.rect(t.x, t.y, t.width, t.height);
    const QString caption = QString::fromUtf8(t.caption);
    switch (t.kind) {
        case ControlKind::GroupBox:
            return makeGroupBox(caption, parent, rect);
        case ControlKind::Button:
            return makeButton(caption, parent, rect);
        case ControlKind::Label:
            return makeLabel(caption, parent, rect, Qt::AlignLeft);
        case ControlKind::LabelRight:
            return makeLabel(caption, parent, rect, Qt::AlignRight);
        case ControlKind::DropList:
        case ControlKind::ComboEdit:
            return makeCombo(t.kind == ControlKind::ComboEdit, parent, rect, t.height, units);
        case ControlKind::RadioFirst:
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(caption, parent);
            placeCentred(radio, rect);
            return radio;
        }
        case ControlKind::Check: {
            auto* check = new QCheckBox(caption, parent);
            placeCentred(check, rect);
            return check;
        }
        case ControlKind::Edit:
            return makeLineEdit(parent, rect, Qt::AlignLeft, false);
        case ControlKind::EditCentred:
            return makeLineEdit(parent, rect, Qt::AlignHCenter, false);
        case ControlKind::EditReadOnly:
            return makeLineEdit(parent, rect, Qt::AlignHCenter, true);
        case ControlKind::List:
            return makeTableView(parent, rect, units);
        case ControlKind::Log:
            return makeLogBox(parent, rect);
    }
    return nullptr;
}

}  // namespace

void WindowControls::build(QWidget* parent, const DialogUnits& units) {
    missingRule = new QButtonGroup(parent);
    rankingLayout = new QButtonGroup(parent);
    for (const ControlTemplate& t : controlTemplates()) {
        QWidget* widget = makeControl(t, parent, units);
        applyColour(widget, t.colour);
        follow(widget, t.anchor);
        if (t.id != kNoId) byId_[t.id] = widget;
    }
    buildSettingsRow(parent, units);
    orderSettingsRowTabs();
    students = qobject_cast<QTableView*>(byId(ctl::StudentTable));
    teachers = qobject_cast<QTableView*>(byId(ctl::TeacherTable));
    log = qobject_cast<QPlainTextEdit*>(byId(ctl::StatusLogBox));
    groupRadioButtons();
}

void WindowControls::buildSettingsRow(QWidget* parent, const DialogUnits& units) {
    // Headings, full-mark and excellence edits, "%" after each excellence edit; 总分 has a heading only.
    const SubjectColumns& c = kSubjectColumns;
    for (int k = 0; k <= kSubjectCount; ++k) {
        const char* name = k < kSubjectCount ? kSubjects[static_cast<size_t>(k)].name : kTotalName;
        const Anchor column = anchor::settingsColumn(k);
        follow(makeLabel(QString::fromUtf8(name), parent,
                         units.rect(c.headingX + c.pitch * k, c.headingY, c.headingWidth, c.headingHeight),
                         Qt::AlignLeft),
               column);
        if (k == kSubjectCount) continue;
        const SubjectEdits& edits = kSubjectEdits[static_cast<size_t>(k)];
        auto makeEdit = [&](int id, int y) {
            QLineEdit* edit =
                makeLineEdit(parent, units.rect(c.editX + c.pitch * k, y, c.editWidth, c.editHeight),
                             Qt::AlignHCenter, false);
            byId_[id] = edit;
            follow(edit, column);
            return edit;
        };
        fullMarks[static_cast<size_t>(k)] = makeEdit(edits.fullMark, c.fullMarkY);
        excellenceLines[static_cast<size_t>(k)] = makeEdit(edits.excellence, c.excellenceY);
        follow(makeLabel(QStringLiteral("%"), parent,
                         units.rect(c.editX + c.pitch * k + c.percentDx, c.excellenceY + c.percentDy,
                                    c.percentWidth, c.percentHeight),
                         Qt::AlignLeft),
               column);
    }
}

void WindowControls::follow(QWidget* widget, Anchor anchor) {
    followers_.push_back({widget, widget->geometry(), anchor});
}

void WindowControls::fitTo(QSize gained) {
    QScrollBar* logScroll = log != nullptr ? log->verticalScrollBar() : nullptr;
    const bool logAtEnd = logScroll == nullptr || logScroll->value() == logScroll->maximum();
    const int dx = gained.width(), dy = gained.height();
    for (const Follower& f : followers_) {
        const Anchor& a = f.anchor;
        QRect r = f.templateRect;
        r.translate(dx * a.moveX / 100, dy * a.moveY / 100);
        r.setWidth(r.width() + dx * a.growX / 100);
        r.setHeight(r.height() + dy * a.growY / 100);
        f.widget->setGeometry(r);
    }
    if (logScroll != nullptr && logAtEnd) logScroll->setValue(logScroll->maximum());
}

void WindowControls::orderSettingsRowTabs() {
    // The tab order follows creation; the settings row belongs after the import options.
    QWidget* previous = byId(ctl::MissingRule2);
    for (QLineEdit* edit : fullMarks) QWidget::setTabOrder(previous, edit), previous = edit;
    for (QLineEdit* edit : excellenceLines) QWidget::setTabOrder(previous, edit), previous = edit;
    QWidget::setTabOrder(previous, byId(ctl::SaveSettings));
    QWidget::setTabOrder(byId(ctl::SaveSettings), byId(ctl::DefaultExcellence));
}

void WindowControls::groupRadioButtons() {
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
