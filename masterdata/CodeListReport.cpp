#include "masterdata/CodeListReport.h"

#include <stdexcept>

#include "data/ExpressionNames.h"
#include "framework/BatchTableSource.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/LayoutResources.h"
#include "schema/ProgramGlobals.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// Holds the table open for the printout and gives back, however the printout ends, what it
// took: the open and the record the buffer held before the pass overwrote it.
class OpenForPrintout {
  public:
    explicit OpenForPrintout(FileManager& file) : file_(file) {
        opened_ = file_.Open() == kLevelBenign;
        if (opened_) saved_ = file_.SnapshotBuffer();
    }
    ~OpenForPrintout() {
        if (!opened_) return;
        file_.RestoreSnapshot(saved_);
        file_.Close();
    }
    OpenForPrintout(const OpenForPrintout&) = delete;
    OpenForPrintout& operator=(const OpenForPrintout&) = delete;

    bool opened() const { return opened_; }

  private:
    FileManager& file_;
    bool opened_ = false;
    SnapshotHandle saved_ = 0;
};

}  // namespace

Response printCodeList(const CodeListPrintout& printout) {
    // Nothing else keeps the date of the heading current; the printout shows the day it ran.
    GLO.DANES = today();
    FileManager& file = tableAccess().file(printout.table);
    const OpenForPrintout open(file);
    // A table that cannot be opened has been reported by the table layer.
    if (!open.opened()) return RespCancelled;

    const int key = file.table().findKey(printout.key);
    if (key < 0) throw std::logic_error("table " + printout.table + " has no key " + printout.key);
    const ProgramNames program;
    const NameResolverChain names{printout.locals, &program};
    TableRecordSource records(file, key);
    Window progress(windowLayout(printout.procedure));
    ReportProcedure report(printout.procedure, printout.procedure, reportLayout(printout.procedure),
                           names, &programErrors(), &programSettings());
    report.SetUp(progress, records);
    report.onRecord([&] {
        if (printout.beforeDetail) printout.beforeDetail();
        report.report().Print(kCodeListDetailBand);
        return 0;
    });
    if (printout.beforeClosing)
        report.onEndOfReport([&] {
            printout.beforeClosing();
            report.report().Print(kCodeListClosingBand);
        });
    return report.Run();
}

}  // namespace dv
