// How question columns are named and how their full marks are written.

#include "app/question_scores.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

TEST(QuestionScores, LabelsOfHeaderTexts) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "1"},        {"17", "17"},       {"第18题", "18"},
        {"18题", "18"},    {"17(1)", "17(1)"}, {"第17题(2)", "17(2)"},
        {"17-1", "17(1)"}, {"0", ""},          {"17()", ""},
        {"17(1", ""},      {"选择题", ""},     {"17(1)a", ""},
        {"12345", ""},     {"", ""},           {"第题", ""},
    };
    for (auto [text, label] : cases) EXPECT_EQ(questionLabel(text), label) << text;
}

TEST(QuestionScores, MarksAsWritten) {
    Result<std::vector<QuestionMark>> marks = parseQuestionMarks(" 1~3=5，13-14 = 2.5,17（1）=4,17(2)=6");
    ASSERT_TRUE(marks) << marks.error();
    std::vector<std::pair<std::string, double>> got;
    for (const QuestionMark& m : *marks) got.emplace_back(m.question, m.mark);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, double>>{
                       {"1", 5}, {"2", 5}, {"3", 5}, {"13", 2.5}, {"14", 2.5}, {"17(1)", 4}, {"17(2)", 6}}));
    for (const char* bad : {"1~3", "1~3=0", "3~1=5", "x=5", "1=-2", "1=5分", "1~3(1)=4", "1=1e9"}) {
        Result<std::vector<QuestionMark>> refused = parseQuestionMarks(bad);
        EXPECT_FALSE(refused) << bad;
        if (!refused) {
            EXPECT_NE(refused.error().find("无法识别小题满分"), std::string::npos) << refused.error();
        }
    }
}

// The written form runs whole questions of one mark together and reads back as it was.
TEST(QuestionScores, MarksTextReadsBack) {
    const std::vector<std::string> questions{"1", "2", "3", "4", "6", "17(1)", "17(2)", "18"};
    const std::vector<double> marks{5, 5, 5, 4, 4, 4, 6, 12.5};
    const std::string text = questionMarksText(questions, marks);
    EXPECT_EQ(text, "1~3=5,4=4,6=4,17(1)=4,17(2)=6,18=12.5");
    Result<std::vector<QuestionMark>> back = parseQuestionMarks(text);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), questions.size());
    for (size_t i = 0; i < questions.size(); ++i) {
        EXPECT_EQ((*back)[i].question, questions[i]);
        EXPECT_EQ((*back)[i].mark, marks[i]);
    }
}

}  // namespace
}  // namespace varnex
