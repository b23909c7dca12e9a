#include "SettingsTestSupport.h"

namespace dv {
namespace {

// Per sale kind a shortage (mark I) and a surplus (mark N) type, and retail shortage types whose
// descriptions share their beginnings; one partner.
class ParametriInventureTest : public test::SettingsWindowTest {
  protected:
    ParametriInventureTest() {
        test::addType(*tables, "V", "I", 11, "Inventurni manjko VP");
        test::addType(*tables, "V", "N", 12, "Inventurni višek VP");
        test::addType(*tables, "M", "I", 21, "Inventurni manjko MP");
        test::addType(*tables, "M", "N", 22, "Inventurni višek MP");
        test::addType(*tables, "M", "I", 23, "Izdaja blaga");
        test::addType(*tables, "M", "I", 24, "Interna izdaja");
        addPartner(7, "Trgovina Novak");
    }

    void addPartner(std::uint32_t code, const char* name) {
        FileManager& partners = tables->file("SFPARTN");
        partners.Open();
        partners.UseFile();
        prepareNewRecord(partners.table(), partners.buffer());
        SFPARTN.Sifra = code;
        SFPARTN.Naziv = name;
        EXPECT_EQ(partners.driver()->add(), DriverCode::Ok);  // with its own code
        partners.Close();
        clearAllRecordBuffers();
    }

    // A partner list that chooses partner 7 while `choose` is set, else is cancelled; it records
    // the requests it was called with.
    void addPartnerList() {
        programProcedures().add("BrowseSFPARTN", [this]() -> Response {
            requests.push_back(CallerRequest);
            CallerRequest = Request::None;
            if (!choose) return RespCancelled;
            SFPARTN.Sifra = 7;
            SFPARTN.Naziv = "Trgovina Novak";
            return RespCompleted;
        });
    }

