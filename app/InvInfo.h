#pragma once

namespace dv {

// The procedure "InvInfo": the window " INFORMACIJA" with the order in which a stocktake is
// done, until "ZAPRI" (or its close box) closes it.
int runInvInfo();

}  // namespace dv
