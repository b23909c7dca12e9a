#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dv {

// Lengths on a printed page, in hundredths of a millimetre (exact for the millimetre values of
// the report layouts, fine enough for any printer).
using PageLength = std::int32_t;
inline constexpr PageLength kMillimetre = 100;

enum class TextAlign : std::uint8_t { Left, Center, Right };

// A font of a report: family, size in points and style.
struct PageFont {
    std::string family = "DejaVu Sans";
    double points = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const PageFont&, const PageFont&) = default;
};

// A run of text placed on the page: it stands in the box (x, y, width, height), aligned in its
// width, vertically centred on the box. `font` indexes the fonts of the page queue. `name` is
// the report control that printed it (empty for fixed texts), so that the pages can be
// renumbered once their count is known.
struct PageText {
    PageLength x = 0;
    PageLength y = 0;
    PageLength width = 0;
    PageLength height = 0;
    std::string text;
    int font = 0;
    TextAlign align = TextAlign::Left;
    std::string name;
};

// A straight rule from (x1, y1) to (x2, y2).
struct PageLine {
    PageLength x1 = 0;
    PageLength y1 = 0;
    PageLength x2 = 0;
    PageLength y2 = 0;
    PageLength thickness = 20;
};

// A rectangle's outline.
struct PageBox {
    PageLength x = 0;
    PageLength y = 0;
    PageLength width = 0;
    PageLength height = 0;
    PageLength thickness = 20;
};

// One printed page: everything on it, in page coordinates (the top left corner of the sheet is
// 0, 0; margins are already applied).
struct Page {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageBox> boxes;
};

}  // namespace dv
