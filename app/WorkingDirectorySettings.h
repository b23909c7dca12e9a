#pragma once

#include <filesystem>
#include <memory>

#include "data/SettingsManager.h"

namespace dv {

// ".\ZALTO.INI": the settings file of the working directory, where the suite keeps a few entries
// of its own (the "Global" section, "PartnerjiFIN", "CeneGeslo", "SifraDavcna"). When the program
// runs in its own directory it is the program's settings file itself, so that both names reach
// one file and one set of values.
class WorkingDirectorySettings {
  public:
    // A file that exists but cannot be read gives every default, as a missing one does.
    WorkingDirectorySettings(SettingsManager& programSettings,
                             const std::filesystem::path& workingDirectory);

    SettingsManager& file() { return own_ ? *own_ : program_; }
    // Whether it is a file of its own, not the program's settings file.
    bool separate() const { return own_ != nullptr; }

  private:
    SettingsManager& program_;
    std::unique_ptr<SettingsManager> own_;
};

}  // namespace dv
