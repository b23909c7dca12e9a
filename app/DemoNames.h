#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dv {

// The word lists from which the demo company's item catalogue is made: item groups with their
// subgroups, each subgroup with its products, the pack sizes each product comes in, and the
// brands. An item is a product in one of its sizes under one brand
// ("Kruh polnozrnati Planika 500 g").

struct DemoProduct {
    std::string_view name;
    std::vector<std::string_view> sizes;
};

struct DemoSubgroup {
    std::string_view name;        // at most 30 characters
    std::uint16_t unitOfMeasure;  // code of the demo's units of measure
    std::uint16_t taxRate;        // code of the demo's tax rates
    std::int64_t lowestPrice;     // purchase price range in units of 0.0001 EUR
    std::int64_t highestPrice;
    std::vector<DemoProduct> products;
};

struct DemoGroup {
    std::string_view name;  // at most 30 characters
    std::vector<DemoSubgroup> subgroups;
};

struct DemoBrand {
    std::string_view name;
    std::string_view manufacturer;  // four digits: the maker's part of the bar code after 383
};

// Units of measure (code, name) and tax rates (code, rate in hundredths of a percent).
struct DemoUnitOfMeasure {
    std::uint16_t code;
    std::string_view name;
    bool whole;  // counted in whole pieces
};
struct DemoTaxRate {
    std::uint16_t code;
    std::int64_t hundredthsOfPercent;
};

const std::vector<DemoGroup>& demoGroups();
std::span<const DemoBrand> demoBrands();
// The product lines a maker brings out once every size of a product is in the catalogue:
// "bio", "eko", ... added to the name of the later series.
std::span<const std::string_view> demoProductLines();
std::span<const DemoUnitOfMeasure> demoUnitsOfMeasure();
std::span<const DemoTaxRate> demoTaxRates();

// The unit of measure of a code; nullptr for an unknown one.
const DemoUnitOfMeasure* findDemoUnitOfMeasure(std::uint16_t code);

}  // namespace dv
