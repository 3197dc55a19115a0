// The main window's menus: the menu bar, the recent-file submenu, the context menu, the
// status-bar prompts while an item is highlighted and the update rules applied when a menu opens.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStandardPaths>
#include <span>

#include "base/text_util.h"
#include "ui/main_window.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {

QString idlePrompt() {
    return QString::fromUtf8(tx::kIdlePrompt);
}

int commandIdOf(const QAction* action) {
    return action != nullptr ? action->data().toInt() : 0;
}

// Lets a greyed item be highlighted like any other, so that its prompt shows while the pointer
// or the arrow keys rest on it; choosing it still does nothing.
class MenuStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void MainWindow::buildMenus() {
    auto* menuStyle = new MenuStyle;
    menuStyle->setParent(this);
    auto addItems = [this, menuStyle](QMenu* menu, std::span<const tx::MenuItemText> items,
                                      std::unordered_map<int, QAction*>& actions) {
        menu->setStyle(menuStyle);
        for (const auto& item : items) {
            if (item.id == tx::kSeparator) {
                menu->addSeparator();
                continue;
            }
            if (item.id == tx::kRecentSubmenu) {
                recentMenu_ = menu->addMenu(QString::fromUtf8(item.text));
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setData(item.id);
            action->setCheckable(item.id == ctl::CmdAlwaysOnTop || item.id == ctl::CmdMusic);
            int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            actions[id] = action;
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateMenu(menu); });
        connect(menu, &QMenu::hovered, this, &MainWindow::showMenuPrompt);
        connect(menu, &QMenu::aboutToHide, this, [this] {
            if (panes_[0] != nullptr) panes_[0]->setText(idlePrompt());
        });
    };

    fileMenu_ = menuBar()->addMenu(QString::fromUtf8(tx::kFileMenuTitle));
    addItems(fileMenu_, tx::kFileMenu, menuActions_);
    addItems(recentMenu_, tx::kRecentMenu, menuActions_);
    toolsMenu_ = menuBar()->addMenu(QString::fromUtf8(tx::kToolsMenuTitle));
    addItems(toolsMenu_, tx::kToolsMenu, menuActions_);
    helpMenu_ = menuBar()->addMenu(QString::fromUtf8(tx::kHelpMenuTitle));
    addItems(helpMenu_, tx::kHelpMenu, menuActions_);

    contextMenu_ = new QMenu(this);
    addItems(contextMenu_, tx::kContextMenu, contextActions_);
}

QAction* MainWindow::menuAction(int id) const {
    auto it = menuActions_.find(id);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* MainWindow::contextAction(int id) const {
    auto it = contextActions_.find(id);
    return it == contextActions_.end() ? nullptr : it->second;
}

void MainWindow::updateMenu(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (QMenu* submenu = action->menu()) {
            // A submenu takes the state of its first item.
            QList<QAction*> items = submenu->actions();
            if (items.isEmpty()) {
                action->setEnabled(false);
                continue;
            }
            int first = commandIdOf(items.front());
            auto rule = updateRules_.find(first);
            if (rule != updateRules_.end() && rule->second.enabled)
                action->setEnabled(rule->second.enabled());
            else
                action->setEnabled(commandTable_.count(first) != 0);
            continue;
        }
        auto rule = updateRules_.find(commandIdOf(action));
        if (rule == updateRules_.end()) continue;
        if (rule->second.enabled) action->setEnabled(rule->second.enabled());
        if (rule->second.checked) {
            action->setCheckable(true);
            action->setChecked(rule->second.checked());
        }
    }
}

void MainWindow::showMenuPrompt(QAction* action) {
    if (panes_[0] == nullptr) return;
    int id = commandIdOf(action);
    if (action == nullptr || action->isSeparator() || action->menu() != nullptr || id == 0) {
        panes_[0]->setText(idlePrompt());
        return;
    }
    QString prompt;
    for (const auto& entry : tx::kPrompts) {
        if (entry.id == id) prompt = QString::fromUtf8(entry.text);
    }
    panes_[0]->setText(prompt);
}

void MainWindow::rebuildRecentMenu() {
    if (recentMenu_ == nullptr) return;
    for (int id = ctl::CmdRecent1; id <= ctl::CmdRecent4; ++id) {
        auto it = menuActions_.find(id);
        if (it == menuActions_.end()) continue;
        recentMenu_->removeAction(it->second);
        it->second->deleteLater();
        menuActions_.erase(it);
    }
    QAction* clearAction = menuAction(ctl::CmdClearRecent);
    const auto& entries = state_.recentFiles.entries();
    for (int k = 1; k <= static_cast<int>(entries.size()) && k <= 4; ++k) {
        std::string label = strprintf(tx::kRecentEntryFormat, k, entries[static_cast<size_t>(k - 1)].c_str());
        auto* action = new QAction(QString::fromStdString(label), recentMenu_);
        int id = ctl::CmdRecent1 + k - 1;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        recentMenu_->insertAction(clearAction, action);
        menuActions_[id] = action;
    }
    // The File menu's item follows its first entry even while no menu is open.
    if (QAction* item = recentMenu_->menuAction()) item->setEnabled(!entries.empty());
}

LauncherTarget MainWindow::launcherTarget() const {
    LauncherTarget target;
    target.programPath = QCoreApplication::applicationFilePath();
    target.workingDir = QCoreApplication::applicationDirPath();
    QString iconDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/icons");
    QString iconPath = iconDir + QStringLiteral("/varnex.png");
    if (QDir().mkpath(iconDir) && (QFileInfo::exists(iconPath) || windowIcon().pixmap(128).save(iconPath)))
        target.iconPath = iconPath;
    return target;
}

}  // namespace varnex::ui
