#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QWindow>
#include <bit>

#include "QtDialogsTestSupport.h"
#include "frontend/qt/SlovenianButtonTexts.h"

namespace dv {
namespace {

using test::QtDialogsTest;
using test::whenShown;

MessageBoxRequest box(MessageButtons buttons, MessageButtons defaultButton) {
    return {" OPOZORILO", "Prva|Druga", MessageIcon::Question, buttons, defaultButton};
}

// The standard button that stands for a single button bit (bit n is the n-th of these).
QMessageBox::StandardButton qtButton(MessageButtons bit) {
    const QMessageBox::StandardButton inOrder[] = {
        QMessageBox::Ok,    QMessageBox::Yes,    QMessageBox::No,     QMessageBox::Abort,
        QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::Cancel, QMessageBox::Help};
    for (int i = 0; i < 8; ++i)
        if (bit == (1u << i)) return inOrder[i];
    return QMessageBox::NoButton;
}

TEST_F(QtDialogsTest, MessageBoxKeepsCaptionBreaksLinesAndNeverReadsMarkup) {
    MessageBoxRequest request = box(kButtonOk, kButtonOk);
    request.text = "<b>Šifra</b> & ime|<i>Žiri</i>||konec";
    request.icon = MessageIcon::Exclamation;
    const auto built = buildMessageBox(request, nullptr);
    EXPECT_EQ(built->windowTitle(), QStringLiteral(" OPOZORILO"));
    EXPECT_EQ(built->text(), QString::fromUtf8("<b>Šifra</b> & ime\n<i>Žiri</i>\n\nkonec"));
    EXPECT_EQ(built->icon(), QMessageBox::Warning);
    auto* label = built->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);

