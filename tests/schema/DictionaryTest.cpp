#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "data/TableFiles.h"
#include "schema/Records.h"

namespace dv {
namespace {

const TableDef& table(std::string_view name) {
    const TableDef* found = findTable(name);
    if (!found) throw std::runtime_error("no table " + std::string(name));
    return *found;
}

const FieldDef& field(const TableDef& t, std::string_view name) {
    const int index = t.findField(name);
    if (index < 0) throw std::runtime_error("no field " + std::string(name));
    return t.fields[static_cast<std::size_t>(index)];
}

// A key written as its components: "StevInventure Enota VRSTAPRODAJE", descending ones with "-".
std::string componentsOf(const TableDef& t, std::string_view keyName) {
    const int index = t.findKey(keyName);
    if (index < 0) return "<no key " + std::string(keyName) + ">";
    std::string text;
    for (const KeyComponent& c : t.keys[static_cast<std::size_t>(index)].components) {
        if (!text.empty()) text += ' ';
        text += t.fields[c.field].name;
        if (!c.ascending) text += '-';
    }
    return text;
}

const KeyDef& key(const TableDef& t, std::string_view name) {
    const int index = t.findKey(name);
    if (index < 0) throw std::runtime_error("no key " + std::string(name));
    return t.keys[static_cast<std::size_t>(index)];
}

std::string autoIncField(const TableDef& t, const KeyDef& k) {
    if (k.autoIncComponent < 0) return "";
    return std::string(
        t.fields[k.components[static_cast<std::size_t>(k.autoIncComponent)].field].name);
}

TEST(Dictionary, ListsEveryTableInStartUpOrderWithItsFileEntry) {
    const auto tables = dictionary();
    const auto files = tableFiles();
    ASSERT_EQ(tables.size(), files.size());
    for (std::size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(tables[i].name, files[i].table);
        EXPECT_EQ(tables[i].file, &files[i]) << tables[i].name;
        EXPECT_NE(tables[i].buffer, nullptr) << tables[i].name;
    }
}

TEST(Dictionary, RecordSizesAreThoseOfTheSharedLayouts) {
    // Bytes of each table's record as the suite's files have them.
    const std::map<std::string, std::uint32_t> expected = {
        {"APPINRA", 34},   {"APPINS", 973},    {"ARTIKLI", 323},   {"ARTSTRO", 139},
        {"DELNALOG", 197}, {"DOKKOP", 270},    {"DOKPRODN", 198},  {"DOKPROME", 198},
        {"DOKUMEDN", 869}, {"DOKUMENT", 1049}, {"INVASCI", 64},    {"INVENDET", 93},
        {"INVENTUR", 101}, {"INVTPS", 44},     {"KUPARTPO", 35},   {"POPISINV", 40},
        {"RACDOB", 21},    {"RACPROME", 309},  {"RACUNI", 822},    {"SFBANBIC", 252},
        {"SFBANKE", 426},  {"SFDDV", 58},      {"SFDRZAVE", 35},   {"SFEM", 22},
        {"SFENOTE", 301},  {"SFGRUPE", 32},    {"SFOPOMBE", 844},  {"SFPAROS", 244},
        {"SFPARPOG", 277}, {"SFPARRA", 97},    {"SFPARTFIN", 718}, {"SFPARTN", 755},
        {"SFPODGRU", 34},  {"SFPOREKL", 37},   {"SFPRODAJ", 75},   {"SFPTT", 65},
        {"SFTARIFE", 50},  {"SFVALUTE", 32},   {"SFVRPROM", 92},   {"SNSTEV", 47},
        {"SPRECEN", 158},  {"ZALOGA", 625},
    };
    ASSERT_EQ(expected.size(), dictionary().size());
    for (const TableDef& t : dictionary()) {
        EXPECT_EQ(t.recordSize, expected.at(std::string(t.name))) << t.name;
        // The image fields tile the record exactly: each starts where the previous one ended.
        std::uint32_t end = 0;
        for (const FieldDef& f : t.fields) {
            if (f.type == FieldType::Group || f.type == FieldType::Memo) continue;
            EXPECT_EQ(f.offset, end) << t.name << ":" << f.name;
            end = f.offset + f.size * f.dim;
        }
        EXPECT_EQ(end, t.recordSize) << t.name;
    }
}

TEST(Dictionary, KeysNameExistingFieldsAndAreConsistent) {
    for (const TableDef& t : dictionary()) {
        int primaries = 0;
        std::set<std::string> names;
        for (const KeyDef& k : t.keys) {
            EXPECT_TRUE(names.insert(std::string(k.name)).second) << t.name << ":" << k.name;
            EXPECT_FALSE(k.components.empty()) << t.name << ":" << k.name;
            EXPECT_FALSE(k.description.empty()) << t.name << ":" << k.name;
            for (const KeyComponent& c : k.components) {
                ASSERT_LT(c.field, t.fields.size()) << t.name << ":" << k.name;
                EXPECT_NE(t.fields[c.field].type, FieldType::Memo) << t.name << ":" << k.name;
            }
            if (k.autoIncComponent >= 0) {
                EXPECT_EQ(k.autoIncComponent, static_cast<int>(k.components.size()) - 1);
                const FieldType type = t.fields[k.components.back().field].type;
                EXPECT_TRUE(type != FieldType::String && type != FieldType::CString &&
                            type != FieldType::Group && type != FieldType::Decimal)
                    << t.name << ":" << k.name << " numbers a non-integer";
            }
            if (k.primary) {
                ++primaries;
                EXPECT_TRUE(k.unique) << t.name << ":" << k.name;
            }
        }
        EXPECT_LE(primaries, 1) << t.name;
    }
}

TEST(Dictionary, StocktakeKeys) {
    const TableDef& inventur = table("INVENTUR");
    ASSERT_EQ(inventur.keys.size(), 1u);
    const KeyDef& number = key(inventur, "INVENTUR:STEVILKAKLJUC");
    EXPECT_EQ(componentsOf(inventur, "STEVILKAKLJUC"), "StevInventure Enota VRSTAPRODAJE");
    EXPECT_TRUE(number.unique && number.primary);
    EXPECT_EQ(number.autoIncComponent, -1);
    EXPECT_EQ(number.description, " PO ŠTEVILKI");

    const TableDef& invendet = table("INVENDET");
    ASSERT_EQ(invendet.keys.size(), 4u);
    EXPECT_EQ(componentsOf(invendet, "STEVSIFRAKLJUC"), "StevInventure Enota VrstaProdaje EAN");
    EXPECT_EQ(componentsOf(invendet, "ARTKLJUC"), "EAN StevInventure Enota VrstaProdaje");
    EXPECT_EQ(componentsOf(invendet, "STEVNAZIVKLJUC"), "StevInventure Enota VrstaProdaje Naziv");
    EXPECT_EQ(componentsOf(invendet, "STEVNAZIVGRUPAKLJUC"),
              "StevInventure Enota VrstaProdaje Skupina Naziv");
    EXPECT_TRUE(key(invendet, "STEVSIFRAKLJUC").primary);
    EXPECT_TRUE(key(invendet, "STEVSIFRAKLJUC").unique);
    EXPECT_FALSE(key(invendet, "ARTKLJUC").unique);
    EXPECT_FALSE(key(invendet, "STEVNAZIVKLJUC").unique);
    EXPECT_EQ(key(invendet, "STEVSIFRAKLJUC").description, " PO ŠTEVILKI");
    EXPECT_EQ(key(invendet, "ARTKLJUC").description, "PO IZDELKU");
    EXPECT_EQ(key(invendet, "STEVNAZIVKLJUC").description, "PO NAZIVU IZDELKA");
    EXPECT_EQ(key(invendet, "STEVNAZIVGRUPAKLJUC").description, " PO NAZIVU V OKVIRU SKUPINE");
    EXPECT_TRUE(key(invendet, "STEVNAZIVKLJUC").noCase);
    EXPECT_FALSE(key(invendet, "STEVSIFRAKLJUC").noCase);
}

TEST(Dictionary, DocumentKeys) {
    const TableDef& dok = table("DOK");
    ASSERT_EQ(dok.keys.size(), 7u);
    const KeyDef& id = key(dok, "DOK:IDKLJUC");
    EXPECT_EQ(componentsOf(dok, "IDKLJUC"), "Id");
    EXPECT_TRUE(id.unique);
    EXPECT_FALSE(id.primary);
    EXPECT_EQ(autoIncField(dok, id), "Id");
    EXPECT_EQ(id.description, "PO ID zapisa");

    const KeyDef& number = key(dok, "ENOTASTEVILKAKLJUC");
    EXPECT_EQ(componentsOf(dok, "ENOTASTEVILKAKLJUC"),
              "VRSTAPRODAJE ENOTA OZNAKADOKUMENTA VRSTAPROMETA STEVILKADOKUMENTA");
    EXPECT_TRUE(number.unique && number.primary);
    EXPECT_EQ(autoIncField(dok, number), "STEVILKADOKUMENTA");
    EXPECT_EQ(number.description, " PO ENOTI, VP IN ŠTEVILKI DOKUMENTA");

    EXPECT_EQ(componentsOf(dok, "ENOTADATUMKLJUC"),
              "ENOTA DATUMDOKUMENTA VRSTAPRODAJE OZNAKADOKUMENTA VRSTAPROMETA STEVILKADOKUMENTA");
    EXPECT_EQ(key(dok, "ENOTADATUMKLJUC").description, "Po skladišču in datumu");
    EXPECT_EQ(componentsOf(dok, "DATUMKLJUC"),
              "VRSTAPRODAJE DATUMDOKUMENTA ENOTA OZNAKADOKUMENTA VRSTAPROMETA STEVILKADOKUMENTA");
    EXPECT_TRUE(key(dok, "DATUMKLJUC").unique);
    EXPECT_EQ(key(dok, "DATUMKLJUC").description, " PO DATUMU");
    // Documents of one partner come newest first.
    EXPECT_EQ(componentsOf(dok, "PARTNERKLJUC"),
              "PARTNER VRSTAPRODAJE OZNAKADOKUMENTA VRSTAPROMETA ENOTA DATUMDOKUMENTA-");
    EXPECT_FALSE(key(dok, "PARTNERKLJUC").unique);
    EXPECT_EQ(key(dok, "PARTNERKLJUC").description, " PO PARTNERJU");
    EXPECT_EQ(componentsOf(dok, "DELNALOGKLJUC"),
              "LETONALOGA STEVILKADN VRSTAPRODAJE OZNAKADOKUMENTA VRSTAPROMETA STEVILKADOKUMENTA");
    EXPECT_EQ(key(dok, "DELNALOGKLJUC").description, "Po delovnih nalogih.");
    EXPECT_EQ(componentsOf(dok, "VRSTAPROMETADATUMKLJUC"), "VRSTAPROMETA DATUMDOKUMENTA");
    EXPECT_EQ(key(dok, "VRSTAPROMETADATUMKLJUC").description,
              "Ključ po datumu dokumenta in vrsti prometa.");
}

TEST(Dictionary, WorkOrderDocumentsCopyTheStockDocuments) {
    const TableDef& dok = table("DOKUMENT");
    const TableDef& dokumedn = table("DOKUMEDN");
    ASSERT_EQ(dok.fields.size(), 66u);
    ASSERT_EQ(dokumedn.fields.size(), dok.fields.size());
    for (std::size_t i = 0; i < dok.fields.size(); ++i) {
        EXPECT_EQ(dokumedn.fields[i].name, dok.fields[i].name);
        const bool note = dok.fields[i].name.starts_with("OPOMBEDOKUMENTA");
        EXPECT_EQ(dokumedn.fields[i].size, note ? 80 : dok.fields[i].size) << dok.fields[i].name;
        EXPECT_EQ(dok.fields[i].size, note ? 140 : dok.fields[i].size);
    }
    EXPECT_EQ(dokumedn.keys.size(), dok.keys.size());
    EXPECT_EQ(componentsOf(dokumedn, "DOKUMEDN:PARTNERKLJUC"), componentsOf(dok, "PARTNERKLJUC"));
    EXPECT_EQ(autoIncField(dokumedn, key(dokumedn, "IDKLJUC")), "Id");
    // Only the stock documents default the work order year.
    EXPECT_EQ(dok.defaults.size(), dokumedn.defaults.size() + 1);

    const TableDef& dokprome = table("DOKPROME");
    const TableDef& dokprodn = table("DOKPRODN");
    EXPECT_EQ(dokprodn.recordSize, dokprome.recordSize);
    ASSERT_EQ(dokprodn.fields.size(), 31u);
    EXPECT_EQ(dokprodn.keys.size(), 8u);
    EXPECT_EQ(autoIncField(dokprodn, key(dokprodn, "ENOTASTEVILKAKLJUC")), "POSTAVKADOKUMENTA");
}

TEST(Dictionary, FindsTablesFieldsAndKeysWithoutRegardToCase) {
    EXPECT_EQ(findTable("dok"), findTable("DOKUMENT"));
    EXPECT_EQ(findTable("sfdrz"), findTable("SFDRZAVE"));
    EXPECT_EQ(findTable("Invendet")->name, "INVENDET");
    EXPECT_EQ(findTable("NOSUCH"), nullptr);

    const TableDef& invendet = table("INVENDET");
    const int counted = invendet.findField("PopisanaZaloga");
    ASSERT_GE(counted, 0);
    EXPECT_EQ(invendet.fields[static_cast<std::size_t>(counted)].name, "PopisanaZaloga");
    EXPECT_EQ(invendet.findField("INVENDET:popisanazaloga"), counted);
    EXPECT_EQ(invendet.findField("invendet:POPISANAZALOGA"), counted);
    EXPECT_EQ(invendet.findField("ZALOGA:PopisanaZaloga"), -1);
    EXPECT_EQ(invendet.findField("Popisana"), -1);
    EXPECT_EQ(invendet.findField(""), -1);

    const TableDef& dok = table("DOKUMENT");
    EXPECT_EQ(dok.findField("DOK:Id"), 0);
    EXPECT_EQ(dok.findField("DOKUMENT:ID"), 0);
    EXPECT_EQ(dok.findKey("DOK:partnerkljuc"), dok.findKey("PARTNERKLJUC"));
    EXPECT_GE(dok.findKey("PARTNERKLJUC"), 0);
    EXPECT_EQ(dok.findKey("INVENDET:PARTNERKLJUC"), -1);
    EXPECT_EQ(table("SFDRZAVE").findField("SFDrz:NazivDrzave"), 1);
}

TEST(Dictionary, GroupsMemosArraysAndTextKinds) {
    const TableDef& artikli = table("ARTIKLI");
    const FieldDef& name = field(artikli, "Naziv");
    EXPECT_EQ(name.type, FieldType::Group);
    EXPECT_EQ(name.offset, 0u);
    EXPECT_EQ(name.size, 60);
    EXPECT_EQ(name.groupFields, 2);
    EXPECT_EQ(field(artikli, "KRATEKNAZIV").offset, 0u);
    EXPECT_EQ(field(artikli, "DRUGIDELNAZIVA").offset, 20u);
    EXPECT_EQ(field(artikli, "EAN").offset, 60u);

    const FieldDef& taxId = field(table("SFPARTN"), "IDENTIFIKACIJSKASTEVILKA");
    EXPECT_EQ(taxId.size, 17);
    EXPECT_EQ(taxId.offset, field(table("SFPARTN"), "DRZAVAOZNAKA").offset);
    EXPECT_EQ(componentsOf(table("SFPARTN"), "DAVCNASTEVKLJUC"), "IDENTIFIKACIJSKASTEVILKA");

    const FieldDef& notes = field(table("SFPARTFIN"), "Opombe");
    EXPECT_EQ(notes.type, FieldType::Memo);
    EXPECT_EQ(notes.size, 1000);
    EXPECT_EQ(field(table("DELNALOG"), "Opis").type, FieldType::Memo);

    const FieldDef& monthly = field(table("ZALOGA"), "ZALOGAMESECA");
    EXPECT_EQ(monthly.dim, 15);
    EXPECT_EQ(monthly.size, 5);
    EXPECT_EQ(monthly.digits, 9);
    EXPECT_EQ(monthly.places, 3);

    EXPECT_EQ(field(table("APPINS"), "PRAVNAOBLIKA").type, FieldType::CString);
    EXPECT_EQ(field(table("POPISINV"), "DATUMPOPISA").type, FieldType::Date);
    EXPECT_EQ(field(table("INVENTUR"), "DATUMINVENTURE").type, FieldType::Long);
    EXPECT_EQ(field(table("ARTIKLI"), "CENABREZDDV").size, 8);  // 15 digits
}

// Writing each field through its metadata must change that field and nothing else, and must be
// what the typed member holds: the member offsets describe the generated structs.
TEST(Dictionary, MemberOffsetsMatchTheTypedRecords) {
    for (const TableDef& t : dictionary()) {
        std::vector<unsigned char> record(t.recordStructSize, 0);
        for (std::size_t i = 0; i < t.fields.size(); ++i) {
            const FieldDef& f = t.fields[i];
            if (f.type == FieldType::Group) continue;
            const int last = f.dim - 1;
            if (textWidth(f) > 0)
                writeText(record.data(), f, "x", last);
            else
                writeInteger(record.data(), f, static_cast<std::int64_t>(i + 1), last);
        }
        for (std::size_t i = 0; i < t.fields.size(); ++i) {
            const FieldDef& f = t.fields[i];
            if (f.type == FieldType::Group) continue;
            const int last = f.dim - 1;
            if (textWidth(f) > 0)
                EXPECT_EQ(readText(record.data(), f, last).substr(0, 1), "x") << t.name << f.name;
            else
                EXPECT_EQ(readInteger(record.data(), f, last), static_cast<std::int64_t>(i + 1))
                    << t.name << ":" << f.name;
        }
    }
}

TEST(Dictionary, BuffersAreTheTypedGlobals) {
    const TableDef& invendet = table("INVENDET");
    EXPECT_EQ(invendet.buffer, &INVENDET);
    EXPECT_EQ(invendet.recordStructSize, sizeof(INVENDETRecord));
    INVENDET.PopisanaZaloga.setUnits(12345);
    EXPECT_EQ(readDecimalUnits(invendet.buffer, field(invendet, "PopisanaZaloga")), 12345);

    EXPECT_EQ(table("DOKUMENT").buffer, &DOK);
    DOK.LETONALOGA = "2024";
    EXPECT_EQ(readText(&DOK, field(table("DOK"), "LETONALOGA")), "2024");

    EXPECT_EQ(table("SFDRZAVE").buffer, &SFDrz);
    ZALOGA.ZALOGAMESECA[14].setUnits(-7);
    EXPECT_EQ(readDecimalUnits(&ZALOGA, field(table("ZALOGA"), "ZALOGAMESECA"), 14), -7);
}

}  // namespace
}  // namespace dv
