#include "storage/TableRegister.h"

#include <array>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include "data/Dictionary.h"
#include "data/TableFiles.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::array kAutoNumbered{AutoNumberedField{"DOKUMEDN", "Id"},
                                   AutoNumberedField{"DOKUMENT", "Id"}};

struct Register {
    std::once_flag once;
    std::map<std::string, int> versions;  // by upper-case table name
};

Register& theRegister() {
    static Register instance;
    return instance;
}

bool isNumbered(const TableDef& table, int field) {
    for (const KeyDef& key : table.keys)
        if (key.autoIncComponent >= 0 &&
            key.components[static_cast<std::size_t>(key.autoIncComponent)].field == field)
            return true;
    return false;
}

void declare(Register& target) {
    for (const AutoNumberedField& declared : kAutoNumbered) {
        const TableDef* table = findTable(declared.table);
        if (table == nullptr || !isNumbered(*table, table->findField(declared.field)))
            throw std::logic_error(std::string(declared.table) + ":" + std::string(declared.field) +
                                   " is declared auto-numbered but no key numbers it");
    }
    for (const TableFile& file : tableFiles())
        if (file.version >= 0) target.versions[upperSlovenian(file.table)] = file.version;
}

}  // namespace

bool registerTableVersions() {
    Register& target = theRegister();
    bool first = false;
    std::call_once(target.once, [&] {
        declare(target);
        first = true;
    });
    return first;
}

std::optional<int> registeredVersion(std::string_view table) {
    const Register& target = theRegister();
    const auto found = target.versions.find(upperSlovenian(table));
    if (found == target.versions.end()) return std::nullopt;
    return found->second;
}

std::span<const AutoNumberedField> autoNumberedFields() {
    return kAutoNumbered;
}

}  // namespace dv
