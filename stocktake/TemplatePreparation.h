#pragma once

#include <cstdint>
#include <string>

#include "runtime/MessageRaiser.h"

namespace dv {

class FileManager;

// What preparing one item gave.
enum class TemplateItem : std::uint8_t {
    Written,  // the template row was added or refreshed
    Failed,   // it was not; failureText() says why, in the words the user is shown
};

// The template rows of one stocktake, written item by item: the stocktake is the one in the
// INVENTUR buffer, the item the one in the ARTIKLI buffer. A first preparation adds one
// INVENDET row per item with the book quantity and prices of the item's stock in the
// stocktake's unit (an item without a stock row there gets book quantity and purchase price 0);
// a re-preparation refreshes book quantity and prices of the rows that exist and keeps what was
// counted, and never adds a row. Prices are kept to 4 places, rounded half away from zero.
//
// The tables must be open on the calling thread; the caller keeps the writes together (see
// BatchTransaction) and walks the items.
class TemplatePreparation {
  public:
    // `countsFromStock`: the counted quantity of a new row starts at the book quantity
    // (GLO:PREDLAGANDEFAULTPOPIS 1), else at 0.
    TemplatePreparation(FileManager& items, FileManager& stock, FileManager& lines,
                        bool repreparation, bool countsFromStock);

    TemplateItem prepareItem();

    const std::string& failureText() const { return failure_; }
    std::int64_t written() const { return written_; }
    std::int64_t failed() const { return failed_; }

  private:
    void readStock();
    void locateLine();
    TemplateItem addLine();
    TemplateItem refreshLine();
    TemplateItem fail(std::string text);

    FileManager& items_;
    FileManager& stock_;
    FileManager& lines_;
    const bool repreparation_;
    const bool countsFromStock_;
    const int stockByUnit_;
    std::string failure_;
    std::int64_t written_ = 0;
    std::int64_t failed_ = 0;
};

}  // namespace dv
