#include <algorithm>
#include <charconv>
#include <cmath>

#include "framework/ReportLayout.h"
#include "runtime/LayoutReader.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

// The report layout language, one element a line, lengths in millimetres ("12" or "12.5"):
//
//   report NAME "TITLE" [paper=A4|A5|A3|Letter|WIDTHxHEIGHT] [landscape]
//                       [margins=LEFT,TOP,RIGHT,BOTTOM] [options=FFF]
//     font NAME "FAMILY" [size=POINTS] [bold] [italic] [underline]
//     header [height=H]                  (printed at the top of every page)
//     footer [height=H]                  (printed at the bottom of every page)
//     detail NAME [height=H]             (printed by name, once a record)
//     band NAME [height=H]               (printed by name: totals, closing texts)
//       text "TEXT" at=X,Y [width=W] [height=H] [align=left|center|right] [font=NAME]
//       field NAME at=X,Y [width=W] [height=H] [picture=@...] [align=...] [font=NAME]
//       line from=X,Y to=X,Y [thickness=T]
//       box at=X,Y size=W,H [thickness=T]
//
// The report line comes first, unindented; fonts and bands are indented under it and the
// elements of a band deeper under the band. Positions are relative to the band's top left corner
// inside the margins. The first font is the default of every text; without fonts it is DejaVu
// Sans of 9 points. A band without a height is as high as its elements reach; a text without a
// height is as high as its font's lines. `options` are the three option flags the report passes
// to its preview, as 0 and 1. The field named StevilkaStrani prints the page number, and after
// the last page the page number, "od" and the page count.
class ReportParser final : public LayoutReader {
  public:
    explicit ReportParser(std::string_view source) : LayoutReader(source, "report", "TITLE") {
        layout_.source = source;
    }

    ReportLayout parse(std::string_view text) {
        read(text);
        finishBand();
        if (layout_.fonts.empty()) {
            layout_.fonts.emplace_back();
            layout_.fontNames.emplace_back("default");
        }
        checkFits();
        return std::move(layout_);
    }

  private:
    void header(const std::string& name, const std::string& title,
                std::span<const LayoutToken> attributes) override {
        layout_.name = name;
        layout_.title = title;
        for (const LayoutToken& token : attributes) reportAttribute(token);
    }

    // Sections (fonts and bands) share one indentation under the report line; a band's
    // elements lie deeper, at any indentation.
    void line(int indent, const std::vector<LayoutToken>& tokens) override {
        const LayoutToken& keyword = tokens[0];
        if (keyword.quoted) fail("a line must begin with a keyword, not \"" + keyword.text + "\"");
        if (parentFor(indent).number == 0) {
            section(tokens);
            if (inBand_) open(indent, static_cast<int>(layout_.bands.size()), true);
        } else {
            element(tokens);
        }
    }

    void reportAttribute(const LayoutToken& token) {
        const Attribute a = attribute(token);
        if (a.key == "landscape" && !a.hasValue)
            layout_.landscape = true;
        else if (a.key == "paper" && a.hasValue)
            paper(a.value);
        else if (a.key == "margins" && a.hasValue)
            margins(a.value);
        else if (a.key == "options" && a.hasValue)
            options(a.value);
        else
            fail("unknown report attribute '" + token.text + "'");
    }

    void paper(const std::string& value) {
        struct Size {
            std::string_view name;
            PageLength width, height;
        };
        static constexpr Size sizes[] = {{"A4", 21000, 29700},
                                         {"A5", 14800, 21000},
                                         {"A3", 29700, 42000},
                                         {"LETTER", 21590, 27940}};
        for (const Size& size : sizes)
            if (equalsIgnoreCaseAscii(size.name, value)) {
                layout_.paperWidth = size.width;
                layout_.paperHeight = size.height;
                return;
            }
        const std::size_t x = value.find('x');
        if (x == std::string::npos) fail("paper is A4, A5, A3, Letter or WIDTHxHEIGHT");
        layout_.paperWidth = length(value.substr(0, x), "paper");
        layout_.paperHeight = length(value.substr(x + 1), "paper");
        if (layout_.paperWidth == 0 || layout_.paperHeight == 0) fail("the paper has no size");
    }

    void margins(const std::string& value) {
        const std::vector<PageLength> m = lengths(value, 4, "margins");
        layout_.marginLeft = m[0];
        layout_.marginTop = m[1];
        layout_.marginRight = m[2];
        layout_.marginBottom = m[3];
    }

    void options(const std::string& value) {
        if (value.size() != 3 || value.find_first_not_of("01") != std::string::npos)
            fail("options are three flags of 0 and 1 (options=100)");
        for (std::size_t i = 0; i < 3; ++i) layout_.options[i] = value[i] == '1';
    }

