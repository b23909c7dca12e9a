#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingFrontEnd.h"
#include "framework/ErrorMessageBlock.h"
#include "framework/ErrorReporter.h"
#include "runtime/ErrorState.h"
#include "runtime/Halt.h"

namespace dv::test {

// Thrown by the test halt handler in place of ending the process.
struct HaltRequested {
    int exitCode;
    std::string closingMessage;
};

// A reporter on a recording front end, with halts turned into HaltRequested.
class ErrorReporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearLastError();
        previousHalt_ = setHaltHandler([](int code, std::string_view message) {
            throw HaltRequested{code, std::string(message)};
        });
    }
    void TearDown() override {
        setHaltHandler(previousHalt_);
        clearLastError();
    }

    void addMessage(std::uint16_t id, MessageLevel level, std::string title, std::string text) {
        std::vector<MessageEntry> entries{{id, level, std::move(title), std::move(text), {}}};
        reporter.addMessages(encodeMessageBlock(entries));
    }

    const MessageBoxRequest& lastBox() const {
        EXPECT_FALSE(ui.boxes().empty());
        return ui.boxes().back();
    }

    RecordingFrontEnd ui;
    ErrorReporter reporter;

  private:
    HaltHandler previousHalt_;
};

}  // namespace dv::test
