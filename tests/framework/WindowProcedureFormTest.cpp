#include "FormTestSupport.h"
#include "schema/Records.h"

namespace dv::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kSaveRecord = "Save Record: Do you want to save the changes to this record?";
constexpr const char* kNameRequired = " INFORMACIJA: \"Naziv\" podatek mora biti vnešen !";

class FormLifeCycle : public FormTest {};

TEST_F(FormLifeCycle, AnInsertFormOpensCaptionedForItsRequestAndSavesOnOk) {
    startForm(ReqInsert);
    EXPECT_EQ(window().caption(), "Dodajanje zapisa");
    EXPECT_EQ(CallerRequest, Request::None);
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
    // The list numbered the record before the call; the form shows it with the defaults.
    EXPECT_EQ(control("SFENOTE:Enota").value(), "1");
    EXPECT_EQ(control("SFENOTE:TIP").value(), "M");
    type("SFENOTE:Naziv", "Center");
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(units(), (Strings{"1 Center M"}));
    EXPECT_EQ(CallerResponse, RespCompleted);
    EXPECT_TRUE(frontEnd.boxes().empty());
}

TEST_F(FormLifeCycle, AnEmptyRequiredFieldKeepsTheFormOpenWithItFocused) {
    startForm(ReqInsert);
    frontEnd.answer(kButtonOk);
    press("OK");
    EXPECT_EQ(frontEnd.shown(), (Strings{kNameRequired}));
    EXPECT_EQ(frontEnd.boxes()[0].icon, MessageIcon::Information);
    EXPECT_EQ(frontEnd.boxes()[0].buttons, kButtonOk);
    EXPECT_EQ(focusName(), "SFENOTE:Naziv");
    EXPECT_TRUE(ended().empty());
    // Blanks are no name either.
    frontEnd.answer(kButtonOk);
    type("SFENOTE:Naziv", "   ");
    press("OK");
    EXPECT_EQ(frontEnd.boxes().size(), 2u);
    EXPECT_TRUE(ended().empty());
    type("SFENOTE:Naziv", "Center");
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
}

TEST_F(FormLifeCycle, OfTwoEmptyRequiredFieldsOnlyTheFirstIsReported) {
    addUnit(1, "Center");
    startForm(ReqChange);
    type("SFENOTE:Naziv", "");
    type("SFENOTE:Enota", "0");
    frontEnd.answer(kButtonOk);
    press("OK");
    EXPECT_EQ(frontEnd.shown(),
              (Strings{" INFORMACIJA: \"Skladišče\" podatek mora biti vnešen !"}));
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
    EXPECT_TRUE(ended().empty());
    frontEnd.answer(kButtonNo);
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(units(), (Strings{"1 Center M"}));
}

TEST_F(FormLifeCycle, TheCalendarFillsADateFieldAndCancellingItChangesNothing) {
    startForm(ReqInsert);
    ASSERT_TRUE(focusControl(window(), control("SFENOTE:PROMETZAKLJUCENDODATUMA")).ok());
    frontEnd.answerDate(std::nullopt);
    key(keys::F(6));
    ASSERT_EQ(frontEnd.pickers().size(), 1u);
    EXPECT_EQ(frontEnd.pickers()[0].caption, "Koledar");
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "");
    frontEnd.answerDate(dayNumber(2024, 3, 15));
    key(keys::F(6));
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "15.03.2024");
    key(keys::Enter);  // the next field, as Tab
    EXPECT_EQ(focusName(), "SFENOTE:DATUMDOVOLJENEMESOBDELAVE");
    EXPECT_EQ(SFENOTE.PROMETZAKLJUCENDODATUMA, dayNumber(2024, 3, 15));
    type("SFENOTE:Naziv", "Center");
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(SFENOTE.PROMETZAKLJUCENDODATUMA, dayNumber(2024, 3, 15));
}

TEST_F(FormLifeCycle, CancelOnAChangedRecordAsksToSaveAndCancelThereReturnsToTheFirstField) {
    addUnit(1, "Center");
    startForm(ReqChange);
    EXPECT_EQ(window().caption(), "Spreminjanje zapisa");
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Center");
    type("SFENOTE:Naziv", "Centrala");
    frontEnd.answer(kButtonCancel);
    press("Cancel");
    EXPECT_EQ(frontEnd.shown(), (Strings{kSaveRecord}));
    EXPECT_EQ(frontEnd.boxes()[0].buttons, kButtonYes | kButtonNo | kButtonCancel);
    EXPECT_EQ(frontEnd.boxes()[0].defaultButton, kButtonCancel);
    EXPECT_TRUE(ended().empty());
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Centrala");
    // No discards the change.
    frontEnd.answer(kButtonNo);
    closeBox();
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(units(), (Strings{"1 Center M"}));
}

// Yes saves as OK would; text typed but not yet accepted counts as a change.
TEST_F(FormLifeCycle, YesToSaveRecordSavesWhatWasTyped) {
    addUnit(1, "Center");
    startForm(ReqChange);
    ASSERT_TRUE(focusControl(window(), control("SFENOTE:Naziv")).ok());
    ASSERT_TRUE(typeInto(window(), control("SFENOTE:Naziv"), "Centrala").ok());
    frontEnd.answer(kButtonYes);
    closeBox();
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(units(), (Strings{"1 Centrala M"}));
}

