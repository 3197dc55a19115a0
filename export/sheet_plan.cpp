#include "export/sheet_plan.h"

#include <algorithm>

#include "app/text_util.h"
#include "export/export_texts.h"

namespace varnex {

namespace tx = exporttext;

namespace {

// Row group of a sheet on the contents sheet (which lists 教师个人三率 before 班级各科三率).
int contentsGroup(SheetKind kind) {
    switch (kind) {
        case SheetKind::ClassRankingPerClass:
        case SheetKind::ClassRankingAll:
            return 0;
        case SheetKind::TopN:
            return 1;
        case SheetKind::GradeRates:
            return 2;
        case SheetKind::TeacherRates:
            return 3;
        case SheetKind::ClassRates:
            return 4;
        case SheetKind::SubjectBands:
            return 5;
        case SheetKind::TotalBands:
            return 6;
        case SheetKind::TotalRankBands:
            return 7;
        case SheetKind::Contents:
            break;
    }
    return 8;
}

}  // namespace

std::string sheetTitle(const std::string& examName, const std::string& item, const std::string& gradeName) {
    return strprintf(tx::kTitleFormat, examName.c_str(), item.c_str(), tx::kOpenBracket, gradeName.c_str(),
                     tx::kCloseBracket);
}

std::vector<const PlannedSheet*> SheetPlan::contentsOrder() const {
    std::vector<const PlannedSheet*> listed;
    for (const auto& s : sheets) {
        if (s.kind != SheetKind::Contents) listed.push_back(&s);
    }
    std::stable_sort(listed.begin(), listed.end(), [](const PlannedSheet* a, const PlannedSheet* b) {
        return contentsGroup(a->kind) < contentsGroup(b->kind);
    });
    return listed;
}

SheetPlan buildSheetPlan(const AppState& state, const std::string& examName) {
    const ExportOptions& o = state.exportOptions;
    const std::string& grade = state.imported.gradeName;
    SheetPlan plan;
    auto add = [&](SheetKind kind, const char* name) {
        plan.sheets.push_back({kind, name, sheetTitle(examName, name, grade), name});
    };
    if (o.totalRankBands) add(SheetKind::TotalRankBands, tx::kTotalRankBands);
    if (o.totalBands) add(SheetKind::TotalBands, tx::kTotalBands);
    if (o.subjectBands) add(SheetKind::SubjectBands, tx::kSubjectBands);
    if (o.teacherRates) add(SheetKind::TeacherRates, tx::kTeacherRates);
    if (o.classRates) add(SheetKind::ClassRates, tx::kClassRates);
    if (o.gradeRates) add(SheetKind::GradeRates, tx::kGradeRates);
    if (o.topNEnabled) {
        std::string name = strprintf(tx::kTopNFormat, tx::kTopNBefore, o.topN, tx::kTopNAfter);
        plan.sheets.push_back({SheetKind::TopN, name, sheetTitle(examName, name, grade), name});
    }
    const ClassList& classes = state.imported.classList;
    if (o.classRanking && o.classRankingLayout == 0) {
        for (size_t i = 0; i < classes.size(); ++i) {
            auto [school, klass] = splitClassEntry(classes[i]);
            std::string tail = strprintf(tx::kClassTitleTailFormat, school.c_str(), grade.c_str(), tx::kOpenBracket,
                                         klass.c_str(), tx::kCloseClass);
            plan.sheets.push_back(
                {SheetKind::ClassRankingPerClass, school + klass,
                 strprintf(tx::kClassTitleFormat, examName.c_str(), tx::kClassRanking, tail.c_str()),
                 strprintf(tx::kClassItemFormat, school.c_str(), tx::kOpenBracket, klass.c_str(), tx::kClassItemEnd),
                 static_cast<int>(i)});
        }
    } else if (o.classRanking) {
        add(SheetKind::ClassRankingAll, tx::kClassRanking);
    }
    plan.sheets.push_back({SheetKind::Contents, tx::kContents, std::string(), tx::kContents});

    const int n = plan.sheetCount();
    for (int i = 0; i < n; ++i) plan.sheets[static_cast<size_t>(i)].position = n - i;

    // The item list runs against production order, except that the classes keep list order.
    plan.itemList = std::string(tx::kContents) + "\n";
    for (const auto& s : plan.sheets) {
        if (s.kind == SheetKind::ClassRankingPerClass || s.kind == SheetKind::ClassRankingAll)
            plan.itemList += s.item + "\n";
    }
    for (auto it = plan.sheets.rbegin(); it != plan.sheets.rend(); ++it) {
        if (it->kind != SheetKind::Contents && it->kind != SheetKind::ClassRankingPerClass &&
            it->kind != SheetKind::ClassRankingAll)
            plan.itemList += it->item + "\n";
    }
    return plan;
}

}  // namespace varnex
