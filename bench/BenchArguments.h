#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace dv::bench {

// The command line with a tiny minimum time added unless the caller gave one: each benchmark then
// runs a fixed, small number of iterations without "/iterations:n" being added to its name.
// `argv` keeps pointing into the returned vector, so keep it alive until Initialize has run.
inline std::vector<char*> withShortMinimumTime(int& argc, char**& argv) {
    static char minTime[] = "--benchmark_min_time=0.000001";
    std::vector<char*> arguments(argv, argv + argc);
    if (std::none_of(arguments.begin(), arguments.end(), [](const char* argument) {
            return std::string_view(argument).starts_with("--benchmark_min_time");
        }))
        arguments.insert(arguments.begin() + 1, minTime);
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    return arguments;
}

}  // namespace dv::bench
