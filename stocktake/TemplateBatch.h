#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "framework/ProcessSlicer.h"
#include "runtime/Request.h"

namespace dv {

class Window;

// Lets a caller watch the batch: `watcher` is called after each item with the progress window
// and the number of items done (a test presses Cancel so, as a user would in the middle of the
// pass); `clock` times the slices of the pass between the window's events.
struct TemplateBatchHooks {
    std::function<void(Window& progress, std::int64_t done)> watcher;
    ProcessSlicer::Clock clock = ProcessSlicer::steadyClock();
};

// The template preparation of the stocktake in the INVENTUR buffer, in the mode of
// RepreparationMode, with its question first (No writes nothing) and its progress window
// `procedure` (Cancel). All or nothing: the writes of the pass form one transaction, kept only
// when the pass ends and, after items that failed, the user chooses to keep them; Cancel, a
// failure that stops the pass, or a killed program leave the template as it was. RespCompleted
// when the template was written.
Response runTemplateBatch(std::string_view procedure, const TemplateBatchHooks& hooks = {});

}  // namespace dv
