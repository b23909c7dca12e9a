#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/IniFile.h"

namespace dv {

// What the demo company changed on disk beside its transactions, taken back when it fails, so
// that a failed demo leaves the directories as they were.
class DemoUndo {
  public:
    // `path`, a file or an empty folder, did not exist before the demo made it. A path that
    // never comes to exist is taken back without complaint.
    void created(std::filesystem::path path);

    // Remembers the settings file `file` as it is now: its text, or that there is none.
    FileResult rememberSettingsFile(const std::filesystem::path& file);

    // Puts the remembered settings files back (or removes them when there was none), then
    // removes what was created, the last made first. Returns what could not be taken back, in
    // Slovenian; empty when everything was.
    std::string undo();

  private:
    struct Remembered {
        std::filesystem::path file;
        bool existed;
        IniFile text;
    };

    std::vector<std::filesystem::path> created_;
    std::vector<Remembered> remembered_;
};

}  // namespace dv
