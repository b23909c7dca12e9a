#pragma once

// The SQLite connection (sqlite3.h), for the embedded engine that registers these.
struct sqlite3;

#include <string>

namespace dv {

// Name of the SQLite collation that orders text the Slovenian way ("č" after "c", "š" after "s",
// "ž" after "z") without regard to case: the text components of case-insensitive keys, which
// are the keys over names and descriptions. Other text components are codes and compare
// byte for byte (BINARY).
inline constexpr const char* kSlovenianNoCase = "SL_NOCASE";

// Registers the collation on a connection (ICU, locale "sl", secondary strength). SQLITE_OK, or
// an error code when ICU has no collator for the locale.
int registerSlovenianCollation(sqlite3* db);

// The version of the collator's rules; an index built under another version must be rebuilt.
std::string slovenianCollationVersion();

}  // namespace dv
