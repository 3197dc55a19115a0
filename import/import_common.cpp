#include "import/import_common.h"

#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/class_name.h"
#include "import/header_names.h"
#include "import/import_texts.h"
#include "readers/cell_text.h"
#include "readers/reader_messages.h"

namespace varnex {

namespace tx = import_texts;

std::string importTitle(const AppState& state, const char* stateText) {
    return strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                     state.workbook.title.c_str(), state.imported.sheetName.c_str(), stateText);
}

bool worksheetSelected(const AppState& state, Frontend& frontend) {
    // The worksheet box shows no text when no entry is selected.
    const int selected = state.workbook.selectedSheet;
    if (selected >= 0 && selected < static_cast<int>(state.workbook.sheetNames.size())) return true;
    frontend.showMessage(tx::kNoWorksheet, common_texts::kCaptionError, MessageIcon::Error);
    return false;
}

void reportSheetUnreadable(SheetQuery& query, const AppState& state, Frontend& frontend,
                           const std::string& reason, const std::vector<std::string>& neededColumns) {
    std::string needed;
    for (const auto& name : neededColumns) needed += (needed.empty() ? "" : tx::kColumnSeparator) + name;
    frontend.showMessage(strprintf(tx::kSelectFailedFormat, reason.c_str(), needed.c_str()),
                         common_texts::kCaptionError, MessageIcon::Error);
    frontend.setTitle(importTitle(state, tx::kTitleSelectFailed));
    query.close();
}

std::optional<SheetHeader> openImportSheet(SheetQuery& query, const AppState& state, Frontend& frontend,
                                           const HeaderRequest& request,
                                           const std::vector<std::string>& neededColumns) {
    if (Status opened = query.open(state.workbook.path); !opened) {
        frontend.showMessage(std::string(tx::kOpenFailed) + opened.error(), common_texts::kCaptionError,
                             MessageIcon::Error);
        frontend.setTitle(importTitle(state, tx::kTitleOpenFailed));
        query.close();
        return std::nullopt;
    }
    frontend.showProgress(strprintf(tx::kProgressReadingFormat, state.imported.sheetName.c_str()), 0, 0);
    if (Status opened = query.openSheet(state.imported.sheetName); !opened) {
        reportSheetUnreadable(query, state, frontend, opened.error(), neededColumns);
        return std::nullopt;
    }
    Result<SheetHeader> header = findHeader(query.leadingRows(), request, state.imported.sheetName);
    if (!header) {
        reportSheetUnreadable(query, state, frontend, header.error(), neededColumns);
        return std::nullopt;
    }
    return std::move(header).value();
}

std::string missingColumnsReason(const AppState& state, const std::vector<std::string>& missing) {
    std::string names;
    for (const std::string& name : missing) {
        if (!names.empty()) names += reader_texts::kMissingColumnSeparator;
        names += name;
    }
    return strprintf(reader_texts::kMissingColumns, state.imported.sheetName.c_str(), names.c_str());
}

bool selectImportColumns(SheetQuery& query, const AppState& state, Frontend& frontend,
                         const std::vector<uint32_t>& columns, const SheetHeader& header,
                         const std::vector<std::string>& neededColumns) {
    if (Status selected = query.selectColumns(columns, header.lastRow); !selected) {
        reportSheetUnreadable(query, state, frontend, selected.error(), neededColumns);
        return false;
    }
    return true;
}

std::optional<std::string> askSchoolOfSheet(AppState& state, Frontend& frontend) {
    std::optional<std::string> answer =
        frontend.askText(strprintf(tx::kAskSchoolFormat, state.imported.sheetName.c_str()),
                         tx::kAskSchoolCaption, state.schoolName);
    if (!answer) return std::nullopt;
    std::string school = plainText(*answer);
    const char* problem = school.empty()              ? tx::kSchoolNameRequired
                          : school == tx::kAllSchools ? tx::kSchoolAll
                                                      : nullptr;
    if (problem != nullptr) {
        frontend.showMessage(problem, common_texts::kCaptionError, MessageIcon::Error);
        return std::nullopt;
    }
    state.schoolName = school;
    return school;
}

void logHeader(AppState& state, Frontend& frontend, const SheetHeader& header,
               const std::string& singleSchool) {
    const char* sheet = state.imported.sheetName.c_str();
    if (header.lastRow != header.firstRow) {
        appendLog(state, frontend,
                  strprintf(tx::kLogHeaderRowsFormat, sheet, static_cast<int>(header.firstRow),
                            static_cast<int>(header.lastRow)));
    } else if (!header.plain) {
        appendLog(state, frontend,
                  strprintf(tx::kLogHeaderRowFormat, sheet, static_cast<int>(header.firstRow)));
    }
    for (const auto& [written, name] : header.aliases)
        appendLog(state, frontend, strprintf(tx::kLogAliasFormat, written.c_str(), name.c_str()));
    if (!singleSchool.empty())
        appendLog(state, frontend, strprintf(tx::kLogSingleSchoolFormat, sheet, singleSchool.c_str()));
}

Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key,
                         int count) {
    if (school.empty()) return fail(strprintf(tx::kSchoolEmptyFormat, count));
    if (school == tx::kAllSchools) return fail(tx::kSchoolAll);
    if (key.empty()) return fail(strprintf(tx::kCellEmptyFormat, keyColumn, count));
    return {};
}

namespace {

// Where a cell of the imported sheet is, as messages name it.
std::string cellPlace(const AppState& state, int sheetRow, uint32_t column) {
    return strprintf(tx::kCellPlaceFormat, fileNameOf(state.workbook.path).c_str(),
                     state.imported.sheetName.c_str(), sheetRow, columnLettersOf(column).c_str());
}

// Why the class cell `written` names no class.
std::string noClassReason(const AppState& state, const std::string& written, int sheetRow, uint32_t column) {
    std::string place = cellPlace(state, sheetRow, column);
    if (plainText(written).empty()) return strprintf(tx::kClassEmptyFormat, place.c_str());
    return strprintf(tx::kClassNothingLeftFormat, place.c_str(), plainText(written).c_str());
}

}  // namespace

Result<std::string> classOfRow(const AppState& state, const std::string& written, int sheetRow,
                               uint32_t column) {
    std::string klass = normaliseClassName(written);
    if (!klass.empty()) return klass;
    return fail(noClassReason(state, written, sheetRow, column));
}

Result<std::vector<std::string>> classesOfRow(const AppState& state, const std::string& written, int sheetRow,
                                              uint32_t column) {
    std::optional<std::vector<std::string>> classes = classListOf(written);
    if (!classes) {
        return fail(strprintf(tx::kClassesUnreadableFormat, cellPlace(state, sheetRow, column).c_str(),
                              plainText(written).c_str()));
    }
    if (classes->empty()) return fail(noClassReason(state, written, sheetRow, column));
    return std::move(classes).value();
}

void reportRowProblem(AppState& state, Frontend& frontend, const std::string& problem) {
    appendLog(state, frontend, problem);
    frontend.showMessage(problem, common_texts::kCaptionError, MessageIcon::Error);
}

bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend) {
    Status moved = query.next();
    if (!moved) reportRowProblem(state, frontend, std::string(tx::kRowUnreadable) + moved.error());
    constexpr int kRowsPerStep = 4096;
    if (moved && !query.atEnd() && query.sheetRow() % kRowsPerStep == 0) {
        frontend.showProgress(
            strprintf(tx::kProgressRowFormat, state.imported.sheetName.c_str(), query.sheetRow()), 0, 0);
    }
    return moved.ok();
}

}  // namespace varnex