    bool choose = true;
    std::vector<Request> requests;
};

constexpr const char* kOpen =
    "start ParametriInventure\nwindow \" PARAMETRI ZA IZVAJANJE INVENTURE\"\n";

TEST_F(ParametriInventureTest, FirstRunShowsBlankValuesAndCancelWritesNothing) {
    EXPECT_EQ(run(std::string(kOpen) + R"(expect ?Naslov text " VSI PODATKI SO OBVEZNI !"
expect ?GLO:SIFRALASTNIKAPROGRAMA focused
expect ?GLO:SIFRALASTNIKAPROGRAMA text ""
expect ?SFPARTN:Naziv text ""
expect ?LOC:VPMANJKOVP text ""
expect ?LOC:VPVISEKVP text ""
expect ?LOC:VPMANJKOMP text ""
expect ?LOC:VPVISEKMP text ""
type ?GLO:VRSTAPROMETAINVMANJKOVP "11"
expect ?LOC:VPMANJKOVP text "Inventurni manjko VP"
press ?Preklici
idle
)"),
              "");
    EXPECT_EQ(lastResponse(), RespCancelled);
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvManjkoVP"), std::nullopt);
    EXPECT_EQ(fileEntry("SPLOŠNO", "SifraLastnikaPrograma"), std::nullopt);
    // The cancelled type is not in force either.
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOVP, 0);
}

TEST_F(ParametriInventureTest, ShowsTheSavedTypesAndKeepsOneThatNoLongerExists) {
    GLO.SIFRALASTNIKAPROGRAMA = 7;
    GLO.VRSTAPROMETAINVMANJKOVP = 11;
    GLO.VRSTAPROMETAINVVISEKVP = 12;
    GLO.VRSTAPROMETAINVMANJKOMP = 29;  // deleted from the code list since
    GLO.VRSTAPROMETAINVVISEKMP = 21;   // a shortage type where a surplus type belongs
    EXPECT_EQ(run(std::string(kOpen) + R"(expect ?SFPARTN:Naziv text "Trgovina Novak"
expect ?LOC:VPMANJKOVP text "Inventurni manjko VP"
expect ?LOC:VPVISEKVP text "Inventurni višek VP"
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "29"
expect ?LOC:VPMANJKOMP text ""
expect ?LOC:VPVISEKMP text ""
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(lastResponse(), RespCompleted);
    EXPECT_EQ(fileSections()["[SPLOŠNO]"],
              (std::vector<std::string>{"SifraLastnikaPrograma=7", "VrstaPrometaInvManjkoVP=11",
                                        "VrstaPrometaInvVisekVP=12", "VrstaPrometaInvManjkoMP=29",
                                        "VrstaPrometaInvVisekMP=21"}));
    // The window's record buffers are as they were before it opened.
    EXPECT_EQ(SFPARTN.Sifra, 0u);
    EXPECT_EQ(SFVRPROM.VrstaPrometa, 0);
}

TEST_F(ParametriInventureTest, TypedDescriptionsTakeTheFirstTypeOfTheKindAndMark) {
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?LOC:VPMANJKOMP "i"
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "24"
expect ?LOC:VPMANJKOMP text "Interna izdaja"
type ?LOC:VPMANJKOMP "inventurni"
expect ?LOC:VPMANJKOMP text "Inventurni manjko MP"
type ?LOC:VPVISEKMP "INVENTURNI V"
expect ?LOC:VPVISEKMP text "Inventurni višek MP"
type ?GLO:VRSTAPROMETAINVMANJKOVP "11"
type ?LOC:VPMANJKOVP ""
expect ?GLO:VRSTAPROMETAINVMANJKOVP text ""
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOMP, 21);
    EXPECT_EQ(GLO.VRSTAPROMETAINVVISEKMP, 22);
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvManjkoVP"), "0");
}

// Two windows of the parameters open at once, as the frame allows: the one opened first is
// cancelled after the other saved. The variables then hold what the settings file holds, not what
// they held when the cancelled window opened, so a posting started afterwards uses the type the
// file names.
TEST_F(ParametriInventureTest, CancellingOneOfTwoOpenWindowsKeepsWhatTheOtherSaved) {
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?GLO:VRSTAPROMETAINVMANJKOMP "24"
start ParametriInventure
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "24"
type ?GLO:VRSTAPROMETAINVMANJKOMP "21"
type ?GLO:VRSTAPROMETAINVVISEKMP "22"
press ?Potrdi
window " PARAMETRI ZA IZVAJANJE INVENTURE"
expect ?LOC:VPMANJKOMP text "Interna izdaja"
press ?Preklici
idle
)"),
              "");
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvManjkoMP"), "21");
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvVisekMP"), "22");
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOMP, 21);
    EXPECT_EQ(GLO.VRSTAPROMETAINVVISEKMP, 22);

    // The window opened last is cancelled: its edits and the first window's unsaved one leave
    // the variables; the first window then saves what it shows.
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?GLO:VRSTAPROMETAINVMANJKOVP "11"
start ParametriInventure
type ?GLO:VRSTAPROMETAINVVISEKVP "12"
type ?GLO:SIFRALASTNIKAPROGRAMA "7"
press ?Preklici
window " PARAMETRI ZA IZVAJANJE INVENTURE"
)"),
              "");
    // The variables hold the file's values while the first window still shows its own.
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOVP, 0);
    EXPECT_EQ(run(R"(press ?Potrdi
idle
start ParametriInventure
type ?GLO:VRSTAPROMETAINVMANJKOMP "23"
press ?Preklici
idle
)"),
              "");
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOVP, 11);
    EXPECT_EQ(GLO.VRSTAPROMETAINVVISEKVP, 0);
    EXPECT_EQ(GLO.SIFRALASTNIKAPROGRAMA, 0u);
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOMP, 21);
    EXPECT_EQ(fileSections()["[SPLOŠNO]"],
              (std::vector<std::string>{"SifraLastnikaPrograma=0", "VrstaPrometaInvManjkoVP=11",
                                        "VrstaPrometaInvVisekVP=0", "VrstaPrometaInvManjkoMP=21",
                                        "VrstaPrometaInvVisekMP=22"}));
}

// The list of transaction types: a type of the field's kind and mark is taken (and written only
// on confirmation), one of another mark is refused, and a description no type starts with opens
// the list, whose cancelling keeps the type.
TEST_F(ParametriInventureTest, TypesChosenFromTheList) {
    // The list shows M I 21, M I 23, M I 24, M N 22, V I 11, V N 12.
    EXPECT_EQ(run(std::string(kOpen) + R"(press ?IzberiManjkoMP
window "  VRSTE PROMETA"
row ?Seznam 2
press ?Izberi
window " PARAMETRI ZA IZVAJANJE INVENTURE"
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "23"
expect ?LOC:VPMANJKOMP text "Izdaja blaga"
press ?IzberiManjkoMP
row ?Seznam 4
press ?Izberi
message-contains "Tu je potrebna vrsta prometa prodaje na drobno (M) z oznako dokumenta I - izdaja."
answer OK
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "23"
type ?LOC:VPMANJKOMP "Inventurni v"
window "  VRSTE PROMETA"
press ?Zapri
expect ?LOC:VPMANJKOMP text "Izdaja blaga"
)"),
              "");
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvManjkoMP"), std::nullopt);
    EXPECT_EQ(run("press ?Potrdi\nidle\n"), "");
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvManjkoMP"), "23");
}

