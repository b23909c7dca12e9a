#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Date.h"
#include "runtime/Decimal.h"
#include "runtime/FrontEnd.h"
#include "stocktake/StockDocuments.h"
#include "storage/BatchTransaction.h"
#include "storage/FieldsRead.h"
#include "storage/TableGuard.h"

namespace dv {

class FileManager;

// One stocktake: its number, unit and sale type ("M" or "V").
struct StocktakeKey {
    std::uint16_t number = 0;
    std::uint16_t unit = 0;
    std::string saleType;

    friend bool operator==(const StocktakeKey&, const StocktakeKey&) = default;
};

// The stocktake the program-wide selection names (GLO:DIDEROVIV, GLO:ENOTAINV, GLO:VRSTAINV).
StocktakeKey selectedStocktake();

// An item whose stock quantity moved after its template row froze the book quantity.
struct MovedStockItem {
    std::string code;
    std::string name;
    Decimal book;     // INVENDET:RacZaloga
    Decimal stock;    // ZALOGA:ZALOGA now (0 without a stock row)
    Decimal counted;  // INVENDET:PopisanaZaloga
};

// The posting of a stocktake's differences: a surplus and a shortage document numbered with the
// stocktake's number, one line per differing template row, the stock row of each such item
// corrected in quantity and value, and the stocktake closed with its dates and document numbers.
//
// All of it is one transaction: nothing is kept unless Finish commits, so that a cancelled pass,
// a failed write or a killed program leave documents, lines, stock and the stocktake as they
// were, the stocktake open. A failure of any write is reported with the message the posting has
// always shown for it, and the posting then cannot go on (Failed()).
//
//   StocktakePosting posting(key, date, chairman);
//   if (!posting.Open() || !posting.Start()) return;   // reported
//   for each template row in the INVENDET buffer: if (!posting.PostRow()) break;
//   if (!posting.Failed()) posting.Finish(); else posting.Abandon();
class StocktakePosting {
  public:
    StocktakePosting(StocktakeKey key, DayNumber postingDate, std::string chairman,
                     PostingNotifier notify = {});
    ~StocktakePosting();
    StocktakePosting(const StocktakePosting&) = delete;
    StocktakePosting& operator=(const StocktakePosting&) = delete;

    // Opens the tables and checks, before anything is written, that the stocktake exists and is
    // open and that no document of either kind carries its number yet. False when the posting
    // cannot start (the reason has been reported).
    bool Open();
    // The template rows whose item's stock quantity differs from the frozen book quantity, in
    // item order; the number of template rows read is left in `rows`.
    std::vector<MovedStockItem> MovedStock(std::int64_t& rows);
    // Begins the transaction and adds both document headers. False when it failed (reported;
    // nothing is kept).
    bool Start();
    // Posts the template row in the INVENDET buffer. False when a write failed: the failure has
    // been reported and the posting must be abandoned.
    bool PostRow();
    // Closes the stocktake and commits everything. False when that failed (reported; nothing
    // is kept).
    bool Finish();
    // Undoes everything written since Start.
    void Abandon();

    bool Failed() const { return failed_; }
    // Lines written so far.
    std::uint32_t surplusLines() const { return surplusCounter_ - 1; }
    std::uint32_t shortageLines() const { return shortageCounter_ - 1; }
    const StocktakeKey& key() const { return key_; }

    // The transaction types of the two documents of a sale type, as the settings give them.
    static std::uint16_t surplusType(const std::string& saleType);
    static std::uint16_t shortageType(const std::string& saleType);

  private:
    struct Difference;

    bool readStocktake();
    bool documentsExist();
    bool lineExists(const std::string& mark, std::uint16_t type);
    bool addHeader(bool surplus);
    bool postDifference(const Difference& difference);
    void readItem();
    bool readOrCreateStock(const Difference& difference);
    bool addLine(const Difference& difference, const Decimal& price);
    bool updateStock(const Difference& difference);
    void fail(std::string caption, std::string text);
    void notify(std::string caption, std::string text, MessageIcon icon);

    StocktakeKey key_;
    DayNumber postingDate_;
    std::string chairman_;
    PostingNotifier notify_;
    TableGuard tables_;
    BatchTransaction transaction_;
    FileManager* stocktakes_ = nullptr;
    FileManager* template_ = nullptr;
    FileManager* documents_ = nullptr;
    FileManager* lines_ = nullptr;
    FileManager* stock_ = nullptr;
    FileManager* items_ = nullptr;
    FileManager* rates_ = nullptr;
    FileManager* measures_ = nullptr;
    FileManager* partners_ = nullptr;
    std::optional<ItemCodeLists> codeLists_;  // of the item read last
    // The few fields of the item and of its stock row the posting uses.
    std::optional<FieldsRead> itemFields_;
    std::optional<FieldsRead> stockFields_;
    std::uint32_t surplusCounter_ = 1;
    std::uint32_t shortageCounter_ = 1;
    bool opened_ = false;
    bool failed_ = false;
};

// The error of the last failed table operation as the posting's messages quote it:
// code, " - ", text.
std::string lastErrorQuote();

}  // namespace dv
