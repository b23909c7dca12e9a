#include "data/TableFileNames.h"

#include <span>
#include <stdexcept>
#include <vector>

#include "data/DataFileLocator.h"
#include "data/TableFiles.h"

namespace dv {
namespace {

// The settings section that holds the table file names.
constexpr std::string_view kFileSection = "FILE";

std::vector<std::string> builtInNames(std::span<const TableFile> files) {
    std::vector<std::string> names;
    for (const TableFile& t : files) names.emplace_back(t.builtInName);
    return names;
}

// The file names of the installed catalogue's tables, in the order of its table-file list. They
// start again from the built-in names when another catalogue is installed.
struct FileNames {
    std::span<const TableFile> files;
    std::vector<std::string> names;
};

FileNames& fileNames() {
    static FileNames held;
    const std::span<const TableFile> files = tableFiles();
    if (held.files.data() != files.data() || held.files.size() != files.size())
        held = FileNames{files, builtInNames(files)};
    return held;
}

std::string& fileNameOf(std::string_view table) {
    const TableFile* t = findTableFile(table);
    if (!t) throw std::invalid_argument("unknown table " + std::string(table));
    FileNames& current = fileNames();
    return current.names[static_cast<std::size_t>(t - current.files.data())];
}

}  // namespace

const std::string& tableFileName(std::string_view table) {
    return fileNameOf(table);
}

void setTableFileName(std::string_view table, std::string fileName) {
    fileNameOf(table) = std::move(fileName);
}

void resetTableFileNames() {
    FileNames& current = fileNames();
    current.names = builtInNames(current.files);
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
