#pragma once

#include <span>
#include <string>
#include <string_view>

#include "data/TableDef.h"

namespace dv {

// An operator of the query line: its keyword and its one-character symbol.
struct QueryOperator {
    std::string_view keyword;
    std::string_view symbol;
};

// The operators every list of the program offers, in the order of their table; STARTSWITH is
// the default for text, EQUALS for numbers and dates.
std::span<const QueryOperator> queryOperators();

// A query line read as a filter on one field, or why it cannot be read.
struct QueryFilter {
    std::string filter;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Reads a query line typed by the user for the field `field` of `table`:
//
//   term { ("&" | "AND" | "|" | "OR") term }      terms joined, AND before OR
//   term  = ["~" | "NOT"] [operator] value        an operator as its symbol or keyword
//
// CONTAINS, WITHOUT, STARTSWITH, ENDSWITH, EQUALS and the comparisons compare texts without
// regard to case; RANGE takes "low..high"; DATE (and any value of a date field) is a date read
// as "@D2" (mm/dd/yyyy), "@D10-" (yyyy-mm-dd) or a time as "@T4" (hh:mm:ss). A value may be
// put in double quotes to hold blanks, "&" or "|". What the user typed becomes values of the
// filter, never part of its text.
QueryFilter buildQueryFilter(std::string_view query, const TableDef& table, int field);

}  // namespace dv
