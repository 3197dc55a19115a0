#pragma once
// A Frontend for tests: records every call and answers questions from a script.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/frontend.h"

namespace varnex::testing {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

class ScriptedFrontend : public Frontend {
  public:
    /// The next question must contain `expectedFragment`; it is answered with `answer`.
    void expectQuestion(std::string expectedFragment, bool answer);
    /// The next text question must contain `expectedFragment`; it is answered with `answer`
    /// (nothing: cancelled).
    void expectTextQuestion(std::string expectedFragment, std::optional<std::string> answer);
    /// True when every scripted question was asked.
    bool allQuestionsAsked() const { return answers_.empty() && textAnswers_.empty(); }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void logAppended(const std::string& line) override;
    void setTitle(const std::string& title) override;
    bool setClipboardText(const std::string& text) override;
    void playNotification() override;
    void focusField(Field field) override;
    void enableAction(Action action, bool enabled) override;
    void minimiseWindow() override;
    void openDocument(const std::string& path) override;
    bool opensDocuments() const override { return documentsOpen; }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override;

    std::vector<RecordedMessage> messages;
    std::vector<RecordedMessage> questions;      ///< text and caption of every question asked
    std::vector<RecordedMessage> textQuestions;  ///< prompt and caption of every text question
    std::vector<std::string> textOffers;         ///< the text offered with each of them
    std::vector<std::string> logLines;
    std::vector<std::string> titles;
    std::vector<std::string> clipboard;
    std::vector<Field> focused;
    std::vector<std::pair<Action, bool>> enabled;
    std::vector<std::string> openedDocuments;
    int notifications = 0;
    int minimised = 0;
    bool clipboardWorks = true;
    bool documentsOpen = true;  ///< what opensDocuments() answers
    /// Every call in order, one line each ("message:<caption>:<text>", "log:<line>",
    /// "enable:Export:on", "focus:ExamName", …).
    std::vector<std::string> calls;

  private:
    struct Answer {
        std::string fragment;
        bool answer;
    };
    std::deque<Answer> answers_;
    struct TextAnswer {
        std::string fragment;
        std::optional<std::string> answer;
    };
    std::deque<TextAnswer> textAnswers_;
};

/// The log line without its "HH:MM:SS " prefix (lines without a time stamp are returned whole).
std::string withoutTime(const std::string& line);

}  // namespace varnex::testing
