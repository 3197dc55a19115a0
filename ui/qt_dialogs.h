#pragma once
// Qt's own texts and dialogs in Chinese: the translations of Qt's standard texts (file dialog
// headings, standard buttons, edit menus) and the open-file dialog sized for Chinese file names.

class QCoreApplication;
class QFileDialog;
class QWidget;

namespace varnex::ui {

/// Loads Qt's Simplified Chinese translations (Debian: qt6-translations-l10n) into the program
/// and makes Chinese the default locale for numbers and dates. False when they are not installed:
/// Qt's own texts then stay English.
bool installQtChineseTexts(QCoreApplication& app);

/// The dialog of 1.打开文件…: its captions, the workbook filter, and a size that shows the name,
/// size, type and date columns in full beside `window`.
void prepareOpenDialog(QFileDialog& dialog, const QWidget* window);

}  // namespace varnex::ui
