#include "tests/support/scripted_frontend.h"

#include <gtest/gtest.h>

#include <regex>

namespace varnex::testing {

namespace {
// The names as written in the enums.
std::string nameOf(Field field) {
    switch (field) {
        case Field::ExamName:
            return "ExamName";
        case Field::TopNCount:
            return "TopNCount";
        case Field::PreviousExam:
            return "PreviousExam";
    }
    return std::to_string(static_cast<int>(field));
}

std::string nameOf(Action action) {
    switch (action) {
        case Action::ImportStudents:
            return "ImportStudents";
        case Action::ImportTeachers:
            return "ImportTeachers";
        case Action::Export:
            return "Export";
    }
    return std::to_string(static_cast<int>(action));
}
}  // namespace

void ScriptedFrontend::expectQuestion(std::string expectedFragment, bool answer) {
    answers_.push_back({std::move(expectedFragment), answer});
}

void ScriptedFrontend::expectTextQuestion(std::string expectedFragment, std::optional<std::string> answer) {
    textAnswers_.push_back({std::move(expectedFragment), std::move(answer)});
}

std::optional<std::string> ScriptedFrontend::askText(const std::string& prompt, const std::string& caption,
                                                     const std::string& initial) {
    textQuestions.push_back({prompt, caption, MessageIcon::None});
    textOffers.push_back(initial);
    calls.push_back("text:" + caption + ":" + prompt + "=" + initial);
    if (textAnswers_.empty()) {
        ADD_FAILURE() << "unexpected text question: " << prompt;
        return std::nullopt;
    }
    TextAnswer next = textAnswers_.front();
    textAnswers_.pop_front();
    EXPECT_NE(prompt.find(next.fragment), std::string::npos)
        << "text question \"" << prompt << "\" does not contain \"" << next.fragment << "\"";
    return next.answer;
}

void ScriptedFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    messages.push_back({text, caption, icon});
    calls.push_back("message:" + caption + ":" + text);
}

bool ScriptedFrontend::askYesNo(const std::string& text, const std::string& caption) {
    questions.push_back({text, caption, MessageIcon::Information});
    calls.push_back("question:" + caption + ":" + text);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return false;
    }
    Answer next = answers_.front();
    answers_.pop_front();
    EXPECT_NE(text.find(next.fragment), std::string::npos)
        << "question \"" << text << "\" does not contain \"" << next.fragment << "\"";
    return next.answer;
}

void ScriptedFrontend::logAppended(const std::string& line) {
    logLines.push_back(line);
    calls.push_back("log:" + line);
}

void ScriptedFrontend::setTitle(const std::string& title) {
    titles.push_back(title);
    calls.push_back("title:" + title);
}

bool ScriptedFrontend::setClipboardText(const std::string& text) {
    calls.push_back("clipboard:" + text);
    if (!clipboardWorks) return false;
    clipboard.push_back(text);
    return true;
}

void ScriptedFrontend::playNotification() {
    ++notifications;
    calls.push_back("sound");
}

void ScriptedFrontend::focusField(Field field) {
    focused.push_back(field);
    calls.push_back("focus:" + nameOf(field));
}

void ScriptedFrontend::enableAction(Action action, bool on) {
    enabled.emplace_back(action, on);
    calls.push_back("enable:" + nameOf(action) + (on ? ":on" : ":off"));
}

void ScriptedFrontend::minimiseWindow() {
    ++minimised;
    calls.push_back("minimise");
}

void ScriptedFrontend::openDocument(const std::string& path) {
    openedDocuments.push_back(path);
    calls.push_back("open:" + path);
}

std::string withoutTime(const std::string& line) {
    static const std::regex kStamp("^[0-9]{2}:[0-9]{2}:[0-9]{2} ");
    return std::regex_replace(line, kStamp, "", std::regex_constants::format_first_only);
}

}  // namespace varnex::testing
