#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString::fromUtf8(tx::kHelpTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/varnex.png")));
    resize(900, 640);

    topics_ = new QListWidget;
    for (const auto& topic : tx::kHelpTopics) topics_->addItem(QString::fromUtf8(topic.title));
    topics_->setSpacing(3);
    topics_->setMaximumWidth(200);
    browser_ = new QTextBrowser;
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});

    auto* splitter = new QSplitter;
    splitter->addWidget(topics_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 740});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(topics_, &QListWidget::currentRowChanged, this, &HelpWindow::showTopic);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        int row = 0;
        for (const auto& topic : tx::kHelpTopics) {
            if (url.fileName() == QUrl(QString::fromUtf8(topic.page)).fileName()) {
                QSignalBlocker block(topics_);
                topics_->setCurrentRow(row);
            }
            ++row;
        }
    });
    showTopic(0);
    // Escape closes the help, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::showTopic(int index) {
    constexpr int count = static_cast<int>(std::size(tx::kHelpTopics));
    if (index < 0 || index >= count) return;
    browser_->setSource(QUrl(QString::fromUtf8(tx::kHelpTopics[index].page)));
    QSignalBlocker block(topics_);
    topics_->setCurrentRow(index);
}

}  // namespace varnex::ui
