#include "masterdata/BrowseSFENOTE.h"

#include "framework/BrowseProcedure.h"
#include "framework/ProgramServices.h"
#include "runtime/LayoutResources.h"

namespace dv {
namespace {

class UnitList final : public BrowseProcedure {
  public:
    UnitList()
        : BrowseProcedure("BrowseSFENOTE", windowLayout("BrowseSFENOTE"), programErrors(),
                          &programSettings(), "SFENOTE", "?Seznam") {
        AddCallButton("?Izpis", "OknoIzpisaEnote", keys::F(5));
        AddEndButton("?Zapri", RespCancelled);
    }

  protected:
    void DefineList() override {
        const TableDef& table = file().table();
        const int byCode = table.findKey("ENOTAKLJUC");
        list().DefineOrder(byCode);
        list().AttachLocator(LocatorKind::Incremental, "?Lokator");
        AddColumn(1, "Enota", byCode);
        AddColumn(2, "Naziv", table.findKey("NAZIVKLJUC"));
        AddColumn(3, "TIP");
        columns().SetQueryLine("?Poizvedba");
        list().SetControls({"?Dodaj", "?Spremeni", "?Brisi", "", "?Izberi", "", "", ""});
        list().options().selectWholeRecord = true;
        SetForm("UpdateSFENOTE");
    }
};

}  // namespace

int BrowseSFENOTE() {
    UnitList procedure;
    return procedure.Execute();
}

}  // namespace dv
