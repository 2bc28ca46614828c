// Message sink for tests: answers questions from a script and records everything shown.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/message_sink.h"

namespace testing_support {

class FakeMessageSink : public base::MessageSink {
  public:
    bool AskYesNo(std::string_view text, base::MessageIcon icon) override {
        shown.emplace_back(text);
        if (answers.empty())
            return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(std::string_view text, base::MessageIcon icon) override {
        shown.emplace_back(text);
        if (whileShown)
            whileShown();
    }
    void TellWithCaption(std::string_view text, std::string_view caption, base::MessageIcon icon) override {
        shown.emplace_back(text);
        captions.emplace_back(caption);
    }

    // Runs while a message shows, as the modal loop of a message box runs the program's messages.
    std::function<void()> whileShown;
    std::deque<bool> answers;           // answers to the next questions; No when empty
    std::vector<std::string> shown;     // every question and message, in order
    std::vector<std::string> captions;  // the captions of the messages that carry their own
};

}  // namespace testing_support
