#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "data/Relations.h"
#include "storage/FileManager.h"

namespace dv {

// Applies the relationship rules of a parent table when one of its records is updated or
// deleted: the related (child) records are cleared, refused (restrict) or changed and deleted
// with it (cascade), recursively, inside one transaction. Failures are reported after the
// transaction has been rolled back, so that no other station waits on a message box.
//
// The old values of the linking fields are those of the record as this thread last read it
// (FileManager::storedRecord); the new values stand in the buffer.
class RelationKeeper {
  public:
    struct Link {
        RelationKeeper* other;  // FILE: the related table's keeper
        RelationMode updateMode;
        RelationMode deleteMode;
        int hisKey;  // HISKEY: the related table's key that begins with its linking fields
        struct Pair {
            int mine;
            int his;
        };
        std::vector<Pair> fields;  // field indices of this table and of the related one
    };

    explicit RelationKeeper(FileManager& file) : file_(file) {}
    RelationKeeper(const RelationKeeper&) = delete;
    RelationKeeper& operator=(const RelationKeeper&) = delete;

    FileManager& file() const { return file_; }
    const std::vector<Link>& links() const { return links_; }

    // Links a related table; PairFields then names its linking fields (field names of this
    // table and of the related one; an unknown name throws std::invalid_argument).
    void LinkTable(RelationKeeper& other, RelationMode updateMode, RelationMode deleteMode,
                   int hisKey);
    void PairFields(std::string_view myField, std::string_view hisField);

    // Writes the changed record in the buffer and applies the update modes where linking values
    // changed. Message 6 becomes 7 when `fromForm`. 0; 5 (message raised); 1 (record not
    // valid, or not written for another reason); 3 (table not usable).
    [[nodiscard]] Level UpdateWithRules(bool fromForm = false);
    // Deletes the current record and applies the delete modes; asks "Confirm Delete" first when
    // `ask`, and offers to try again ("Record Delete Error") when it fails.
    [[nodiscard]] Level DeleteWithRules(bool ask = true);

    // Opens (closes) this table and, recursively, the related tables that the modes need.
    Level OpenAll();
    void CloseAll();
    // Sends "QUICKSCAN=on"/"QUICKSCAN=off" to this table's driver and its related tables'.
    void QuickScanMode(bool on);

    // Transaction framing of UpdateWithRules and DeleteWithRules, on by default.
    bool transactionFraming() const { return framing_; }
    void setTransactionFraming(bool on) { framing_ = on; }

  private:
    // A failure to raise once the transaction is rolled back: the table whose last error it is.
    struct Failure {
        FileManager* file = nullptr;
        Level result = kLevelBenign;
        bool raise = false;
    };

    Level updateRecord(bool fromForm, Failure& failure);
    Level deleteRecord(Failure& failure);
    Level deleteOnce(const DriverPosition& position);
    Level cascadeUpdate(const Link& link, const unsigned char* old, Failure& failure);
    Level cascadeDelete(const Link& link, Failure& failure);
    template <typename PerRecord>
    Level walkRelated(const Link& link, const void* values, Failure& failure, PerRecord perRecord);
    Level placeAt(const Link& link, const void* values, Failure& failure);
    bool linked(const Link& link, const void* values) const;
    bool linkChanged(const Link& link, const unsigned char* old) const;
    void setLinkingFields(const Link& link, const void* values);
    Level enlist();
    Level frame(bool& framed);
    Level commit(std::uint16_t id, Failure& failure);
    void rollback();
    class Visit;
    template <typename Each>
    void forRelated(Each each);

    FileManager& file_;
    std::vector<Link> links_;
    bool framing_ = true;
};

}  // namespace dv
