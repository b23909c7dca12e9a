#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <utility>

#include "runtime/Decimal.h"
#include "runtime/FrontEnd.h"

namespace dv {

class FileManager;
class TableGuard;

// What the batches that write stock documents (the posting, the stock service) share.

// The highest line number a document line can carry (DOKPROME:POSTAVKADOKUMENTA, 16 bits).
inline constexpr std::uint32_t kMaxLineNumber = std::numeric_limits<std::uint16_t>::max();

// Where a batch's messages go; by default a message box of the front end.
using PostingNotifier = std::function<void(const MessageBoxRequest&)>;
void notifyPosting(const PostingNotifier& notify, std::string caption, std::string text,
                   MessageIcon icon);

// Opens the named tables under `tables` and creates them where missing, before the batch's
// transaction begins (no table is created inside one), pointing each FileManager* at its table.
// False when one cannot be opened (reported).
bool openBatchTables(TableGuard& tables,
                     std::initializer_list<std::pair<const char*, FileManager**>> files);

// The key of a table by its name.
int keyOf(FileManager& file, const char* name);

// The identity of a new document: the highest DOK:Id + 1, or 1 for an empty table.
std::uint32_t nextDocumentId(FileManager& documents);

// The 60-character name group ARTIKLI:Naziv of the item in its buffer: the short name followed
// by the second part, as a document line carries it.
std::string itemLineName();

// The stock row of item `code` in `unit` into the ZALOGA buffer; a missing one is created empty.
// False when it can be neither read nor created (the runtime error says why).
bool fetchOrCreateStock(FileManager& stock, std::uint16_t unit, const std::string& code);

// The tax rate and the unit of measure of the item in the ARTIKLI buffer, each code read once
// per batch: those code lists are small, and every line needs them. Leaves the SFDDV and SFEM
// buffers alone when the code was read before.
class ItemCodeLists {
  public:
    ItemCodeLists(FileManager& rates, FileManager& measures) : rates_(rates), measures_(measures) {}

    // Looks up the item's codes; rate() and measureName() then hold what they name (0 and blank
    // for a missing code).
    void Read();
    const Decimal& rate() const { return rate_; }
    const std::string& measureName() const { return measureName_; }

  private:
    FileManager& rates_;
    FileManager& measures_;
    std::map<std::uint16_t, Decimal> rateByCode_;
    std::map<std::uint16_t, std::string> measureByCode_;
    Decimal rate_;
    std::string measureName_;
};

}  // namespace dv
