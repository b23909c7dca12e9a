#include "schema/ProgramCatalogue.h"

#include "schema/ProgramGlobals.h"

namespace dv {

const Catalogue& programCatalogue() {
    static const Catalogue catalogue{programTables(), programRelations(), programTableFiles(),
                                     &programGlobalNames()};
    return catalogue;
}

}  // namespace dv
