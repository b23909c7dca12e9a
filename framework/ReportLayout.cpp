#include "framework/ReportLayout.h"

#include <map>
#include <memory>
#include <mutex>

#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::string_view kReportFolder = "reports/";
constexpr std::string_view kReportSuffix = ".report";

// The report name of a layout path, empty for other files.
std::string_view reportNameOf(std::string_view path) {
    if (!path.starts_with(kReportFolder) || !path.ends_with(kReportSuffix)) return {};
    path.remove_prefix(kReportFolder.size());
    path.remove_suffix(kReportSuffix.size());
    return path.find('/') == std::string_view::npos ? path : std::string_view();
}

const ReportBand* findKind(const std::vector<ReportBand>& bands, ReportBandKind kind) {
    for (const ReportBand& band : bands)
        if (band.kind == kind) return &band;
    return nullptr;
}

}  // namespace

const ReportBand* ReportLayout::header() const {
    return findKind(bands, ReportBandKind::Header);
}
const ReportBand* ReportLayout::footer() const {
    return findKind(bands, ReportBandKind::Footer);
}

const ReportBand* ReportLayout::find(std::string_view bandName) const {
    for (const ReportBand& band : bands)
        if (!band.name.empty() && equalsIgnoreCaseAscii(band.name, bandName)) return &band;
    return nullptr;
}

const ReportLayout& reportLayout(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<ReportLayout>> cache;
    const std::string key = upperSlovenian(name);
    std::lock_guard lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return *it->second;

    const EmbeddedFile* found = nullptr;
    for (const EmbeddedFile& file : embeddedResources())
        if (!name.empty() && equalsIgnoreCaseAscii(reportNameOf(file.path), name)) found = &file;
    if (found == nullptr) throw LayoutError("no layout for the report " + std::string(name));
    auto layout = std::make_unique<ReportLayout>(parseReportLayout(found->data, found->path));
    if (layout->name != reportNameOf(found->path))
        throw LayoutError(std::string(found->path) + ": declares the report " + layout->name +
                          ", not " + std::string(reportNameOf(found->path)));
    return *cache.emplace(key, std::move(layout)).first->second;
}

std::vector<std::string> reportLayoutNames() {
    std::vector<std::string> names;
    for (const EmbeddedFile& file : embeddedResources())
        if (auto name = reportNameOf(file.path); !name.empty()) names.emplace_back(name);
    return names;
}

}  // namespace dv
