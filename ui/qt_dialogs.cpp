#include "ui/qt_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QTreeView>

#include "ui/dialog_units.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {
QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The open-file dialog in dialog units: wide enough for a long Chinese file name and the three
// other columns.
constexpr int kOpenDialogWidthDlu = 420;
constexpr int kOpenDialogHeightDlu = 260;
// The name column's share of the list's width, in percent.
constexpr int kNameColumnShare = 50;
}  // namespace

bool installQtChineseTexts(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&app);
    // "qt" gathers qtbase and the other modules' texts.
    if (!translator->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void prepareOpenDialog(QFileDialog& dialog, const QWidget* window) {
    dialog.setWindowTitle(qs(tx::kOpenDialogTitle));
    dialog.setNameFilter(qs(tx::kOpenFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setLabelText(QFileDialog::LookIn, qs(tx::kOpenDialogLookIn));
    dialog.setLabelText(QFileDialog::FileName, qs(tx::kOpenDialogFileName));
    dialog.setLabelText(QFileDialog::FileType, qs(tx::kOpenDialogFileType));
    dialog.setLabelText(QFileDialog::Accept, qs(tx::kOpenDialogAccept));
    dialog.setLabelText(QFileDialog::Reject, qs(tx::kOpenDialogReject));

    // The desktop's own dialog sizes itself; Qt's dialog starts small and cuts the columns.
    const DialogUnits units = DialogUnits::forFont(window != nullptr ? window->font() : dialog.font());
    dialog.resize(units.x(kOpenDialogWidthDlu), units.y(kOpenDialogHeightDlu));
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(units.x(40));
        const int name = units.x(kOpenDialogWidthDlu) * kNameColumnShare / 100;
        header->resizeSection(0, name);
        for (int column = 1; column < header->count(); ++column)
            header->resizeSection(column, std::max(header->sectionSizeHint(column), units.x(50)));
    }
}

}  // namespace varnex::ui
