#include "data/Dictionary.h"
#include "framework/BrowseProcedure.h"
#include "framework/DetailList.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SubgroupLabels.h"

namespace dv {
namespace {

// The group code of the group in the SFGRUPE buffer, where the list of groups leaves the
// highlighted one.
BrowseValue highlightedGroup() {
    const TableDef& groups = *findTable("SFGRUPE");
    return bufferField(groups, groups.findField("Sifra"));
}

// The list of item groups, with the subgroups of the highlighted group beside it. The groups
// are changed through their form, which also keeps their subgroups, so the subgroups are read
// again after every call of the form.
class BrowseSFGRUPE final : public BrowseProcedure {
  public:
    explicit BrowseSFGRUPE(std::string name)
        : BrowseProcedure(std::move(name)),
          subgroups_(*this, "?Podskupine", {{"Sifra", highlightedGroup()}}) {
        subgroups_.SetMasterPresent([this] { return !list().page().empty(); });
    }

    Level SetUp() override {
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        showLabels();
        return subgroups_.Start();
    }

  protected:
    void DefineList() override {
        BrowseProcedure::DefineList();
        list().SetAskProcedure([this, form = procedureByName("UpdateSFGRUPE")] {
            const Response response = form();
            subgroups_.ReloadLater();
            return response;
        });
    }

  private:
    void showLabels() {
        const bool suppliers = subgroupsAreSuppliers();
        window()->setCaption(suppliers ? "SKUPINE in DOBAVITELJI" : "SKUPINE in PODSKUPINE");
        if (suppliers) window()->control("?NaslovPodskupin").setText("DOBAVITELJI");
    }

    DetailList subgroups_;
};

DV_PROCEDURE_CLASS(BrowseSFGRUPE);

}  // namespace
}  // namespace dv
