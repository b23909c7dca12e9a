#pragma once

#include <cstdint>

#include "framework/FormProcedure.h"
#include "runtime/ProcedureRegistry.h"

namespace dv {

class SettingsManager;

// Small procedures of the test suite: a form over the warehouse units (SFENOTE) with its two
// required fields, its kind of unit and its two date fields, and callers that do what a list
// does before and after calling it (hold the table open, prepare a new numbered record or read
// the record to change, call the form with the request). The tests start them directly, and the
// test build of the program (dideroviv_test) registers them beside the program's procedures,
// so that UI scripts drive them through its command line; the program itself never has them.

// How a test form is set up.
struct TestFormOptions {
    int insertAction = kInsertClose;
    int deleteAction = kDeleteAsk;
    int cancelAction = kCancelOfferSave | kCancelAsk;
    std::uint16_t unit = 1;  // the unit a change, delete or view request works on
};

// The layout of the test form (window "TestUnitForm").
const WindowLayout& testUnitFormLayout();

// The form over SFENOTE, as the warehouse-unit form is built: the code and the name registered
// as required under the prompts "Skladišče" and "Naziv".
class TestUnitForm : public FormProcedure {
  public:
    TestUnitForm(ErrorReporter& errors, SettingsManager* settings,
                 const TestFormOptions& options = {});

  protected:
    void RegisterRequired() override;
};

// Calls the test form for `request` on the caller's thread, as a list calls its form: the table
// held open around the call, a new record prepared (numbered) for an insert, the record of
// `options.unit` read for the other requests. Returns the form's response.
Response callTestUnitForm(Request request, ErrorReporter& errors, SettingsManager* settings,
                          const TestFormOptions& options = {});

// Registers "TestInsertUnit", "TestInsertUnits" (INSERTACTION 4), "TestChangeUnit",
// "TestDeleteUnit" and "TestViewUnit" (unit 1 for the last three). The reporter and settings
// must outlive the registry's use.
void registerFormTestProcedures(ProcedureRegistry& registry, ErrorReporter& errors,
                                SettingsManager* settings);

}  // namespace dv
