#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace dv {

// What a relation does to the child records when the parent's linking fields change or the
// parent is deleted (the values of the relation keeper's UPDATEMODE and DELETEMODE).
enum class RelationMode : std::uint8_t {
    None = 0,      // RelNone: nothing
    Clear = 1,     // RelClear: the children's linking fields are cleared
    Restrict = 2,  // RelRestrict: refused while children exist
    Cascade = 3,   // RelCascade: new values copied into the children; deleted with the parent
};

// The program's name of a mode: "RelNone", "RelClear", "RelRestrict", "RelCascade".
std::string_view relationModeName(RelationMode mode);

// A parent field and the child field that holds its value.
struct LinkingField {
    std::string_view parent;
    std::string_view child;
};

// A parent/child link of the catalogue. The child's key `childKey` begins with the child fields
// of `fields`, in their order, so that the children of one parent are found by positioning on it.
struct Relation {
    std::string_view parent;  // table names
    std::string_view child;
    std::string_view childKey;  // key name without the prefix
    std::span<const LinkingField> fields;
    RelationMode updateMode;
    RelationMode deleteMode;
};

// Every relation of the installed catalogue (data/Catalogue.h).
std::span<const Relation> relations();

}  // namespace dv
