#include <gtest/gtest.h>

#include "schema/ProgramCatalogue.h"

// Every test executable above the runtime links this file: before its first test the program's
// catalogue is installed, as the program's start-up installs it, so that the tests see the
// program's tables, relations, table files and variables. A test that installs another
// catalogue puts this one back when it ends.
namespace {

class ProgramCatalogueEnvironment final : public testing::Environment {
  public:
    void SetUp() override { dv::installCatalogue(&dv::programCatalogue()); }
};

// Registered before main() runs, as gtest_main wants it.
[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ProgramCatalogueEnvironment);

}  // namespace