    void section(const std::vector<LayoutToken>& tokens) {
        finishBand();
        const std::string& keyword = tokens[0].text;
        if (keyword == "font") return font(tokens);
        ReportBand band;
        band.line = lineNumber();
        std::size_t i = 1;
        if (keyword == "header" || keyword == "footer") {
            band.kind = keyword == "header" ? ReportBandKind::Header : ReportBandKind::Footer;
            for (const ReportBand& other : layout_.bands)
                if (other.kind == band.kind)
                    fail("the report has a " + keyword + " already (line " +
                         std::to_string(other.line) + ")");
        } else if (keyword == "detail" || keyword == "band") {
            band.kind = keyword == "detail" ? ReportBandKind::Detail : ReportBandKind::Band;
            if (tokens.size() < 2 || tokens[1].quoted) fail("expected: " + keyword + " NAME");
            band.name = tokens[i++].text;
            checkIdentifier(band.name, "band name");
            if (const ReportBand* other = layout_.find(band.name))
                fail("band " + band.name + " is declared twice (first on line " +
                     std::to_string(other->line) + ")");
        } else {
            fail("unknown keyword '" + keyword + "'");
        }
        bandHeightGiven_ = false;
        for (; i < tokens.size(); ++i) {
            const Attribute a = attribute(tokens[i]);
            if (a.key != "height" || !a.hasValue)
                fail("unknown band attribute '" + tokens[i].text + "'");
            band.height = length(a.value, "height");
            bandHeightGiven_ = true;
        }
        layout_.bands.push_back(std::move(band));
        inBand_ = true;
    }

    void font(const std::vector<LayoutToken>& tokens) {
        if (tokens.size() < 3 || tokens[1].quoted || !tokens[2].quoted)
            fail("expected: font NAME \"FAMILY\"");
        checkIdentifier(tokens[1].text, "font name");
        if (fontIndex(tokens[1].text) >= 0) fail("font " + tokens[1].text + " is declared twice");
        PageFont font;
        font.family = tokens[2].text;
        for (std::size_t i = 3; i < tokens.size(); ++i) {
            const Attribute a = attribute(tokens[i]);
            if (a.key == "size" && a.hasValue) {
                font.points = static_cast<double>(length(a.value, "size")) / kMillimetre;
                if (font.points < 1 || font.points > 200) fail("a font size lies in 1..200");
            } else if (a.key == "bold" && !a.hasValue) {
                font.bold = true;
            } else if (a.key == "italic" && !a.hasValue) {
                font.italic = true;
            } else if (a.key == "underline" && !a.hasValue) {
                font.underline = true;
            } else {
                fail("unknown font attribute '" + tokens[i].text + "'");
            }
        }
        layout_.fontNames.push_back(tokens[1].text);
        layout_.fonts.push_back(font);
    }

    void element(const std::vector<LayoutToken>& tokens) {
        const std::string& keyword = tokens[0].text;
        ReportElement e;
        e.line = lineNumber();
        std::size_t i = 1;
        if (keyword == "text" || keyword == "field") {
            e.kind = keyword == "text" ? ReportElementKind::Text : ReportElementKind::Field;
            const bool wantQuoted = e.kind == ReportElementKind::Text;
            if (tokens.size() < 2 || tokens[1].quoted != wantQuoted)
                fail(wantQuoted ? "expected: text \"TEXT\"" : "expected: field NAME");
            e.text = tokens[i++].text;
            if (!wantQuoted) checkIdentifier(e.text, "field name");
        } else if (keyword == "line") {
            e.kind = ReportElementKind::Line;
        } else if (keyword == "box") {
            e.kind = ReportElementKind::Box;
        } else {
            fail("unknown element '" + keyword + "'");
        }
        bool placed = false;
        bool heightGiven = false;
        std::vector<PageLength> to;
        for (; i < tokens.size(); ++i) {
            if (tokens[i].quoted) fail("unexpected text \"" + tokens[i].text + "\"");
            const Attribute a = attribute(tokens[i]);
            if (!a.hasValue) fail("'" + a.key + "' needs a value");
            const bool isText =
                e.kind == ReportElementKind::Text || e.kind == ReportElementKind::Field;
            if ((a.key == "at" && e.kind != ReportElementKind::Line) ||
                (a.key == "from" && e.kind == ReportElementKind::Line)) {
                const auto xy = lengths(a.value, 2, a.key);
                e.x = xy[0];
                e.y = xy[1];
                placed = true;
            } else if (a.key == "to" && e.kind == ReportElementKind::Line) {
                to = lengths(a.value, 2, a.key);
            } else if (a.key == "size" && e.kind == ReportElementKind::Box) {
                const auto wh = lengths(a.value, 2, a.key);
                e.width = wh[0];
                e.height = wh[1];
            } else if (a.key == "width" && isText) {
                e.width = length(a.value, a.key);
            } else if (a.key == "height" && isText) {
                e.height = length(a.value, a.key);
                heightGiven = true;
            } else if (a.key == "align" && isText) {
                e.align = alignment(a.value);
                e.alignGiven = true;
            } else if (a.key == "font" && isText) {
                e.font = fontIndex(a.value);
                if (e.font < 0) fail("no font named " + a.value);
            } else if (a.key == "picture" && e.kind == ReportElementKind::Field) {
                e.picture = picture(a.value);
            } else if (a.key == "thickness" && !isText) {
                e.thickness = length(a.value, a.key);
            } else {
                fail("'" + tokens[i].text + "' is not an attribute of " + keyword);
            }
        }
        if (!placed)
            fail(keyword +
                 (e.kind == ReportElementKind::Line ? " needs from=X,Y" : " needs at=X,Y"));
        if (e.kind == ReportElementKind::Line) {
            if (to.empty()) fail("line needs to=X,Y");
            e.width = to[0] - e.x;
            e.height = to[1] - e.y;
        }
        if (e.kind == ReportElementKind::Box && (e.width == 0 || e.height == 0))
            fail("box needs size=W,H");
        if ((e.kind == ReportElementKind::Text || e.kind == ReportElementKind::Field) &&
            !heightGiven)
            e.height = lineHeight(e.font);
        layout_.bands.back().elements.push_back(std::move(e));
    }

