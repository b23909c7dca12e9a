#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "data/RecordBuffers.h"
#include "storage/TableAccess.h"

namespace dv::test {

// Writes the record `fill` puts into the cleared buffer of `table` as it stands, straight
// through the table's driver: no numbering, no field rules, no relations. Test data that a
// procedure under test then reads.
inline void addRawRow(TableAccess& access, const std::string& table,
                      const std::function<void()>& fill) {
    FileManager& file = access.file(table);
    ASSERT_EQ(file.Open(), kLevelBenign);
    ASSERT_EQ(file.UseFile(), kLevelBenign);
    clearRecord(file.table(), file.buffer());
    fill();
    EXPECT_EQ(file.driver()->add(), DriverCode::Ok) << file.driver()->lastError().text;
    (void)file.Close();
}

}  // namespace dv::test
