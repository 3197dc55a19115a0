#include "tests/export/exam_fixture.h"

#include <gtest/gtest.h>

#include "app/class_order.h"
#include "base/text_util.h"
#include "workbook/cell_name.h"

namespace varnex::testing {

Exam::Exam() {
    state.gradeIndex = kDefaultGradeIndex;
    state.imported.gradeName = "七年级";
    state.imported.sheetName = "成绩";
    state.examNameText = "期中考试";
    state.workbook.path = dir.file("成绩表.xlsx");
    state.workbook.title = "成绩表";
    state.outputPath = dir.file("结果.xlsx");
    subjects({{"语文", 100}, {"数学", 100}, {"英语", 100}});
    only([](ExportOptions&) {});
}

Exam& Exam::subjects(std::initializer_list<std::pair<const char*, int>> fullMarks) {
    state.scores.fullMark.fill(0);
    for (const auto& [name, mark] : fullMarks)
        state.scores.fullMark[static_cast<size_t>(subjectIndex(name))] = mark;
    state.imported.examSubjects.clear();
    state.imported.examFullMarkTotal = 0;
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (state.scores.fullMark[i] == 0) continue;
        state.imported.examSubjects.push_back(kSubjects[i].name);
        state.imported.examFullMarkTotal += state.scores.fullMark[i];
    }
    return *this;
}

Exam& Exam::student(const std::string& school, const std::string& klass, const std::string& name,
                    const std::string& total, std::vector<std::string> scores) {
    std::vector<std::string> row(15);
    row[0] = school;
    row[1] = klass;
    row[2] = name;
    for (size_t i = 0; i < scores.size() && i < state.imported.examSubjects.size(); ++i)
        row[static_cast<size_t>(columnOfSubject(state.imported.examSubjects[i]))] = scores[i];
    row[14] = total;
    state.students.appendRow(std::move(row));
    return *this;
}

Exam& Exam::imported() {
    ImportResults& r = state.imported;
    ClassList inSheetOrder;
    for (int i = 0; i < state.students.rowCount(); ++i)
        inSheetOrder.add(std::string(state.students.cellText(i, 0)),
                         std::string(state.students.cellText(i, 1)));
    r.classList.clear();
    for (size_t i : classOrder(inSheetOrder)) {
        auto [school, klass] = inSheetOrder.parts(i);
        r.classList.add(school, klass);
    }
    r.schoolList = schoolsOf(r.classList);
    r.classCount = static_cast<int>(r.classList.size());
    r.studentCount = state.students.rowCount();
    return *this;
}

Exam& Exam::teachers() {
    state.teachers.clear();
    int n = 0;
    const ClassList& classList = state.imported.classList;
    for (size_t i = 0; i < classList.size(); ++i) {
        auto [school, klass] = classList.parts(i);
        for (const auto& subject : state.imported.examSubjects)
            state.teachers.appendRow(
                {school, state.imported.gradeName, klass, subject, "教师" + std::to_string(++n)});
    }
    state.imported.teacherCount = state.teachers.rowCount();
    return *this;
}

const ExamRun& Exam::run() {
    frontend.expectQuestion("考试名称：", true);
    outcome = ExamRun{};
    Result<ExportOutcome> result =
        exportRun(state, frontend, ExportRequest{.keepCells = keepCells, .workbook = &outcome.workbook});
    if (result) {
        static_cast<ExportOutcome&>(outcome) = std::move(result).value();
        outcome.completed = true;
    } else {
        outcome.failure = result.failure();
    }
    return outcome;
}

const SheetModel& Exam::sheet(const std::string& name) const {
    static const SheetModel kNone;
    if (!outcome.workbook) {
        ADD_FAILURE() << "no workbook was built";
        return kNone;
    }
    const SheetModel* s = outcome.workbook->sheetNamed(name);
    if (s == nullptr) {
        ADD_FAILURE() << "no sheet " << name;
        return kNone;
    }
    return *s;
}

std::string shown(const SheetModel& sheet, const std::string& address) {
    const Cell* c = sheet.at(address);
    if (c == nullptr) return {};
    switch (c->kind) {
        case Cell::Kind::Empty:
            return {};
        case Cell::Kind::Number:
            return strprintf("%.15g", c->number());
        case Cell::Kind::Text:
        case Cell::Kind::Formula:
            return std::string(c->text());
    }
    return {};
}

bool boxedAndCentred(const SheetModel& sheet, const std::string& address) {
    const Cell* c = sheet.at(address);
    return c != nullptr && c->borders == (kBorderLeft | kBorderRight | kBorderTop | kBorderBottom) &&
           c->horizontalAlign == kAlignCenter;
}

bool merged(const SheetModel& sheet, const std::string& first, const std::string& last) {
    auto a = parseCellName(first);
    auto b = parseCellName(last);
    for (const auto& m : sheet.merges) {
        if (a && b && m.first == *a && m.last == *b) return true;
    }
    return false;
}

void electivesExam(Exam& exam) {
    exam.subjects({{"语文", 150},
                   {"数学", 150},
                   {"英语", 150},
                   {"物理", 100},
                   {"化学", 100},
                   {"生物", 100},
                   {"历史", 100},
                   {"地理", 100},
                   {"政治", 100}});
    //                                       语文   数学   英语    物理  化学  生物  历史  地理    政治
    exam.student("一中", "1", "甲", "570", {"120", "130", "110", "80", "70", "", "", "60", ""})
        .student("一中", "1", "乙", "450", {"100", "90", "80", "", "", "60", "70", "", "50"})
        .student("一中", "2", "丙", "690", {"140", "140", "140", "95", "90", "85", "/", "缺考", "-"})
        .student("一中", "2", "丁", "0",
                 {"缺考", "缺考", "缺考", "缺考", "缺考", "缺考", "缺考", "缺考", "缺考"})
        .student("二中", "1", "戊", "200", {"60", "50", "缺考", "40", "30", "", "", "20", ""})
        .imported()
        .teachers();
}

std::vector<std::string> tabNames(const WorkbookModel& workbook) {
    std::vector<std::string> names;
    for (int i = 1; i <= workbook.sheetCount(); ++i) names.push_back(workbook.sheet(i)->name);
    return names;
}

std::vector<std::string> logTexts(const ScriptedFrontend& frontend) {
    std::vector<std::string> lines;
    for (const auto& line : frontend.logLines) lines.push_back(withoutTime(line));
    return lines;
}

std::vector<std::string> namesInTable(const AppState& state) {
    std::vector<std::string> names;
    for (int i = 0; i < state.students.rowCount(); ++i) names.emplace_back(state.students.cellText(i, 2));
    return names;
}

}  // namespace varnex::testing
