#pragma once
// Makes sure one copy of the program runs per user: a lock file held for the whole run and a local
// server named after the single-instance marker, through which a second start asks the running
// copy to restore and raise its window, handing over the file it was started with.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace varnex::ui {

/// The workbook a start was asked to open (`varnex FILE`, or a file manager's "open with"): the
/// first argument after the program that is not an option, as an absolute path (a file: URL is
/// taken as its local file); "" when there is none.
QString fileArgument(const QStringList& arguments);

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Outcome {
        First,           ///< this copy runs; the lock is held and the server listens
        Activated,       ///< a running copy raised its window; end quietly
        AlreadyRunning,  ///< a running copy has no window (yet); report and end
    };

    /// `marker` names the lock file and the server (the user's name is added).
    explicit SingleInstance(const QString& marker, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Looks for a running copy and, if there is none, becomes the running copy. A running copy
    /// is handed `file` (an absolute path, "" for none) with the request to raise its window.
    Outcome acquire(const QString& file = QString());
    /// Called when a later start asks for the window, with the file it hands over ("" for none);
    /// returns false while there is no window.
    void setActivationHandler(std::function<bool(const QString& file)> handler) {
        handler_ = std::move(handler);
    }

    QString serverName() const { return serverName_; }
    QString lockPath() const { return lockPath_; }

  private:
    void answer();

    QString serverName_;
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<bool(const QString&)> handler_;
};

}  // namespace varnex::ui
