#include <string>

#include "framework/BatchProcess.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProcessWindow.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "schema/ProgramGlobals.h"
#include "stocktake/MovedStockCheck.h"
#include "stocktake/RunningPostings.h"
#include "stocktake/StocktakeLines.h"
#include "stocktake/StocktakeLocks.h"
#include "stocktake/StocktakePosting.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

void refuseSecondPosting(const StocktakeKey& key) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = " Knjiženje inventurnih razlik za inventuro št. " + std::to_string(key.number) +
               " že poteka !|";
    box.icon = MessageIcon::Information;
    currentFrontEnd().messageBox(box);
}

// The pass over the template in the progress window; the pass's response.
Response postTemplate(std::string_view procedure, StocktakePosting& posting, std::int64_t rows) {
    if (rows == 0) return RespCompleted;
    Window progress(procedureLayout(procedure));
    progress.control("?Stevilka").setText(std::to_string(posting.key().number));
    BatchProcess process;
    ProcessWindow window(progress, process);
    StocktakeLines lines(tableAccess().file("INVENDET"), posting.key());
    lines.SetCount(rows);
    process.SetUp(lines, &window, rows);
    process.setQuickScanMode(true);
    process.setRecordHandler([&] { return posting.PostRow() ? kLevelBenign : kLevelNotify; });
    window.AddEndButton("?Cancel", RespCancelled);
    return window.Run();
}

}  // namespace

// The posting of the selected stocktake's differences (GLO:DIDEROVIV, GLO:ENOTAINV,
// GLO:VRSTAINV) with the posting date GLO:DATUM: both documents, their lines, the stock and the
// closing of the stocktake, kept only when all of it succeeded.
DV_PROCEDURE(KnjizenjeInventurnihRazlik) {
    const StocktakeKey key = selectedStocktake();
    const RunningPosting running(key);
    if (!running.claimed()) {
        refuseSecondPosting(key);
        return RespCancelled;
    }
    // Kept until the posting has ended: other stations count and import again after it.
    StationLock stocktakeLock;
    StocktakePosting posting(key, GLO.DATUM, GLO.PostingChairman.str());
    if (!posting.Open()) return RespCancelled;
    std::int64_t rows = 0;
    const std::vector<MovedStockItem> moved = posting.MovedStock(rows);
    if (!moved.empty() && !postDespiteMovedStock(moved)) {
        posting.Abandon();
        return RespCancelled;
    }
    if (!takeStocktakeForBatch(stocktakeLock, key, StationWork::Posting, procedure)) {
        posting.Abandon();
        return RespCancelled;
    }
    if (!posting.Start()) return RespCancelled;
    const Response response = postTemplate(procedure, posting, rows);
    if (response != RespCompleted || posting.Failed()) {
        posting.Abandon();
        return RespCancelled;
    }
    return posting.Finish() ? RespCompleted : RespCancelled;
}

}  // namespace dv