// While the program lacks a list, its lookups say so and change nothing; an owner code without a
// partner is then taken with a blank name.
TEST_F(ParametriInventureTest, LookupsOfMissingLists) {
    programProcedures().remove("BrowseSFVRPROM");
    GLO.VRSTAPROMETAINVVISEKVP = 12;
    EXPECT_EQ(run(std::string(kOpen) + R"(press ?IzberiVisekVP
message "Procedure not defined" "The Procedure BrowseSFVRPROM has not been defined."
answer OK
type ?LOC:VPVISEKVP "nič takega"
message "Procedure not defined" "The Procedure BrowseSFVRPROM has not been defined."
answer OK
expect ?LOC:VPVISEKVP text "Inventurni višek VP"
type ?GLO:SIFRALASTNIKAPROGRAMA "7"
expect ?SFPARTN:Naziv text "Trgovina Novak"
type ?GLO:SIFRALASTNIKAPROGRAMA "8"
expect ?SFPARTN:Naziv text ""
press ?IzberiPartnerja
message "Procedure not defined" "The Procedure BrowseSFPARTN has not been defined."
answer OK
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(fileEntry("SPLOŠNO", "SifraLastnikaPrograma"), "8");
    EXPECT_EQ(fileEntry("SPLOŠNO", "VrstaPrometaInvVisekVP"), "12");
}

TEST_F(ParametriInventureTest, AnOwnerCodeWithoutAPartnerOpensThePartnerList) {
    addPartnerList();
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?GLO:SIFRALASTNIKAPROGRAMA "9"
expect ?GLO:SIFRALASTNIKAPROGRAMA text "7"
expect ?SFPARTN:Naziv text "Trgovina Novak"
)"),
              "");
    choose = false;
    EXPECT_EQ(run(R"(type ?GLO:SIFRALASTNIKAPROGRAMA "9"
expect ?GLO:SIFRALASTNIKAPROGRAMA focused
expect ?SFPARTN:Naziv text ""
press ?IzberiPartnerja
expect ?GLO:SIFRALASTNIKAPROGRAMA text "9"
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(requests, (std::vector<Request>{ReqSelect, ReqSelect, ReqSelect}));
    EXPECT_EQ(fileEntry("SPLOŠNO", "SifraLastnikaPrograma"), "9");
}

// Only a code left blank skips the partner lookup: "0" typed asks for a partner, as any code
// without one does.
TEST_F(ParametriInventureTest, AZeroTypedAsTheOwnerCodeOpensThePartnerList) {
    addPartnerList();
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?GLO:SIFRALASTNIKAPROGRAMA "0"
expect ?GLO:SIFRALASTNIKAPROGRAMA text "7"
expect ?SFPARTN:Naziv text "Trgovina Novak"
type ?GLO:SIFRALASTNIKAPROGRAMA ""
expect ?SFPARTN:Naziv text ""
)"),
              "");
    EXPECT_EQ(requests.size(), 1u);
    choose = false;
    EXPECT_EQ(run(R"(type ?GLO:SIFRALASTNIKAPROGRAMA "0"
expect ?GLO:SIFRALASTNIKAPROGRAMA focused
expect ?GLO:SIFRALASTNIKAPROGRAMA text ""
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(fileEntry("SPLOŠNO", "SifraLastnikaPrograma"), "0");
}

// The owner is chosen in the program's own list of partners, opened to select: the list shows
// its Select button, the chosen partner's code and name come back, and "POTRDI" keeps the code.
TEST_F(ParametriInventureTest, TheOwnerIsChosenInThePartnerList) {
    registerProgramProcedures(programProcedures());  // the real list of partners
    addPartner(12, "Avto Kos");
    EXPECT_EQ(run(std::string(kOpen) + R"(press ?IzberiPartnerja
window "  PREGLED POSLOVNIH PARTNERJEV"
expect ?Izberi visible
expect ?Seznam rows 2
row ?Seznam 1
expect ?Seznam cell 1 1 "Avto Kos"
press ?Izberi
window " PARAMETRI ZA IZVAJANJE INVENTURE"
expect ?GLO:SIFRALASTNIKAPROGRAMA text "12"
expect ?SFPARTN:Naziv text "Avto Kos"
type ?GLO:SIFRALASTNIKAPROGRAMA "99"
window "  PREGLED POSLOVNIH PARTNERJEV"
row ?Seznam 2
key Enter
window " PARAMETRI ZA IZVAJANJE INVENTURE"
expect ?GLO:SIFRALASTNIKAPROGRAMA text "7"
expect ?SFPARTN:Naziv text "Trgovina Novak"
press ?Potrdi
idle
)"),
              "");
    EXPECT_EQ(fileEntry("SPLOŠNO", "SifraLastnikaPrograma"), "7");
}

}  // namespace
}  // namespace dv
