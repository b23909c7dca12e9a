#pragma once

#include <optional>

namespace dv {

// The answer the hook installed by setDialogAnswerHook (QtDialogs.h) gives for a dialog of kind
// `dialogKind`; nothing when no hook is set or the hook lets the dialog show.
std::optional<int> hookedDialogAnswer(const char* dialogKind);

}  // namespace dv
