#include <gtest/gtest.h>

#include "CodeListData.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv::test {
namespace {

// The list of units opened as a lookup by a caller, as a form that takes a unit opens it: the
// caller holds unit 2 under a name of its own, calls the list with ReqSelect and shows the
// response and the unit in its buffer afterwards.
class UnitLookupTest : public ::testing::Test {
  protected:
    UnitLookupTest() : frontEnd(scheduler), runner(scheduler, frontEnd, procedures) {
        data.addUnit(1, "Center", "M");
        data.addUnit(2, "Bežigrad", "V");
        data.addUnit(3, "Aleja", "R");
        EXPECT_TRUE(resolveTableFileNames(settings, data.path()).ok());
        access = std::make_unique<TableAccess>(&errors);
        setProgramServices({&errors, &settings});
        registerProgramProcedures(programProcedures());
        procedures.add("Klicatelj", [] {
            SFENOTE.Enota = 2;
            SFENOTE.Naziv = "Klicatelj";
            SFENOTE.TIP = "K";
            const Response response = callProcedure(procedureByName("BrowseSFENOTE"), ReqSelect);
            MessageBoxRequest box;
            box.caption = " IZBRANO";
            box.text = std::to_string(responseNumber(response)) + "|" +
                       std::to_string(SFENOTE.Enota) + " " + SFENOTE.Naziv.str() + " " +
                       SFENOTE.TIP.str();
            currentFrontEnd().messageBox(box);
            return response;
        });
    }
    ~UnitLookupTest() override {
        scheduler.shutdown();
        setProgramServices({});
        access.reset();
    }

    CodeListData data;
    ErrorReporter errors;
    SettingsManager settings;
    std::unique_ptr<TableAccess> access;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptRunner runner;
};

TEST_F(UnitLookupTest, SelectReturnsTheHighlightedUnitAndClosingKeepsTheCallersRecord) {
    const auto failure = runner.run(parseScript(R"(start Klicatelj
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Izberi visible
expect ?Izberi enabled
expect ?Seznam text "2|Bežigrad|V"
key Down
press ?Izberi
message " IZBRANO" "1|3 Aleja R"
answer OK
start Klicatelj
window " SKLADIŠČA BLAGA - IZDELKOV"
key Up
press ?Zapri
message " IZBRANO" "2|2 Klicatelj K"
answer OK
start Klicatelj
window " SKLADIŠČA BLAGA - IZDELKOV"
header ?Seznam 2
key C
expect ?Seznam text "1|Center|M"
key Enter
message " IZBRANO" "1|1 Center M"
answer OK
idle
)"));
    ASSERT_FALSE(failure) << failure->report();
}

}  // namespace
}  // namespace dv::test
