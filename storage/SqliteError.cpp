#include "storage/SqliteError.h"

#include <string>

namespace dv {
namespace {

struct Meaning {
    DriverCode code;
    std::string_view reason;
};

Meaning meaningOf(int result) {
    switch (result) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            return {DriverCode::DuplicateKey, "a record with the same key values already exists"};
        case SQLITE_CORRUPT_INDEX:
            return {DriverCode::KeyInvalid, "a key of the table is damaged and must be rebuilt"};
        default:
            break;
    }
    switch (result & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {DriverCode::RecordHeld,
                    "the database is locked by another program; try again later"};
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return {DriverCode::AccessDenied, "there is no write access to the database"};
        case SQLITE_CANTOPEN:
            return {DriverCode::AccessDenied, "the database file cannot be opened"};
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return {DriverCode::DriverError,
                    "the database file is damaged or is not a database of this program"};
        case SQLITE_FULL:
            return {DriverCode::DriverError, "the disk is full"};
        case SQLITE_IOERR:
            return {DriverCode::DriverError, "the disk could not be read or written"};
        case SQLITE_NOMEM:
            return {DriverCode::DriverError, "there is not enough memory"};
        default:
            return {DriverCode::DriverError, "the database reported an error"};
    }
}

}  // namespace

DriverError sqliteFailure(sqlite3* db, int result, std::string_view action) {
    const Meaning meaning = meaningOf(result);
    std::string text = "Could not ";
    text += action;
    text += ": ";
    text += meaning.reason;
    if (db != nullptr) {
        text += " (";
        text += sqlite3_errmsg(db);
        text += ")";
    }
    return DriverError{meaning.code, result, std::move(text)};
}

}  // namespace dv
