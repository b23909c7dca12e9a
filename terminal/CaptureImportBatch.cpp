#include "terminal/CaptureImportBatch.h"

#include <filesystem>
#include <string>
#include <vector>

#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProcessWindow.h"
#include "runtime/CodePage1250.h"
#include "runtime/ErrorState.h"
#include "runtime/FrontEnd.h"
#include "runtime/TextCase.h"
#include "runtime/Window.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLocks.h"
#include "storage/BatchTransaction.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"
#include "terminal/CaptureArchive.h"
#include "terminal/CaptureImport.h"

namespace dv {
namespace {
namespace fs = std::filesystem;

constexpr std::string_view kWarning = " OPOZORILO";
// The unreadable lines a question lists by name; the others it counts.
constexpr std::size_t kListedLines = 10;
constexpr std::string_view kUnchanged =
    "| Predloga, arhiv zajema in datoteka zajema so ostali nespremenjeni.";

MessageButtons ask(std::string_view caption, std::string text, MessageButtons buttons,
                   MessageIcon icon = MessageIcon::Exclamation) {
    MessageBoxRequest box;
    box.caption = std::string(caption);
    box.text = std::move(text);
    box.icon = icon;
    box.buttons = buttons;
    box.defaultButton = buttons == kButtonOk ? kButtonOk : kButtonNo;
    return currentFrontEnd().messageBox(box);
}

void warn(std::string text) {
    (void)ask(kWarning, std::move(text), kButtonOk);
}

// A failed write of a line, as the import has always shown it: OK, no icon.
void showLineFailure(const CaptureImport& import) {
    MessageBoxRequest box;
    box.caption = import.failureCaption();
    box.text = import.failureText();
    currentFrontEnd().messageBox(box);
}

std::string errorQuote() {
    return std::to_string(lastError().code) + " - " + lastError().text;
}

// " vrstica nima", " vrstici nimata", " vrstice nimajo" or " vrstic nima", as the number asks.
std::string_view linesLack(std::size_t count) {
    switch (count % 100) {
        case 1:
            return " vrstica nima";
        case 2:
            return " vrstici nimata";
        case 3:
        case 4:
            return " vrstice nimajo";
        default:
            return " vrstic nima";
    }
}

// A capture line whose quantity cannot be read: its line number in the file and its text.
struct UnreadableLine {
    std::int64_t number = 0;
    std::string text;
};

// One run of the import, from the checks before anything is written to the removal of the file.
class ImportRun {
  public:
    ImportRun(std::string_view procedure, const CaptureImportHooks& hooks)
        : procedure_(procedure),
          hooks_(hooks),
          key_(selectedStocktake()),
          capturePath_(hostPath(tableFileName("INVASCI"))),
          folder_(captureArchiveFolder(GLO.POTARHIVZAJEMAASCII.str())) {}

    Response run() {
        if (!readCaptureFile() || !openTables() || !stocktakeOpen() || !folderUsable() ||
            !quantitiesAccepted())
            return RespCancelled;
        if (records_ > 0 && !importLines()) return RespCancelled;
        archiveAndRemove();
        return RespCompleted;
    }

  private:
    // The capture file as it is now: what is imported, archived and compared at the end.
    bool readCaptureFile() {
        std::error_code failed;
        if (!fs::exists(capturePath_, failed)) {
            warn(" Datoteke zajema s terminala ni:| " + capturePath_.string() +
                 "|| Ni česa uvoziti.");
            return false;
        }
        std::string why;
        if (readWholeFile(capturePath_, content_, why)) return true;
        warn(" Datoteke zajema s terminala ni mogoče prebrati:| " + capturePath_.string() + "|| " +
             why);
        return false;
    }

    // Opened physically before the batch begins: a table is made on its first open, which the
    // batch's rollback would otherwise undo.
    bool openTables() {
        TableAccess& access = tableAccess();
        for (auto [name, file] : {std::pair{"INVASCI", &capture_}, std::pair{"ARTIKLI", &items_},
                                  std::pair{"INVENDET", &lines_}, std::pair{"INVTPS", &archive_},
                                  std::pair{"INVENTUR", &stocktakes_}}) {
            *file = &access.file(name);
            if (tables_.open(**file) != kLevelBenign || (*file)->UseFile() != kLevelBenign)
                return false;
        }
        return true;
    }

