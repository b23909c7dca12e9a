#include "storage/SlovenianCollation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

namespace dv {
namespace {

UCollator* openCollator() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("sl", &status);
    if (U_FAILURE(status)) return nullptr;
    ucol_setStrength(collator, UCOL_SECONDARY);
    return collator;
}

int compare(void* collator, int leftLength, const void* left, int rightLength, const void* right) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(left),
                         leftLength, static_cast<const char*>(right), rightLength, &status);
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

void destroy(void* collator) {
    ucol_close(static_cast<UCollator*>(collator));
}

}  // namespace

int registerSlovenianCollation(sqlite3* db) {
    UCollator* collator = openCollator();
    if (collator == nullptr) return SQLITE_ERROR;
    const int result =
        sqlite3_create_collation_v2(db, kSlovenianNoCase, SQLITE_UTF8, collator, compare, destroy);
    // SQLite does not call the destructor when the registration fails.
    if (result != SQLITE_OK) ucol_close(collator);
    return result;
}

std::string slovenianCollationVersion() {
    UCollator* collator = openCollator();
    if (collator == nullptr) return {};
    UVersionInfo version;
    ucol_getVersion(collator, version);
    ucol_close(collator);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return text;
}

}  // namespace dv
