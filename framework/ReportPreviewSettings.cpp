#include "framework/ReportPreviewSettings.h"

#include <algorithm>

namespace dv {

ReportPreviewSettings reportPreviewSettings(std::string_view procedure,
                                            const std::array<bool, 3>& flags,
                                            const PrinterSettings& printer) {
    ReportPreviewSettings settings;
    settings.options[0] = flags[0] ? 1 : 0;
    settings.options[1] = 0;
    settings.options[2] = static_cast<std::uint8_t>(24 + (flags[1] ? 32 : 0));
    settings.options[3] = static_cast<std::uint8_t>(160 + (flags[2] ? 1 : 0));
    settings.options[4] = 128;
    settings.options[5] = 98;
    settings.procedureName = procedure;
    settings.reportTitle = procedure;
    if (printer.copies > settings.copies)
        settings.copies = static_cast<std::uint16_t>(std::min(printer.copies, 9999));
    return settings;
}

namespace {

constexpr std::string_view kPrinterEntry = "Printer";
constexpr std::string_view kCopiesEntry = "Copies";
constexpr std::string_view kZoomEntry = "Zoom";
constexpr int kMaxCopies = 9999;
constexpr int kMaxZoom = 800;

}  // namespace

void loadReportOptions(const SettingsManager& settings, std::string_view report,
                       ReportPreviewSettings& options) {
    options.printer = settings.readText(report, kPrinterEntry, options.printer);
    const auto copies = settings.readNumber(report, kCopiesEntry, options.copies);
    if (copies >= 1 && copies <= kMaxCopies && copies > options.copies)
        options.copies = static_cast<std::uint16_t>(copies);
    const auto zoom = settings.readNumber(report, kZoomEntry, options.zoom);
    if (zoom >= 0 && zoom <= kMaxZoom) options.zoom = static_cast<int>(zoom);
}

FileResult saveReportOptions(SettingsManager& settings, std::string_view report,
                             const ReportPreviewSettings& options) {
    settings.holdWrites();
    FileResult printer = settings.write(report, kPrinterEntry, options.printer);
    FileResult copies = settings.writeNumber(report, kCopiesEntry, options.copies);
    FileResult zoom = settings.writeNumber(report, kZoomEntry, options.zoom);
    FileResult flushed = settings.flush();
    for (FileResult* result : {&printer, &copies, &zoom, &flushed})
        if (!result->ok()) return std::move(*result);
    return FileResult::success();
}

}  // namespace dv
