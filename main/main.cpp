#include <cstdio>
#include <string>

#include "app/DatabaseChoice.h"
#include "main/Commands.h"
#include "main/ProgramOptions.h"
#include "schema/ProgramCatalogue.h"

namespace {

int usage() {
    std::fputs(
        "usage: dideroviv [--dir DIR] [--database CONNINFO] [--today dd.mm.yyyy] [--time hh:mm]\n"
        "                 [VERB [ARGS]]\n"
        "  --database CONNINFO  the tables on a PostgreSQL server (libpq connection string)\n"
        "  (no verb)          the desktop program\n"
        "  --version          print the program name and version\n"
        "  files              resolve and print the file of every table\n"
        "  dictionary --json  print the data dictionary as JSON\n"
        "  script FILE        run a UI script without a display\n"
        "  demo [--items N]   fill an empty program directory with a demo company of N items\n"
        "  copy-to CONNINFO   copy the directory's tables into an empty PostgreSQL database\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    std::string error;
    auto options = dv::parseProgramOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        return usage();
    }
    dv::applyClockOptions(*options);
    dv::setDatabaseOverride(options->database);
    if (options->verb == "--version") {
        std::printf("DIDEROVIV %s\n", DV_VERSION);
        return 0;
    }
    if (options->verb == "files") return dv::runFilesCommand(*options);
    if (options->verb == "dictionary") return dv::runDictionaryCommand(*options);
    if (options->verb == "script") return dv::runScriptCommand(*options);
    if (options->verb == "demo") return dv::runDemoCommand(*options);
    if (options->verb == "copy-to") return dv::runCopyToCommand(*options);
    if (options->verb.empty()) return dv::runDesktopCommand(*options);
    return usage();
}
