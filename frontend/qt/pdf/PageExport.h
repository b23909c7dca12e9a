#pragma once

#include <filesystem>

#include "data/IniFile.h"
#include "runtime/PageQueue.h"

namespace dv {

// Saving report pages without a display: what the headless front end and automation use. The
// pages are drawn by the same renderer as the preview and the printout. Where no Qt application
// exists yet, one without a display (the offscreen platform) is made for the rest of the run;
// Qt wants it made on the program's main thread, so the first call belongs there.

// Writes every page to a PDF file: the text stays text, in the report's fonts, embedded.
FileResult writePagesToPdf(const PageQueue& pages, const std::filesystem::path& file);

// Draws one page (from 0) into a PNG picture at `dotsPerInch`.
FileResult writePageToPng(const PageQueue& pages, int page, const std::filesystem::path& file,
                          int dotsPerInch = 96);

}  // namespace dv