    // The stocktake exists and is still open; the user is told otherwise. A closed stocktake
    // has been posted, and counts of one that does not exist would go nowhere.
    bool stocktakeOpen() {
        clearRecord(stocktakes_->table(), stocktakes_->buffer());
        INVENTUR.StevInventure = key_.number;
        INVENTUR.Enota = key_.unit;
        INVENTUR.VRSTAPRODAJE = key_.saleType;
        if (stocktakes_->Fetch(stocktakes_->table().findKey("STEVILKAKLJUC")) != kLevelBenign) {
            warn(" Inventure št. " + std::to_string(key_.number) + " v skladišču " +
                 std::to_string(key_.unit) + " za vrsto prodaje \"" + key_.saleType +
                 "\" ni.|| Izberite inventuro s seznama; zajem ni bil uvožen.");
            return false;
        }
        if (INVENTUR.DATUMZAKLJUCKA > 0) {
            warn(" Inventura je že zaključena.| Uvoz zajema s terminala ni več mogoč!");
            return false;
        }
        return true;
    }

    // Checked before the import, so that the copy after it finds a folder that takes it.
    bool folderUsable() {
        std::string why;
        if (canWriteInto(folder_, why)) return true;
        warn(" V mapo za arhiv zajema ni mogoče pisati:| " +
             (folder_.empty() ? std::string("(delovna mapa)") : folder_.string()) + "|| " + why +
             "|| Popravite \"Pot arhiva ASCII\" v nastavitvah programa; zajem ni bil uvožen.");
        return false;
    }

    // The lines to post whose quantity is no number, shown before anything is written: the user
    // corrects the file first (nothing is imported) or imports the rest without them.
    bool quantitiesAccepted() {
        std::vector<UnreadableLine> unreadable;
        if (!findUnreadable(unreadable)) return false;
        if (unreadable.empty()) return true;
        std::string text = " V datoteki zajema " + std::to_string(unreadable.size()) +
                           std::string(linesLack(unreadable.size())) + " količine, ki bi bila število:|";
        for (std::size_t i = 0; i < unreadable.size() && i < kListedLines; ++i)
            text += "| vrstica " + std::to_string(unreadable[i].number) + ": " +
                    unreadable[i].text;
        if (unreadable.size() > kListedLines)
            text += "| ... in še " + std::to_string(unreadable.size() - kListedLines);
        text += "|| Ali želite uvoziti ostale vrstice ?| Da: te vrstice se ne uvozijo, ostanejo "
                "pa v arhivski kopiji.| Ne: nič se ne uvozi; datoteko najprej popravite.";
        return ask(kWarning, std::move(text), kButtonYes | kButtonNo) == kButtonYes;
    }

    // Reads every record of the capture file; false when reading failed (reported).
    bool findUnreadable(std::vector<UnreadableLine>& unreadable) {
        TableRecordSource records(*capture_, kFileOrder);
        if (records.restart() != kLevelBenign) return false;
        std::size_t counted = 0;  // bytes of content_ whose line breaks are counted
        std::int64_t line = 1;
        ReadResult read;
        while ((read = records.next()) == ReadResult::Record) {
            ++records_;
            if (!isCaptureCode(INVASCI.EANKODA.raw()) || captureQuantity(INVASCI.KOLICINA.str()))
                continue;
            const auto offset = static_cast<std::size_t>(capture_->driver()->position().row - 1);
            for (; counted < offset && counted < content_.size(); ++counted)
                line += content_[counted] == '\n';
            unreadable.push_back({line, lineText(offset)});
        }
        return read == ReadResult::End;
    }

    std::string lineText(std::size_t offset) const {
        std::string_view text = std::string_view(content_).substr(std::min(offset, content_.size()));
        text = text.substr(0, text.find('\n'));
        if (text.ends_with('\r')) text.remove_suffix(1);
        return isValidUtf8(content_) ? std::string(text) : cp1250ToUtf8(text);
    }

