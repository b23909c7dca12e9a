#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/Page.h"

namespace dv {

// The pages of one report as they are printed, one entry a page, kept until the preview has
// shown them: what the front end previews, prints and saves as PDF. The fonts are shared by
// every page.
struct PageQueue {
    std::string title;  // the report's name, for the preview's caption and the PDF's title
    PageLength width = 210 * kMillimetre;  // the sheet as printed (landscape already applied)
    PageLength height = 297 * kMillimetre;
    bool landscape = false;
    std::vector<PageFont> fonts{PageFont{}};
    std::vector<Page> pages;

    bool empty() const { return pages.empty(); }
    int pageCount() const { return static_cast<int>(pages.size()); }

    // Numbers the finished pages: every text printed by the control `control` (letter case
    // ignored) shows its page's number, the connector and the page count ("3 od 12").
    void renumber(std::string_view control, std::string_view connector);

    // The texts of a page (from 0) in the order printed, one a line; for searches and checks.
    std::string pageText(int page) const;
    // Whether any page holds `text` within one of its texts.
    bool contains(std::string_view text) const;

    // Drops the pages (the preview has shown them).
    void clear() { pages.clear(); }
};

}  // namespace dv
