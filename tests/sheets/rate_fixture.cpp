#include "tests/sheets/rate_fixture.h"

#include <gtest/gtest.h>

#include "base/text_util.h"

namespace varnex::testing {

RateFixture::RateFixture(std::vector<std::string> subjects, std::vector<int> fullMarks) {
    state.scores.fullMark.fill(0);
    state.scores.excellenceLine.fill(80);
    int total = 0;
    for (size_t i = 0; i < subjects.size(); ++i) {
        state.scores.fullMark[static_cast<size_t>(subjectIndex(subjects[i]))] = fullMarks[i];
        total += fullMarks[i];
    }
    state.imported.examSubjects = std::move(subjects);
    state.imported.examFullMarkTotal = total;
    state.imported.gradeName = "高一";
}

void RateFixture::school(const std::string& name) {
    state.imported.schoolList.push_back(name);
}

void RateFixture::classEntry(const std::string& school, const std::string& className) {
    state.imported.classList.add(school, className);
}

void RateFixture::student(const std::string& school, const std::string& className,
                          const std::vector<std::string>& scores, const std::string& total) {
    std::vector<std::string> cells(15);
    cells[0] = school;
    cells[1] = className;
    cells[2] = "学生" + std::to_string(state.students.rowCount() + 1);
    double sum = 0;
    for (size_t i = 0; i < scores.size(); ++i) {
        cells[static_cast<size_t>(columnOfSubject(state.imported.examSubjects[i]))] = scores[i];
        sum += cAtof(scores[i]);
    }
    cells[14] = total.empty() ? strprintf("%g", sum) : total;
    state.students.appendRow(std::move(cells));
}

void RateFixture::teacher(const std::string& school, const std::string& grade, const std::string& className,
                          const std::string& subject, const std::string& name) {
    state.teachers.appendRow({school, grade, className, subject, name});
}

void RateFixture::start() {
    sheetIndex_ = 1;
    session_->AddWorkbook(OmittedArgument);
}

const Cell& RateFixture::cell(std::string_view address) {
    static const Cell kUnwritten;
    const Cell* c = sheet().at(address);
    return c != nullptr ? *c : kUnwritten;
}

bool RateFixture::rateFormatted(std::string_view address) {
    const Cell& c = cell(address);
    return c.numberFormat != 0 && session_->workbook().numberFormats().at(c.numberFormat - 1u) == "0.0";
}

std::string RateFixture::shown(std::string_view address) {
    const Cell& c = cell(address);
    auto number = [&](double d) {
        return rateFormatted(address) ? strprintf("%.1f", d) : strprintf("%.15g", d);
    };
    switch (c.kind) {
        case Cell::Kind::Empty:
            return "";
        case Cell::Kind::Number:
            return number(c.number());
        case Cell::Kind::Text:
            return std::string(c.text());
        case Cell::Kind::Formula:
            if (c.cachedKind() == Value::Kind::Number) return number(c.cachedNumber());
            return std::string(c.cachedText());
    }
    return "";
}

std::string RateFixture::formula(std::string_view address) {
    const Cell& c = cell(address);
    return c.kind == Cell::Kind::Formula ? std::string(c.text()) : std::string();
}

bool RateFixture::merged(std::string_view range) {
    size_t colon = range.find(':');
    auto first = parseCellName(range.substr(0, colon));
    auto last = parseCellName(range.substr(colon + 1));
    if (!first || !last) return false;
    for (const CellRange& m : sheet().merges) {
        if (m.first == *first && m.last == *last) return true;
    }
    return false;
}

void expectCells(RateFixture& f, std::initializer_list<Expected> cells) {
    for (const auto& c : cells) EXPECT_EQ(f.shown(c.address), c.shown) << c.address;
}

}  // namespace varnex::testing
