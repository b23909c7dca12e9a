#include <gtest/gtest.h>

#include "framework/ReportEngine.h"
#include "runtime/Date.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"

namespace dv {
namespace {

// A 100 x 100 mm sheet with 10 mm margins: a 10 mm header and footer leave 60 mm, six 10 mm
// detail lines a page.
constexpr std::string_view kLayout = R"(report Test "Preizkus" paper=100x100 margins=10,10,10,10
  font normal "DejaVu Sans" size=9
  font bold "DejaVu Sans" size=9 bold
  header height=10
    text "Glava" at=0,0 width=40
    text "Stran:" at=50,0 width=15
    field StevilkaStrani at=65,0 width=15 align=right
  footer height=10
    line from=0,1 to=80,1
    text "Noga" at=0,3 font=bold
  detail Vrstica height=10
    field LOC:Naziv at=0,0 width=30
    field LOC:Znesek at=30,0 width=25 picture=@N12`2
    field LOC:Datum at=55,0 width=25 picture=@D17
    box at=0,0 size=80,9
  band Konec height=15
    text "Konec izpisa" at=0,0
)";

class ReportEngineTest : public ::testing::Test {
  protected:
    ReportEngineTest() : layout(parseReportLayout(kLayout, "Test.report")) {
        names.add("LOC:Naziv", name);
        names.add("LOC:Znesek", amount);
        names.add("LOC:Datum", day);
    }

    // The texts of a page that the band `of` printed (by their first text).
    static std::vector<std::string> texts(const Page& page) {
        std::vector<std::string> all;
        for (const PageText& text : page.texts) all.push_back(text.text);
        return all;
    }
    static int count(const Page& page, std::string_view text) {
        int n = 0;
        for (const PageText& t : page.texts) n += t.text == text;
        return n;
    }
    void printDetails(ReportEngine& engine, int n) {
        for (int i = 1; i <= n; ++i) {
            name.assign("Vrstica " + std::to_string(i));
            engine.Print("Vrstica");
        }
    }

    ReportLayout layout;
    NamedVariables names;
    FixedText<20> name;
    FixedDecimal<9, 2> amount;
    DayNumber day = 0;
    PageQueue pages;
};

TEST_F(ReportEngineTest, BandsThatDoNotFitStartANewPageWithHeaderAndFooter) {
    ReportEngine engine(layout, names);
    engine.Open(pages);
    printDetails(engine, 20);
    engine.Close();
    ASSERT_EQ(pages.pageCount(), 4);
    const int perPage[] = {6, 6, 6, 2};
    for (int p = 0; p < 4; ++p) {
        const Page& page = pages.pages[static_cast<std::size_t>(p)];
        EXPECT_EQ(count(page, "Glava"), 1) << p;
        EXPECT_EQ(count(page, "Noga"), 1) << p;
        EXPECT_EQ(static_cast<int>(page.boxes.size()), perPage[p]) << p;
        EXPECT_EQ(page.lines.size(), 1u);
    }
    // Details follow each other below the header; the footer stands at the bottom margin.
    const Page& first = pages.pages[0];
    EXPECT_EQ(first.boxes[0].y, 2000);
    EXPECT_EQ(first.boxes[0].x, 1000);
    EXPECT_EQ(first.boxes[5].y, 7000);
    EXPECT_EQ(first.lines[0].y1, 8100);
    EXPECT_EQ(first.texts.back().text, "Noga");
    EXPECT_EQ(first.texts.back().y, 8300);
    EXPECT_EQ(pages.pages[1].boxes[0].y, 2000);
    EXPECT_EQ(count(pages.pages[3], "Vrstica 20"), 1);
    EXPECT_EQ(count(pages.pages[1], "Vrstica 7"), 1);
}

TEST_F(ReportEngineTest, PagesAreNumberedAsPrintedAndRenumberedWithTheCount) {
    ReportEngine engine(layout, names);
    engine.Open(pages);
    printDetails(engine, 13);
    engine.Close();
    ASSERT_EQ(pages.pageCount(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(count(pages.pages[static_cast<std::size_t>(p)], std::to_string(p + 1)), 1);
    pages.renumber(kPageNumberControl, kPageCountConnector);
    for (int p = 0; p < 3; ++p) {
        const std::string expected = std::to_string(p + 1) + " od 3";
        EXPECT_EQ(count(pages.pages[static_cast<std::size_t>(p)], expected), 1) << p;
        EXPECT_NE(pages.pageText(p).find("Stran:\n" + expected), std::string::npos);
    }
    EXPECT_TRUE(pages.contains("Vrstica 13"));
    EXPECT_FALSE(pages.contains("Vrstica 14"));
}

TEST_F(ReportEngineTest, AClosingBandGoesBelowTheLastDetailOrOnANewPage) {
    {
        ReportEngine engine(layout, names);
        engine.Open(pages);
        printDetails(engine, 8);  // page 2 holds two details: 40 mm left
        EXPECT_EQ(engine.roomLeft(), 4000);
        engine.Print("konec");
        engine.Close();
        ASSERT_EQ(pages.pageCount(), 2);
        const std::vector<std::string> last = texts(pages.pages[1]);
        const auto closing = std::find(last.begin(), last.end(), "Konec izpisa");
        const auto detail = std::find(last.begin(), last.end(), "Vrstica 8");
        ASSERT_NE(closing, last.end());
        EXPECT_LT(detail, closing);
        EXPECT_EQ(pages.pages[1].texts[static_cast<std::size_t>(closing - last.begin())].y, 4000);
    }
    {
        ReportEngine engine(layout, names);
        engine.Open(pages);
        printDetails(engine, 6);  // page 1 is full
        engine.Print("Konec");
        engine.Close();
        ASSERT_EQ(pages.pageCount(), 2);
        EXPECT_EQ(texts(pages.pages[1]),
                  (std::vector<std::string>{"Glava", "Stran:", "2", "Konec izpisa", "Noga"}));
    }
}

TEST_F(ReportEngineTest, FieldsShowTheirValuesWhenTheBandIsPrintedInTheirPictures) {
    ReportEngine engine(layout, names);
    engine.Open(pages);
    name.assign("Čaša šilca žganja");
    amount.assign(*Decimal::parse("1234.5"));
    day = dayNumber(2024, 3, 5);
    engine.Print("Vrstica");
    amount.assign(Decimal(0));
    day = 0;
    name.assign("Druga");
    engine.Print("Vrstica");
    engine.Close();
    const Page& page = pages.pages[0];
    const std::vector<std::string> all = texts(page);
    EXPECT_EQ(std::vector<std::string>(all.begin() + 3, all.begin() + 9),
              (std::vector<std::string>{"Čaša šilca žganja", "1.234,50", "05.03.2024", "Druga",
                                        "0,00", ""}));
    const PageText& number = page.texts[4];
    EXPECT_EQ(number.align, TextAlign::Right);  // numbers align right by their picture
    EXPECT_EQ(number.name, "LOC:Znesek");
    EXPECT_EQ(number.x, 1000 + 3000);
    EXPECT_EQ(page.texts[3].align, TextAlign::Left);
    EXPECT_EQ(page.texts[0].font, 0);
    EXPECT_EQ(page.texts.back().font, 1);
    EXPECT_EQ(pages.fonts.size(), 2u);
    EXPECT_EQ(pages.title, "Preizkus");
    EXPECT_EQ(pages.width, 10000);
}

TEST_F(ReportEngineTest, OpeningAgainStartsAFreshQueueAndPrintingAfterCloseStartsAPage) {
    ReportEngine engine(layout, names);
    engine.Open(pages);
    printDetails(engine, 2);
    engine.Close();
    printDetails(engine, 1);
    engine.Close();
    EXPECT_EQ(pages.pageCount(), 2);
    engine.Open(pages);
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(engine.roomLeft(), 0);
    engine.Close();  // nothing printed: no page
    EXPECT_TRUE(pages.empty());
}

TEST_F(ReportEngineTest, UnknownNamesAndBandsAreRefused) {
    NamedVariables few;
    few.add("LOC:Naziv", name);
    try {
        ReportEngine engine(layout, few);
        ADD_FAILURE() << "an unbound field was accepted";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "Test.report:13: the field LOC:Znesek is not known");
    }
    ReportEngine engine(layout, names);
    EXPECT_THROW(engine.Print("Vrstica"), ReportError);  // not open
    engine.Open(pages);
    EXPECT_THROW(engine.Print("Glava"), ReportError);
    EXPECT_THROW(engine.Print(""), ReportError);
    engine.Detach();
    EXPECT_FALSE(engine.isOpen());
}

}  // namespace
}  // namespace dv
