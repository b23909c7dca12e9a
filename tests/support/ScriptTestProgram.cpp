// dideroviv_test: the program's `script` verb with the test suite's procedures registered
// beside the program's, for the tests that drive them through a command line as a user's
// script drives the program. The program itself never has them.
#include <cstdio>
#include <string>

#include "main/Commands.h"
#include "main/ProgramOptions.h"
#include "schema/ProgramCatalogue.h"
#include "support/FormTestProcedures.h"

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    std::string error;
    const auto options = dv::parseProgramOptions(argc, argv, error);
    if (!options) std::fprintf(stderr, "dideroviv_test: %s\n", error.c_str());
    if (!options || options->verb != "script") {
        std::fputs(
            "usage: dideroviv_test [--dir DIR] [--today dd.mm.yyyy] [--time hh:mm] "
            "script FILE\n",
            stderr);
        return 2;
    }
    dv::applyClockOptions(*options);
    return dv::runScriptCommand(*options, dv::registerFormTestProcedures);
}
