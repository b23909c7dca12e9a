#include "schema/Records.h"

namespace dv {

// The program-wide record buffers, one per table, named by the table's prefix.
#define DV_TABLE(name, prefix, size) name##Record prefix;
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

}  // namespace dv
