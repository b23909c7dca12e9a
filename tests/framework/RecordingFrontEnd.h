#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "runtime/FrontEnd.h"

namespace dv::test {

// A front end that records every message box and list window and answers them from a scripted
// queue. It installs itself as the current front end for its lifetime. A window with no scripted
// answer, an answer that is not one of the window's buttons, and answers left unused at the end
// fail the test.
class RecordingFrontEnd : public FrontEnd {
  public:
    RecordingFrontEnd() : previous_(setCurrentFrontEnd(this)) {}
    ~RecordingFrontEnd() override {
        setCurrentFrontEnd(previous_);
        EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) not used";
    }
    RecordingFrontEnd(const RecordingFrontEnd&) = delete;
    RecordingFrontEnd& operator=(const RecordingFrontEnd&) = delete;

    void answer(MessageButtons button) { answers_.push_back(button); }

    MessageButtons messageBox(const MessageBoxRequest& request) override {
        boxes_.push_back(request);
        return next(request.caption + ": " + request.text, request.buttons, request.defaultButton);
    }

    MessageButtons messageList(const MessageListRequest& request) override {
        lists_.push_back(request);
        return next(request.caption, request.buttons, request.defaultButton);
    }

    const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }
    const std::vector<MessageListRequest>& lists() const { return lists_; }

  private:
    MessageButtons next(const std::string& shown, MessageButtons buttons,
                        MessageButtons defaultButton) {
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected window: " << shown;
            return defaultButton;
        }
        MessageButtons pressed = answers_.front();
        answers_.pop_front();
        EXPECT_NE(buttons & pressed, 0u) << "answer " << pressed << " is not a button of " << shown;
        return pressed;
    }

    FrontEnd* previous_;
    std::deque<MessageButtons> answers_;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<MessageListRequest> lists_;
};

}  // namespace dv::test
