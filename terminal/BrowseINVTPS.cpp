#include <cstring>

#include "data/Dictionary.h"
#include "framework/BrowseProcedure.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"
#include "terminal/MarkedArchivePrint.h"

namespace dv {
namespace {

constexpr std::string_view kPrintButton = "?IzpisiIzbrane";
constexpr int kNameColumn = 7;

// The item of each archive row, read by the first 13 characters of its code (the item code is
// 13 characters long); a code no item has clears the item's buffer, so its name shows blank.
ViewManager::Join itemOfRow() {
    FileManager& items = tableAccess().file("ARTIKLI");
    const TableDef& archive = *findTable("INVTPS");
    return {&items,
            items.table().findKey("SIFRAKLJUC"),
            {{archive.findField("EANKODA"), items.table().findField("EAN")}}};
}

void printAlreadyRunning() {
    MessageBoxRequest box;
    box.caption = " OBVESTILO";
    box.text = "Izpis izbranih zapisov že poteka.|Počakajte, da se konča, in poskusite znova.";
    box.icon = MessageIcon::Information;
    currentFrontEnd().messageBox(box);
}

// The archive of processed capture lines, read-only, with the item name of every row; the marked
// rows are printed under the name of the unit of the row that was highlighted when the print
// button got the focus.
class BrowseINVTPS final : public BrowseProcedure {
  public:
    explicit BrowseINVTPS(std::string name) : BrowseProcedure(std::move(name)) {
        view().AddJoin(itemOfRow());
    }

    Level SetUp() override {
        // The list reads items into their buffer; the caller gets it back as it was.
        tables_.keep(tableAccess().file("ARTIKLI"));
        return BrowseProcedure::SetUp();
    }

    void TearDown() override {
        BrowseProcedure::TearDown();
        tables_.release();
    }

    EventResult OnSelected(const Event& event) override {
        if (event.control == number(kPrintButton)) rememberUnit();
        return BrowseProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control != number(kPrintButton)) return BrowseProcedure::OnAccepted(event);
        printMarked();
        return kEventDone;
    }

  protected:
    void DefineList() override {
        BrowseProcedure::DefineList();
        const TableDef& items = *findTable("ARTIKLI");
        list().MapColumn(items, items.findField("Naziv"), kNameColumn);
    }

  private:
    void rememberUnit() {
        const auto* record = static_cast<const INVTPSRecord*>(highlightedRecord());
        unit_ = record != nullptr ? record->ENOTA : 0;
    }

    void printMarked() {
        if (markedArchivePrint() != nullptr) {
            printAlreadyRunning();
            return;
        }
        MarkedArchivePrint print;
        print.unit = unit_;
        for (const auto& [row, record] : list().marked()) {
            INVTPSRecord marked;
            std::memcpy(&marked, record.data(), sizeof marked);
            print.records.push_back(marked.Zapis);
        }
        {
            const MarkedArchivePrintScope running(print);
            (void)callProcedure(procedureByName("IzpisiINVTPSizbrane"), Request::None);
        }
        AfterCall();
    }

    TableGuard tables_;
    std::uint16_t unit_ = 0;
};

DV_PROCEDURE_CLASS(BrowseINVTPS);

}  // namespace
}  // namespace dv
