#pragma once

#include <functional>
#include <string>

#include "frontend/ProgramRun.h"
#include "frontend/TempDirectory.h"

namespace dv::test {

// One transaction type as a test puts it into SFVRPROM.
struct TransactionType {
    std::string saleKind;  // "M" or "V"
    std::string mark;      // document mark
    int number;
    std::string description;
    std::string title;
    std::string stockEffect = "+";
    int locked = 0;
    int hidden = 0;
    int ownUse = 0;
};

// A program directory in a fresh temporary directory, its code lists filled by the test before
// the program runs on it (the program resolves its tables there as it does at every start).
class CodeListData {
  public:
    CodeListData();
    ~CodeListData();
    CodeListData(const CodeListData&) = delete;
    CodeListData& operator=(const CodeListData&) = delete;

    const std::filesystem::path& path() const { return directory_.path(); }

    // Rows written as they are, without numbering or rules.
    void addUnit(int code, const std::string& name, const std::string& kind);
    void addType(const TransactionType& type);
    void addGroup(int code, const std::string& name);
    void addSubgroup(int group, int code, const std::string& name);

    // A row of any table, as `fill` leaves it in the table's cleared buffer.
    void add(const char* table, const std::function<void()>& fill);

    // Runs the UI script with the program on this directory (the date fixed at 15.03.2024).
    ProgramRun runScript(const std::string& script) const;

  private:
    TempDirectory directory_;
};

}  // namespace dv::test
