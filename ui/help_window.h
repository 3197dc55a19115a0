#pragma once
// The help window: the built-in help pages (operation, menus, features, history) in a browser
// with a list of topics.

#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace varnex::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    /// Shows topic `index` (0: 操作说明, 1: 功能菜单, 2: 软件特点, 3: 历史更新).
    void showTopic(int index);
    QTextBrowser* browser() const { return browser_; }

  private:
    QListWidget* topics_;
    QTextBrowser* browser_;
};

}  // namespace varnex::ui
