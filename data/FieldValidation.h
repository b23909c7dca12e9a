#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "data/TableDef.h"

namespace dv {

// The error reporter's messages for a field value that fails its rule.
enum class FieldCheckMessage : std::uint16_t {
    NotInTable = 14,  // "The value of %Field must be found in the %Message file."
    NotInList = 15,   // "The value of %Field must be in the list : %Message."
    NotInRange = 16,  // "The value of %Field must be in range %Message."
    NotLower = 17,    // "The value of %Field must be lower than %Message."
    NotHigher = 18,   // "The value of %Field must be higher than %Message."
};

// A field that failed validation, with what the caller passes to the error reporter: the field
// text for %Field (QuoteField) and the message text for %Message (RaiseWithText).
struct FieldCheckFailure {
    int field;  // index into TableDef::fields
    FieldCheckMessage message;
    std::string_view fieldText;    // UTF-8
    std::string_view messageText;  // UTF-8; for NotInList the display labels
};

// Tests the stored value of one field against its rule; nothing when it passes or has no rule.
// A text value is compared without its trailing blanks, exactly (letter case included), with the
// allowed codes; an integer by its decimal digits.
std::optional<FieldCheckFailure> CheckField(const TableDef& table, const void* record, int field);

// Checks the fields from `firstField` on and stops at the first that fails.
std::optional<FieldCheckFailure> CheckRecord(const TableDef& table, const void* record,
                                             int firstField = 0);

}  // namespace dv
