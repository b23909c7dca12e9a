#include "runtime/Layout.h"

#include "runtime/TextCase.h"

namespace dv {
namespace {

std::string_view withoutMark(std::string_view name) {
    if (!name.empty() && name.front() == '?') name.remove_prefix(1);
    return name;
}

}  // namespace

bool sameControlName(std::string_view a, std::string_view b) {
    return equalsIgnoreCaseSlovenian(withoutMark(a), withoutMark(b));
}

const ControlLayout* WindowLayout::find(std::string_view name) const {
    if (withoutMark(name).empty()) return nullptr;
    for (const ControlLayout& declared : controls)
        if (sameControlName(declared.name, name)) return &declared;
    return nullptr;
}

}  // namespace dv
