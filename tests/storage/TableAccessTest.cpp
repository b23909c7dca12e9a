#include "TableAccessTestSupport.h"
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "storage/TableRegister.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

using TableAccessRegister = TableAccessTest;

TEST_F(TableAccessRegister, ManagersAreFoundByNameOrPrefixInAnyCase) {
    EXPECT_EQ(&file("DOK"), &file("DOKUMENT"));
    EXPECT_EQ(&file("sfdrz"), &file("SFDRZAVE"));
    EXPECT_THROW(file("NIMAMIZE"), std::invalid_argument);
    EXPECT_EQ(access().relations("INVASCI"), nullptr);
    EXPECT_EQ(&tableAccess(), &access());
}

// The keepers walk the related records along the related table's key, so its leading
// components must be the linking fields in their order.
TEST_F(TableAccessRegister, EveryRelationIsLinkedAlongAKeyThatBeginsWithItsFields) {
    std::size_t linked = 0;
    for (const Relation& relation : relations()) {
        RelationKeeper& parent = keeper(relation.parent);
        RelationKeeper& child = keeper(relation.child);
        const RelationKeeper::Link* found = nullptr;
        for (const RelationKeeper::Link& link : parent.links())
            if (link.other == &child &&
                link.hisKey == child.file().table().findKey(relation.childKey))
                found = &link;
        ASSERT_NE(found, nullptr) << relation.parent << " -> " << relation.child;
        ++linked;
        EXPECT_EQ(found->updateMode, relation.updateMode);
        EXPECT_EQ(found->deleteMode, relation.deleteMode);
        const KeyDef& key = child.file().table().keys[static_cast<std::size_t>(found->hisKey)];
        ASSERT_LE(found->fields.size(), key.components.size()) << relation.childKey;
        for (std::size_t i = 0; i < found->fields.size(); ++i)
            EXPECT_EQ(found->fields[i].his, key.components[i].field)
                << relation.child << ":" << relation.childKey << " component " << i;
    }
    std::size_t links = 0;
    for (const TableDef& table : dictionary())
        if (RelationKeeper* keeper = access().relations(table.name))
            links += keeper->links().size();
    EXPECT_EQ(links, linked) << "no link without its relation";
}

// Cascades follow the links recursively; a cycle would never end.
bool reachesItself(const RelationKeeper& start, const RelationKeeper& at, int depth) {
    if (depth > 50) return true;
    for (const RelationKeeper::Link& link : at.links())
        if (link.other == &start || reachesItself(start, *link.other, depth + 1)) return true;
    return false;
}

TEST_F(TableAccessRegister, RelationsHaveNoCycle) {
    for (const TableDef& table : dictionary()) {
        const RelationKeeper* keeper = access().relations(table.name);
        if (keeper != nullptr) {
            EXPECT_FALSE(reachesItself(*keeper, *keeper, 0)) << table.name;
        }
    }
}

TEST_F(TableAccessRegister, StructureVersionsAreDeclaredOncePerProcess) {
    DV_EMBEDDED_ONLY("the registry is read through a raw SQLite connection");
    access();
    EXPECT_FALSE(registerTableVersions()) << "declared when the table access was set up";
    EXPECT_EQ(registeredVersion("DOKUMENT"), 26);
    EXPECT_EQ(registeredVersion("dokumedn"), 3);
    EXPECT_EQ(registeredVersion("SFPARTFIN"), 18);
    EXPECT_EQ(registeredVersion("DOKKOP"), 0);
    EXPECT_EQ(registeredVersion("INVASCI"), std::nullopt) << "the text file has no version";
    ASSERT_EQ(autoNumberedFields().size(), 2u);
    for (const AutoNumberedField& declared : autoNumberedFields()) {
        const TableDef* table = findTable(declared.table);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(
            std::string(
                table->fields[static_cast<std::size_t>(table->findField(declared.field))].name),
            "Id");
    }

    file("DOKUMEDN").Open();
    ASSERT_EQ(file("DOKUMEDN").UseFile(), kLevelBenign);
    RawDatabase raw(databaseFile());
    EXPECT_EQ(raw.scalar("SELECT VERSION FROM _TABLES WHERE NAME='DOKUMEDN'"), "3")
        << "the table is made in its declared version";
}

// A key over a group orders and finds records by the fields the group spans.
TEST_F(TableAccessRegister, KeyOverAGroupUsesTheFieldsItSpans) {
    FileManager& partners = file("SFPARTFIN");
    partners.Open();
    ASSERT_EQ(partners.UseFile(), kLevelBenign);
    const struct {
        std::uint32_t code;
        const char* country;
        const char* taxNumber;
    } rows[] = {{1, "SI", "200"}, {2, "HR", "100"}, {3, "SI", "100"}};
    for (const auto& row : rows) {
        clearRecord(partners.table(), &SFPARTFIN);
        SFPARTFIN.SIFRA = row.code;
        SFPARTFIN.DRZAVAOZNAKA = row.country;
        SFPARTFIN.DAVCNASTEVILKA = row.taxNumber;
        ASSERT_EQ(partners.driver()->add(), DriverCode::Ok);
    }
    const int byTaxNumber = partners.table().findKey("DAVCNASTEVKLJUC");
    ASSERT_EQ(partners.driver()->setToStart(byTaxNumber), DriverCode::Ok);
    std::vector<std::uint32_t> order;
    while (partners.Next() == kLevelBenign) order.push_back(SFPARTFIN.SIFRA);
    EXPECT_EQ(order, (std::vector<std::uint32_t>{2, 3, 1}));

    clearRecord(partners.table(), &SFPARTFIN);
    SFPARTFIN.DRZAVAOZNAKA = "SI";
    SFPARTFIN.DAVCNASTEVILKA = "100";
    ASSERT_EQ(partners.Fetch(byTaxNumber), kLevelBenign);
    EXPECT_EQ(SFPARTFIN.SIFRA, 3u);
}

}  // namespace
}  // namespace dv::test
