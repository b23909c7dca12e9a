// How long the desktop program takes from its start to a usable main frame, on the demo company:
// the program's start-up (settings, table files, table access), the main frame's initialisation
// (settings into the globals, the company record, the checks) and the frame drawn with its menu
// and toolbar. The frame is then closed and the program ended, outside the measured time.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/DemoCompany.h"
#include "app/ProgramStartUp.h"
#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "frontend/qt/DesktopAutomation.h"
#include "frontend/qt/RunDesktop.h"
#include "runtime/Date.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"
#include "schema/ProgramCatalogue.h"

namespace {

namespace fs = std::filesystem;

// A demo company in a fresh temporary folder, made once; the backups are recorded as made today
// so that the frame opens without its reminders, as it does on a machine that keeps backups.
const fs::path& demoDirectory() {
    static const fs::path directory = [] {
        static const dv::bench::Directory root;
        const fs::path made = root.path() / "podjetje";
        fs::create_directories(made);
        if (const auto outcome = dv::createDemoCompany(made); !outcome.ok())
            throw std::runtime_error(outcome.error);
        const std::string today = std::to_string(dv::today());
        std::ofstream(made / "BACKUP.INI") << "[Global]\nDatumBackup=" << today << "\nUraBackup=1\n";
        std::ofstream(made / "ZALTO.INI", std::ios::app)
            << "[Global]\nDatumBackup=" << today << "\nUraBackup=1\n";
        fs::current_path(made);
        return made;
    }();
    return directory;
}

void BM_StartUpToUsableFrame(benchmark::State& state) {
    const fs::path& directory = demoDirectory();
    if (!dv::ensureDesktopApplication()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        std::string error;
        auto program = dv::ProgramStartUp::start(directory, error);
        if (!program) {
            state.SkipWithError(error.c_str());
            return;
        }
        dv::ProcedureScheduler& scheduler = dv::programScheduler();
        scheduler.start("Main", *dv::programProcedures().find("Main"));
        double seconds = 0;
        dv::pollDesktop(1, [&] {
            if (!dv::desktopFrameUsable()) return false;
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                          .count();
            dv::closeDesktopFrame();
            return true;
        });
        dv::runDesktop(scheduler);
        scheduler.shutdown();
        if (!program->shutDown().ok()) state.SkipWithError("the settings were not written back");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartUpToUsableFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto arguments = dv::bench::withShortMinimumTime(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
