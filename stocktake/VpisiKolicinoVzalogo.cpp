#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProcessWindow.h"
#include "schema/ProgramGlobals.h"
#include "stocktake/StockQuantityService.h"

namespace dv {
namespace {

// The request the service window's program-wide values make.
StockQuantityRequest serviceRequest() {
    StockQuantityRequest request;
    request.saleType = GLO.VRSTAPZAC.str();
    request.unit = static_cast<std::uint16_t>(GLO.ENOTAZAC);
    request.quantity = GLO.KOLICINA;
    request.mark = GLO.OZNAKAZAC.str().substr(0, 1);
    request.type = static_cast<std::uint16_t>(GLO.VRSTAPROMETAZAC);
    return request;
}

}  // namespace

// One quantity (GLO:KOLICINA) into the stock of every item in unit GLO:ENOTAZAC, as one receipt
// document of the kind GLO:VRSTAPZAC, GLO:OZNAKAZAC, GLO:VRSTAPROMETAZAC; kept only when all of
// it was written.
DV_PROCEDURE(VpisiKolicinoVzalogo) {
    StockQuantityService service(serviceRequest());
    if (!service.Start()) return RespCancelled;
    Window progress(procedureLayout(procedure));
    BatchProcess process;
    ProcessWindow window(progress, process);
    TableRecordSource items(service.items(), service.items().table().findKey("SIFRAKLJUC"));
    process.SetUp(items, &window);
    process.setQuickScanMode(true);
    process.setRecordHandler([&] { return service.BookItem() ? kLevelBenign : kLevelNotify; });
    window.AddEndButton("?Cancel", RespCancelled);
    const Response response = window.Run();
    // A unit without items still gets its (empty) document, as every run of the service does.
    if ((response != RespCompleted && !window.foundNoRecords()) || service.Failed()) {
        service.Abandon();
        return RespCancelled;
    }
    return service.Finish() ? RespCompleted : RespCancelled;
}

}  // namespace dv
