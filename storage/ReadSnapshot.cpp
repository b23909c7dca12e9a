#include "storage/ReadSnapshot.h"

#include "storage/TableAccess.h"

namespace dv {

ReadSnapshot::ReadSnapshot() : ReadSnapshot(tableAccess()) {}

ReadSnapshot::ReadSnapshot(TableAccess& access)
    : database_(access.database()), number_(database_.beginRead()) {}

ReadSnapshot::~ReadSnapshot() {
    End();
}

void ReadSnapshot::End() {
    database_.endRead(number_);
    number_ = 0;
}

}  // namespace dv