    request.icon = MessageIcon::Error;
    EXPECT_EQ(buildMessageBox(request, nullptr)->icon(), QMessageBox::Critical);
    // Qt's "modified" mark in a caption is shown as written, not swallowed.
    request.caption = " Zaloga [*] 5";
    const auto marked = buildMessageBox(request, nullptr);
    marked->winId();
    ASSERT_NE(marked->windowHandle(), nullptr);
    EXPECT_EQ(marked->windowHandle()->title(), QStringLiteral(" Zaloga [*] 5"));
}

TEST_F(QtDialogsTest, MessageBoxButtonsDefaultAndEscapeFollowTheBits) {
    struct Case {
        MessageButtons buttons, defaultButton, expectedDefault, expectedEscape;
    };
    const Case cases[] = {
        {kButtonYes | kButtonNo, kButtonYes, kButtonYes, kButtonNo},
        {kButtonYes | kButtonNo | kButtonCancel, kButtonNo, kButtonNo, kButtonCancel},
        {kButtonAbort | kButtonRetry | kButtonIgnore, kButtonRetry, kButtonRetry, kButtonRetry},
        // A default the box does not show, or two bits, give way to the first button.
        {kButtonOk | kButtonHelp, kButtonCancel, kButtonOk, kButtonOk},
        {kButtonRetry | kButtonCancel, kButtonRetry | kButtonCancel, kButtonRetry, kButtonCancel},
        // No known button at all: OK alone.
        {0x100, 0, kButtonOk, kButtonOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons);
        const MessageBoxRequest request = box(c.buttons, c.defaultButton);
        const auto built = buildMessageBox(request, nullptr);
        const MessageButtons shown = (c.buttons & 0xFF) != 0 ? c.buttons & 0xFF : kButtonOk;
        EXPECT_EQ(built->buttons().size(), std::popcount(shown));
        for (MessageButtons bit = 1; bit <= kButtonHelp; bit <<= 1)
            EXPECT_EQ(built->button(qtButton(bit)) != nullptr, (shown & bit) != 0) << bit;
        EXPECT_EQ(built->standardButton(built->defaultButton()), qtButton(c.expectedDefault));
        EXPECT_EQ(built->standardButton(built->escapeButton()), qtButton(c.expectedEscape));
        EXPECT_EQ(messageBoxAnswer(*built, request), c.expectedEscape) << "closed unclicked";
    }
}

TEST_F(QtDialogsTest, MessageBoxAnswersTheButtonClickedEscapeOrTheHook) {
    const MessageBoxRequest question = box(kButtonYes | kButtonNo, kButtonYes);
    whenShown<QMessageBox>([](QMessageBox& shown) { shown.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(showMessageBox(question, nullptr), kButtonYes);
    whenShown<QMessageBox>([](QMessageBox& shown) { test::pressKey(shown, Qt::Key_Escape); });
    EXPECT_EQ(showMessageBox(question, nullptr), kButtonNo);

    // A hook's answer that is no single button of the box is taken as Escape.
    useAnswers({kButtonYes, kButtonCancel, kButtonYes | kButtonNo});
    EXPECT_EQ(showMessageBox(question, nullptr), kButtonYes);
    EXPECT_EQ(showMessageBox(question, nullptr), kButtonNo);
    EXPECT_EQ(showMessageBox(question, nullptr), kButtonNo);
    EXPECT_EQ(asked(), std::vector<std::string>(3, kDialogMessageBox));
}

MessageListRequest history(MessageButtons buttons) {
    return {
        "Errors History", "Message",
        "Category",       {{"Prvo sporočilo", "QLX"}, {"<b>Drugo</b>|v dveh vrsticah", "Zaloga"}},
        buttons,          kButtonOk};
}

TEST_F(QtDialogsTest, MessageListShowsRowsAsPlainTextAndAnswersTheButton) {
    MessageButtons answer = 0;
    const auto dialog = buildMessageList(history(kButtonOk | kButtonHelp), answer, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Errors History"));
    auto* rows = dialog->findChild<QTreeWidget*>(QStringLiteral("rows"));
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->headerItem()->text(1), QStringLiteral("Category"));
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(1)->text(0), QStringLiteral("<b>Drugo</b>\nv dveh vrsticah"));
    EXPECT_EQ(rows->currentItem(), rows->topLevelItem(1)) << "the newest message";
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Help);
    EXPECT_TRUE(buttons->button(QDialogButtonBox::Ok)->isDefault());
    EXPECT_EQ(answer, kButtonOk) << "closing the window answers as Escape";

    whenShown<QDialog>([](QDialog& shown) {
        shown.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    });
    EXPECT_EQ(showMessageList(history(kButtonOk | kButtonHelp), nullptr), kButtonHelp);
    whenShown<QDialog>([](QDialog& shown) { test::pressKey(shown, Qt::Key_Escape); });
    EXPECT_EQ(showMessageList(history(kButtonYes | kButtonNo), nullptr), kButtonNo);
    useAnswers({kButtonHelp});
    EXPECT_EQ(showMessageList(history(kButtonOk | kButtonHelp), nullptr), kButtonHelp);
}

}  // namespace
}  // namespace dv

namespace dv {
namespace {

using test::QtDialogsTest;

// The desktop shows Qt's standard buttons with Slovenian texts; other texts stay Qt's own.
TEST_F(QtDialogsTest, StandardButtonsReadSlovenianOnceTheTextsAreInstalled) {
    installSlovenianButtonTexts();
    const auto built = buildMessageBox(
        {" VPRAŠANJE", "Brišem?", MessageIcon::Question, kButtonYes | kButtonNo | kButtonCancel,
         kButtonNo},
        nullptr);
    QStringList texts;
    for (QAbstractButton* button : built->buttons()) texts << button->text().remove('&');
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Da", "Ne", QString::fromUtf8("Prekliči")}));
    const SlovenianButtonTexts translator;
    EXPECT_TRUE(translator.translate("QMessageBox", "OK", nullptr, -1).isEmpty());
    EXPECT_TRUE(translator.translate("QPlatformTheme", "Unknown", nullptr, -1).isEmpty());
}

}  // namespace
}  // namespace dv
