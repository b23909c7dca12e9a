#pragma once

#include <filesystem>
#include <string>

#include "runtime/PageQueue.h"

namespace dv {

// Saves report pages as a PDF file for the front ends that draw no pages themselves (the
// headless one). The drawing lives in a library of its own that the program and the tests that
// save previews install; a front end without one installed says so instead of saving.
class PageExporter {
  public:
    virtual ~PageExporter() = default;

    // Writes every page to `file`; false, with the reason in `error`, when it cannot.
    virtual bool writePdf(const PageQueue& pages, const std::filesystem::path& file,
                          std::string& error) = 0;
};

// The exporter in use; nullptr when none is installed.
PageExporter* currentPageExporter();

// Installs `exporter` (nullptr: none) and returns the previous one. The caller keeps ownership.
PageExporter* setPageExporter(PageExporter* exporter);

}  // namespace dv
