#pragma once

#include <optional>
#include <string>

#include "runtime/Request.h"

namespace dv {

// Whether the suite keeps a separate financial partner register that every change of a partner
// is repeated in (the setting "PartnerjiFIN" is "D").
bool mirrorsPartners();

// Repeats the insert, change or delete of the partner in the SFPARTN buffer in the financial
// register SFPARTFIN. Nothing is shown: the text of a failure (the message with the runtime's
// error code and text) is returned for the caller to show once its work is committed.
std::optional<std::string> mirrorPartner(Request request);

// The mirror record of the partner in the SFPARTN buffer, built into the SFPARTFIN buffer: over
// a cleared record with the register's defaults (`fromCleared`) or over the record it holds. The
// partner's first bank account (SFPARRA) gives the account fields.
void buildFinancialPartner(bool fromCleared);

}  // namespace dv
