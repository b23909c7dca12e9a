// UI scripts as the script command reads them.
#include "FuzzInput.h"
#include "frontend/headless/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dv;
    const std::string_view text = fuzz::asText(data, size);
    try {
        (void)parseScript(text);
    } catch (const ScriptError&) {
    }
    (void)parseScriptDate(fuzz::splitFirstLine(text).first);
    return 0;
}
