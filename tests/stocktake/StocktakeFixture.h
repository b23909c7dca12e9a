#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "masterdata/FormScriptFixture.h"
#include "runtime/Date.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv::test {

// One item of the item master as a test puts it in, with its prices (6 places as text).
struct Item {
    std::string ean;
    std::string shortName;
    std::string secondName = "";
    int group = 0;
    std::string wholesale = "0";  // ARTIKLI:CENABREZDDV
    std::string retail = "0";     // ARTIKLI:MPCENA
};

// The program on fresh tables in the test's process, with the stocktake procedures started by
// UI scripts by their own names, and helpers that put rows into the tables as they are.
class StocktakeFixture : public FormScriptFixture {
  protected:
    // The program's date: 15.03.2024.
    static constexpr DayNumber kToday = 81527;

    StocktakeFixture();
    ~StocktakeFixture() override;

    // Rows written as they are, without numbering or rules.
    void addRow(const std::string& table, const std::function<void()>& fill);
    void addUnit(int code, const std::string& name, const std::string& kind);
    void addGroup(int code, const std::string& name);
    void addItem(const Item& item);
    void addStock(const std::string& ean, int unit, const std::string& quantity,
                  const std::string& lastPrice = "0");
    void addStocktake(int number, int unit, const std::string& saleType, DayNumber date,
                      DayNumber closed = 0);
    // A line of the stock document (sale type, unit, mark, transaction type, number).
    void addDocumentLine(const std::string& saleType, int unit, const std::string& mark,
                         int transactionType, int number);
    // Items 00001.. with a stock row each in `unit`: item i has i units at price i.
    void addItemsWithStock(int count, int unit);

    // Puts the stocktake into the INVENTUR buffer and runs the template preparation, as the
    // register does; registered as "Priprava" + the number.
    void preparation(int number, int unit, const std::string& saleType, bool repreparation);

    // The single value (or rows, "\n"-joined) of a read-only statement.
    std::string sql(const std::string& statement);
};

}  // namespace dv::test