    // The pass in one transaction, kept only when it completed; false (the user told) when
    // nothing was kept.
    bool importLines() {
        // Kept until the import has ended. Imports take turns, so that each one numbers its
        // archive records and counters after the last one's; counts of other stations go on.
        StationLock stocktakeLock;
        StationLock importTurn;
        if (!shareStocktake(stocktakeLock, key_, StationWork::Import,
                            " Uvoza zajema zdaj ni mogoče začeti; ponovite ga, ko bo končano." +
                                std::string(kUnchanged)))
            return false;
        if (!takeImportTurn(importTurn, key_, procedure_)) {
            warn(" Uvoz zajema je preklican." + std::string(kUnchanged));
            return false;
        }
        BatchTransaction batch;
        if (batch.Begin() != DriverCode::Ok) {
            warn(" Uvoza zajema ni mogoče začeti.|| " + errorQuote());
            return false;
        }
        // Read again inside the transaction: another procedure may have closed it meanwhile.
        if (!stocktakeOpen()) return false;
        CaptureImport import(*items_, *lines_, *archive_, key_);
        if (!import.Start()) {
            warn(std::string(" Uvoz zajema ni mogoč, ker arhiva zajema ni mogoče prebrati.") +
                 std::string(kUnchanged));
            return false;
        }
        bool stopped = false;
        const Response passed = runPass(import, stopped);
        if (stopped || passed != RespCompleted) {
            batch.Rollback();
            warn(std::string(stopped ? " Uvoz zajema je prekinjen zaradi napake."
                                     : " Uvoz zajema je preklican.") +
                 std::string(kUnchanged));
            return false;
        }
        if (!captureUnchanged()) {
            batch.Rollback();
            warn(" Datoteka zajema se je med uvozom spremenila, zato ni bila uvožena." +
                 std::string(kUnchanged) + "|| Uvoz ponovite.");
            return false;
        }
        if (batch.Commit() == DriverCode::Ok) return true;
        warn(" Uvoza zajema ni bilo mogoče shraniti.|| " + errorQuote() + "|" +
             std::string(kUnchanged));
        return false;
    }

    // The pass over the capture file in file order in the progress window; the window's
    // response, `stopped` when a write failed.
    Response runPass(CaptureImport& import, bool& stopped) {
        TableRecordSource records(*capture_, kFileOrder);
        Window progress(procedureLayout(procedure_));
        BatchProcess process;
        ProcessWindow window(progress, process, hooks_.clock);
        process.SetUp(records, &window);
        process.setQuickScanMode(true);
        window.AddEndButton("?Cancel", RespCancelled);
        std::int64_t done = 0;
        process.setRecordHandler([&] {
            if (done == 0) progress.setCaption("Processing Records");
            if (!postLine(import)) {
                showLineFailure(import);
                stopped = true;
                return kLevelNotify;
            }
            if (hooks_.watcher) hooks_.watcher(progress, ++done);
            return kLevelBenign;
        });
        return window.Run();
    }

    // The line in the INVASCI buffer; false when its write failed.
    static bool postLine(CaptureImport& import) {
        if (!isCaptureCode(INVASCI.EANKODA.raw())) return true;
        const std::optional<Decimal> quantity = captureQuantity(INVASCI.KOLICINA.str());
        return !quantity || import.importLine(*quantity) == CaptureLine::Posted;
    }

    bool captureUnchanged() const {
        std::string now;
        std::string ignored;
        return readWholeFile(capturePath_, now, ignored) && now == content_;
    }

    // The copy of the file as imported, then the file removed; a copy that cannot be written
    // keeps the file, whose counts are in the template already.
    void archiveAndRemove() {
        const std::string name = captureArchiveName(today(), now());
        fs::path written;
        std::string why;
        if (!writeArchiveCopy(folder_, name, content_, written, why)) {
            warn(" Zajem je uvožen, arhivske kopije datoteke zajema pa ni bilo mogoče "
                 "zapisati:| " +
                 (folder_ / name).string() + "|| " + why +
                 "|| Datoteka zajema ostaja na mestu: " + capturePath_.string() +
                 "| Ne uvažajte je ponovno, ker so količine že v popisu;| shranite jo drugam.");
            return;
        }
        if (!removeFileDurably(capturePath_, why))
            warn(" Zajem je uvožen in arhiviran v " + written.string() +
                 ",| datoteke zajema pa ni bilo mogoče izbrisati:| " + capturePath_.string() + "|| " +
                 why + "|| Izbrišite jo sami, ker bi ponovni uvoz količine prištel še enkrat.");
    }

    std::string_view procedure_;
    const CaptureImportHooks& hooks_;
    const StocktakeKey key_;
    const fs::path capturePath_;
    const fs::path folder_;
    std::string content_;
    std::int64_t records_ = 0;
    TableGuard tables_;
    FileManager* capture_ = nullptr;
    FileManager* items_ = nullptr;
    FileManager* lines_ = nullptr;
    FileManager* archive_ = nullptr;
    FileManager* stocktakes_ = nullptr;
};

}  // namespace

Response runCaptureImport(std::string_view procedure, const CaptureImportHooks& hooks) {
    ImportRun run(procedure, hooks);
    return run.run();
}

}  // namespace dv