TEST_F(FormLifeCycle, AnUnchangedChangeWritesNothingAndClosesCancelled) {
    // A kind no rule allows: writing the record would be refused with "Value Error".
    addUnit(1, "Center", "X");
    startForm(ReqChange);
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_TRUE(frontEnd.boxes().empty());
    EXPECT_EQ(units(), (Strings{"1 Center X"}));
}

TEST_F(FormLifeCycle, AFailedUpdateOffersToTryAgainAndCancelStaysOnTheForm) {
    addUnit(1, "Center", "X");
    startForm(ReqChange);
    type("SFENOTE:Naziv", "Centrala");
    frontEnd.answer(kButtonOk);      // Value Error
    frontEnd.answer(kButtonCancel);  // Record Update Error
    press("OK");
    ASSERT_EQ(frontEnd.boxes().size(), 2u);
    EXPECT_EQ(frontEnd.boxes()[0].caption, "Value Error");
    EXPECT_EQ(frontEnd.boxes()[1].caption, "Record Update Error");
    EXPECT_EQ(frontEnd.boxes()[1].defaultButton, kButtonCancel);
    EXPECT_TRUE(ended().empty());
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
    // No closes without asking again whether to save.
    frontEnd.answer(kButtonOk);
    frontEnd.answer(kButtonNo);
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(frontEnd.boxes().size(), 4u);
    EXPECT_EQ(units(), (Strings{"1 Center X"}));
}

TEST_F(FormLifeCycle, AViewFormHasNoWorkingOkAndClosesWithoutAsking) {
    addUnit(1, "Center");
    startForm(ReqView);
    EXPECT_EQ(window().caption(), "Vpogled podatkov");
    type("SFENOTE:Naziv", "Drugo");
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_TRUE(frontEnd.boxes().empty());
    EXPECT_EQ(units(), (Strings{"1 Center M"}));
}

TEST_F(FormLifeCycle, ADeleteRequestAsksConfirmDeleteAndNeverOpensTheWindow) {
    addUnit(1, "Center");
    addUnit(2, "Skladišče");
    frontEnd.answer(kButtonNo);
    startForm(ReqDelete);
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(scheduler.desktop().focused(), nullptr);
    EXPECT_EQ(units().size(), 2u);

    frontEnd.answer(kButtonYes);
    startForm(ReqDelete);
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(frontEnd.shown(),
              (Strings{"Confirm Delete: Are you sure you want to delete the highlighted record?",
                       "Confirm Delete: Are you sure you want to delete the highlighted record?"}));
    EXPECT_EQ(units(), (Strings{"2 Skladišče M"}));
}

TEST_F(FormLifeCycle, ADeleteOnTheFormDeletesOnOk) {
    addUnit(1, "Center");
    TestFormOptions options;
    options.deleteAction = kDeleteOnForm;
    startForm(ReqDelete, options);
    EXPECT_EQ(window().caption(), " AŽURIRANJE SKLADIŠČ / ENOT");
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_TRUE(units().empty());
    EXPECT_TRUE(frontEnd.boxes().empty());
}

TEST_F(FormLifeCycle, ACancelledInsertDeletesTheNumberedRecordAgain) {
    startForm(ReqInsert);
    EXPECT_EQ(units(), (Strings{"1  M"}));  // numbered and added by the list
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_TRUE(units().empty());
    EXPECT_TRUE(frontEnd.boxes().empty());
}

TEST_F(FormLifeCycle, AskingForTheNextRecordKeepsTheFormOpenWithANewRecord) {
    TestFormOptions options;
    options.insertAction = kInsertAskNext;
    startForm(ReqInsert, options);
    type("SFENOTE:Naziv", "Prvo");
    frontEnd.answer(kButtonYes);
    press("OK");
    EXPECT_EQ(frontEnd.shown(),
              (Strings{"Record Added: This record has been added to the file. Do you want to add "
                       "another record?"}));
    EXPECT_TRUE(ended().empty());
    EXPECT_EQ(control("SFENOTE:Enota").value(), "2");
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "");
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
    // Leaving the new record untouched asks nothing, drops its number and completes.
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(units(), (Strings{"1 Prvo M"}));
    EXPECT_EQ(SFENOTE.Naziv.str(), "Prvo");  // the last inserted record, for the list
    EXPECT_EQ(frontEnd.boxes().size(), 1u);

    // No to the question closes completed.
    startForm(ReqInsert, options);
    type("SFENOTE:Naziv", "Drugo");
    frontEnd.answer(kButtonNo);
    press("OK");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(units(), (Strings{"1 Prvo M", "2 Drugo M"}));
}

TEST_F(FormLifeCycle, TheHistoryKeyRestoresTheValueLastSavedInTheField) {
    TestFormOptions options;
    options.insertAction = kInsertNext;
    startForm(ReqInsert, options);
    type("SFENOTE:Naziv", "Prvo");
    press("OK");
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "");
    ASSERT_TRUE(focusControl(window(), control("SFENOTE:Naziv")).ok());
    key(keys::CtrlApostrophe);
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Prvo");
    EXPECT_EQ(SFENOTE.Naziv.str(), "Prvo");
    // The key recalls only history fields.
    ASSERT_TRUE(focusControl(window(), control("SFENOTE:PROMETZAKLJUCENDODATUMA")).ok());
    key(keys::CtrlApostrophe);
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "");
    // The recalled name is a change of the new record.
    frontEnd.answer(kButtonNo);
    press("Cancel");
    EXPECT_EQ(frontEnd.shown(), (Strings{kSaveRecord}));
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(units(), (Strings{"1 Prvo M"}));
}

}  // namespace
}  // namespace dv::test
