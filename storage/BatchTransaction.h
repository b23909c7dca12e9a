#pragma once

#include "storage/DriverCode.h"

namespace dv {

class TableAccess;

// The writes of a batch (a template preparation, a posting, an import) kept together: nothing
// the batch writes is kept until Commit. Rollback, or the object going away before Commit (the
// pass cancelled or stopped by a failure, an exception, the program ending the procedure),
// leaves every table as it was before Begin; a program killed before Commit leaves them so too,
// because the database keeps only what was committed. The transaction spans every table and
// database of the program's connection, and while it runs the other procedure threads can
// neither write nor begin one of their own (see SqlConnection::begin). Open the tables the
// batch uses physically (FileManager::UseFile) before Begin: a table is made on its first open,
// and no table is opened while a transaction runs.
//
//   BatchTransaction batch;
//   if (batch.Begin() != DriverCode::Ok) ...;   // report: nothing was written
//   ... the pass writes ...
//   if (completed) batch.Commit(); else batch.Rollback();
class BatchTransaction {
  public:
    BatchTransaction();
    explicit BatchTransaction(TableAccess& access);
    ~BatchTransaction();
    BatchTransaction(const BatchTransaction&) = delete;
    BatchTransaction& operator=(const BatchTransaction&) = delete;

    // Begins it. A failure leaves its description in the runtime error and nothing begun.
    DriverCode Begin();
    // Keeps what was written. A failure leaves its description in the runtime error; the
    // database has then undone everything the batch wrote.
    DriverCode Commit();
    // Undoes everything written since Begin.
    void Rollback();

    // Begun and neither committed nor rolled back.
    bool active() const { return active_; }
    // Whether the writes since Begin are still held: false once a failed write made the
    // database undo the whole transaction (a full disk, for one), after which every write is
    // refused until the batch ends it. A batch that finds it so cannot go on.
    bool intact() const;

  private:
    TableAccess& access_;
    bool active_ = false;
};

}  // namespace dv
