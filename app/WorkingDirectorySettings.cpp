#include "app/WorkingDirectorySettings.h"

#include <system_error>

namespace dv {
namespace {

bool sameDirectory(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

}  // namespace

WorkingDirectorySettings::WorkingDirectorySettings(SettingsManager& programSettings,
                                                   const std::filesystem::path& workingDirectory)
    : program_(programSettings) {
    if (!programSettings.path().empty() &&
        sameDirectory(programSettings.path().parent_path(), workingDirectory))
        return;
    own_ = std::make_unique<SettingsManager>();
    (void)own_->open(workingDirectory);
}

}  // namespace dv
