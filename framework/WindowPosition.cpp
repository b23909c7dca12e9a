#include "framework/WindowPosition.h"

#include <algorithm>
#include <limits>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::string_view kMaximize = "Maximize";
constexpr std::string_view kXPos = "XPos";
constexpr std::string_view kYPos = "YPos";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";

int readInt(const SettingsManager& settings, std::string_view section, std::string_view entry,
            int current) {
    const std::int64_t value = settings.readNumber(section, entry, current);
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

void restoreWindowPosition(const SettingsManager& settings, std::string_view procedure,
                           Window& window) {
    WindowGeometry geometry = window.geometry();
    const std::string maximize =
        settings.readText(procedure, kMaximize, geometry.maximized ? "Yes" : "No");
    geometry.maximized = equalsIgnoreCaseAscii(trimBlanks(maximize), "Yes");
    geometry.x = readInt(settings, procedure, kXPos, geometry.x);
    geometry.y = readInt(settings, procedure, kYPos, geometry.y);
    if (window.isResizable()) {
        // A size the user could not see is no size to restore.
        geometry.width = std::max(0, readInt(settings, procedure, kWidth, geometry.width));
        geometry.height = std::max(0, readInt(settings, procedure, kHeight, geometry.height));
    }
    window.setGeometry(geometry);
}

FileResult saveWindowPosition(SettingsManager& settings, std::string_view procedure,
                              const Window& window) {
    const WindowGeometry& geometry = window.geometry();
    settings.holdWrites();
    FileResult results[] = {
        settings.write(procedure, kMaximize, geometry.maximized ? "Yes" : "No"),
        settings.writeNumber(procedure, kXPos, geometry.x),
        settings.writeNumber(procedure, kYPos, geometry.y),
        window.isResizable() ? settings.writeNumber(procedure, kWidth, geometry.width)
                             : FileResult::success(),
        window.isResizable() ? settings.writeNumber(procedure, kHeight, geometry.height)
                             : FileResult::success(),
        settings.flush(),
    };
    for (FileResult& result : results)
        if (!result.ok()) return result;
    return FileResult::success();
}

}  // namespace dv