    // A line of text in the font: its size and a quarter for the space between lines.
    PageLength lineHeight(int font) const {
        const double points = font < static_cast<int>(layout_.fonts.size())
                                  ? layout_.fonts[static_cast<std::size_t>(font)].points
                                  : PageFont{}.points;
        return static_cast<PageLength>(std::lround(points * 1.25 * 25.4 / 72 * kMillimetre));
    }

    TextAlign alignment(const std::string& value) const {
        if (value == "left") return TextAlign::Left;
        if (value == "center") return TextAlign::Center;
        if (value == "right") return TextAlign::Right;
        fail("align is left, center or right, not '" + value + "'");
    }

    int fontIndex(const std::string& name) const {
        for (std::size_t i = 0; i < layout_.fontNames.size(); ++i)
            if (equalsIgnoreCaseAscii(layout_.fontNames[i], name)) return static_cast<int>(i);
        return -1;
    }

    // Closes the band being read: without a given height it reaches its lowest element.
    void finishBand() {
        if (!inBand_) return;
        inBand_ = false;
        ReportBand& band = layout_.bands.back();
        if (bandHeightGiven_) return;
        for (const ReportElement& e : band.elements)
            band.height = std::max(band.height, std::max(e.y, e.y + e.height));
    }

    // Every band must fit a page between the header and the footer, or pagination could never
    // place it.
    void checkFits() const {
        const ReportBand* head = layout_.header();
        const ReportBand* foot = layout_.footer();
        const PageLength room = layout_.pageHeight() - layout_.marginTop - layout_.marginBottom -
                                (head ? head->height : 0) - (foot ? foot->height : 0);
        if (layout_.pageWidth() <= layout_.marginLeft + layout_.marginRight || room <= 0)
            failInFile("the margins, header and footer leave no room");
        for (const ReportBand& band : layout_.bands)
            if ((band.kind == ReportBandKind::Detail || band.kind == ReportBandKind::Band) &&
                band.height > room)
                failAtLine(band.line, "band " + band.name + " is higher than the room on a page");
    }

    // Millimetres with at most two decimals, as hundredths.
    PageLength length(std::string_view text, const std::string& what) const {
        const std::size_t dot = text.find('.');
        const std::string_view whole = text.substr(0, dot);
        const std::string_view part = dot == std::string_view::npos ? "" : text.substr(dot + 1);
        int units = 0;
        int hundredths = 0;
        const auto wholeEnd = whole.data() + whole.size();
        const bool wholeOk = !whole.empty() && whole.size() <= 5 &&
                             std::from_chars(whole.data(), wholeEnd, units).ptr == wholeEnd &&
                             whole.find_first_not_of("0123456789") == std::string_view::npos;
        const bool partOk = part.size() <= 2 && (dot == std::string_view::npos || !part.empty()) &&
                            part.find_first_not_of("0123456789") == std::string_view::npos;
        if (!wholeOk || !partOk)
            fail(what + " needs millimetres (12 or 12.5), not '" + std::string(text) + "'");
        for (std::size_t i = 0; i < 2; ++i)
            hundredths = hundredths * 10 + (i < part.size() ? part[i] - '0' : 0);
        return units * kMillimetre + hundredths;
    }

    std::vector<PageLength> lengths(std::string_view text, std::size_t count,
                                    const std::string& what) const {
        std::vector<PageLength> values;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = text.find(',', start);
            values.push_back(length(text.substr(start, comma - start), what));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (values.size() != count)
            fail(what + " needs " + std::to_string(count) + " lengths separated by commas");
        return values;
    }

    ReportLayout layout_;
    bool inBand_ = false;
    bool bandHeightGiven_ = false;
};

}  // namespace

ReportLayout parseReportLayout(std::string_view text, std::string_view source) {
    return ReportParser(source).parse(text);
}

}  // namespace dv
