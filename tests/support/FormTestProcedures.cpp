#include "support/FormTestProcedures.h"

#include "data/RecordBuffers.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr const char* kUnitFormLayout = R"(window TestUnitForm " AŽURIRANJE SKLADIŠČ / ENOT"
  sheet ?Zavihki
    tab " &PODATKI "
      prompt "&Skladišče:"
      entry ?SFENOTE:Enota picture=@n3b required
      prompt "&Naziv:"
      entry ?SFENOTE:Naziv picture=@s60 required
      option ?SFENOTE:TIP " Tip skladišča / enote "
        radio " Maloprodajno" value=M
        radio " Veleprodajno" value=V
        radio " Repro material" value=R
        radio " Konsignacija" value=K
      prompt "Promet zaključen do datuma:"
      entry ?SFENOTE:PROMETZAKLJUCENDODATUMA picture=@d17
      prompt "Datum dovoljene obdelave:"
      entry ?SFENOTE:DATUMDOVOLJENEMESOBDELAVE picture=@d17
  button ?OK "V redu" default
  button ?Cancel "Prekliči"
)";

constexpr const char* kUnitText = "Šifra skladišča, v katerem so izdelki";
constexpr const char* kNameText = "Naziv (ime) skladišca";

RelationKeeper& unitKeeper() {
    return *tableAccess().relations("SFENOTE");
}

// Reads the record of `unit` into the buffer; false when there is none.
bool readUnit(FileManager& file, std::uint16_t unit) {
    clearRecord(file.table(), file.buffer());
    SFENOTE.Enota = unit;
    return file.Fetch(file.primaryKey()) == kLevelBenign;
}

}  // namespace

const WindowLayout& testUnitFormLayout() {
    static const WindowLayout layout = parseLayout(kUnitFormLayout, "TestUnitForm.layout");
    return layout;
}

TestUnitForm::TestUnitForm(ErrorReporter& errors, SettingsManager* settings,
                           const TestFormOptions& options)
    : FormProcedure("TestUnitForm", testUnitFormLayout(), errors, settings) {
    setPrimary(unitKeeper());
    setFirstField("SFENOTE:Enota");
    setOkControl("OK");
    AddEndButton("Cancel", RespCancelled);
    AddHistoryControl("SFENOTE:Naziv");
    insertAction = options.insertAction;
    deleteAction = options.deleteAction;
    cancelAction = options.cancelAction;
}

void TestUnitForm::RegisterRequired() {
    required().Register("SFENOTE:Enota", true, "SFENOTE:Enota", kUnitText, kUnitText, "Skladišče");
    required().Register("SFENOTE:Naziv", true, "SFENOTE:Naziv", kNameText, kNameText, "Naziv");
}

Response callTestUnitForm(Request request, ErrorReporter& errors, SettingsManager* settings,
                          const TestFormOptions& options) {
    RelationKeeper& keeper = unitKeeper();
    FileManager& file = keeper.file();
    if (keeper.OpenAll() != kLevelBenign) {
        keeper.CloseAll();
        return RespCancelled;
    }
    const bool ready =
        request == ReqInsert ? file.PrepareNew() == kLevelBenign : readUnit(file, options.unit);
    Response response = RespCancelled;
    if (ready) {
        response = callProcedure(
            [&] {
                TestUnitForm form(errors, settings, options);
                return form.Execute();
            },
            request);
    }
    keeper.CloseAll();
    return response;
}

void registerFormTestProcedures(ProcedureRegistry& registry, ErrorReporter& errors,
                                SettingsManager* settings) {
    auto caller = [&errors, settings](Request request, TestFormOptions options) {
        return [&errors, settings, request, options] {
            return callTestUnitForm(request, errors, settings, options);
        };
    };
    TestFormOptions askNext;
    askNext.insertAction = kInsertAskNext;
    registry.add("TestInsertUnit", caller(ReqInsert, {}));
    registry.add("TestInsertUnits", caller(ReqInsert, askNext));
    registry.add("TestChangeUnit", caller(ReqChange, {}));
    registry.add("TestDeleteUnit", caller(ReqDelete, {}));
    registry.add("TestViewUnit", caller(ReqView, {}));
}

}  // namespace dv
