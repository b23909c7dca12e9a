#include "PostingScriptFixture.h"

namespace dv::test {
namespace {

// Three open stocktakes of unit 1; the user chooses the second for one step, and every
// stocktake list afterwards opens on it.
class LastStocktake : public PostingScriptFixture {
  protected:
    LastStocktake() {
        frontEnd.setPreviewsWait(true);
        for (const std::uint16_t number : {5, 6, 7}) addStocktake(number, 1, "M");
    }

    // Chooses the stocktake on row `row` of the differences list for its printout (and leaves
    // the conditions window without printing).
    void chooseForDifferences(int row) {
        run(R"(start EvidencaInventurZaIzpisRazlik
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam )" + std::to_string(row) + R"(
key F5
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNIH RAZLIK"
press ?Preklici
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press ?Zapri
idle
)");
    }

    // Opens `procedure` and checks that its list highlights stocktake `number` of unit 1.
    void expectOpenedOn(const std::string& procedure, int number) {
        SCOPED_TRACE(procedure);
        run("start " + procedure + "\nexpect ?Seznam text \"" + std::to_string(number) +
            "|1|M|1.3.2024|Ana Novak||||||\"\npress ?Zapri\nidle\n");
    }
};

TEST_F(LastStocktake, EveryStocktakeListOpensOnTheStocktakeLastChosen) {
    expectOpenedOn("EvidencaInventurZaKnjizenjeRazlik", 5);  // nothing chosen yet: the top
    chooseForDifferences(2);
    EXPECT_EQ(settings.readText("INVENTURA", "ZadnjaIzbrana", ""), "6;1;M");
    for (const char* list :
         {"EvidencaInventur", "IzborGlaveInventure", "EvidencaInventurZaIzpisRazlik",
          "EvidencaInventurZaKnjizenjeRazlik", "EvidencaInventurZaIzpisDokumentov",
          "EvidencaInventurZaIzpisZalog"})
        expectOpenedOn(list, 6);
}

TEST_F(LastStocktake, AStocktakeNoLongerThereOrADamagedEntryOpensAtTheTop) {
    for (const char* entry : {"9;1;M", "6;1", "x;1;M", "6;1;MM", ""}) {
        SCOPED_TRACE(entry);
        ASSERT_TRUE(settings.write("INVENTURA", "ZadnjaIzbrana", entry).ok());
        expectOpenedOn("EvidencaInventurZaIzpisDokumentov", 5);
    }
    ASSERT_TRUE(settings.write("INVENTURA", "ZadnjaIzbrana", "7;1;M").ok());
    expectOpenedOn("EvidencaInventurZaIzpisDokumentov", 7);
}

}  // namespace
}  // namespace dv::test
