#include <gtest/gtest.h>

#include "FormScriptFixture.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv::test {
namespace {

// The item groups with their subgroups, driven through their windows in the test's process:
// groups 1 and 2 have subgroups, group 3 has none, and one subgroup belongs to no group.
class ItemGroupsScript : public FormScriptFixture {
  protected:
    ItemGroupsScript() {
        GLO.PODGRUPADOBAVITELJ = 0;
        procedures.add("BrowseSFGRUPE", procedureByName("BrowseSFGRUPE"));
        group(1, "Pijače");
        group(2, "Hrana");
        group(3, "Čistila");
        subgroup(1, 1, "Sokovi");
        subgroup(1, 2, "Vode");
        subgroup(2, 1, "Kruh");
        subgroup(9, 1, "Sirota");
    }
    ~ItemGroupsScript() override { GLO.PODGRUPADOBAVITELJ = 0; }

    void group(int code, const char* name) {
        insert("SFGRUPE", [&] {
            SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
            SFGRUPE.Naziv = name;
        });
    }
    void subgroup(int group, int code, const char* name) {
        insert("SFPODGRU", [&] {
            SFPODGRU.Sifra = static_cast<std::uint16_t>(group);
            SFPODGRU.PodSifra = static_cast<std::uint16_t>(code);
            SFPODGRU.Naziv = name;
        });
    }
};

TEST_F(ItemGroupsScript, TheSubgroupsFollowTheHighlightedGroupInEitherOrder) {
    run(R"(start BrowseSFGRUPE
window "SKUPINE in PODSKUPINE"
expect ?NaslovPodskupin text "PODSKUPINE ali DOBAVITELJI"
expect ?Izberi hidden
expect ?Seznam rows 3
expect ?Seznam text "1|Pijače"
expect ?Podskupine rows 2
expect ?Podskupine cell 1 2 "Sokovi"
expect ?Podskupine cell 2 2 "Vode"
key Down
expect ?Seznam text "2|Hrana"
expect ?Podskupine rows 1
expect ?Podskupine text "1|Kruh"
key Down
expect ?Seznam text "3|Čistila"
expect ?Podskupine rows 0
header ?Seznam 2
expect ?Seznam cell 1 2 "Čistila"
expect ?Seznam cell 3 2 "Pijače"
row ?Seznam 3
expect ?Podskupine rows 2
key H
expect ?Seznam text "2|Hrana"
expect ?Podskupine text "1|Kruh"
press ?Zapri
idle
)");
}

// With no group at all the subgroups beside the list stay empty: the one without a group is
// never shown, though its group code is the blank one an empty list leaves in the buffer.
TEST_F(ItemGroupsScript, WithoutGroupsNoSubgroupIsShown) {
    subgroup(0, 1, "Brez skupine");
    run(R"(start BrowseSFGRUPE
press ?Brisi
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
press ?Brisi
answer Yes
press ?Brisi
answer Yes
expect ?Seznam rows 0
expect ?Podskupine rows 0
press ?Zapri
idle
sql "SELECT SIFRA, NAZIV FROM SFPODGRU ORDER BY SIFRA" "0|Brez skupine\n9|Sirota"
)");
}

TEST_F(ItemGroupsScript, DeletingAGroupDeletesItsSubgroupsOnly) {
    run(R"(start BrowseSFGRUPE
key Delete
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
expect ?Seznam text "2|Hrana"
expect ?Podskupine text "1|Kruh"
press ?Zapri
idle
sql "SELECT SIFRA FROM SFGRUPE ORDER BY SIFRA" "2\n3"
sql "SELECT SIFRA, PODSIFRA FROM SFPODGRU ORDER BY SIFRA, PODSIFRA" "2|1\n9|1"
)");
}

// Subgroups added in the form of a new group belong to it under the code it is saved with;
// a new group that is cancelled takes its subgroups with it.
TEST_F(ItemGroupsScript, ANewGroupKeepsItsSubgroupsUnderTheCodeItIsSavedWith) {
    run(R"(start BrowseSFGRUPE
press ?Dodaj
window "Dodajanje zapisa"
expect ?SFGRUPE:Sifra text "4"
expect ?NaslovPodskupin text "PODSKUPINE"
expect ?Podskupine rows 0
press ?OK
message " INFORMACIJA" "\"Naziv skupine\" podatek mora biti vnešen !"
answer OK
expect ?SFGRUPE:Naziv focused
type ?SFGRUPE:Naziv "Sadje"
press ?DodajPodskupino
window "Zapis bo dodan"
expect ?NazivPodskupine text "PODSKUPINE"
expect ?SFPODGRU:Sifra text "4"
expect ?SFPODGRU:PodSifra text "1"
press ?OK
message " INFORMACIJA" "\"PODSKUPINE\" podatek mora biti vnešen !"
answer OK
type ?SFPODGRU:Naziv "Jabolka"
press ?OK
window "Dodajanje zapisa"
expect ?Podskupine text "1|Jabolka"
press ?DodajPodskupino
type ?SFPODGRU:Naziv "Hruške"
press ?OK
expect ?Podskupine rows 2
type ?SFGRUPE:Sifra "40"
expect ?Podskupine rows 2
press ?OK
window "SKUPINE in PODSKUPINE"
expect ?Seznam text "40|Sadje"
expect ?Podskupine rows 2
expect ?Podskupine cell 2 2 "Hruške"
press ?Dodaj
type ?SFGRUPE:Naziv "Zelenjava"
press ?DodajPodskupino
type ?SFPODGRU:Naziv "Korenje"
press ?OK
press ?Cancel
message-contains ""
answer No
window "SKUPINE in PODSKUPINE"
press ?Zapri
idle
sql "SELECT SIFRA, NAZIV FROM SFGRUPE WHERE SIFRA > 3" "40|Sadje"
sql "SELECT SIFRA, PODSIFRA, NAZIV FROM SFPODGRU WHERE SIFRA > 9 ORDER BY PODSIFRA" "40|1|Jabolka\n40|2|Hruške"
)");
}

// A subgroup is changed and deleted in the form of its group; a changed group code takes the
// subgroups with it.
TEST_F(ItemGroupsScript, SubgroupsAreKeptInTheFormOfTheirGroup) {
    run(R"(start BrowseSFGRUPE
press ?Spremeni
window "Spreminjanje zapisa"
expect ?Podskupine rows 2
row ?Podskupine 2
press ?SpremeniPodskupino
window "Zapis bo spremenjen"
expect ?SFPODGRU:Naziv text "Vode"
type ?SFPODGRU:Naziv "Mineralne vode"
press ?OK
window "Spreminjanje zapisa"
expect ?Podskupine text "2|Mineralne vode"
row ?Podskupine 1
press ?BrisiPodskupino
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
expect ?Podskupine rows 1
press ?OK
window "SKUPINE in PODSKUPINE"
expect ?Seznam text "1|Pijače"
expect ?Podskupine rows 1
expect ?Podskupine text "2|Mineralne vode"
press ?Spremeni
type ?SFGRUPE:Sifra "10"
press ?OK
window "SKUPINE in PODSKUPINE"
expect ?Seznam cell 3 1 "10"
press ?Zapri
idle
sql "SELECT SIFRA, PODSIFRA, NAZIV FROM SFPODGRU ORDER BY SIFRA" "2|1|Kruh\n9|1|Sirota\n10|2|Mineralne vode"
)");
}

// The setting turns the second level into suppliers in every label, and in nothing else.
TEST_F(ItemGroupsScript, SuppliersInsteadOfSubgroupsChangeOnlyTheLabels) {
    GLO.PODGRUPADOBAVITELJ = 1;
    run(R"(start BrowseSFGRUPE
window "SKUPINE in DOBAVITELJI"
expect ?NaslovPodskupin text "DOBAVITELJI"
expect ?Seznam rows 3
expect ?Podskupine rows 2
expect ?Podskupine cell 1 2 "Sokovi"
press ?Spremeni
window "Spreminjanje zapisa"
expect ?NaslovPodskupin text "DOBAVITELJI"
expect ?Podskupine rows 2
key Shift+Enter
press ?SpremeniPodskupino
window "Zapis bo spremenjen"
expect ?NazivPodskupine text "DOBAVITELJI"
type ?SFPODGRU:Naziv ""
press ?OK
message " INFORMACIJA" "\"DOBAVITELJI\" podatek mora biti vnešen !"
answer OK
press ?Cancel
answer No
press ?Cancel
window "SKUPINE in DOBAVITELJI"
press ?Zapri
idle
sql "SELECT COUNT(*) FROM SFGRUPE" "3"
sql "SELECT SIFRA, PODSIFRA, NAZIV FROM SFPODGRU ORDER BY SIFRA, PODSIFRA" "1|1|Sokovi\n1|2|Vode\n2|1|Kruh\n9|1|Sirota"
)");
}

// Opened as a lookup the list returns the highlighted group in the buffer.
TEST_F(ItemGroupsScript, TheLookupReturnsTheHighlightedGroup) {
    procedures.add("Klicatelj", [] {
        SFGRUPE.Sifra = 2;
        SFGRUPE.Naziv = "Klicatelj";
        const Response response = callProcedure(procedureByName("BrowseSFGRUPE"), ReqSelect);
        GLO.SifraSkupine = response == RespCompleted ? SFGRUPE.Sifra : 0;
        return response;
    });
    GLO.SifraSkupine = 0;
    run(R"(start Klicatelj
expect ?Izberi visible
expect ?Seznam text "2|Hrana"
expect ?Podskupine text "1|Kruh"
key Down
press ?Izberi
idle
)");
    EXPECT_EQ(GLO.SifraSkupine, 3);
}

}  // namespace
}  // namespace dv::test
