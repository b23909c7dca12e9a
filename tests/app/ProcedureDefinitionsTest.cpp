#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "data/Dictionary.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ReportLayout.h"
#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

std::set<std::string> upper(const std::vector<std::string>& names) {
    std::set<std::string> set;
    for (const std::string& name : names) set.insert(upperSlovenian(name));
    return set;
}

std::set<std::string> registeredNames() {
    ProcedureRegistry registry;
    registerProgramProcedures(registry);
    return upper(registry.names());
}

// Every procedure opens a window of its own name (a report its progress window), and every
// window and report layout belongs to a procedure: a layout nobody opens, or a procedure whose
// layout is missing, is a mistake the program would only show when the user gets there.
TEST(ProcedureDefinitions, EveryProcedureHasItsLayoutAndEveryLayoutItsProcedure) {
    const std::set<std::string> procedures = registeredNames();
    const std::set<std::string> windows = upper(windowLayoutNames());
    EXPECT_GE(procedures.size(), 14u);
    for (const std::string& name : procedures)
        EXPECT_TRUE(windows.count(name)) << "the procedure " << name << " has no window layout";
    for (const std::string& name : windows)
        EXPECT_TRUE(procedures.count(name)) << "the layout " << name << " names no procedure";
    for (const std::string& name : reportLayoutNames())
        EXPECT_TRUE(procedures.count(upperSlovenian(name)))
            << "the report layout " << name << " belongs to no procedure";
}

const ControlLayout* control(const WindowLayout& layout, const std::string& name) {
    return name.empty() ? nullptr : layout.find(name);
}

void expectProcedure(const std::set<std::string>& procedures, const WindowLayout& layout,
                     const std::string& name, const char* what) {
    if (name.empty()) return;
    EXPECT_TRUE(procedures.count(upperSlovenian(name)))
        << layout.name << ": " << what << " " << name << " is no procedure of the program";
}

void expectField(const WindowLayout& layout, const TableDef& table, const std::string& field) {
    if (field.empty()) return;
    const std::size_t colon = field.find(':');
    if (colon != std::string::npos) {
        EXPECT_EQ(findTable(field.substr(0, colon)), &table)
            << layout.name << ": the column " << field << " is not of " << table.name;
    }
    EXPECT_GE(table.findField(field), 0)
        << layout.name << ": " << table.name << " has no field " << field;
}

void expectKey(const WindowLayout& layout, const TableDef& table, const std::string& key) {
    if (key.empty()) return;
    EXPECT_GE(table.findKey(key), 0) << layout.name << ": " << table.name << " has no key " << key;
}

void checkList(const WindowLayout& layout, const ControlLayout& list,
               const std::set<std::string>& procedures) {
    const ListBinding& binding = list.binding;
    if (binding.table.empty()) return;
    const TableDef* table = findTable(binding.table);
    ASSERT_NE(table, nullptr) << layout.name << ": no table " << binding.table;
    expectKey(layout, *table, binding.order);
    for (const ListColumn& column : list.columns) {
        expectField(layout, *table, column.field);
        expectKey(layout, *table, column.key);
    }
    for (const std::string* name : {&binding.locator, &binding.query}) {
        if (!name->empty()) {
            EXPECT_NE(control(layout, *name), nullptr) << layout.name << " has no ?" << *name;
        }
    }
    expectProcedure(procedures, layout, binding.form, "the form");
    expectProcedure(procedures, layout, binding.print, "the print options");
}

// What a layout says in place of code must hold: the tables, fields and keys it binds exist,
// the procedures it calls are the program's, the controls it points at are declared.
TEST(ProcedureDefinitions, EveryLayoutBindsWhatTheProgramHas) {
    const std::set<std::string> procedures = registeredNames();
    for (const std::string& name : windowLayoutNames()) {
        const WindowLayout& layout = procedureLayout(name);
        if (!layout.table.empty()) {
            EXPECT_NE(findTable(layout.table), nullptr) << name << ": no table " << layout.table;
        }
        if (!layout.first.empty()) {
            EXPECT_NE(control(layout, layout.first), nullptr)
                << name << " has no ?" << layout.first;
        }
        expectProcedure(procedures, layout, layout.report, "the report");
        for (const ControlLayout& declared : layout.controls) {
            expectProcedure(procedures, layout, declared.call, "the called procedure");
            if (declared.type == ControlType::List) checkList(layout, declared, procedures);
        }
    }
}

// An option that takes its radios from its field's rule gets one per allowed code, with the
// rule's labels, inside it; the controls after it keep their places in the nesting.
TEST(ProcedureDefinitions, AnOptionTakesItsRadiosFromTheFieldsRule) {
    const WindowLayout layout = completeLayout(parseLayout(R"(window W "W"
  group "Okvir"
    option ?SFVRPROM:VrstaProdaje "Vrsta prodaje" radios=rule
    entry ?Naprej
  button ?OK "OK"
)",
                                                           "W.layout"));
    ASSERT_EQ(layout.controls.size(), 6u);
    EXPECT_EQ(layout.controls[2].type, ControlType::Radio);
    EXPECT_EQ(layout.controls[2].text, "  Prodaja na DROBNO");
    EXPECT_EQ(layout.controls[2].value, "M");
    EXPECT_EQ(layout.controls[3].text, "  Prodaja na DEBELO");
    EXPECT_EQ(layout.controls[3].value, "V");
    EXPECT_EQ(layout.controls[3].parent, 2);
    EXPECT_EQ(layout.find("Naprej")->parent, 1);
    EXPECT_EQ(layout.find("OK")->parent, 0);

    EXPECT_THROW(completeLayout(parseLayout(
                     "window W \"W\"\n  option ?SFENOTE:Naziv \"N\" radios=rule\n", "W.layout")),
                 LayoutError);
}

Response procedureRan(std::string_view) {
    return RespCompleted;
}

// A name is the program's once: a second definition, in code or by a layout, is refused when
// the procedures are registered, whatever the letter case.
TEST(ProcedureDefinitions, ANameDefinedTwiceIsRefused) {
    ProcedureRegistry registry;
    const DefinedProcedure unique[] = {{"PreizkusniPostopek", procedureRan}};
    registerProgramProcedures(registry, unique);
    ASSERT_NE(registry.find("preizkusnipostopek"), nullptr);
    EXPECT_EQ((*registry.find("PreizkusniPostopek"))(), RespCompleted);

    const DefinedProcedure twice[] = {{"Postopek", procedureRan}, {"POSTOPEK", procedureRan}};
    EXPECT_THROW(registerProgramProcedures(registry, twice), std::logic_error);
    const DefinedProcedure likeALayout[] = {{"BrowseSFENOTE", procedureRan}};
    EXPECT_THROW(registerProgramProcedures(registry, likeALayout), std::logic_error);
}

}  // namespace
}  // namespace dv
