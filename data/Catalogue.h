#pragma once

#include <span>
#include <string_view>

#include "data/Relations.h"
#include "data/TableDef.h"
#include "data/TableFiles.h"
#include "runtime/GlobalVariables.h"

namespace dv {

// What the data dictionary knows of the program it serves: the tables (in the order in which
// start-up resolves their files), the relations between them, the table-file list and the
// program-wide variables by name. The dictionary, the storage and the framework read the program
// only through the catalogue installed here; the program's start-up installs its own. Without
// one, every accessor that reads it (dictionary(), findTable(), relations(), tableFiles(),
// findTableFile(), globalVariables(), findGlobalVariable(), and what is built on them) throws
// std::logic_error, so that a start that forgot it fails at once instead of seeing no tables.
struct Catalogue {
    std::span<const TableDef> tables;
    std::span<const Relation> relations;
    std::span<const TableFile> files;
    const GlobalVariables* globals = nullptr;  // nullptr: the program has none
};

// Makes `catalogue` the one the data layer reads (nullptr: none). It must outlive its
// installation. Installed while no procedure thread runs, like the record buffers are set up.
void installCatalogue(const Catalogue* catalogue);

// The installed catalogue, or nullptr.
const Catalogue* installedCatalogue();

// The installed catalogue; throws std::logic_error when none is installed.
const Catalogue& catalogue();

// The program-wide variables of the installed catalogue ("GLO:OdSkupine", ...); an empty set
// when it has none.
const GlobalVariables& globalVariables();

// The program-wide variable named `name` (any letter case), or nullptr.
const VariableRef* findGlobalVariable(std::string_view name);

}  // namespace dv
