#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace dv {

// The start-up declaration of every table with its structure version, and of the fields that
// are auto-numbered in new tables (the table-upgrade registration). The database engine keeps
// each table's version in its own registry and converts an older table when it is opened; this
// declaration is what the program says it expects, made once per process.

struct AutoNumberedField {
    std::string_view table;
    std::string_view field;
};

// Declares every versioned table and the auto-numbered fields (DOKUMEDN:Id, DOK:Id). Only the
// first call in a process declares; it returns true, later calls false. A declared field that is
// not the numbered component of a key of its table throws std::logic_error.
bool registerTableVersions();

// The declared version of a table (name, any case); nothing before the declaration and for a
// table without a version (the capture text file).
std::optional<int> registeredVersion(std::string_view table);

// The fields declared auto-numbered.
std::span<const AutoNumberedField> autoNumberedFields();

}  // namespace dv
