#include "masterdata/BrowseSFVRPROM.h"

#include "framework/BrowseProcedure.h"
#include "framework/ProgramServices.h"
#include "runtime/LayoutResources.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

class TransactionTypeList final : public BrowseProcedure {
  public:
    TransactionTypeList()
        : BrowseProcedure("BrowseSFVRPROM", windowLayout("BrowseSFVRPROM"), programErrors(),
                          &programSettings(), "SFVRPROM", "?Seznam") {
        AddCallButton("?Tiskaj", "OknoIzpisaVrstaPrometa", keys::F(5));
        AddEndButton("?Zapri", RespCancelled);
    }

  protected:
    void DefineList() override {
        const TableDef& table = file().table();
        const int primary = table.findKey("PrimaryKey");
        list().DefineOrder(primary);
        list().AttachLocator(LocatorKind::Incremental, "?Lokator");
        list().PutFilter("SFVRPROM:NePokazi = 0");
        AddColumn(1, "VrstaProdaje", primary);
        AddColumn(2, "OZNAKADOKUMENTA");
        AddColumn(3, "VrstaPrometa");
        AddColumn(4, "OpisPrometa", table.findKey("OPISPROMETAKLJUC"));
        AddColumn(5, "NazivDokumenta");
        AddColumn(6, "PROMETNAZALOGO");
        AddColumn(7, "ZAPECENO");
        AddColumn(8, "NePokazi");
        AddColumn(9, "LASTNAPORABA");
        list().SetControls({"?Dodaj", "?Spremeni", "?Brisi", "", "?Izberi", "", "", ""});
        list().options().selectWholeRecord = true;
        SetForm("UpdatesfVRPROM");
    }

    // A locked type is only looked at.
    bool MayAsk(Request request) const override {
        return request == ReqInsert || request == ReqView || !locked();
    }

    void ShowHighlighted() override {
        window()->control("?Zaklenjeno").setText(locked() ? "Zaklenjeno" : "");
    }

  private:
    bool locked() const {
        const void* record = highlightedRecord();
        if (record == nullptr) return false;
        const TableDef& table = file().table();
        return readFieldValue(table, table.findField("ZAPECENO"), record).toNumber().unitsAt(0) ==
               1;
    }
};

}  // namespace

int BrowseSFVRPROM() {
    TransactionTypeList procedure;
    return procedure.Execute();
}

}  // namespace dv
