#include <gtest/gtest.h>

#include "frontend/headless/HeadlessFrontEnd.h"

namespace dv {
namespace {

TEST(HeadlessFrontEnd, ABoxWaitsOnItsProcedureThreadUntilTheDriverAnswers) {
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    EXPECT_EQ(&currentFrontEnd(), &frontEnd);
    EXPECT_TRUE(scheduler.desktop().immediateTimers());
    MessageButtons pressed = 0;
    scheduler.start("Vprasa", [&] {
        pressed = currentFrontEnd().messageBox({" OPOZORILO", "Nadaljujem?", MessageIcon::Question,
                                                kButtonYes | kButtonNo, kButtonNo});
        return Response::None;
    });
    scheduler.runUntilIdle();
    ASSERT_NE(frontEnd.openMessageBox(), nullptr);
    EXPECT_EQ(frontEnd.openMessageBox()->text, "Nadaljujem?");
    std::string refusal;
    EXPECT_FALSE(frontEnd.answer(kButtonOk, refusal));
    EXPECT_EQ(refusal, "the message box has no button OK");
    EXPECT_FALSE(frontEnd.answer(kButtonYes | kButtonNo, refusal));
    EXPECT_EQ(scheduler.liveCount(), 1u);

    ASSERT_TRUE(frontEnd.answer(kButtonYes, refusal));
    scheduler.runUntilIdle();
    EXPECT_EQ(pressed, kButtonYes);
    EXPECT_EQ(frontEnd.openMessageBox(), nullptr);
    EXPECT_FALSE(frontEnd.answer(kButtonYes, refusal));
    EXPECT_EQ(refusal, "no message box is open");
    EXPECT_TRUE(frontEnd.takeProblems().empty());
}

TEST(HeadlessFrontEnd, TheNewestOfSeveralWaitingBoxesIsAnsweredFirst) {
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    std::vector<std::string> answered;
    for (std::string name : {"Prvi", "Drugi"})
        scheduler.start(name, [&, name] {
            currentFrontEnd().messageBox({name, name, MessageIcon::None, kButtonOk, kButtonOk});
            answered.push_back(name);
            return Response::None;
        });
    scheduler.runUntilIdle();
    ASSERT_EQ(frontEnd.openMessageBox()->caption, "Drugi");
    std::string refusal;
    frontEnd.answer(kButtonOk, refusal);
    EXPECT_EQ(frontEnd.openMessageBox()->caption, "Prvi");
    scheduler.runUntilIdle();
    EXPECT_EQ(answered, std::vector<std::string>{"Drugi"});
    frontEnd.answer(kButtonOk, refusal);
    scheduler.runUntilIdle();
    EXPECT_EQ(answered, (std::vector<std::string>{"Drugi", "Prvi"}));
}

TEST(HeadlessFrontEnd, WhatNobodyCanAnswerIsAnsweredUnattendedAndNoted) {
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    // A box on the driver's own thread cannot wait for the driver.
    EXPECT_EQ(frontEnd.messageBox({"Napaka", "Ni datoteke.", MessageIcon::Error,
                                   kButtonRetry | kButtonCancel, kButtonCancel}),
              kButtonCancel);
    FileDialogRequest dialog;
    dialog.caption = "Izberi";
    EXPECT_FALSE(frontEnd.chooseFile(dialog).has_value());
    EXPECT_FALSE(frontEnd.pickDate({}).has_value());
    EXPECT_EQ(frontEnd.takeProblems(),
              (std::vector<std::string>{
                  "a message box appeared where no one can answer it: \"Napaka\" \"Ni datoteke.\"",
                  "a file dialog \"Izberi\" opened with no answer given for it",
                  "a date picker \"Koledar\" opened with no answer given for it"}));
    EXPECT_TRUE(frontEnd.takeProblems().empty());
    EXPECT_EQ(frontEnd.shownBoxes().size(), 1u);
}

TEST(HeadlessFrontEnd, QueuedAnswersAreUsedInOrder) {
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    frontEnd.queueFileAnswer("a.txt");
    frontEnd.queueFileAnswer(std::nullopt);
    frontEnd.queueDateAnswer(dayNumber(2024, 12, 31));
    EXPECT_EQ(frontEnd.unusedFileAnswers(), 2u);
    EXPECT_EQ(frontEnd.chooseFile({}), std::optional<std::string>("a.txt"));
    EXPECT_EQ(frontEnd.chooseFile({}), std::nullopt);
    EXPECT_EQ(frontEnd.pickDate({}), std::optional<DayNumber>(dayNumber(2024, 12, 31)));
    EXPECT_EQ(frontEnd.unusedFileAnswers(), 0u);
    EXPECT_EQ(frontEnd.unusedDateAnswers(), 0u);
    EXPECT_TRUE(frontEnd.takeProblems().empty());
    EXPECT_EQ(buttonFromName("cancel"), kButtonCancel);
    EXPECT_EQ(buttonFromName("Maybe"), 0u);
}

}  // namespace
}  // namespace dv
