#include "runtime/Halt.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace dv {
namespace {

std::mutex& haltMutex() {
    static std::mutex mutex;
    return mutex;
}

HaltHandler& installedHandler() {
    static HaltHandler handler;
    return handler;
}

std::vector<std::function<void()>>& hooks() {
    static std::vector<std::function<void()>> list;
    return list;
}

[[noreturn]] void defaultHalt(int exitCode, std::string_view closingMessage) {
    if (!closingMessage.empty()) std::fprintf(stderr, "%s\n", std::string(closingMessage).c_str());
    runShutdownHooks();
    std::exit(exitCode);
}

}  // namespace

void halt(int exitCode, std::string_view closingMessage) {
    HaltHandler handler;
    {
        std::lock_guard lock(haltMutex());
        handler = installedHandler();
    }
    if (handler) handler(exitCode, closingMessage);
    defaultHalt(exitCode, closingMessage);
}

HaltHandler setHaltHandler(HaltHandler handler) {
    std::lock_guard lock(haltMutex());
    return std::exchange(installedHandler(), std::move(handler));
}

void addShutdownHook(std::function<void()> hook) {
    std::lock_guard lock(haltMutex());
    hooks().push_back(std::move(hook));
}

void runShutdownHooks() {
    std::vector<std::function<void()>> pending;
    {
        std::lock_guard lock(haltMutex());
        pending.swap(hooks());
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) (*it)();
}

}  // namespace dv
