#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/DemoTables.h"

namespace dv {

// The demo company's code lists: the company record, tax rates, units of measure, item groups
// and subgroups, warehouse units, transaction types and partners.

// The owner's partner code (the company itself) and the transaction types that the stocktake
// parameters name, for both sale kinds: shortage (mark "I") and surplus (mark "N"), and the
// temporary receipt of the service settings (mark "N").
inline constexpr std::uint32_t kDemoOwnerPartner = 1;
inline constexpr std::uint16_t kDemoShortageType = 35;
inline constexpr std::uint16_t kDemoSurplusType = 15;
inline constexpr std::uint16_t kDemoTemporaryReceiptType = 18;
inline constexpr std::uint16_t kDemoCompany = 1;

struct DemoWarehouseUnit {
    std::uint16_t code;
    std::string_view kind;  // "M" retail, "V" wholesale
    std::string_view name;
    std::string_view address;
    std::string_view postCode;
    std::string_view place;
    std::string_view head;
    std::string_view phone;
    std::string_view email;
};

std::span<const DemoWarehouseUnit> demoWarehouseUnits();

// The wholesale unit that receives the temporary receipts.
std::uint16_t demoTemporaryReceiptUnit();

// Adds company 1 and its business account to the company tables unless company 1 is already
// there; returns whether the existing one was kept.
bool addDemoCompanyRecord(DemoTables& tables, FileManager& companies, FileManager& accounts);

void addDemoTaxRates(DemoTables& tables, FileManager& rates);
void addDemoUnitsOfMeasure(DemoTables& tables, FileManager& units);
void addDemoGroups(DemoTables& tables, FileManager& groups, FileManager& subgroups);
void addDemoWarehouseUnits(DemoTables& tables, FileManager& units);
void addDemoTransactionTypes(DemoTables& tables, FileManager& types);
void addDemoPartners(DemoTables& tables, FileManager& partners);

}  // namespace dv
