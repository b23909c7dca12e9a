#include "masterdata/UpdateSFENOTE.h"

#include "framework/FormProcedure.h"
#include "framework/ProgramServices.h"
#include "runtime/LayoutResources.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr const char* kCodeText = "Šifra skladišča, v katerem so izdelki";
constexpr const char* kNameText = "Naziv (ime) skladišca";

class UnitForm final : public FormProcedure {
  public:
    UnitForm()
        : FormProcedure("UpdateSFENOTE", windowLayout("UpdateSFENOTE"), programErrors(),
                        &programSettings()) {
        setPrimary(*tableAccess().relations("SFENOTE"));
        setFirstField("?SFENOTE:Enota");
        setOkControl("?OK");
        AddEndButton("?Cancel", RespCancelled);
    }

  protected:
    void RegisterRequired() override {
        required().Register("?SFENOTE:Enota", true, "SFENOTE:Enota", kCodeText, kCodeText,
                            "Skladišče");
        required().Register("?SFENOTE:Naziv", true, "SFENOTE:Naziv", kNameText, kNameText, "Naziv");
    }
};

}  // namespace

int UpdateSFENOTE() {
    UnitForm form;
    return form.Execute();
}

}  // namespace dv
