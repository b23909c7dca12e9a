#pragma once

#include "data/TableDef.h"

namespace dv {

// Clears a typed record of `table`: texts to blanks, numbers, decimals and dates to zero.
void clearRecord(const TableDef& table, void* record);

// Clears the record and gives the fields their defaults on insert (a default of
// kCurrentYearDefault becomes today's year as four digits).
void prepareNewRecord(const TableDef& table, void* record);

// Clears the program-wide record buffer of every table of the installed catalogue (start-up).
void clearAllRecordBuffers();

}  // namespace dv
