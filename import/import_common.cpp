#include "import/import_common.h"

#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/class_name.h"
#include "import/header_names.h"
#include "import/import_texts.h"
#include "import/open_workbook.h"
#include "readers/cell_text.h"

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

void refuseSheet(SheetQuery& query, Frontend& frontend, const std::string& message) {
    frontend.showMessage(message, common_texts::kCaptionError, MessageIcon::Error);
    query.close();
}

std::optional<SheetHeader> openImportSheet(SheetQuery& query, const AppState& state, Frontend& frontend,
                                           const HeaderRequest& request) {
    const std::string& sheetName = state.imported.sheetName;
    if (Status opened = query.open(state.workbook.path); !opened) {
        refuseSheet(query, frontend, std::string(tx::kOpenFailed) + opened.error());
        return std::nullopt;
    }
    frontend.showProgress(strprintf(tx::kProgressReadingFormat, sheetName.c_str()), 0, 0);
    if (Status opened = query.openSheet(sheetName); !opened) {
        refuseSheet(query, frontend,
                    strprintf(tx::kSheetUnreadableFormat, sheetName.c_str(), opened.error().c_str()));
        return std::nullopt;
    }
    if (query.leadingRows().empty()) {
        refuseSheet(query, frontend, strprintf(tx::kSheetEmptyFormat, sheetName.c_str()));
        return std::nullopt;
    }
    Result<SheetHeader> header = findHeader(query.leadingRows(), request, sheetName);
    if (!header) {
        refuseSheet(query, frontend, header.error());
        return std::nullopt;
    }
    return std::move(header).value();
}

std::string missingColumnsMessage(const AppState& state, const std::vector<std::string>& missing) {
    std::string names;
    for (const std::string& name : missing) {
        if (!names.empty()) names += tx::kColumnSeparator;
        names += name;
    }
    return strprintf(tx::kMissingColumnsFormat, state.imported.sheetName.c_str(),
                     static_cast<int>(SheetQuery::kLeadingRows), names.c_str());
}

bool selectImportColumns(SheetQuery& query, const AppState& state, Frontend& frontend,
                         const std::vector<uint32_t>& columns, const SheetHeader& header) {
    if (Status selected = query.selectColumns(columns, header.lastRow); !selected) {
        refuseSheet(query, frontend,
                    strprintf(tx::kSheetUnreadableFormat, state.imported.sheetName.c_str(),
                              selected.error().c_str()));
        return false;
    }
    return true;
}

std::optional<std::string> askSchoolOfSheet(AppState& state, Frontend& frontend) {
    const std::string question = strprintf(tx::kAskSchoolFormat, state.imported.sheetName.c_str());
    std::string offered = state.schoolName;
    const char* again = nullptr;  // why the name given before cannot be a school's
    // A front end that keeps giving the same unusable answer (a batch run) is not asked for ever.
    constexpr int kMostQuestions = 5;
    for (int asked = 0; asked < kMostQuestions; ++asked) {
        std::optional<std::string> answer =
            frontend.askText(again != nullptr ? again + question : question, tx::kAskSchoolCaption, offered);
        if (!answer) break;
        std::string school = plainText(*answer);
        again = school.empty()              ? tx::kSchoolNameEmptyAgain
                : school == tx::kAllSchools ? tx::kSchoolNameAllAgain
                                            : nullptr;
        if (again == nullptr) {
            state.schoolName = school;
            return school;
        }
        offered.clear();
    }
    appendLog(state, frontend, strprintf(tx::kLogSchoolCancelledFormat, state.imported.sheetName.c_str()));
    return std::nullopt;
}

void endRefusedImport(AppState& state, Frontend& frontend, const Error& failure) {
    if (failure.kind != ErrorKind::Cancelled && !failure.message.empty())
        appendLog(state, frontend, failure.message);
    showSheetTitle(state, frontend);
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

Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key) {
    if (school.empty()) return fail(tx::kSchoolEmpty);
    if (school == tx::kAllSchools) return fail(tx::kSchoolAll);
    if (key.empty()) return fail(strprintf(tx::kCellEmptyFormat, keyColumn));
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

bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend) {
    Status moved = query.next();
    if (!moved) {
        frontend.showMessage(strprintf(tx::kRowUnreadableFormat, state.imported.sheetName.c_str(),
                                       query.sheetRow(), moved.error().c_str()),
                             common_texts::kCaptionError, MessageIcon::Error);
    }
    constexpr int kRowsPerStep = 4096;
    if (moved && !query.atEnd() && query.sheetRow() % kRowsPerStep == 0) {
        frontend.showProgress(
            strprintf(tx::kProgressRowFormat, state.imported.sheetName.c_str(), query.sheetRow()), 0, 0);
    }
    return moved.ok();
}

}  // namespace varnex
