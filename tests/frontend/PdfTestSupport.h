#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "data/Dictionary.h"
#include "schema/Records.h"
#include "storage/FileManager.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableDrivers.h"
#include "support/PdfFiles.h"

namespace dv::test {

// The table of warehouse units in the database of `directory`, with `count` units numbered from
// 1 whose names carry Slovenian letters ("Skladišče Žiri 007").
class UnitsTable {
  public:
    UnitsTable(const std::filesystem::path& directory, int count)
        : table_(*findTable("SFENOTE")),
          file_(table_, [this, directory](const TableDef& table, const std::string&) {
              return makeTableDriver(database_, table, directory / "SFENOTE.TPS");
          }) {
        EXPECT_EQ(file_.Open(), kLevelBenign);
        EXPECT_EQ(file_.UseFile(), kLevelBenign);
        TableDriver& driver = *file_.driver();
        EXPECT_EQ(driver.beginTransaction(), DriverCode::Ok);
        for (int i = 1; i <= count; ++i) {
            char name[40];
            std::snprintf(name, sizeof name, "Skladišče Žiri %03d", i);
            SFENOTE = {};
            SFENOTE.Enota = static_cast<std::uint16_t>(i);
            SFENOTE.Naziv = name;
            SFENOTE.TIP = "M";
            EXPECT_EQ(driver.add(), DriverCode::Ok);
        }
        EXPECT_EQ(driver.commit(), DriverCode::Ok);
        file_.Close();
    }

    FileManager& file() { return file_; }
    int codeKey() const { return table_.findKey("ENOTAKLJUC"); }

  private:
    SqliteDatabase database_;
    const TableDef& table_;
    FileManager file_;
};

}  // namespace dv::test
