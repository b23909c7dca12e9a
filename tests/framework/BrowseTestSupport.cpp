#include "BrowseTestSupport.h"

#include <unistd.h>

#include <atomic>

#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "runtime/ErrorState.h"
#include "runtime/TextCase.h"

namespace dv::test {
namespace fs = std::filesystem;

Level BrowseRaiser::raise(std::uint16_t id) {
    ids.push_back(id);
    return id == 9 ? kLevelBenign : kLevelNotify;
}

BrowseTables::BrowseTables() {
    static std::atomic<int> counter{0};
    directory_ = fs::temp_directory_path() /
                 ("dv-browse-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(directory_);
    fs::create_directories(directory_ / "data");
    for (const TableFile& table : tableFiles())
        setTableFileName(table.table,
                         (directory_ / "data" / std::string(lowerSlovenian(table.builtInName)))
                             .lexically_normal()
                             .string());
    clearAllRecordBuffers();
    clearLastError();
    access_ = std::make_unique<TableAccess>(&raiser);
}

BrowseTables::~BrowseTables() {
    access_.reset();
    resetTableFileNames();
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

void pump(Window& window, BrowseList& list) {
    for (int guard = 0; guard < 1000; ++guard) {
        std::optional<Event> event = window.takeEvent();
        if (!event) return;
        list.TakeEvent(*event);
    }
    ADD_FAILURE() << "the list keeps posting events";
}

const WindowLayout& browseLayout() {
    static const WindowLayout layout = parseLayout(R"(window Pregled "Pregled popisa"
  sheet ?Zavihki
    tab "Po nazivu"
      string "Razvrščeno po nazivu"
    tab "Po EAN"
      string "Razvrščeno po EAN"
  list ?Seznam paged
    column "EAN"
    column "Naziv"
    column "Skupina" picture=@n3
  entry ?Iskanje
  string ?Lokator
  button ?Izberi "&Izberi"
  button ?Dodaj "&Dodaj"
  button ?Spremeni "&Spremeni"
  button ?Brisi "&Briši"
  button ?Poglej "&Poglej"
  button ?Zapri "Zapri"
)",
                                                   "Pregled.layout");
    return layout;
}

bool addLine(FileManager& lines, const StockLine& line) {
    clearRecord(lines.table(), &INVENDET);
    INVENDET.StevInventure = static_cast<std::uint16_t>(line.stocktake);
    INVENDET.Enota = static_cast<std::uint16_t>(line.unit);
    INVENDET.VrstaProdaje = "M";
    INVENDET.EAN = line.ean;
    INVENDET.Naziv = line.name;
    INVENDET.Skupina = static_cast<std::uint16_t>(line.group);
    return lines.Insert() == kLevelBenign;
}

std::vector<std::string> columnTexts(const Control& list, int column) {
    std::vector<std::string> texts;
    for (int row = 1; row <= list.rowCount(); ++row) texts.push_back(list.cell(row, column).text);
    return texts;
}

}  // namespace dv::test
