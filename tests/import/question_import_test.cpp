// Reading question-score sheets: the question and subtotal columns, the 满分 row, full marks given,
// kept or asked for, blank cells under both rules, and every row problem at once.

#include "import/question_import.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/settings_file.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"

namespace varnex::testing {
namespace {

QuestionSource source(const std::string& sheet, const std::string& marks = "") {
    return {fixture("question_sheets.xlsx"), sheet, "数学", marks};
}

// A frontend that answers the full-mark table with `answer` and keeps what it was offered.
class MarksFrontend : public ScriptedFrontend {
  public:
    std::optional<std::vector<double>> answer;
    std::vector<std::string> askedQuestions;
    std::vector<double> proposed;
    std::optional<std::vector<double>> askQuestionMarks(const std::string&,
                                                        const std::vector<std::string>& shown,
                                                        const std::vector<double>& offered) override {
        askedQuestions = shown;
        proposed = offered;
        return answer;
    }
};

const std::vector<std::string> kQuestions{"1", "2", "3", "17(1)", "17(2)"};

// 选择题 and 总分 add questions up, and 17 stands beside its own 17(1) and 17(2): none is a question.
// 吕晨's blank question 1 stays blank: a 0, or no score, as the export's rule says.
TEST(QuestionImport, PlatformSheetWithFullMarkRow) {
    {
        AppState state;
        ScriptedFrontend frontend;
        Result<QuestionOutcome> read = importQuestionSheet(state, frontend, source("数学小题"));
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(read->studentCount, 21);
        ASSERT_EQ(state.questionSheets.size(), 1u);
        const QuestionScores& q = state.questionSheets[0];
        EXPECT_EQ(q.questions, kQuestions);
        EXPECT_EQ(q.fullMarks, (std::vector<double>{5, 5, 5, 4, 6}));
        EXPECT_EQ(q.subtotals, (std::vector<std::string>{"选择题", "总分", "17"}));
        EXPECT_TRUE(q.idColumns[0]);
        EXPECT_EQ(q.students.cellText(0, 2), "林晓");
        EXPECT_EQ(q.students.cellText(0, 1), "1");
        EXPECT_EQ(q.students.hiddenCells(0)[0], "1001");
        EXPECT_EQ(q.score(0, 4), 6);
        EXPECT_EQ(q.students.cellText(18, 2), "吕晨");
        EXPECT_EQ(q.score(18, 0), std::nullopt);
        EXPECT_EQ(q.counted(18, 0, false), 0);
        EXPECT_EQ(q.counted(18, 0, true), std::nullopt);
        EXPECT_EQ(q.score(18, 1), 0);
        ASSERT_FALSE(frontend.logLines.empty());
        EXPECT_NE(frontend.logLines.back().find("21名学生，5道小题；小计列（不计入小题）：选择题、总分、17"),
                  std::string::npos)
            << frontend.logLines.back();
    }
}

// Without a 满分 row: the marks as given, else as kept in the settings file for the exam and
// subject, else as the person enters them (offered the highest score of each), which are kept.
TEST(QuestionImport, FullMarksGivenKeptOrAsked) {
    TempDir dir;
    AppState state;
    state.settingsPath = dir.file("配置文件.ini");
    state.examNameText = "期中考试";
    ScriptedFrontend quiet;
    ASSERT_TRUE(importQuestionSheet(state, quiet, source("无满分行", "1~3=5,17(1)=4,17(2)=6")));
    EXPECT_EQ(state.questionSheets[0].fullMarks, (std::vector<double>{5, 5, 5, 4, 6}));

    MarksFrontend asked;
    asked.answer = std::vector<double>{5, 5, 5, 5, 10};
    ASSERT_TRUE(importQuestionSheet(state, asked, source("无满分行")));
    EXPECT_EQ(asked.askedQuestions, kQuestions);
    EXPECT_EQ(asked.proposed, (std::vector<double>{5, 5, 5, 4, 6}));
    EXPECT_EQ(state.questionSheets.size(), 1u);  // the subject's sheet replaced
    EXPECT_EQ(state.questionSheets[0].fullMarks, (std::vector<double>{5, 5, 5, 5, 10}));
    EXPECT_EQ(loadQuestionMarks(state.settingsPath, "期中考试", "数学"), "1~3=5,17(1)=5,17(2)=10");

    MarksFrontend notAsked;
    ASSERT_TRUE(importQuestionSheet(state, notAsked, source("无满分行")));
    EXPECT_TRUE(notAsked.askedQuestions.empty());
    EXPECT_EQ(state.questionSheets[0].fullMarks, (std::vector<double>{5, 5, 5, 5, 10}));
    // Another exam has none kept.
    state.examNameText = "期末考试";
    EXPECT_FALSE(importQuestionSheet(state, notAsked, source("无满分行")));
}

TEST(QuestionImport, FullMarksMissingOrWrongAreRefused) {
    struct Case {
        const char* marks;
        const char* says;
    };
    const Case cases[] = {
        {"", "这些小题没有满分：1、2、3、17(1)、17(2)"},
        {"1~3=5,17(1)=4", "这些小题没有满分：17(2)"},
        {"1~3=5,17(1)=4,17(2)=6,18=10", "小题满分中的第18题不在工作表“无满分行”中"},
        {"1~3=5,17(1)=4,17(2)=6", nullptr},
        {"1~3=5,17(1)=4,17(2)=5", "第2行 林晓：第17(2)题得分：6不能大于满分：5"},
    };
    for (const Case& c : cases) {
        AppState state;
        ScriptedFrontend frontend;  // cannot answer the full-mark table
        Result<QuestionOutcome> read = importQuestionSheet(state, frontend, source("无满分行", c.marks));
        EXPECT_EQ(static_cast<bool>(read), c.says == nullptr) << c.marks;
        if (c.says == nullptr) continue;
        EXPECT_TRUE(state.questionSheets.empty());
        ASSERT_FALSE(frontend.messages.empty());
        EXPECT_NE(frontend.messages.back().text.find(c.says), std::string::npos)
            << frontend.messages.back().text;
    }
}

// Every problem of the rows at once, each with its row, name and question; nothing is taken.
TEST(QuestionImport, ScoresAboveFullMarksAllListed) {
    AppState state;
    ScriptedFrontend frontend;
    ASSERT_TRUE(importQuestionSheet(state, frontend, source("数学小题")));
    Result<QuestionOutcome> read = importQuestionSheet(state, frontend, source("超满分"));
    ASSERT_FALSE(read);
    const std::string& text = frontend.messages.back().text;
    for (const char* line :
         {"第3行 林晓：第1题得分：6不能大于满分：5", "第4行 周舟：第17(1)题得分“A”不是分数",
          "第5行 吴桐：第17(2)题得分：6.5不能大于满分：6"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_NE(text.find("小题分表“question_sheets.xlsx”"), std::string::npos) << text;
    ASSERT_EQ(state.questionSheets.size(), 1u);  // the sheet read before stays
    EXPECT_EQ(state.questionSheets[0].studentCount(), 21);
}

}  // namespace
}  // namespace varnex::testing
