#include "data/RecordBuffers.h"
#include "framework/DetailList.h"
#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SubgroupLabels.h"
#include "runtime/FrontEnd.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The subgroups that were given the number `from` of a new group follow it to the code `to`
// under which the group was saved, in one transaction. False, after telling the user, when
// they could not all be moved (none is then moved).
bool moveSubgroups(std::uint16_t from, std::uint16_t to) {
    FileManager& file = tableAccess().file("SFPODGRU");
    TableGuard guard;
    if (guard.open(file) != kLevelBenign || file.UseFile() != kLevelBenign) return false;
    if (tableAccess().beginTransaction() != DriverCode::Ok) return false;
    Level moved = kLevelBenign;
    for (;;) {
        clearRecord(file.table(), file.buffer());
        SFPODGRU.Sifra = from;
        TableDriver& driver = *file.driver();
        if (driver.set(file.primaryKey()) != DriverCode::Ok || driver.next() != DriverCode::Ok ||
            SFPODGRU.Sifra != from)
            break;
        file.noteRecordRead();
        SFPODGRU.Sifra = to;
        if ((moved = file.UpdateSilently()) != kLevelBenign) break;
    }
    if (moved == kLevelBenign && tableAccess().commit() == DriverCode::Ok) return true;
    (void)tableAccess().rollback();
    if (moved != kLevelBenign) file.RaiseLastError();
    return false;
}

// The form of one item group with the list of its subgroups, which are added, changed and
// deleted there through their own form. The list shows the subgroups of the group as it is
// stored while the form is open; a new subgroup belongs to that group. When the group's code is
// changed, its subgroups take the new code with it as the group is saved.
class UpdateSFGRUPE final : public FormProcedure {
  public:
    explicit UpdateSFGRUPE(std::string name)
        : FormProcedure(std::move(name)),
          subgroups_(*this, "?Podskupine",
                     {{"Sifra", [this] { return ExpressionValue::number(Decimal(storedCode_)); }}}) {
        BrowseControls buttons;
        buttons.insert = "?DodajPodskupino";
        buttons.change = "?SpremeniPodskupino";
        buttons.remove = "?BrisiPodskupino";
        subgroups_.SetButtons(std::move(buttons));
    }

    Level SetUp() override {
        if (const Level base = FormProcedure::SetUp(); base != kLevelBenign) return base;
        storedCode_ = SFGRUPE.Sifra;
        window()->control("?NaslovPodskupin").setText(std::string(subgroupHeading()));
        return subgroups_.Start();
    }

    // A change of the code cascades to the subgroups by the relation between the tables; a new
    // group's subgroups were given its proposed number, which the insert does not cascade.
    EventResult OnCompleted(const Event& event) override {
        const bool inserting = request() == ReqInsert;
        const EventResult result = FormProcedure::OnCompleted(event);
        if (inserting && response() == RespCompleted && SFGRUPE.Sifra != storedCode_)
            moveSubgroups(storedCode_, SFGRUPE.Sifra);
        return result;
    }

  private:
    std::uint16_t storedCode_ = 0;
    DetailList subgroups_;
};

DV_PROCEDURE_CLASS(UpdateSFGRUPE);

}  // namespace
}  // namespace dv
