#include "stocktake/TemplateBatch.h"

#include <string>

#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProcessWindow.h"
#include "runtime/ErrorState.h"
#include "runtime/FrontEnd.h"
#include "runtime/Window.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLocks.h"
#include "stocktake/TemplatePreparation.h"
#include "storage/BatchTransaction.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kWarning = " OPOZORILO";

MessageButtons ask(std::string text, MessageButtons buttons, MessageButtons defaultButton) {
    MessageBoxRequest box;
    box.caption = std::string(kWarning);
    box.text = std::move(text);
    box.icon = MessageIcon::Information;
    box.buttons = buttons;
    box.defaultButton = defaultButton;
    return currentFrontEnd().messageBox(box);
}

void warn(std::string text) {
    (void)ask(std::move(text), kButtonOk, kButtonOk);
}

// On the embedded database the stocktake is done on one computer. On a server the other
// stations may count and import meanwhile (they wait for the template), but the programs that
// sell or receive goods must not change the stock the template is made from.
bool conditionsMet() {
    const std::string text =
        tableAccess().sqliteDatabase() != nullptr
            ? " Inventura se lahko izvaja samo na enem računalniku.| Na ostalih morate nujno "
              "zapreti trgovinske programe!|| Ali so izpolnjeni pogoji za nadaljevanje ?"
            : " Med pripravo predloge se zaloga ne sme spreminjati.| Na vseh računalnikih "
              "morate nujno zapreti ostale trgovinske programe!| Postaje, ki vnašajo popis ali "
              "uvažajo zajem, lahko ostanejo odprte.|| Ali so izpolnjeni pogoji za nadaljevanje ?";
    return ask(text, kButtonYes | kButtonNo, kButtonNo) == kButtonYes;
}

std::string errorSuffix() {
    return std::to_string(lastError().code) + " - " + lastError().text;
}

// After a pass in which items failed: keep what was written, or leave the template as it was.
bool keepDespiteFailures(std::int64_t failed) {
    return ask(" Pri pripravi predloge ni uspelo " + std::to_string(failed) +
                   " izdelkov.| Ali želite obdržati, kar je bilo zapisano ?|| Ne: predloga "
                   "ostane taka, kot je bila pred pripravo.",
               kButtonYes | kButtonNo, kButtonNo) == kButtonYes;
}

// The pass over every item in item-code order, in the progress window; the response of the
// window, `stopped` when a failure left the batch unable to go on.
Response runPass(std::string_view procedure, TemplatePreparation& preparation,
                 BatchTransaction& batch, FileManager& items, const TemplateBatchHooks& hooks,
                 bool& stopped) {
    TableRecordSource records(items, items.table().findKey("SIFRAKLJUC"));
    Window progress(procedureLayout(procedure));
    BatchProcess process;
    ProcessWindow window(progress, process, hooks.clock);
    process.SetUp(records, &window);
    process.setQuickScanMode(true);
    window.AddEndButton("Cancel", RespCancelled);
    std::int64_t done = 0;
    process.setRecordHandler([&] {
        if (preparation.prepareItem() == TemplateItem::Failed) {
            warn(preparation.failureText());
            if (!batch.intact()) {
                stopped = true;
                return kLevelNotify;
            }
        }
        if (hooks.watcher) hooks.watcher(progress, ++done);
        return kLevelBenign;
    });
    return window.Run();
}

// Keeps the pass's writes when it completed (asking first when items failed); anything else
// undoes them. True when the template was written.
bool endBatch(BatchTransaction& batch, Response passed, bool stopped, std::int64_t failed) {
    if (stopped) {
        batch.Rollback();
        warn(" Priprava predloge je prekinjena zaradi napake.| Predloga ostaja taka, kot je bila "
             "pred pripravo.");
        return false;
    }
    if (passed != RespCompleted || (failed > 0 && !keepDespiteFailures(failed))) {
        batch.Rollback();
        return false;
    }
    if (batch.Commit() == DriverCode::Ok) return true;
    warn(" Predloge ni bilo mogoče zapisati; ostaja taka, kot je bila pred pripravo. || " +
         errorSuffix());
    return false;
}

}  // namespace

Response runTemplateBatch(std::string_view procedure, const TemplateBatchHooks& hooks) {
    if (!conditionsMet()) return RespCancelled;
    FileManager& items = tableAccess().file("ARTIKLI");
    FileManager& stock = tableAccess().file("ZALOGA");
    FileManager& lines = tableAccess().file("INVENDET");
    TableGuard tables;
    for (FileManager* file : {&items, &stock, &lines})
        if (tables.open(*file) != kLevelBenign) return RespCancelled;
    // Opened physically before the batch begins: a table is made on its first open, which the
    // batch's rollback would otherwise undo.
    for (FileManager* file : {&items, &stock, &lines})
        if (file->UseFile() != kLevelBenign) return RespCancelled;
    // Kept until the batch has ended: the counts of other stations wait for the template.
    StationLock stocktakeLock;
    const bool again = GLO.RepreparationMode != 0;
    const StocktakeKey key{INVENTUR.StevInventure, INVENTUR.Enota, INVENTUR.VRSTAPRODAJE.str()};
    if (!takeStocktakeForBatch(stocktakeLock, key,
                               again ? StationWork::Repreparation : StationWork::Template,
                               procedure))
        return RespCancelled;
    BatchTransaction batch;
    if (batch.Begin() != DriverCode::Ok) {
        warn(" Priprave predloge ni mogoče začeti. || " + errorSuffix());
        return RespCancelled;
    }
    TemplatePreparation preparation(items, stock, lines, again,
                                    GLO.PREDLAGANDEFAULTPOPIS == 1);
    bool stopped = false;
    const Response passed = runPass(procedure, preparation, batch, items, hooks, stopped);
    return endBatch(batch, passed, stopped, preparation.failed()) ? RespCompleted
                                                                    : RespCancelled;
}

}  // namespace dv
