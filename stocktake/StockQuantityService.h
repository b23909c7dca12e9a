#pragma once

#include <cstdint>
#include <string>

#include "runtime/Decimal.h"
#include "stocktake/StocktakePosting.h"

namespace dv {

class FileManager;

// What the service books: one quantity into the stock of every item of a unit, as one receipt
// document of the given kind.
struct StockQuantityRequest {
    std::string saleType;    // GLO:VRSTAPZAC
    std::uint16_t unit = 0;  // GLO:ENOTAZAC
    Decimal quantity;        // GLO:KOLICINA
    std::string mark;        // the first character of GLO:OZNAKAZAC
    std::uint16_t type = 0;  // GLO:VRSTAPROMETAZAC
};

// The service that writes one quantity into the stock of every item (ARTIKLI in code order): a
// document header numbered after the highest document of its kind, one line per item, each
// item's stock row (created where missing) raised in quantity and value. All of it is one
// transaction: a failed write or a cancelled pass keep nothing, and say so.
class StockQuantityService {
  public:
    explicit StockQuantityService(StockQuantityRequest request, PostingNotifier notify = {});
    ~StockQuantityService();
    StockQuantityService(const StockQuantityService&) = delete;
    StockQuantityService& operator=(const StockQuantityService&) = delete;

    // Opens the tables, begins the transaction and adds the header. False when that failed
    // (reported; nothing kept).
    bool Start();
    // Books the item in the ARTIKLI buffer. False when a write failed (reported).
    bool BookItem();
    // Commits. False when that failed (reported; nothing kept).
    bool Finish();
    // Undoes everything and says so.
    void Abandon();

    bool Failed() const { return failed_; }
    std::int32_t documentNumber() const { return number_; }
    FileManager& items() const { return *items_; }

  private:
    bool addHeader();
    bool readOrCreateStock(const std::string& code);
    bool addLine(const std::string& code);
    bool updateStock();
    void fail(std::string caption, std::string text);

    StockQuantityRequest request_;
    PostingNotifier notify_;
    TableGuard tables_;
    BatchTransaction transaction_;
    FileManager* documents_ = nullptr;
    FileManager* lines_ = nullptr;
    FileManager* stock_ = nullptr;
    FileManager* items_ = nullptr;
    FileManager* rates_ = nullptr;
    FileManager* measures_ = nullptr;
    std::int32_t number_ = 0;
    std::uint32_t line_ = 0;
    std::optional<ItemCodeLists> codeLists_;
    bool failed_ = false;
};

}  // namespace dv
