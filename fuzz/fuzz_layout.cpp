// Window layouts.
#include "FuzzInput.h"
#include "runtime/Layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dv;
    try {
        const WindowLayout layout = parseLayout(fuzz::asText(data, size), "fuzz.layout");
        for (const ControlLayout& control : layout.controls) (void)layout.find(control.name);
    } catch (const LayoutError&) {
    }
    return 0;
}
