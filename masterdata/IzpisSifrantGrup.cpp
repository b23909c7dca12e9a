#include "data/RecordBuffers.h"
#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ReportEngine.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The subgroups of the group in the SFGRUPE buffer, in subgroup-code order, one line each: the
// subgroup key is set at the group's code and read on until the code changes. A subgroup is
// reached only through its group, so one whose group does not exist is never printed.
void printSubgroups(FileManager& subgroups, ReportEngine& report) {
    clearRecord(subgroups.table(), subgroups.buffer());
    SFPODGRU.Sifra = SFGRUPE.Sifra;
    if (subgroups.UseFile() != kLevelBenign ||
        subgroups.driver()->set(subgroups.primaryKey()) != DriverCode::Ok)
        return;
    while (subgroups.Next() == kLevelBenign && SFPODGRU.Sifra == SFGRUPE.Sifra)
        report.Print("Podskupina");
}

}  // namespace

// The printout of item groups, by name or (GLO:SORT 2) by code; with their subgroups when
// GLO:CHECKBOX1 is 2. The closing band says which.
DV_PROCEDURE(IzpisSifrantGrup) {
    const bool byCode = GLO.SORT == 2;
    const bool withSubgroups = GLO.CHECKBOX1 == 2;
    FixedText<40> modeText;
    FixedText<40> orderText;
    NamedVariables locals;
    locals.add("LOC:NacinIzpisa", modeText);
    locals.add("LOC:Razvrscanje", orderText);

    FileManager& subgroups = tableAccess().file("SFPODGRU");
    TableGuard guard;
    if (withSubgroups && guard.open(subgroups) != kLevelBenign) return RespCancelled;

    CodeListPrintout printout;
    printout.procedure = procedure;
    printout.table = "SFGRUPE";
    printout.key = byCode ? "SIFRAKLJUC" : "NAZIVKLJUC";
    printout.locals = &locals;
    if (withSubgroups)
        printout.afterDetail = [&](ReportEngine& report) { printSubgroups(subgroups, report); };
    printout.beforeClosing = [&] {
        modeText = withSubgroups ? "Skupine izdelkov s podskupinami" : "Samo skupine izdelkov";
        orderText = byCode ? "Razvrščanje: Po šifri" : "Razvrščanje: Po nazivu";
    };
    return printCodeList(printout);
}

}  // namespace dv
