#pragma once

#include <filesystem>
#include <memory>

#include "framework/FormKeyboard.h"
#include "framework/WindowProcedure.h"

namespace dv {

struct MainCommand;
class SingleInstanceLock;

// Where the frame finds the files it reads: the program directory (the settings file, the
// single-instance lock, the fiscal folder) and the working directory (".\ZALTO.INI",
// "BACKUP.INI", ".\DBPR.INI").
struct MainPaths {
    std::filesystem::path programDirectory;
    std::filesystem::path workingDirectory;
};

// The application frame: the menu bar and the toolbar from which every procedure is started,
// each on a thread of its own. Its set-up finishes the program's start: it reads the settings
// into the program-wide variables, copies the company record, reminds the user of backups, warns
// of missing stocktake parameters, makes the fiscal folder exist and refuses a second instance.
// Closing it ends the program.
class Main : public WindowProcedure {
  public:
    // The frame over the program's settings file (its directory is the program directory) and
    // the process's working directory.
    explicit Main(std::string name);
    ~Main() override;

    Level SetUp() override;
    EventResult OnAccepted(const Event& event) override;
    EventResult OnWindowEvent(const Event& event) override;

  private:
    Level initialise();
    bool anotherInstanceRuns();
    void perform(const MainCommand& command);

    SettingsManager& settings_;
    MainPaths paths_;
    std::unique_ptr<SingleInstanceLock> instance_;
    std::unique_ptr<FormKeyboard> keyboard_;
};

}  // namespace dv
