#include "frontend/qt/DialogAnswerHook.h"

#include <functional>
#include <mutex>

#include "frontend/qt/QtDialogs.h"

namespace dv {
namespace {

using AnswerHook = std::function<std::optional<int>(const char*)>;

std::mutex hookMutex;
AnswerHook installedHook;

}  // namespace

void setDialogAnswerHook(AnswerHook hook) {
    const std::lock_guard lock(hookMutex);
    installedHook = std::move(hook);
}

std::optional<int> hookedDialogAnswer(const char* dialogKind) {
    AnswerHook hook;
    {
        const std::lock_guard lock(hookMutex);
        hook = installedHook;
    }
    // Called outside the lock: a hook may itself install another hook.
    return hook ? hook(dialogKind) : std::nullopt;
}

}  // namespace dv
