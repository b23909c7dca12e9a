#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "framework/ProcedureDefinition.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/PageQueue.h"
#include "runtime/ProcedureScheduler.h"

namespace dv::bench {

// The program's procedures, driven by UI scripts through the headless front end.
struct Procedures {
    Procedures() : frontEnd(scheduler), runner(scheduler, frontEnd, dv::programProcedures()) {
        frontEnd.setPreviewsWait(true);
    }
    ~Procedures() { scheduler.shutdown(); }
    Procedures(const Procedures&) = delete;
    Procedures& operator=(const Procedures&) = delete;

    void run(const std::string& script) {
        const auto failure = runner.run(dv::parseScript(script));
        if (failure) throw std::runtime_error(failure->report());
    }
    // The report that `start REPORT` prints, saved as the PDF file `pdf`; its pages.
    int printToPdf(const std::string& report, const std::filesystem::path& pdf) {
        run("start " + report + "\npreview pdf \"" + pdf.string() + "\"\npreview close\nidle\n");
        return frontEnd.lastPreview()->pageCount();
    }

    dv::ProcedureScheduler scheduler;
    dv::HeadlessFrontEnd frontEnd;
    dv::ScriptRunner runner;
};

}  // namespace dv::bench
