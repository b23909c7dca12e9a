#include "app/Main.h"

#include <system_error>

#include "app/BackupReminder.h"
#include "app/CompanyGlobals.h"
#include "app/DatabaseChoice.h"
#include "app/FiscalFolder.h"
#include "app/MainMenu.h"
#include "app/ProcedureStart.h"
#include "app/ProgramSettings.h"
#include "app/ShellMessage.h"
#include "app/SingleInstanceLock.h"
#include "app/SuitePrograms.h"
#include "app/WorkingDirectorySettings.h"
#include "data/SettingsManager.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr std::string_view kMissingParameters =
    " V nastavitvah programa NIMATE DOLOČENIH| vseh parametrov za pravilno izvajanje "
    "inventure. !||  Pred izvajanjem inventure OBVEZNO nastavite parametre !";

constexpr std::string_view kRecommendation =
    "| Priporočamo, da pred začetkom inventure naredite| rekonstrukcijo zalog iz prometnih "
    "podatkov| v modulu NASTAVITVE ... || ";

constexpr std::string_view kAlreadyRunningCaption = "Application already running...";
constexpr std::string_view kAlreadyRunning = "This application is already running...";

constexpr const char* kPrinterSetUpCaption = "Nastavitev tiskalnika";

// How many characters of the frame's caption name the program in the refusal.
constexpr std::size_t kInstanceTitleLength = 10;

// The stocktake cannot post its documents without the owner and the four transaction types.
bool stocktakeParametersMissing() {
    return GLO.SIFRALASTNIKAPROGRAMA == 0 || GLO.VRSTAPROMETAINVMANJKOVP == 0 ||
           GLO.VRSTAPROMETAINVVISEKVP == 0 || GLO.VRSTAPROMETAINVMANJKOMP == 0 ||
           GLO.VRSTAPROMETAINVVISEKMP == 0;
}

// The frame's caption without its leading blanks, cut to its first ten characters and in
// capitals: "DIDEROVIV " for this frame.
std::string instanceTitle(const std::string& caption) {
    const std::size_t start = caption.find_first_not_of(' ');
    const std::string title = start == std::string::npos ? std::string() : caption.substr(start);
    return upperSlovenian(title.substr(0, kInstanceTitleLength));
}

// The working directory is the program directory when the process cannot tell its own.
MainPaths framePaths(const SettingsManager& settings) {
    std::error_code ec;
    std::filesystem::path workingDirectory = std::filesystem::current_path(ec);
    if (ec) workingDirectory = settings.path().parent_path();
    return {settings.path().parent_path(), workingDirectory};
}

}  // namespace

Main::Main(std::string name)
    : WindowProcedure(std::move(name)),
      settings_(programSettings()),
      paths_(framePaths(settings_)) {}

Main::~Main() = default;

// The frame's initialisation in the program's order. The standard window set-up and the opening
// of the frame are one step here (WindowProcedure::SetUp); they come after the settings and the
// checks, so that a refused start never shows the frame.
Level Main::SetUp() {
    if (const Level result = initialise(); result != kLevelBenign) return result;
    if (anotherInstanceRuns()) return kLevelFatal;
    if (const Level result = WindowProcedure::SetUp(); result != kLevelBenign) return result;
    // F6 opens the calendar on the focused date field.
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return kLevelBenign;
}

Level Main::initialise() {
    WorkingDirectorySettings working(settings_, paths_.workingDirectory);
    readProgramSettings(settings_);
    readPartnerSettings(working.file());
    readPaperSetting(working.file());
    readBackupSettings(working.file());
    remindOfBackup(BackupReminderSource::Settings, {GLO.DATUMBACKUP, GLO.URABACKUP});
    if (std::string notice = takeDatabaseNotice(); !notice.empty())
        showShellMessage(kWarningCaption, std::move(notice));
    readTaxNumberSwitch(working.file());
    copyCompanyGlobals();
    if (stocktakeParametersMissing())
        showShellMessage(kWarningCaption, std::string(kMissingParameters));
    readSupplierSubgroupSetting(settings_);
    const std::filesystem::path folder = fiscalFolder(settings_, paths_.programDirectory);
    if (std::string problem = ensureFiscalFolder(folder); !problem.empty()) {
        showShellMessage(kWarningCaption, std::move(problem), MessageIcon::None);
        return kLevelFatal;
    }
    readFiscalSettings(paths_.workingDirectory, folder);
    return kLevelBenign;
}

// The single-instance check: the lock is taken for the life of the frame, which is the life of
// the program.
bool Main::anotherInstanceRuns() {
    instance_ = std::make_unique<SingleInstanceLock>(paths_.programDirectory);
    if (!instance_->anotherInstanceRuns()) return false;
    showShellMessage(kAlreadyRunningCaption,
                     std::string(kAlreadyRunning) + " " + instanceTitle(layout().caption));
    return true;
}

EventResult Main::OnWindowEvent(const Event& event) {
    const EventResult result = WindowProcedure::OnWindowEvent(event);
    if (event.kind == EventKind::OpenWindow)
        remindOfBackup(BackupReminderSource::BackupProgram,
                       readBackupProgramFile(paths_.workingDirectory));
    return result;
}

EventResult Main::OnAccepted(const Event& event) {
    const Control* control = controlAt(event.control);
    const MainCommand* command = control != nullptr ? findMainCommand(control->name()) : nullptr;
    if (command == nullptr) return WindowProcedure::OnAccepted(event);
    perform(*command);
    return kEventDone;
}

void Main::perform(const MainCommand& command) {
    switch (command.action) {
        case MainAction::StartProcedure:
            startProcedure(command.procedure);
            break;
        case MainAction::Exit:
            Finish(RespCompleted);
            break;
        case MainAction::Backup:
            runSuiteProgram(settings_, kBackupProgram);
            break;
        case MainAction::PrinterSetUp:
            currentFrontEnd().printerSetUp(kPrinterSetUpCaption);
            break;
        case MainAction::Recommendation:
            showShellMessage(kRecommendationCaption, std::string(kRecommendation),
                             MessageIcon::Information);
            break;
    }
}

DV_PROCEDURE_CLASS(Main);

}  // namespace dv
