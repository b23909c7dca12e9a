#include "masterdata/UpdatesfVRPROM.h"

#include <optional>

#include "framework/FormProcedure.h"
#include "framework/ProgramServices.h"
#include "runtime/FrontEnd.h"
#include "runtime/LayoutResources.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr const char* kNumberText = "Šifra vrste prometa";
constexpr const char* kDescriptionText = "Opis vrste prometa";
constexpr const char* kTitleText = "Naziv dokumenta - za izpis dokumentov (npr. PREVZEM, RAČUN..)";

class TransactionTypeForm final : public FormProcedure {
  public:
    explicit TransactionTypeForm(RelationKeeper& keeper)
        : FormProcedure("UpdatesfVRPROM", windowLayout("UpdatesfVRPROM"), programErrors(),
                        &programSettings()) {
        setPrimary(keeper);
        setFirstField("?SFVRPROM:VrstaProdaje");
        setOkControl("?OK");
        AddEndButton("?Cancel", RespCancelled);
    }

  protected:
    void RegisterRequired() override {
        required().Register("?SFVRPROM:VrstaPrometa", true, "SFVRPROM:VrstaPrometa", kNumberText,
                            kNumberText, "Vrsta prometa");
        required().Register("?SFVRPROM:OpisPrometa", true, "SFVRPROM:OpisPrometa", kDescriptionText,
                            kDescriptionText, "Opis prometa");
        required().Register("?SFVRPROM:NazivDokumenta", true, "SFVRPROM:NazivDokumenta", kTitleText,
                            kTitleText, "Naziv dokumenta");
    }
};

// Whether the request would change or delete the locked type in the buffer.
bool touchesLockedType(Request request) {
    return (request == ReqChange || request == ReqDelete) && SFVRPROM.ZAPECENO == 1;
}

void warnLocked() {
    MessageBoxRequest box;
    box.caption = kLockedTypeCaption;
    box.text = kLockedTypeText;
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
}

}  // namespace

int UpdatesfVRPROM() {
    if (touchesLockedType(CallerRequest)) {
        warnLocked();
        CallerRequest = ReqView;
    }
    // The table takes part in no relation; the form then keeps it through a keeper of its own.
    RelationKeeper* shared = tableAccess().relations("SFVRPROM");
    std::optional<RelationKeeper> own;
    if (shared == nullptr) own.emplace(tableAccess().file("SFVRPROM"));
    TransactionTypeForm form(shared != nullptr ? *shared : *own);
    return form.Execute();
}

}  // namespace dv
