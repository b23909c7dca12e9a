#include "data/Catalogue.h"

#include <atomic>
#include <stdexcept>

#include "data/Dictionary.h"
#include "runtime/TextCase.h"

// The installed catalogue and the accessors of Dictionary.h, Relations.h and TableFiles.h that
// read it.
namespace dv {
namespace {

std::atomic<const Catalogue*> installed{nullptr};

}  // namespace

void installCatalogue(const Catalogue* catalogue) {
    installed.store(catalogue, std::memory_order_release);
}

const Catalogue* installedCatalogue() {
    return installed.load(std::memory_order_acquire);
}

const Catalogue& catalogue() {
    const Catalogue* current = installedCatalogue();
    if (current == nullptr)
        throw std::logic_error(
            "no catalogue is installed: the program's tables, relations, table files and "
            "program-wide variables are unknown until start-up calls installCatalogue()");
    return *current;
}

std::span<const TableDef> dictionary() {
    return catalogue().tables;
}

const TableDef* findTable(std::string_view name) {
    for (const TableDef& table : dictionary())
        if (equalsIgnoreCaseAscii(table.name, name) || equalsIgnoreCaseAscii(table.prefix, name))
            return &table;
    return nullptr;
}

std::span<const Relation> relations() {
    return catalogue().relations;
}

std::string_view relationModeName(RelationMode mode) {
    switch (mode) {
        case RelationMode::None:
            return "RelNone";
        case RelationMode::Clear:
            return "RelClear";
        case RelationMode::Restrict:
            return "RelRestrict";
        case RelationMode::Cascade:
            return "RelCascade";
    }
    return "RelNone";
}

std::span<const TableFile> tableFiles() {
    return catalogue().files;
}

const TableFile* findTableFile(std::string_view table) {
    for (const TableFile& t : tableFiles())
        if (equalsIgnoreCaseAscii(t.table, table)) return &t;
    return nullptr;
}

const GlobalVariables& globalVariables() {
    static const GlobalVariables none;
    const GlobalVariables* globals = catalogue().globals;
    return globals != nullptr ? *globals : none;
}

const VariableRef* findGlobalVariable(std::string_view name) {
    return globalVariables().find(name);
}

}  // namespace dv
