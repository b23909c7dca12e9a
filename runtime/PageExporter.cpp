#include "runtime/PageExporter.h"

#include <atomic>

namespace dv {
namespace {

std::atomic<PageExporter*> installedExporter{nullptr};

}  // namespace

PageExporter* currentPageExporter() {
    return installedExporter.load();
}

PageExporter* setPageExporter(PageExporter* exporter) {
    return installedExporter.exchange(exporter);
}

}  // namespace dv
