#include <cstdio>

#include "main/Commands.h"

namespace dv {

// Not built yet.
int runFilesCommand(const ProgramOptions&) {
    std::fputs("dideroviv: not built yet\n", stderr);
    return 2;
}

}  // namespace dv
