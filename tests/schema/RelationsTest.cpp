#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "data/Dictionary.h"
#include "data/Relations.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

bool isText(FieldType type) {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Group;
}

const Relation* findRelation(std::string_view parent, std::string_view child) {
    for (const Relation& r : relations())
        if (r.parent == parent && r.child == child) return &r;
    return nullptr;
}

// Every relation joins existing fields of compatible kinds, and the child's key begins with the
// child's linking fields, so the children of a parent can be found by positioning on that key.
TEST(Relations, LinkExistingFieldsThroughALeadingKeyOfTheChild) {
    std::set<std::tuple<std::string_view, std::string_view, std::string_view>> seen;
    for (const Relation& r : relations()) {
        const std::string name = std::string(r.parent) + " -> " + std::string(r.child);
        EXPECT_TRUE(seen.insert({r.parent, r.child, r.childKey}).second) << name;
        const TableDef* parent = findTable(r.parent);
        const TableDef* child = findTable(r.child);
        ASSERT_TRUE(parent && child) << name;
        const int key = child->findKey(r.childKey);
        ASSERT_GE(key, 0) << name << " key " << r.childKey;
        const KeyDef& childKey = child->keys[static_cast<std::size_t>(key)];
        ASSERT_FALSE(r.fields.empty()) << name;
        ASSERT_LE(r.fields.size(), childKey.components.size()) << name;
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            const int p = parent->findField(r.fields[i].parent);
            const int c = child->findField(r.fields[i].child);
            ASSERT_GE(p, 0) << name << " " << r.fields[i].parent;
            ASSERT_GE(c, 0) << name << " " << r.fields[i].child;
            EXPECT_EQ(childKey.components[i].field, c) << name << " component " << i;
            const FieldDef& pf = parent->fields[static_cast<std::size_t>(p)];
            const FieldDef& cf = child->fields[static_cast<std::size_t>(c)];
            EXPECT_EQ(isText(pf.type), isText(cf.type)) << name << " " << pf.name;
            if (isText(pf.type)) {
                EXPECT_LE(pf.size, cf.size) << name << " " << pf.name;
            }
        }
        // The catalogue restricts or cascades; it never clears.
        for (RelationMode mode : {r.updateMode, r.deleteMode})
            EXPECT_TRUE(mode == RelationMode::Restrict || mode == RelationMode::Cascade) << name;
    }
}

TEST(Relations, OwnedDetailsCascadeAndReferencesRestrict) {
    for (auto [parent, child] : {std::pair{"SFGRUPE", "SFPODGRU"},
                                 {"INVENTUR", "INVENDET"},
                                 {"DOKUMENT", "DOKPROME"},
                                 {"DOKUMEDN", "DOKPRODN"},
                                 {"SFPARTN", "SFPARRA"},
                                 {"SFPARTN", "SFPAROS"},
                                 {"SFPARTN", "SFPARPOG"},
                                 {"RACUNI", "RACPROME"}}) {
        const Relation* r = findRelation(parent, child);
        ASSERT_TRUE(r) << parent << " -> " << child;
        EXPECT_EQ(r->updateMode, RelationMode::Cascade) << parent << " -> " << child;
        EXPECT_EQ(r->deleteMode, RelationMode::Cascade) << parent << " -> " << child;
    }
    for (auto [parent, child] : {std::pair{"SFGRUPE", "ARTIKLI"},
                                 {"ARTIKLI", "ZALOGA"},
                                 {"SFENOTE", "ZALOGA"},
                                 {"SFPARTN", "DOKUMENT"}}) {
        const Relation* r = findRelation(parent, child);
        ASSERT_TRUE(r) << parent << " -> " << child;
        EXPECT_EQ(r->deleteMode, RelationMode::Restrict) << parent << " -> " << child;
    }
    const Relation* stocktake = findRelation("INVENTUR", "INVENDET");
    ASSERT_EQ(stocktake->fields.size(), 3u);
    EXPECT_EQ(stocktake->childKey, "STEVSIFRAKLJUC");
}

TEST(Relations, ModesHaveTheProgramsNames) {
    EXPECT_EQ(relationModeName(RelationMode::None), "RelNone");
    EXPECT_EQ(relationModeName(RelationMode::Clear), "RelClear");
    EXPECT_EQ(relationModeName(RelationMode::Restrict), "RelRestrict");
    EXPECT_EQ(relationModeName(RelationMode::Cascade), "RelCascade");
    EXPECT_EQ(static_cast<int>(RelationMode::Restrict), 2);
    EXPECT_EQ(static_cast<int>(RelationMode::Cascade), 3);
}

}  // namespace
}  // namespace dv
