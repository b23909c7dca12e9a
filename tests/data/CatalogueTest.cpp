#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/Catalogue.h"
#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableLayout.h"
#include "runtime/Expression.h"
#include "runtime/FixedText.h"
#include "schema/ProgramCatalogue.h"

namespace dv {
namespace {

// Installs a catalogue for one test and puts back the one installed before.
class CatalogueInstalled {
  public:
    explicit CatalogueInstalled(const Catalogue* catalogue) : previous_(installedCatalogue()) {
        installCatalogue(catalogue);
    }
    ~CatalogueInstalled() { installCatalogue(previous_); }
    CatalogueInstalled(const CatalogueInstalled&) = delete;
    CatalogueInstalled& operator=(const CatalogueInstalled&) = delete;

  private:
    const Catalogue* previous_;
};

template <typename Call>
void expectNoCatalogue(const char* what, Call call) {
    try {
        call();
        ADD_FAILURE() << what << " ran without a catalogue";
    } catch (const std::invalid_argument& error) {
        ADD_FAILURE() << what << " took the missing catalogue for a bad name: " << error.what();
    } catch (const std::logic_error& error) {
        EXPECT_NE(std::string(error.what()).find("no catalogue is installed"), std::string::npos)
            << what << ": " << error.what();
    }
}

// A catalogue that is not the program's: one table MALA (prefix MAL) and one variable.
struct SmallRecord {
    FixedText<10> Naziv;
    std::uint16_t Stevilka;
};
SmallRecord smallBuffer;
std::uint16_t smallCounter = 0;

constexpr std::array kSmallFields = layout::layOut(std::array{
    layout::memberField("Naziv", layout::textShape(FieldType::String, 10), 1,
                        offsetof(SmallRecord, Naziv)),
    layout::memberField("Stevilka", layout::integerShape(FieldType::UShort, 2), 1,
                        offsetof(SmallRecord, Stevilka)),
});
constexpr TableFile kSmallFiles[] = {{"MALA", "Glo:MALA", "MALA.TPS", 1}};

const Catalogue& smallCatalogue() {
    static const TableDef table{"MALA", "MAL", &kSmallFiles[0], layout::imageSize(kSmallFields),
                                sizeof(SmallRecord), kSmallFields, {}, {}, {}, &smallBuffer};
    static GlobalVariables globals;
    static const bool added = (globals.add("GLO:Stevec", smallCounter), true);
    static_cast<void>(added);
    static const Catalogue catalogue{std::span(&table, 1), {}, kSmallFiles, &globals};
    return catalogue;
}

TEST(Catalogue, WithoutOneEveryReaderOfTheProgramSaysSo) {
    CatalogueInstalled none(nullptr);
    EXPECT_EQ(installedCatalogue(), nullptr);
    expectNoCatalogue("dictionary", [] { (void)dictionary(); });
    expectNoCatalogue("findTable", [] { (void)findTable("SFENOTE"); });
    expectNoCatalogue("relations", [] { (void)relations(); });
    expectNoCatalogue("tableFiles", [] { (void)tableFiles(); });
    expectNoCatalogue("findTableFile", [] { (void)findTableFile("SFENOTE"); });
    expectNoCatalogue("tableFileName", [] { (void)tableFileName("SFENOTE"); });
    expectNoCatalogue("findGlobalVariable", [] { (void)findGlobalVariable("GLO:OdSkupine"); });
    expectNoCatalogue("clearAllRecordBuffers", [] { clearAllRecordBuffers(); });
    expectNoCatalogue("expression names", [] {
        const ProgramNames names{RecordFieldResolver(std::vector<const TableDef*>{})};
        (void)names.resolve("GLO:OdSkupine");
    });
}

// The dictionary, the file names, the variables and the expressions serve the catalogue that is
// installed, whichever it is; the program's comes back with its own file names.
TEST(Catalogue, TheDataLayerServesTheInstalledOne) {
    ASSERT_EQ(installedCatalogue(), &programCatalogue());
    setTableFileName("SFENOTE", "drugje/SFENOTE.TPS");
    {
        CatalogueInstalled small(&smallCatalogue());
        ASSERT_EQ(dictionary().size(), 1u);
        EXPECT_EQ(findTable("mal"), &dictionary()[0]);
        EXPECT_EQ(findTable("SFENOTE"), nullptr);
        EXPECT_TRUE(relations().empty());
        ASSERT_NE(findTableFile("mala"), nullptr);
        EXPECT_EQ(tableFileName("MALA"), "MALA.TPS");
        setTableFileName("MALA", "drugje/MALA.TPS");
        EXPECT_EQ(tableFileName("mala"), "drugje/MALA.TPS");
        EXPECT_THROW((void)tableFileName("SFENOTE"), std::invalid_argument);
        EXPECT_NE(findGlobalVariable("glo:stevec"), nullptr);
        EXPECT_EQ(findGlobalVariable("GLO:OdSkupine"), nullptr);

        smallBuffer.Naziv = "Prva";
        smallBuffer.Stevilka = 7;
        smallCounter = 3;
        const ProgramNames names;
        EXPECT_TRUE(
            Expression::compile("MAL:Stevilka = 7 AND MALA:Naziv = 'Prva' AND GLO:Stevec = 3", names)
                .isTrue());
        clearAllRecordBuffers();
        EXPECT_EQ(smallBuffer.Stevilka, 0);
        EXPECT_EQ(smallBuffer.Naziv.str(), "");
    }
    EXPECT_EQ(installedCatalogue(), &programCatalogue());
    EXPECT_NE(findTable("SFENOTE"), nullptr);
    EXPECT_EQ(tableFileName("SFENOTE"), "SFENOTE.TPS");
    EXPECT_NE(findGlobalVariable("GLO:OdSkupine"), nullptr);
}

}  // namespace
}  // namespace dv
