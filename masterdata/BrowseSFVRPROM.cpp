#include "framework/BrowseProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

// The list of transaction types, opened as a lookup from the stocktake parameters. A locked
// type is only looked at: its Spremeni and Briši are refused and the list says "Zaklenjeno".
class BrowseSFVRPROM final : public BrowseProcedure {
  public:
    using BrowseProcedure::BrowseProcedure;

  protected:
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

DV_PROCEDURE_CLASS(BrowseSFVRPROM);

}  // namespace
}  // namespace dv
