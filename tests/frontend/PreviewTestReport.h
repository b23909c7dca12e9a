#pragma once

#include <memory>
#include <string>

#include "framework/BatchRecordSource.h"
#include "framework/ReportProcedure.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "runtime/Layout.h"
#include "runtime/ProcedureRegistry.h"

namespace dv::test {

// A small report for the preview's tests: `lines` numbered lines ("Postavka 7"), ten to a page
// of 100 x 100 mm, each page headed "Stran: N od M", and a closing band ("Konec izpisa").
class PreviewTestReport {
  public:
    explicit PreviewTestReport(int lines) : lines_(lines) { names_.add("LOC:Naziv", name_); }
    PreviewTestReport(const PreviewTestReport&) = delete;
    PreviewTestReport& operator=(const PreviewTestReport&) = delete;

    // Runs the report on the calling procedure thread; its response.
    Response operator()() {
        Window window(progressLayout());
        Lines source(lines_);
        ReportProcedure report("IzpisPreizkus", "IzpisPreizkus", layout(), names_);
        report.SetUp(window, source);
        report.onRecord([&] {
            name_.assign("Postavka " + std::to_string(source.at));
            report.report().Print("Vrstica");
            return kLevelBenign;
        });
        report.onEndOfReport([&] { report.report().Print("Konec"); });
        return report.Run();
    }

  private:
    // The numbers 1..count, one record each.
    struct Lines : RecordSource {
        explicit Lines(int count) : count(count) {}
        Level restart() override {
            at = 0;
            return kLevelBenign;
        }
        ReadResult next() override {
            return at < count ? (++at, ReadResult::Record) : ReadResult::End;
        }
        std::int64_t records() override { return count; }
        int count;
        int at = 0;
    };

    static const WindowLayout& progressLayout() {
        static const WindowLayout layout = parseLayout(R"(window Napredovanje "Napredovanje..."
  string ?ProgressText "0% Completed"
  button ?Cancel "Prekliči"
)",
                                                       "Napredovanje.layout");
        return layout;
    }

    static const ReportLayout& layout() {
        static const ReportLayout layout = parseReportLayout(
            R"(report IzpisPreizkus "Izpis preizkusa" paper=100x100 margins=10,10,10,10
  header height=10
    text "Stran:" at=0,0 width=20
    field StevilkaStrani at=20,0 width=30
  detail Vrstica height=7
    field LOC:Naziv at=0,0 width=60
  band Konec height=5
    text "Konec izpisa" at=0,0
)",
            "IzpisPreizkus.report");
        return layout;
    }

    int lines_;
    NamedVariables names_;
    FixedText<30> name_;
};

// Registers the report of `lines` lines as the procedure `name`; the report lives as long as
// the registry's entry.
inline void addPreviewTestReport(ProcedureRegistry& registry, const std::string& name, int lines) {
    auto report = std::make_shared<PreviewTestReport>(lines);
    registry.add(name, [report] { return (*report)(); });
}

}  // namespace dv::test
