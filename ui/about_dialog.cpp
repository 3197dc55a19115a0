#include "ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/common_texts.h"
#include "base/text_util.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(tx::kAboutCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/icons/varnex.png")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("<span style=\"font-size:18pt; font-weight:bold\">%1</span>"
                                           "&nbsp;&nbsp;<span style=\"color:#0000ff\">%2</span>")
                                .arg(QString::fromUtf8(common_texts::kProgramName),
                                     QString::fromStdString(strprintf(tx::kAboutVersionFormat, kVersion))));
    auto* description = new QLabel(QString::fromUtf8(tx::kAboutDescription));
    description->setWordWrap(true);
    auto* credits = new QLabel(QString::fromUtf8(tx::kAboutCredits));
    credits->setWordWrap(true);
    credits->setStyleSheet(QStringLiteral("color:#606060"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addSpacing(6);
    texts->addWidget(description);
    texts->addSpacing(6);
    texts->addWidget(credits);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(tx::kAboutOk));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(440);
}

}  // namespace varnex::ui
