// Start-up: one copy per user, the splash while the main window initialises, then the window's
// event loop until the exit is confirmed.

#include <QApplication>
#include <QMessageBox>

#include "app/app_state.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_frontend.h"
#include "ui/single_instance.h"
#include "ui/ui_texts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnex"));
    // Only the confirmed exit ends the program, not the closing of a help or About window.
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt's own texts (file dialog, edit menus) in Chinese where the translations are installed.
    varnex::ui::installQtChineseTexts(app);

    using varnex::ui::SingleInstance;
    namespace tx = varnex::ui_texts;
    const std::string programTitle = varnex::common_texts::programTitle();
    const QString title = QString::fromStdString(programTitle);

    // `varnex FILE` (the desktop's "open with" starts it so) opens that workbook; a running copy
    // is handed the file instead.
    const QString file = varnex::ui::fileArgument(QCoreApplication::arguments());
    SingleInstance instance(QString::fromUtf8(tx::kInstanceMarker));
    switch (instance.acquire(file)) {
        case SingleInstance::Outcome::Activated:
            return 0;
        case SingleInstance::Outcome::AlreadyRunning: {
            QMessageBox box(
                QMessageBox::NoIcon, title,
                QString::fromStdString(varnex::strprintf(tx::kAlreadyRunningFormat, programTitle.c_str())),
                QMessageBox::Ok);
            varnex::ui::setChineseButtonTexts(box);
            box.exec();
            return 0;
        }
        case SingleInstance::Outcome::First:
            break;
    }

    varnex::AppState state;
    varnex::ui::MainWindow window(state, QCoreApplication::applicationDirPath().toStdString());
    window.showSplash();
    window.initialise();
    instance.setActivationHandler([&window](const QString& handed) { return window.handOver(handed); });
    QObject::connect(&window, &varnex::ui::MainWindow::exitAccepted, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    if (!file.isEmpty()) window.openFromOutside(file);
    return app.exec();
}
