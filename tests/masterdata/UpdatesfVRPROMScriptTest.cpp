#include <gtest/gtest.h>

#include "FormScriptFixture.h"
#include "frontend/headless/ScriptReference.h"
#include "schema/Records.h"

namespace dv {
namespace {

// Types 1 (open) and 2 (locked) of retail purchases.
class UpdatesfVRPROMScript : public test::FormScriptFixture {
  protected:
    UpdatesfVRPROMScript() {
        for (int number : {1, 2})
            insert("SFVRPROM", [number] {
                SFVRPROM.VrstaProdaje = "M";
                SFVRPROM.OZNAKADOKUMENTA = "N";
                SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(number);
                SFVRPROM.OpisPrometa = number == 1 ? "Prevzem" : "Prevzem iz uvoza";
                SFVRPROM.NazivDokumenta = "PREVZEM";
                SFVRPROM.PROMETNAZALOGO = "+";
                SFVRPROM.ZAPECENO = static_cast<std::int16_t>(number == 2);
            });
        caller("NovaVrsta", "SFVRPROM", ReqInsert, {}, procedureByName("UpdatesfVRPROM"));
        for (int number : {1, 2}) {
            auto type = [number] {
                SFVRPROM.VrstaProdaje = "M";
                SFVRPROM.OZNAKADOKUMENTA = "N";
                SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(number);
            };
            const std::string n = std::to_string(number);
            caller("Spremeni" + n, "SFVRPROM", ReqChange, type, procedureByName("UpdatesfVRPROM"));
            caller("Poglej" + n, "SFVRPROM", ReqView, type, procedureByName("UpdatesfVRPROM"));
            caller("Brisi" + n, "SFVRPROM", ReqDelete, type, procedureByName("UpdatesfVRPROM"));
        }
    }

    static std::string lockedWarning() {
        return "message \" OPOZORILO\" \"Vrsta prometa je zaklenjena in je ni mogoče "
               "spreminjati ali brisati.|Odprta je samo za vpogled.\"\nanswer OK\n";
    }
};

TEST_F(UpdatesfVRPROMScript, ANewTypeNeedsNumberDescriptionAndTitle) {
    run(R"(start NovaVrsta
window "Dodajanje zapisa"
press "  Prodaja na DEBELO"
press " Izdaja"
type ?SFVRPROM:VrstaPrometa ""
press ?OK
message " INFORMACIJA" "\"Vrsta prometa\" podatek mora biti vnešen !"
answer OK
expect ?SFVRPROM:VrstaPrometa focused
type ?SFVRPROM:VrstaPrometa "4"
press ?OK
message " INFORMACIJA" "\"Opis prometa\" podatek mora biti vnešen !"
answer OK
type ?SFVRPROM:OpisPrometa "Izdaja v porabo"
press ?OK
message " INFORMACIJA" "\"Naziv dokumenta\" podatek mora biti vnešen !"
answer OK
expect ?SFVRPROM:NazivDokumenta focused
type ?SFVRPROM:NazivDokumenta "IZDAJNICA"
press " Lastna poraba"
press " Zmanjšuje zalogo"
press ?OK
idle
sql "SELECT VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, OPISPROMETA, NAZIVDOKUMENTA, LASTNAPORABA, PROMETNAZALOGO, ZAPECENO FROM SFVRPROM WHERE VRSTAPRODAJE = 'V'" "V|I|4|Izdaja v porabo|IZDAJNICA|1|-|0"
)");
}

TEST_F(UpdatesfVRPROMScript, AnOpenTypeIsChangedAndDeleted) {
    run(R"(start Spremeni1
window "Spreminjanje zapisa"
expect ?SFVRPROM:OpisPrometa text "Prevzem"
type ?SFVRPROM:OpisPrometa "Prevzem blaga"
press " Ne vpliva"
press ?OK
idle
sql "SELECT OPISPROMETA, PROMETNAZALOGO FROM SFVRPROM WHERE VRSTAPROMETA = 1" "Prevzem blaga|0"
start Brisi1
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
idle
sql "SELECT VRSTAPROMETA FROM SFVRPROM" "2"
)");
}

TEST_F(UpdatesfVRPROMScript, ALockedTypeIsOnlyShownWhateverTheRequest) {
    run("start Spremeni2\n" + lockedWarning() + R"(window "Vpogled podatkov"
expect ?SFVRPROM:OpisPrometa text "Prevzem iz uvoza"
type ?SFVRPROM:OpisPrometa "Spremenjeno"
press ?OK
idle
start Brisi2
)" + lockedWarning() +
        R"(window "Vpogled podatkov"
press "Prekliči"
idle
start Poglej2
window "Vpogled podatkov"
press ?OK
idle
sql "SELECT OPISPROMETA, ZAPECENO FROM SFVRPROM WHERE VRSTAPROMETA = 2" "Prevzem iz uvoza|1"
)");
}

}  // namespace
}  // namespace dv
