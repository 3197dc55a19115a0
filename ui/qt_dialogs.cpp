#include "ui/qt_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QSplitter>
#include <QTranslator>
#include <QTreeView>

#include "app/opened_files.h"
#include "ui/dialog_units.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {
QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The open-file dialog in dialog units: wide enough for a long Chinese file name and the three
// other columns (size, type such as "Excel 2007 电子表格", date) beside the list of places.
constexpr int kOpenDialogWidthDlu = 540;
constexpr int kOpenDialogHeightDlu = 280;
constexpr int kPlacesWidthDlu = 90;
// The columns' shares of the file list's width, in percent: name, size, type, date.
constexpr int kColumnShares[] = {40, 12, 23, 25};

// Qt's texts that its Chinese translations leave in English: the type the file dialog shows for a
// folder.
class MissingQtTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override {
        if (qstrcmp(sourceText, "Folder") == 0 &&
            (qstrcmp(context, "QAbstractFileIconProvider") == 0 || qstrcmp(context, "QFileSystemModel") == 0))
            return qs(tx::kFolderType);
        return QString();
    }
    bool isEmpty() const override { return false; }
};
}  // namespace

bool installQtChineseTexts(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Installed first, so that it is asked after Qt's own (the last installed is asked first).
    QCoreApplication::installTranslator(new MissingQtTexts(&app));
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
    dialog.setNameFilter(qs(tx::kOpenFileFilterFormat).arg(qs(kOpenedFilePatterns)));
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
    const int places = units.x(kPlacesWidthDlu);
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({places, units.x(kOpenDialogWidthDlu) - places});
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(true);
        const int listWidth = units.x(kOpenDialogWidthDlu - kPlacesWidthDlu - 24);
        for (int column = 0; column < header->count() && column < 4; ++column)
            header->resizeSection(
                column, std::max(header->sectionSizeHint(column), listWidth * kColumnShares[column] / 100));
    }
}

}  // namespace varnex::ui
