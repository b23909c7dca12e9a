#include "app/ProgramStartUp.h"

#include "app/DatabaseChoice.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "runtime/Halt.h"
#include "runtime/ProcedureRegistry.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "storage/TableRegister.h"

namespace dv {
namespace {

constexpr int kCalendarOptions = 10;

}  // namespace

FileResult writeCalendarOptions(const std::filesystem::path& programDirectory) {
    const std::filesystem::path path = findFileIgnoringCase(programDirectory, kCalendarOptionsFile);
    IniFile options;
    if (FileResult loaded = options.load(path); !loaded.ok()) return loaded;
    for (int n = 1; n <= kCalendarOptions; ++n)
        if (FileResult set = options.write("Options", "CAL" + std::to_string(n), ""); !set.ok())
            return set;
    return options.save(path);
}

ProgramStartUp::ProgramStartUp(std::filesystem::path programDirectory)
    : programDirectory_(std::move(programDirectory)),
      pendingSettings_(std::make_shared<std::atomic<SettingsManager*>>(nullptr)) {}

std::unique_ptr<ProgramStartUp> ProgramStartUp::start(const std::filesystem::path& programDirectory,
                                                      std::string& error) {
    std::unique_ptr<ProgramStartUp> program(new ProgramStartUp(programDirectory));
    if (FileResult begun = program->begin(); !begun.ok()) {
        error = begun.error;
        return nullptr;
    }
    return program;
}

// The runtime this program was written for first checked its own version; the program here is
// built with its runtime, so there is nothing to accept.
FileResult ProgramStartUp::begin() {
    installCatalogue(&programCatalogue());
    clearProgramGlobals();
    clearAllRecordBuffers();
    resetTableFileNames();
    errors_ = std::make_unique<ErrorReporter>();
    if (FileResult opened = settings_.open(programDirectory_); !opened.ok()) return opened;
    std::string refused;
    tables_ = openTableAccess(errors_.get(), settings_, refused);
    if (!tables_) return FileResult::failure(refused);
    if (FileResult resolved = resolveTableFileNames(settings_, programDirectory_); !resolved.ok())
        return resolved;
    // The table access declared the structure versions when it was made; the declaration is
    // made once per process, so this only states the order of the start.
    registerTableVersions();
    // The calendar's colour scheme and type have no counterpart in the date picker of this
    // program; its options file is kept for the suite's programs that share it. Without it the
    // calendar works all the same, so a failure to write it is not worth a word.
    (void)writeCalendarOptions(programDirectory_);
    // No lookup-button library to initialise, and no desktop setting for showing window contents
    // while dragging to switch off: the front ends draw both themselves.
    registerProgramProcedures(programProcedures());
    setProgramServices({errors_.get(), &settings_});
    servicesInstalled_ = true;
    pendingSettings_->store(&settings_);
    addShutdownHook([pending = pendingSettings_] {
        if (SettingsManager* settings = pending->exchange(nullptr)) (void)settings->flush();
    });
    return FileResult::success();
}

FileResult ProgramStartUp::shutDown() {
    if (ended_) return FileResult::success();
    ended_ = true;
    pendingSettings_->store(nullptr);
    if (servicesInstalled_) setProgramServices({});
    FileResult written = settings_.flush();
    tables_.reset();
    errors_.reset();
    return written;
}

ProgramStartUp::~ProgramStartUp() {
    (void)shutDown();
}

}  // namespace dv
