#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/SettingsManager.h"
#include "runtime/FrontEnd.h"

namespace dv {

// What a report hands its preview: the values the program fixes for every report, the
// procedure's name, and the options the user left the preview with last time, which are kept in
// the settings file under the report's name ("Printer", "Copies", "Zoom").
struct ReportPreviewSettings {
    // LSIOPTIONS1..7: option bytes computed from the report's three option flags.
    std::array<std::uint8_t, 7> options{};
    std::string archiveFileName = "RPM___DM";
    std::uint8_t destination = 1;
    std::string procedureName;
    std::string reportTitle;
    std::string iniFileName{kSettingsFileName};
    std::uint16_t startPage = 1;
    std::string popFill = "0";
    std::string pageNumberControl = "StevilkaStrani";
    std::string connector = "od";
    std::uint16_t copies = 1;
    std::string dialogTitle = "Select Printer";
    std::string helpFile = "RPMHELP.HLP";

    // Kept under the report's name.
    std::string printer;  // the device reports of this name go to; empty: the current printer
    int zoom = 0;         // percent; 0 fits the whole page
};

// The settings for a report procedure: cleared, then filled as every report fills them, with
// the report's option flags; the copies are raised to the printer's copies when those are more.
ReportPreviewSettings reportPreviewSettings(std::string_view procedure,
                                            const std::array<bool, 3>& flags,
                                            const PrinterSettings& printer);

// The options kept in the settings file under `report` (those missing keep their values).
void loadReportOptions(const SettingsManager& settings, std::string_view report,
                       ReportPreviewSettings& options);
// Keeps the options under `report`; the failure to write, if any.
FileResult saveReportOptions(SettingsManager& settings, std::string_view report,
                             const ReportPreviewSettings& options);

}  // namespace dv
