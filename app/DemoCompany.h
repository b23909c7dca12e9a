#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/DemoItems.h"
#include "app/DemoTables.h"

namespace dv {

// The outcome of making the demo company.
struct DemoOutcome {
    std::vector<DemoTableCount> tables;  // rows added per table, in the order filled
    bool companyKept = false;  // company 1 was already in the parent directory and was kept
    std::string error;         // why nothing was made (Slovenian); empty on success

    bool ok() const { return error.empty(); }
};

// Fills an empty program directory with a demo company: the company record (in the parent
// directory, kept when company 1 is already there), warehouse units, item groups and
// subgroups, tax rates, units of measure, `items` items (1 to kMostDemoItems) with their stock,
// transaction types, partners, and the settings that the stocktake needs, with the terminal's
// capture folder and the archive folder made inside the directory, and in it a capture file
// that counts the first shop (see demoCaptureText).
//
// A directory that already holds data is refused: a table of its data with rows, or a program
// setting in its settings file (see findProgramSetting). All or nothing: the rows of each
// database are written in one transaction, and when anything fails the transaction is rolled
// back and whatever the demo made on disk (databases, folders, settings) is taken back.
DemoOutcome createDemoCompany(const std::filesystem::path& programDirectory,
                              std::size_t items = kDemoItemCount);

}  // namespace dv
