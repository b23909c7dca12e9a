#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Layout.h"
#include "runtime/Page.h"

namespace dv {

// A report layout that cannot be read is a LayoutError (runtime/Layout.h), as a window's is.

enum class ReportBandKind : std::uint8_t {
    Header,  // printed at the top of every page
    Footer,  // printed at the bottom of every page
    Detail,  // printed by name for a record
    Band,    // printed by name at any other time (totals, closing texts)
};

enum class ReportElementKind : std::uint8_t { Text, Field, Line, Box };

// One thing a band prints, placed relative to the band's top left corner (inside the page
// margins). A text prints its own words; a field prints the value of the name it uses (a table
// field "SFENOTE:Naziv", a program-wide or local variable, or the page number control) in its
// picture.
struct ReportElement {
    ReportElementKind kind = ReportElementKind::Text;
    PageLength x = 0;
    PageLength y = 0;
    PageLength width = 0;  // a line: its end point is (width, height) away from (x, y)
    PageLength height = 0;
    PageLength thickness = 20;  // lines and boxes
    std::string text;           // a text's words, a field's name
    std::string picture;        // a field's picture, empty to print the value as it is
    TextAlign align = TextAlign::Left;
    bool alignGiven = false;  // else a field aligns by its picture (numbers to the right)
    int font = 0;
    int line = 0;  // its line in the layout file
};

struct ReportBand {
    ReportBandKind kind = ReportBandKind::Detail;
    std::string name;  // empty for the page header and footer
    PageLength height = 0;
    std::vector<ReportElement> elements;
    int line = 0;
};

// A report as its layout file declares it.
struct ReportLayout {
    std::string name;                           // as the report procedure is named
    std::string title;                          // the preview's caption
    PageLength paperWidth = 210 * kMillimetre;  // portrait
    PageLength paperHeight = 297 * kMillimetre;
    bool landscape = false;
    PageLength marginLeft = 15 * kMillimetre;
    PageLength marginTop = 10 * kMillimetre;
    PageLength marginRight = 10 * kMillimetre;
    PageLength marginBottom = 10 * kMillimetre;
    std::array<bool, 3> options{};  // the report's option flags, passed on to its preview
    std::vector<std::string> fontNames;
    std::vector<PageFont> fonts;  // the first is the default
    std::vector<ReportBand> bands;
    std::string source;

    // The sheet as printed.
    PageLength pageWidth() const { return landscape ? paperHeight : paperWidth; }
    PageLength pageHeight() const { return landscape ? paperWidth : paperHeight; }
    const ReportBand* header() const;
    const ReportBand* footer() const;
    // The detail or other band of that name (letter case ignored), nullptr when none.
    const ReportBand* find(std::string_view name) const;
};

// Reads a report layout (see ReportLayoutParser.cpp for the language). `source` names the text
// in error messages. Throws LayoutError with the line number and the reason.
ReportLayout parseReportLayout(std::string_view text, std::string_view source);

// The embedded layout "reports/NAME.report" (the name's letter case ignored), read once and kept
// for the life of the program. Throws LayoutError when there is none, when it is malformed, or
// when the report it declares has another name.
const ReportLayout& reportLayout(std::string_view name);

// The names of the embedded report layouts, sorted.
std::vector<std::string> reportLayoutNames();

}  // namespace dv
