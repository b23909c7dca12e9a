#pragma once

#include <QPrinter>

#include "runtime/PageQueue.h"

namespace dv {

// Prepares the printer for the pages: their sheet size, no margins (the pages carry their own).
void preparePrinter(QPrinter& printer, const PageQueue& pages);

// Prints every page on `printer` with the page renderer; false when the printer refused.
bool printPages(QPrinter& printer, const PageQueue& pages);

}  // namespace dv
