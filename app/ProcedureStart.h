#pragma once

#include <string_view>

namespace dv {

// Starts the procedure registered under `name` on a procedure thread of its own and returns at
// once, as the menu does; the same procedure may run more than once side by side. A name that
// no procedure is registered under raises message 24 "Procedure not defined" with the name.
void startProcedure(std::string_view name);

}  // namespace dv
