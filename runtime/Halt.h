#pragma once

#include <functional>
#include <string_view>

namespace dv {

// Ends the program in an orderly way: the installed halt handler runs; the default one writes the
// closing message (when there is one) on standard error, runs the shutdown hooks, newest first,
// and exits with `exitCode`. A handler that returns is followed by the default ending; a test
// handler may throw instead, to observe the halt without ending the process.
[[noreturn]] void halt(int exitCode, std::string_view closingMessage = {});

using HaltHandler = std::function<void(int exitCode, std::string_view closingMessage)>;

// Installs `handler` (an empty one restores the default) and returns the previous one.
HaltHandler setHaltHandler(HaltHandler handler);

// Work the default halt does before the process exits (close tables, flush logs).
void addShutdownHook(std::function<void()> hook);

// Runs the registered hooks once, newest first, and forgets them.
void runShutdownHooks();

}  // namespace dv
