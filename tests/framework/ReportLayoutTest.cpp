#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "framework/ReportLayout.h"

namespace dv {
namespace {

TEST(ReportLayout, ReadsTheSheetFontsBandsAndElements) {
    const ReportLayout layout = parseReportLayout(R"(# a comment
report Seznam "Seznam enot" paper=A5 landscape margins=12.5,10,8,6.25 options=101
  font normal "DejaVu Sans" size=8.5
  font title "DejaVu Serif" size=14 bold italic underline
  header height=20
    text "Šifrant" at=0,0 width=100 align=center font=title
    field StevilkaStrani at=100,0 width=30 align=right
    line from=0,18 to=130,18 thickness=0.3
  footer
    box at=0,1 size=130,6
  detail Vrstica
    field SFENOTE:Naziv at=20,0 width=60 picture=@S60
    field SFENOTE:Enota at=0,0 width=12 picture=@N3
  band Konec height=30
    text "Konec" at=0,2
)",
                                                  "Seznam.report");
    EXPECT_EQ(layout.name, "Seznam");
    EXPECT_EQ(layout.title, "Seznam enot");
    EXPECT_EQ(layout.paperWidth, 14800);
    EXPECT_EQ(layout.paperHeight, 21000);
    EXPECT_TRUE(layout.landscape);
    EXPECT_EQ(layout.pageWidth(), 21000);
    EXPECT_EQ(layout.pageHeight(), 14800);
    EXPECT_EQ(layout.marginLeft, 1250);
    EXPECT_EQ(layout.marginTop, 1000);
    EXPECT_EQ(layout.marginRight, 800);
    EXPECT_EQ(layout.marginBottom, 625);
    EXPECT_EQ(layout.options, (std::array<bool, 3>{true, false, true}));

    ASSERT_EQ(layout.fonts.size(), 2u);
    EXPECT_EQ(layout.fonts[0].family, "DejaVu Sans");
    EXPECT_DOUBLE_EQ(layout.fonts[0].points, 8.5);
    EXPECT_EQ(layout.fonts[1], (PageFont{"DejaVu Serif", 14, true, true, true}));

    ASSERT_EQ(layout.bands.size(), 4u);
    const ReportBand* header = layout.header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->height, 2000);
    ASSERT_EQ(header->elements.size(), 3u);
    const ReportElement& title = header->elements[0];
    EXPECT_EQ(title.kind, ReportElementKind::Text);
    EXPECT_EQ(title.text, "Šifrant");
    EXPECT_EQ(title.width, 10000);
    EXPECT_EQ(title.align, TextAlign::Center);
    EXPECT_EQ(title.font, 1);
    EXPECT_EQ(title.line, 6);
    const ReportElement& rule = header->elements[2];
    EXPECT_EQ(rule.kind, ReportElementKind::Line);
    EXPECT_EQ(rule.y, 1800);
    EXPECT_EQ(rule.width, 13000);
    EXPECT_EQ(rule.height, 0);
    EXPECT_EQ(rule.thickness, 30);

    // Without a height a band reaches its lowest element; a text is one line of its font high.
    const ReportBand* footer = layout.footer();
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->height, 700);
    const ReportBand* detail = layout.find("VRSTICA");
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->kind, ReportBandKind::Detail);
    const int lineHeight = static_cast<int>(std::lround(8.5 * 1.25 * 2540 / 72));
    EXPECT_EQ(detail->elements[0].height, lineHeight);
    EXPECT_EQ(detail->height, lineHeight);
    EXPECT_EQ(detail->elements[0].picture, "@S60");
    EXPECT_FALSE(detail->elements[0].alignGiven);
    EXPECT_EQ(detail->elements[1].text, "SFENOTE:Enota");
    EXPECT_EQ(layout.find("Konec")->kind, ReportBandKind::Band);
    EXPECT_EQ(layout.find("Konec")->height, 3000);
    EXPECT_EQ(layout.find("Glava"), nullptr);
}

TEST(ReportLayout, ABareLayoutGetsTheDefaults) {
    const ReportLayout layout =
        parseReportLayout("report R \"R\"\n  detail D\n    text \"x\" at=0,0\n", "R");
    EXPECT_EQ(layout.pageWidth(), 21000);
    EXPECT_EQ(layout.pageHeight(), 29700);
    ASSERT_EQ(layout.fonts.size(), 1u);
    EXPECT_EQ(layout.fonts[0], PageFont{});
    EXPECT_EQ(layout.header(), nullptr);
    EXPECT_EQ(layout.options, (std::array<bool, 3>{}));
    const ReportLayout custom = parseReportLayout("report R \"R\" paper=100x80.5\n", "R");
    EXPECT_EQ(custom.paperWidth, 10000);
    EXPECT_EQ(custom.paperHeight, 8050);
}

