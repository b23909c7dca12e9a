#include "app/DemoCompany.h"

#include <array>
#include <memory>
#include <set>
#include <string_view>

#include "app/DatabaseChoice.h"
#include "app/DemoCapture.h"
#include "app/DemoCodeLists.h"
#include "app/DemoExistingData.h"
#include "app/DemoItems.h"
#include "app/DemoSettings.h"
#include "app/DemoUndo.h"
#include "data/ProgramDirectory.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorText.h"
#include "runtime/CodePage1250.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"

namespace dv {
namespace fs = std::filesystem;
namespace {

// The directory already holds a company: the demo stops before it changes anything.
class DemoRefusal : public DemoFailure {
  public:
    using DemoFailure::DemoFailure;
};

// The tables the demo fills, in the order it fills and reports them.
constexpr std::array<std::string_view, 11> kFilledTables = {
    "APPINS",  "APPINRA",  "SFDDV",   "SFEM",    "SFGRUPE", "SFPODGRU",
    "SFENOTE", "SFVRPROM", "SFPARTN", "ARTIKLI", "ZALOGA"};

struct DemoTargets {
    FileManager& companies;
    FileManager& accounts;
    FileManager& taxRates;
    FileManager& unitsOfMeasure;
    FileManager& groups;
    FileManager& subgroups;
    FileManager& warehouseUnits;
    FileManager& transactionTypes;
    FileManager& partners;
    FileManager& items;
    FileManager& stock;
};

DemoTargets openTargets(DemoTables& tables) {
    return {
        tables.open(kFilledTables[0]), tables.open(kFilledTables[1]), tables.open(kFilledTables[2]),
        tables.open(kFilledTables[3]), tables.open(kFilledTables[4]), tables.open(kFilledTables[5]),
        tables.open(kFilledTables[6]), tables.open(kFilledTables[7]), tables.open(kFilledTables[8]),
        tables.open(kFilledTables[9]), tables.open(kFilledTables[10])};
}

struct FilledTables {
    bool companyKept = false;              // company 1 was already there and kept
    std::vector<DemoStockRow> countedShop;  // the stock rows the terminal capture counts
};

// The terminal's capture counts the first shop.
std::uint16_t countedUnit() { return demoWarehouseUnits().front().code; }

FilledTables fillTables(DemoTables& tables, const DemoTargets& t, std::size_t items) {
    FilledTables filled;
    filled.companyKept = addDemoCompanyRecord(tables, t.companies, t.accounts);
    addDemoTaxRates(tables, t.taxRates);
    addDemoUnitsOfMeasure(tables, t.unitsOfMeasure);
    addDemoGroups(tables, t.groups, t.subgroups);
    addDemoWarehouseUnits(tables, t.warehouseUnits);
    addDemoTransactionTypes(tables, t.transactionTypes);
    addDemoPartners(tables, t.partners);
    tables.keysOff(t.items);
    tables.keysOff(t.stock);
    filled.countedShop = addDemoItems(tables, t.items, t.stock, items, countedUnit());
    tables.keysOn(t.items);
    tables.keysOn(t.stock);
    return filled;
}

std::string refusal(const fs::path& directory, const std::string& reason) {
    return "Imenik " + directory.string() + " že vsebuje podatke: " + reason +
           ". Demo podjetje se pripravi samo v praznem imeniku programa; nič ni bilo spremenjeno.";
}

// The databases of the filled tables that do not exist yet are the demo's to take back.
void noteNewDatabases(TableAccess& access, DemoUndo& undo) {
    // On a server there are no database files of the demo's own.
    if (access.sqliteDatabase() == nullptr) return;
    std::set<fs::path> directories;
    for (const std::string_view table : kFilledTables)
        directories.insert(fs::path(hostPath(tableFileName(table))).parent_path());
    for (const fs::path& directory : directories) {
        const fs::path database = access.sqliteDatabase()->databaseFile(directory);
        if (fs::exists(database)) continue;
        undo.created(database);
        for (const char* companion : {"-wal", "-shm", "-journal"})
            undo.created(database.string() + companion);
    }
}

// The demo's settings set in `file` (not yet saved).
void setDemoSettings(IniFile& file, const fs::path& directory) {
    for (const DemoSetting& setting : demoSettings(directory)) {
        const std::string where =
            "[" + std::string(setting.section) + "] " + std::string(setting.entry);
        if (utf8ToCp1250(setting.value).size() > kLongestPathSetting)
            throw DemoFailure("vrednost nastavitve " + where + " bi bila daljša od " +
                              std::to_string(kLongestPathSetting) +
                              " znakov; izberite imenik s krajšo potjo.");
        if (FileResult written = file.write(setting.section, setting.entry, setting.value);
            !written.ok())
            throw DemoFailure("nastavitve " + where + " ni mogoče zapisati: " + written.error);
    }
}

void makeFolder(const fs::path& folder, DemoUndo& undo) {
    std::error_code error;
    if (fs::is_directory(folder, error)) return;
    if (!fs::create_directory(folder, error) || error)
        throw DemoFailure("mape " + folder.string() +
                          " ni mogoče ustvariti: " + (error ? error.message() : "neznan vzrok"));
    undo.created(folder);
}

// Runs `work` in one transaction over the databases: committed when it ends, rolled back when
// it throws or the commit fails.
template <typename Work>
void inTransaction(TableAccess& access, Work work) {
    if (access.beginTransaction() != DriverCode::Ok)
        throw DemoFailure("transakcije ni mogoče začeti: " + describeError(lastError()));
    try {
        work();
    } catch (...) {
        // The failure that led here is the one the user is told of.
        (void)access.rollback();
        throw;
    }
    if (access.commit() != DriverCode::Ok) {
        const std::string why = describeError(lastError());
        (void)access.rollback();
        throw DemoFailure("podatkov ni mogoče shraniti: " + why);
    }
}

void makeDemo(const fs::path& directory, std::size_t items, DemoUndo& undo,
              DemoOutcome& outcome) {
    SettingsManager settings;
    if (FileResult opened = settings.open(directory); !opened.ok())
        throw DemoFailure("datoteke z nastavitvami ni mogoče prebrati: " + opened.error);
    if (FileResult kept = undo.rememberSettingsFile(settings.path()); !kept.ok())
        throw DemoFailure("datoteke z nastavitvami ni mogoče prebrati: " + kept.error);
    if (FileResult resolved = resolveTableFileNames(settings, directory); !resolved.ok())
        throw DemoFailure("datoteke z nastavitvami ni mogoče zapisati: " + resolved.error);

    IniFile file;
    if (FileResult loaded = file.load(settings.path()); !loaded.ok())
        throw DemoFailure("datoteke z nastavitvami ni mogoče prebrati: " + loaded.error);
    if (const auto setting = findProgramSetting(file))
        throw DemoRefusal(refusal(directory, "nastavitev " + *setting + " v datoteki " +
                                                 settings.path().filename().string()));
    setDemoSettings(file, directory);
    // A demo made on a server is found there again by the program's later runs.
    if (const std::string server = chosenDatabase(settings); !server.empty())
        if (FileResult written = file.write("BAZA", "Povezava", server); !written.ok())
            throw DemoFailure("nastavitve [BAZA] Povezava ni mogoče zapisati: " + written.error);

    DemoMessages messages;
    std::string unreachable;
    const std::unique_ptr<TableAccess> opened = openTableAccess(&messages, settings, unreachable);
    if (!opened) throw DemoFailure(unreachable);
    TableAccess& access = *opened;
    if (const auto table = findTableWithRows(access)) throw DemoRefusal(refusal(directory, *table));
    noteNewDatabases(access, undo);
    DemoTables tables(access, messages);
    const DemoTargets targets = openTargets(tables);
    inTransaction(access, [&] {
        const FilledTables filled = fillTables(tables, targets, items);
        outcome.companyKept = filled.companyKept;
        makeFolder(demoCaptureFile(directory).parent_path(), undo);
        makeFolder(demoArchiveFolder(directory), undo);
        undo.created(demoCaptureFile(directory));
        writeDemoCapture(demoCaptureFile(directory), demoCaptureText(filled.countedShop));
        if (FileResult saved = file.save(settings.path()); !saved.ok())
            throw DemoFailure("datoteke z nastavitvami ni mogoče zapisati: " + saved.error);
    });
    outcome.tables = tables.counts();
}

}  // namespace

DemoOutcome createDemoCompany(const fs::path& programDirectory, std::size_t items) {
    DemoOutcome outcome;
    if (items == 0 || items > kMostDemoItems) {
        outcome.error = "Demo podjetje ima lahko od 1 do " + std::to_string(kMostDemoItems) +
                        " artiklov.";
        return outcome;
    }
    DemoUndo undo;
    bool refused = false;
    try {
        makeDemo(programDirectory, items, undo, outcome);
        return outcome;
    } catch (const DemoRefusal& refusal) {
        outcome.error = refusal.what();
        refused = true;
    } catch (const DemoFailure& failure) {
        outcome.error = std::string("Demo podjetja ni mogoče pripraviti: ") + failure.what();
    } catch (const std::exception& failure) {
        outcome.error =
            std::string("Demo podjetja ni mogoče pripraviti zaradi nepričakovane napake: ") +
            failure.what();
    }
    outcome.tables.clear();
    outcome.companyKept = false;
    if (!outcome.error.ends_with('.')) outcome.error += '.';
    const std::string notUndone = undo.undo();
    if (!notUndone.empty())
        outcome.error += notUndone;
    else if (!refused)
        outcome.error += " Imenik je ostal, kot je bil.";
    return outcome;
}

}  // namespace dv
