#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/DemoItems.h"

namespace dv {

// The capture file of the demo company: what a barcode terminal delivers after the counting
// committee has walked the shelves of one shop.

// The terminal's text for the stock rows of the counted unit, in code page 1250 with CR LF line
// ends as a terminal writes it: a heading line, then "code;quantity" per scan. Most rows are
// counted as they stand in the books; some show one piece (or a quarter of a kilogram) less or
// more, some are scanned twice on two shelves, every tenth is left for counting by hand, and one
// code belongs to no item. Weighed goods carry a decimal comma.
std::string demoCaptureText(const std::vector<DemoStockRow>& rows);

// The code of the scan that belongs to no item of the demo company.
std::string demoUnknownCode();

// Writes `text` as `file`; throws DemoFailure when it cannot be written whole.
void writeDemoCapture(const std::filesystem::path& file, const std::string& text);

}  // namespace dv
