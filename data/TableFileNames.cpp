#include "data/TableFileNames.h"

#include <stdexcept>
#include <vector>

#include "data/DataFileLocator.h"
#include "data/TableFiles.h"

namespace dv {
namespace {

// The settings section that holds the table file names.
constexpr std::string_view kFileSection = "FILE";

std::vector<std::string> builtInNames() {
    std::vector<std::string> names;
    for (const TableFile& t : tableFiles()) names.emplace_back(t.builtInName);
    return names;
}

std::vector<std::string>& fileNames() {
    static std::vector<std::string> names = builtInNames();
    return names;
}

std::string& fileNameOf(std::string_view table) {
    const TableFile* t = findTableFile(table);
    if (!t) throw std::invalid_argument("unknown table " + std::string(table));
    return fileNames()[static_cast<std::size_t>(t - tableFiles().data())];
}

}  // namespace

const std::string& tableFileName(std::string_view table) {
    return fileNameOf(table);
}

void setTableFileName(std::string_view table, std::string fileName) {
    fileNameOf(table) = std::move(fileName);
}

void resetTableFileNames() {
    fileNames() = builtInNames();
}

FileResult resolveTableFileNames(SettingsManager& settings,
                                 const std::filesystem::path& programDirectory) {
    FileResult opened = settings.open(programDirectory);
    if (!opened.ok()) return opened;
    DataFileLocator locator(settings, programDirectory);
    locator.setMissingFileMode(MissingFileMode::Accept);
    settings.holdWrites();
    for (const TableFile& t : tableFiles())
        setTableFileName(t.table, locator.resolve(kFileSection, t.entry, t.builtInName).path);
    return settings.flush();
}

}  // namespace dv
