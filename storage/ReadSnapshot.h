#pragma once

#include <cstdint>

namespace dv {

class SqlConnection;
class TableAccess;

// A pass of reads that belong together (a check over every row of a template, say) held in one
// read transaction of the program's connection: the reads see one state of the tables, and each
// read by key costs no locking of its own. It ends at End or when the object goes away, and by
// itself before anything is written, a transaction is begun or a table is opened, so that no
// write is ever kept back by it. Within a running transaction it does nothing: the reads are in
// that transaction already. Meant for reads that do not wait for the user between them.
//
//   ReadSnapshot snapshot;
//   ... read ...
//   snapshot.End();
class ReadSnapshot {
  public:
    ReadSnapshot();
    explicit ReadSnapshot(TableAccess& access);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    void End();
    // Whether this object holds the reads in a snapshot of its own (none within a transaction).
    bool began() const { return number_ != 0; }

  private:
    SqlConnection& database_;
    std::uint64_t number_;
};

}  // namespace dv
