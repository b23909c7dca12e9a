#include <cstdio>
#include <memory>

#include "app/ProgramStartUp.h"
#include "frontend/qt/RunDesktop.h"
#include "main/Commands.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {

// The desktop program: the program starts, its main frame runs on the desktop until the user
// leaves it, and the program ends.
int runDesktopCommand(const ProgramOptions& options) {
    int status = 0;
    const auto directory = commandDirectory(options, false, status);
    if (!directory) return status;
    std::string error;
    std::unique_ptr<ProgramStartUp> program = ProgramStartUp::start(*directory, error);
    if (!program) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        return 1;
    }
    ProcedureScheduler& scheduler = programScheduler();
    scheduler.start("Main", *programProcedures().find("Main"));
    status = runDesktop(scheduler);
    // Closing the frame ends the program: procedures still open end with it.
    scheduler.shutdown();
    if (FileResult ended = program->shutDown(); !ended.ok()) {
        std::fprintf(stderr, "dideroviv: %s\n", ended.error.c_str());
        return 1;
    }
    return status;
}

}  // namespace dv
