// Report layouts.
#include "FuzzInput.h"
#include "framework/ReportLayout.h"
#include "runtime/Layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dv;
    try {
        const ReportLayout layout = parseReportLayout(fuzz::asText(data, size), "fuzz.report");
        for (const ReportBand& band : layout.bands) (void)layout.find(band.name);
    } catch (const LayoutError&) {
    }
    return 0;
}
