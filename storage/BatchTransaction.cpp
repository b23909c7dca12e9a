#include "storage/BatchTransaction.h"

#include "storage/TableAccess.h"

namespace dv {

BatchTransaction::BatchTransaction() : BatchTransaction(tableAccess()) {}

BatchTransaction::BatchTransaction(TableAccess& access) : access_(access) {}

BatchTransaction::~BatchTransaction() {
    if (active_) Rollback();
}

DriverCode BatchTransaction::Begin() {
    const DriverCode code = access_.beginTransaction();
    active_ = code == DriverCode::Ok;
    return code;
}

DriverCode BatchTransaction::Commit() {
    if (!active_) return DriverCode::Ok;
    active_ = false;
    return access_.commit();
}

void BatchTransaction::Rollback() {
    if (!active_) return;
    active_ = false;
    (void)access_.rollback();
}

bool BatchTransaction::intact() const {
    DriverError ignored;
    return active_ && access_.database().checkWritable(ignored) == DriverCode::Ok;
}

}  // namespace dv
