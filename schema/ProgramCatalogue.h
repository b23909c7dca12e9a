#pragma once

#include <span>

#include "data/Catalogue.h"

namespace dv {

// The catalogue of this program: the tables declared in schema/tables/ with their program-wide
// record buffers (schema/Records.h), the relations between them, the table-file list and the
// program-wide variables (GLO, schema/ProgramGlobals.h). Whatever starts the program installs it:
// installCatalogue(&programCatalogue()).
const Catalogue& programCatalogue();

// Its parts, each defined beside its rows.
std::span<const TableDef> programTables();
std::span<const Relation> programRelations();
std::span<const TableFile> programTableFiles();

}  // namespace dv
