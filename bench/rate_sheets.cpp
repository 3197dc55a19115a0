// The three rate sheets over 20,000 and 200,000 students (10 schools, 20 classes each, nine
// subjects, one teacher per class and subject). Prints each writer's time, its ratio to a plain
// pass that reads every score of every student once, and how the time grows with ten times the
// students (about 10x when the work is linear in the students).

#include "sheets/rate_sheets.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "base/text_util.h"

namespace {

double millisecondsOf(auto&& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

const std::vector<std::string> kExam{"语文", "数学", "英语", "物理", "化学", "历史", "地理", "政治", "生物"};

void fill(varnex::AppState& state, int students) {
    std::mt19937 rng(7);
    state.imported.gradeName = "九年级";
    state.imported.examSubjects = kExam;
    state.scores.fullMark.fill(0);
    for (const auto& subject : kExam)
        state.scores.fullMark[static_cast<size_t>(varnex::subjectIndex(subject))] = 100;
    state.imported.examFullMarkTotal = 900;
    for (int k = 0; k < 10; ++k) {
        std::string school = "第" + std::to_string(k + 1) + "中学";
        state.imported.schoolList.push_back(school);
        for (int c = 1; c <= 20; ++c) {
            state.imported.classList.add(school, std::to_string(c));
            for (const auto& subject : kExam)
                state.teachers.appendRow(
                    {school, "九年级", std::to_string(c), subject, "教师" + std::to_string(rng() % 400)});
        }
    }
    for (int i = 0; i < students; ++i) {
        std::vector<std::string> row(15);
        row[0] = state.imported.schoolList[static_cast<size_t>(i % 10)];
        row[1] = std::to_string(1 + (i / 10) % 20);
        row[2] = "学生";
        int total = 0;
        for (const auto& subject : kExam) {
            int score = static_cast<int>(rng() % 101);
            total += score;
            row[static_cast<size_t>(varnex::columnOfSubject(subject))] = std::to_string(score);
        }
        row[14] = std::to_string(total);
        state.students.appendRow(std::move(row));
    }
}

struct Times {
    double baseline, grade, cls, teacher;
};

Times measure(int students) {
    varnex::AppState state;
    fill(state, students);
    Times t{};
    double sink = 0;
    t.baseline = millisecondsOf([&] {
        for (int r = 0; r < state.students.rowCount(); ++r) {
            const auto& cells = state.students.row(r);
            for (int c = 3; c <= 14; ++c) sink += varnex::cAtof(cells[static_cast<size_t>(c)]);
        }
    });
    varnex::ExcelSession session;
    session.AddWorkbook(varnex::OmittedArgument);
    const varnex::Exam exam(state);
    varnex::ExcelSheet grade = session.Sheet(1), classes = session.Sheet(2), teachers = session.Sheet(3);
    t.grade = millisecondsOf([&] { varnex::writeGradeRates(grade, exam, "年级各科三率"); });
    t.cls = millisecondsOf([&] { varnex::writeClassRates(classes, exam, "班级各科三率"); });
    varnex::Status teacherSheet;
    t.teacher =
        millisecondsOf([&] { teacherSheet = varnex::writeTeacherRates(teachers, exam, "教师个人三率"); });
    if (!teacherSheet) std::fprintf(stderr, "%s\n", teacherSheet.error().c_str());
    if (sink < 0) std::printf("%f\n", sink);
    return t;
}

}  // namespace

int main() {
    Times small = measure(20000);
    Times large = measure(200000);
    auto line = [&](const char* name, double s, double l) {
        std::printf("%-14s 20k: %8.2f ms (%5.1fx baseline)  200k: %8.2f ms (%5.1fx baseline)  growth %.1fx\n",
                    name, s, s / small.baseline, l, l / large.baseline, l / s);
    };
    std::printf("baseline (read every score once): 20k %.2f ms, 200k %.2f ms\n", small.baseline,
                large.baseline);
    line("年级各科三率", small.grade, large.grade);
    line("班级各科三率", small.cls, large.cls);
    line("教师个人三率", small.teacher, large.teacher);
    return 0;
}
