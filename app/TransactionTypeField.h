#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/ExpressionVariable.h"
#include "runtime/FixedText.h"

namespace dv {

class FileManager;

// The list from which transaction types are chosen.
inline constexpr std::string_view kTransactionTypeList = "BrowseSFVRPROM";

// One transaction type of the stocktake parameters: the program-wide variable that holds its
// number, the sale kind ('V' wholesale, 'M' retail) and the document mark ('I' for a shortage,
// 'N' for a surplus) that a type must have to serve here, and the description shown beside it.
//
// A type is looked up in SFVRPROM by its primary key (sale kind, mark, number). Only types of
// this field's sale kind and mark are taken: the stocktake documents are written with this mark,
// so a type of another mark would name a different type, or none, in them.
class TransactionTypeField {
  public:
    // `types` is the open SFVRPROM; `description` the variable the window shows.
    TransactionTypeField(FileManager& types, VariableRef number, char saleKind, char mark,
                         FixedText<40>& description);

    // The description of the type the variable names; blank when it is 0 or not in the table
    // (the number is kept all the same).
    void showDescription();

    // The user typed `text` into the description. Blank clears the type (number 0). Otherwise
    // the first type of this sale kind and mark, in order of description, whose description
    // starts with the text (letter case ignored) is taken; when none does, the list opens so
    // that the user can choose. Whatever is not chosen leaves the type as it was.
    void takeTypedDescription(std::string_view text);

    // The lookup button: the list of transaction types opens for a choice.
    void chooseFromList();

    // The number the variable holds.
    std::int64_t number() const;

  private:
    // The type of this kind and mark whose description starts with `text`.
    std::optional<std::uint16_t> findByDescription(std::string_view text);
    // Takes the type that stands in the SFVRPROM buffer; false (the user told why) when it has
    // another sale kind or mark.
    bool takeChosen();
    void take(std::uint16_t number, std::string_view description);
    std::string expectedKindText() const;

    FileManager& types_;
    VariableRef number_;
    char saleKind_;
    char mark_;
    FixedText<40>& description_;
};

}  // namespace dv
