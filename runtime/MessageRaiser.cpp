#include "runtime/MessageRaiser.h"

#include <atomic>
#include <iostream>
#include <string>

#include "runtime/MessageTable.h"

namespace dv {
namespace {

// Used before the program's reporter is installed: nothing can be shown, so the message is
// written where a developer sees it.
class StandardErrorRaiser final : public MessageRaiser {
  public:
    void quoteFile(std::string_view text) override { file_ = text; }
    void quoteField(std::string_view) override {}
    void captureErrorState() override {}
    Level raise(std::uint16_t id) override {
        std::cerr << "message " << id << (file_.empty() ? "" : " on ") << file_ << '\n';
        return kLevelNotify;
    }
    Level raiseWithText(std::uint16_t id, std::string_view text) override {
        std::cerr << "message " << id << ": " << text << '\n';
        return kLevelNotify;
    }

  private:
    std::string file_;
};

std::atomic<MessageRaiser*>& installed() {
    static std::atomic<MessageRaiser*> raiser{nullptr};
    return raiser;
}

}  // namespace

MessageRaiser& currentMessageRaiser() {
    if (MessageRaiser* raiser = installed().load()) return *raiser;
    static StandardErrorRaiser fallback;
    return fallback;
}

MessageRaiser* setCurrentMessageRaiser(MessageRaiser* raiser) {
    return installed().exchange(raiser);
}

Level raiseProcedureNotDefined(std::string_view procedure) {
    return currentMessageRaiser().raiseWithText(message::ProcedureNotDefined, procedure);
}

}  // namespace dv