TEST(ReportLayout, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"window W \"W\"\n", "R:1: the file must begin with 'report'"},
        {"", "the file has no report line"},
        {"report R\n", "R:1: expected: report NAME \"TITLE\""},
        {"report R \"R\" paper=B7\n", "R:1: paper is A4"},
        {"report R \"R\" margins=1,2,3\n", "R:1: margins needs 4 lengths"},
        {"report R \"R\" options=12\n", "R:1: options are three flags"},
        {"report R \"R\" colour=red\n", "R:1: unknown report attribute 'colour=red'"},
        {"report R \"R\"\n  detail D\n    text \"x\" at=12,5,1\n", "R:3: at needs 2 lengths"},
        {"report R \"R\"\n  detail D\n    text \"x\" at=1;2\n", "R:3: at needs millimetres"},
        {"report R \"R\"\n  detail D\n    text \"x\" at=-1,2\n", "R:3: at needs millimetres"},
        {"report R \"R\"\n  detail D\n    text \"x\" at=1.234,2\n", "R:3: at needs millimetres"},
        {"report R \"R\"\n  detail D\n    text \"x\"\n", "R:3: text needs at=X,Y"},
        {"report R \"R\"\n  detail D\n    line from=0,0\n", "R:3: line needs to=X,Y"},
        {"report R \"R\"\n  detail D\n    box at=0,0\n", "R:3: box needs size=W,H"},
        {"report R \"R\"\n  detail D\n    field \"x\" at=0,0\n", "R:3: expected: field NAME"},
        {"report R \"R\"\n  detail D\n    field A at=0,0 picture=@Q\n", "R:3: picture @Q"},
        {"report R \"R\"\n  detail D\n    field A at=0,0 font=bold\n", "R:3: no font named bold"},
        {"report R \"R\"\n  detail D\n    field A at=0,0 align=middle\n", "R:3: align is left"},
        {"report R \"R\"\n  detail D\n    line from=0,0 to=1,1 width=3\n",
         "R:3: 'width=3' is not an attribute of line"},
        {"report R \"R\"\n  detail D\n    circle at=0,0\n", "R:3: unknown element 'circle'"},
        {"report R \"R\"\n  detail D\n  detail d\n",
         "R:3: band d is declared twice (first on line 2)"},
        {"report R \"R\"\n  header\n  header\n", "R:3: the report has a header already"},
        {"report R \"R\"\n  detail\n", "R:2: expected: detail NAME"},
        {"report R \"R\"\n  total T\n", "R:2: unknown keyword 'total'"},
        {"report R \"R\"\n  font f \"A\" size=0.5\n", "R:2: a font size lies in 1..200"},
        {"report R \"R\"\n  font f \"A\"\n  font F \"B\"\n", "R:3: font F is declared twice"},
        {"report R \"R\"\n  font f \"A\"\n    text \"x\" at=0,0\n", "R:3: the indentation"},
        {"report R \"R\"\n\ttext \"x\"\n", "R:2: indent with blanks"},
        {"report R \"R\"\n  detail D\n    text \"x at=0,0\n", "R:3:"},
        {"report R \"R\" paper=100x50 margins=10,10,10,10\n  detail D height=31\n",
         "R:2: band D is higher than the room on a page"},
        {"report R \"R\" paper=100x50 margins=10,30,10,20\n", "R: the margins, header and footer"},
        {"report R \"R\"\n  detail D-1\n", "R:2: band name 'D-1' has the character '-'"},
        {"report R \"R\"\nfooter\n", "R:2: only the report line starts at the left margin"},
    };
    for (const Case& c : cases) {
        try {
            parseReportLayout(c.text, "R");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const LayoutError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos)
                << c.text << "\n  gave: " << e.what();
        }
    }
}

TEST(ReportLayout, EmbeddedLayoutsAreFoundByName) {
    const std::vector<std::string> names = reportLayoutNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "IzpisSifrantEnote"), names.end());
    for (const std::string& name : names) {
        const ReportLayout& layout = reportLayout(name);
        EXPECT_EQ(layout.name, name);
        EXPECT_EQ(&reportLayout(name), &layout);  // read once
    }
    const ReportLayout& units = reportLayout("izpissifrantenote");
    ASSERT_NE(units.header(), nullptr);
    EXPECT_NE(units.find("Detail"), nullptr);
    EXPECT_NE(units.find("Zakljucek"), nullptr);
    EXPECT_THROW(reportLayout("NoSuchReport"), LayoutError);
    EXPECT_THROW(reportLayout(""), LayoutError);
}

}  // namespace
}  // namespace dv
