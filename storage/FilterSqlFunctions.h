#pragma once

// The SQLite connection (sqlite3.h), for the embedded engine that registers these.
struct sqlite3;

#include <string>

#include "runtime/ExpressionFunctions.h"

namespace dv {

// The expression functions that can run on a row (ExpressionFunction::rowFunction) as SQL
// functions of a connection, named "DV_" and the function's name ("DV_UPPER", "DV_SUB"). They
// run the very code the expression evaluator runs, so a filter gives the same rows in the
// database as row by row. Text arguments arrive as UTF-8, whole numbers as integers.
// SQLITE_OK, or the code of the first registration that failed.
int registerExpressionFunctions(sqlite3* db);

// "DV_UPPER" for UPPER.
std::string sqlFunctionName(const ExpressionFunction& function);

}  // namespace dv
