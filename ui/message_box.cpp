#include "ui/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {

// The Chinese texts of the standard buttons the boxes use.
constexpr std::pair<QMessageBox::StandardButton, const char*> kButtonTexts[] = {
    {QMessageBox::Ok, tx::kOkButton}, {QMessageBox::Yes, tx::kYesButton}, {QMessageBox::No, tx::kNoButton}};

// Room a message box takes besides its text: title bar, margins, the row of buttons.
constexpr int kBoxAllowance = 160;

// The area a box of `parent` may take.
QRect availableArea(const QWidget* parent) {
    QScreen* screen = parent != nullptr ? parent->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// The width at which a message box wraps its text.
int wrapWidth(const QRect& available) {
    return std::clamp(available.width() / 2, 200, 600);
}

QStyle::StandardPixmap iconPixmap(QMessageBox::Icon icon) {
    switch (icon) {
        case QMessageBox::Information:
            return QStyle::SP_MessageBoxInformation;
        case QMessageBox::Warning:
            return QStyle::SP_MessageBoxWarning;
        case QMessageBox::Critical:
            return QStyle::SP_MessageBoxCritical;
        case QMessageBox::Question:
            return QStyle::SP_MessageBoxQuestion;
        case QMessageBox::NoIcon:
            break;
    }
    return QStyle::SP_CustomBase;
}

}  // namespace

void setChineseButtonTexts(QMessageBox& box) {
    for (const auto& [which, label] : kButtonTexts) {
        if (QAbstractButton* button = box.button(which)) button->setText(QString::fromUtf8(label));
    }
}

ScrollingMessageBox::ScrollingMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    if (icon != QMessageBox::NoIcon) {
        auto* iconLabel = new QLabel(this);
        const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(style()->standardIcon(iconPixmap(icon), nullptr, this).pixmap(side, side));
        row->addWidget(iconLabel, 0, Qt::AlignTop);
    }
    text_ = new QPlainTextEdit(text, this);
    text_->setReadOnly(true);
    row->addWidget(text_, 1);
    layout->addLayout(row, 1);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::StandardButtons(buttons.toInt()), this);
    for (const auto& [which, label] : kButtonTexts) {
        if (QAbstractButton* b = button(which)) b->setText(QString::fromUtf8(label));
    }
    copy_ = buttons_->addButton(QString::fromUtf8(tx::kCopyButton), QDialogButtonBox::ActionRole);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(text_->toPlainText()); });
    connect(buttons_, &QDialogButtonBox::clicked, this, [this](QAbstractButton* clicked) {
        const int which = buttons_->standardButton(clicked);
        if (which != QDialogButtonBox::NoButton) done(which);
    });
    layout->addWidget(buttons_);
    if (buttons == QMessageBox::Ok) escape_ = QMessageBox::Ok;

    // As wide as a message box, as tall as the text needs, never more than the screen holds.
    const QRect available = availableArea(parent);
    const QSize most = available.size() - QSize(40, 80);
    const QFontMetrics metrics(text_->font());
    const int textHeight =
        metrics.boundingRect(QRect(0, 0, wrapWidth(available), 1 << 20), Qt::TextWordWrap, text).height();
    setMaximumSize(most);
    resize(std::min(wrapWidth(available) + 120, most.width()),
           std::min(textHeight + kBoxAllowance, most.height()));
}

void ScrollingMessageBox::setDefaultButton(QMessageBox::StandardButton which) {
    if (auto* b = qobject_cast<QPushButton*>(button(which))) {
        b->setDefault(true);
        b->setFocus();
    }
}

QAbstractButton* ScrollingMessageBox::button(QMessageBox::StandardButton which) const {
    return buttons_->button(static_cast<QDialogButtonBox::StandardButton>(which));
}

void ScrollingMessageBox::reject() {
    done(escape_);
}

bool tooTallForMessageBox(const QString& text, const QFont& font, const QRect& available) {
    const QFontMetrics metrics(font);
    const int textHeight =
        metrics.boundingRect(QRect(0, 0, wrapWidth(available), 1 << 20), Qt::TextWordWrap, text).height();
    return textHeight + kBoxAllowance > available.height();
}

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton,
                                           QMessageBox::StandardButton escapeButton) {
    const QFont font = parent != nullptr ? parent->font() : QApplication::font();
    if (tooTallForMessageBox(text, font, availableArea(parent))) {
        ScrollingMessageBox box(icon, title, text, buttons, parent);
        if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
        if (escapeButton != QMessageBox::NoButton) box.setEscapeButton(escapeButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    if (escapeButton != QMessageBox::NoButton) box.setEscapeButton(escapeButton);
    setChineseButtonTexts(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace varnex::ui
