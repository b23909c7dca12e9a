#include "CodeListData.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv::test {

CodeListData::CodeListData() {
    SettingsManager settings;
    EXPECT_TRUE(resolveTableFileNames(settings, path()).ok());
}

CodeListData::~CodeListData() {
    resetTableFileNames();
    clearAllRecordBuffers();
}

void CodeListData::add(const char* table, const std::function<void()>& fill) {
    TableAccess access;
    FileManager& file = access.file(table);
    ASSERT_EQ(file.Open(), kLevelBenign);
    ASSERT_EQ(file.UseFile(), kLevelBenign);
    clearRecord(file.table(), file.buffer());
    fill();
    EXPECT_EQ(file.driver()->add(), DriverCode::Ok) << file.driver()->lastError().text;
    file.Close();
}

void CodeListData::addUnit(int code, const std::string& name, const std::string& kind) {
    add("SFENOTE", [&] {
        SFENOTE.Enota = static_cast<std::uint16_t>(code);
        SFENOTE.Naziv = name;
        SFENOTE.TIP = kind;
    });
}

void CodeListData::addType(const TransactionType& type) {
    add("SFVRPROM", [&] {
        SFVRPROM.VrstaProdaje = type.saleKind;
        SFVRPROM.OZNAKADOKUMENTA = type.mark;
        SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(type.number);
        SFVRPROM.OpisPrometa = type.description;
        SFVRPROM.NazivDokumenta = type.title;
        SFVRPROM.PROMETNAZALOGO = type.stockEffect;
        SFVRPROM.ZAPECENO = static_cast<std::int16_t>(type.locked);
        SFVRPROM.NePokazi = static_cast<std::uint8_t>(type.hidden);
        SFVRPROM.LASTNAPORABA = static_cast<std::uint16_t>(type.ownUse);
    });
}

void CodeListData::addGroup(int code, const std::string& name) {
    add("SFGRUPE", [&] {
        SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
        SFGRUPE.Naziv = name;
    });
}

void CodeListData::addSubgroup(int group, int code, const std::string& name) {
    add("SFPODGRU", [&] {
        SFPODGRU.Sifra = static_cast<std::uint16_t>(group);
        SFPODGRU.PodSifra = static_cast<std::uint16_t>(code);
        SFPODGRU.Naziv = name;
    });
}

ProgramRun CodeListData::runScript(const std::string& script) const {
    std::ofstream(path() / "test.script") << script;
    return runProgram(path(), "--today 15.03.2024 script test.script");
}

}  // namespace dv::test
