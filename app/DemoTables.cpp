#include "app/DemoTables.h"

#include <filesystem>

#include "data/FieldValidation.h"
#include "data/ProgramDirectory.h"
#include "framework/ErrorText.h"

namespace dv {

Level DemoMessages::raise(std::uint16_t) {
    if (!raised_) {
        raised_ = true;
        raisedFile_ = file_;
    }
    return kLevelNotify;
}

std::string DemoMessages::describe() const {
    std::string text = "datoteka " + raisedFile_;
    if (error_.code != 0 || !error_.fileErrorText.empty()) text += ": " + describeError(error_);
    return text;
}

void DemoMessages::clear() {
    raised_ = false;
    raisedFile_.clear();
    error_ = ErrorState{};
}

DemoTables::DemoTables(TableAccess& access, DemoMessages& messages)
    : access_(access), messages_(messages) {}

DemoTables::~DemoTables() = default;

void DemoTables::attachDatabase(const FileManager& file) {
    const std::filesystem::path directory =
        std::filesystem::path(hostPath(file.fileName())).parent_path();
    std::string schema;
    DriverError error;
    if (access_.database().schemaFor(directory, true, schema, error) != DriverCode::Ok ||
        access_.database().isReadOnly(schema))
        throw DemoFailure("tabele " + std::string(file.table().name) +
                          " ni mogoče zapisati, ker v imeniku " + directory.string() +
                          " ni mogoče pisati v podatkovno zbirko: " +
                          (error.text.empty() ? "dovoljeno je samo branje" : error.text));
}

FileManager& DemoTables::open(std::string_view table) {
    FileManager& file = access_.file(table);
    attachDatabase(file);
    // A table that does not open is refused when the demo first writes to it (use).
    (void)guard_.open(file, TableGuard::Buffer::Leave);
    opened_.push_back({&file, 0, false});
    return file;
}

DemoTables::Opened& DemoTables::use(FileManager& file) {
    for (Opened& table : opened_) {
        if (table.file != &file) continue;
        if (table.used) return table;
        messages_.clear();
        if (file.UseFile() != kLevelBenign || messages_.raised())
            throw DemoFailure("tabele " + std::string(file.table().name) +
                              " ni mogoče odpreti za pisanje: " + messages_.describe());
        table.used = true;
        return table;
    }
    throw std::logic_error("the demo writes only to tables it opened");
}

void DemoTables::add(FileManager& file) {
    Opened& table = use(file);
    const TableDef& def = file.table();
    if (const auto failure = CheckRecord(def, file.buffer()))
        throw DemoFailure("zapis tabele " + std::string(def.name) + " ne ustreza pravilu polja »" +
                          std::string(failure->fieldText) + "« (" +
                          std::string(failure->messageText) + ")");
    TableDriver& driver = *file.driver();
    if (driver.add() != DriverCode::Ok)
        throw DemoFailure("zapisa ni mogoče dodati v tabelo " + std::string(def.name) + ": " +
                          driver.lastError().text);
    ++table.rows;
}

bool DemoTables::exists(FileManager& file, std::string_view key) {
    use(file);
    const int index = file.table().findKey(key);
    if (index < 0) throw std::logic_error("no key " + std::string(key));
    return file.Fetch(index) == kLevelBenign;
}

void DemoTables::keysOff(FileManager& file) { switchKeys(file, false); }

void DemoTables::keysOn(FileManager& file) { switchKeys(file, true); }

void DemoTables::switchKeys(FileManager& file, bool on) {
    use(file);
    TableDriver& driver = *file.driver();
    if (driver.send(on ? "KEYS=on" : "KEYS=off") != (on ? "on" : "off"))
        throw DemoFailure("ključev tabele " + std::string(file.table().name) +
                          " ni mogoče zgraditi: " + driver.lastError().text);
}

std::vector<DemoTableCount> DemoTables::counts() const {
    std::vector<DemoTableCount> counts;
    for (const Opened& table : opened_)
        counts.push_back({std::string(table.file->table().name), table.rows});
    return counts;
}

}  // namespace dv
