#include "app/DemoItems.h"

#include <cstdio>
#include <map>
#include <random>
#include <utility>

#include "app/CheckDigits.h"
#include "app/DemoCodeLists.h"
#include "app/DemoNames.h"
#include "data/RecordBuffers.h"
#include "runtime/CodePage1250.h"
#include "schema/Records.h"

namespace dv {
namespace {

// Margins on the purchase price, in hundredths of a percent.
constexpr std::int64_t kWholesaleMargin = 1500;
constexpr std::int64_t kDealerMargin = 1000;
constexpr std::int64_t kRetailMargin = 3500;

// Every so many stock rows one has no stock and one is negative.
constexpr std::size_t kEmptyStockEvery = 53;
constexpr std::size_t kNegativeStockEvery = 71;

// The fixed seed keeps the demo company the same from run to run.
constexpr unsigned kSeed = 20190116;

const DemoSubgroup& subgroupOf(const DemoItemChoice& item) {
    return demoGroups()[item.group].subgroups[item.subgroup];
}

struct SubgroupRef {
    std::size_t group;
    std::size_t subgroup;
    std::size_t sizes;  // sizes of all its products: the combinations under one brand
};

std::vector<SubgroupRef> allSubgroups() {
    std::vector<SubgroupRef> all;
    const auto& groups = demoGroups();
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (std::size_t s = 0; s < groups[g].subgroups.size(); ++s) {
            std::size_t sizes = 0;
            for (const DemoProduct& product : groups[g].subgroups[s].products)
                sizes += product.sizes.size();
            all.push_back({g, s, sizes});
        }
    return all;
}

// The n-th combination of a subgroup: product and size, then the brand, then the series.
DemoItemChoice nthOf(const SubgroupRef& ref, std::size_t n) {
    const std::size_t perSeries = ref.sizes * demoBrands().size();
    DemoItemChoice item{ref.group, ref.subgroup, 0, 0, (n % perSeries) / ref.sizes,
                        n / perSeries};
    std::size_t within = n % ref.sizes;
    const auto& products = demoGroups()[ref.group].subgroups[ref.subgroup].products;
    while (within >= products[item.product].sizes.size())
        within -= products[item.product++].sizes.size();
    item.size = within;
    return item;
}

// Percent in hundredths as the factor 1 + p/100.
Decimal factor(std::int64_t hundredthsOfPercent) {
    return Decimal::fromUnits(10000 + hundredthsOfPercent, 4);
}

std::int64_t taxRateOf(std::uint16_t code) {
    for (const DemoTaxRate& rate : demoTaxRates())
        if (rate.code == code) return rate.hundredthsOfPercent;
    return 0;
}

class ItemWriter {
  public:
    ItemWriter(DemoTables& tables, FileManager& items, FileManager& stock,
               std::uint16_t countedUnit)
        : tables_(tables),
          items_(items),
          stock_(stock),
          countedUnit_(countedUnit),
          random_(kSeed),
          nextArticle_(demoBrands().size(), 1) {}

    std::vector<DemoStockRow> takeCountedRows() { return std::move(counted_); }

    void add(const DemoItemChoice& item) {
        const Decimal price = Decimal::fromUnits(
            between(subgroupOf(item).lowestPrice, subgroupOf(item).highestPrice), 4);
        addItem(item, price);
        addStock(item, price);
    }

  private:
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low +
               static_cast<std::int64_t>(random_() % static_cast<std::uint64_t>(high - low + 1));
    }

    std::string nextEan(std::size_t brand) {
        // Five digits of article number per maker: ten makers carry kMostDemoItems with room.
        if (nextArticle_[brand] > 99999)
            throw DemoFailure("proizvajalec " + std::string(demoBrands()[brand].name) +
                              " nima več prostih črtnih kod");
        char digits[24];
        std::snprintf(digits, sizeof digits, "383%.4s%05d", demoBrands()[brand].manufacturer.data(),
                      nextArticle_[brand]++);
        return ean13(digits);
    }

    std::string nextCatalogueMark(const DemoItemChoice& item) {
        int& next = nextCatalogue_[{item.group, item.subgroup}];
        char mark[24];
        std::snprintf(mark, sizeof mark, "K%02zu%02zu-%04d", item.group + 1, item.subgroup + 1,
                      ++next);
        return mark;
    }

    void addItem(const DemoItemChoice& item, const Decimal& price) {
        const DemoSubgroup& subgroup = subgroupOf(item);
        const Decimal tax = factor(taxRateOf(subgroup.taxRate));
        const Decimal wholesale = (price * factor(kWholesaleMargin)).rounded(4);
        const Decimal dealer = (price * factor(kDealerMargin)).rounded(4);
        const Decimal retail = (price * factor(kRetailMargin) * tax).rounded(2);
        const bool whole = findDemoUnitOfMeasure(subgroup.unitOfMeasure)->whole;

        prepareNewRecord(items_.table(), items_.buffer());
        const std::string name = utf8ToCp1250(demoItemName(item));
        ARTIKLI.KRATEKNAZIV.setRaw(name.substr(0, ARTIKLI.KRATEKNAZIV.width));
        if (name.size() > ARTIKLI.KRATEKNAZIV.width)
            ARTIKLI.DRUGIDELNAZIVA.setRaw(name.substr(ARTIKLI.KRATEKNAZIV.width));
        ARTIKLI.EAN = nextEan(item.brand);
        ARTIKLI.VRSTAIZDELKA = "B";
        ARTIKLI.SKUPINA = static_cast<std::uint16_t>(item.group + 1);
        ARTIKLI.PODSKUPINA = static_cast<std::uint16_t>(item.subgroup + 1);
        ARTIKLI.KATALOG = nextCatalogueMark(item);
        ARTIKLI.MERSKAENOTA = subgroup.unitOfMeasure;
        ARTIKLI.PAKIRANJE = Decimal(1);
        ARTIKLI.ZALOGAMINVP = Decimal(whole ? 20 : 10);
        ARTIKLI.ZALOGAMINMP = Decimal(whole ? 5 : 2);
        ARTIKLI.MARZANADEBELO = Decimal::fromUnits(kWholesaleMargin, 2);
        ARTIKLI.MARZADEALER = Decimal::fromUnits(kDealerMargin, 2);
        ARTIKLI.MARZANADROBNO = Decimal::fromUnits(kRetailMargin, 2);
        ARTIKLI.DAVEK = subgroup.taxRate;
        ARTIKLI.CENABREZDDV = wholesale;
        ARTIKLI.CENAZDDV = (wholesale * tax).rounded(4);
        ARTIKLI.MPCENA = retail;
        ARTIKLI.MPCENABREZDDV = retail.divide(tax, 6);
        ARTIKLI.DEALERCENABREZDDV = dealer;
        ARTIKLI.DEALERCENAZDDV = dealer * tax;
        ARTIKLI.SNVNOS = "N";
        ARTIKLI.VODENJEZALOGE = "D";
        ARTIKLI.FAKTORCENE = Decimal(1);
        tables_.add(items_);
    }

    bool stocked(const DemoWarehouseUnit& unit) {
        if (unit.code == demoTemporaryReceiptUnit()) return true;
        return between(0, 99) < (unit.kind == "V" ? 75 : 60);
    }

    Decimal quantity(bool whole) {
        ++rows_;
        if (rows_ % kEmptyStockEvery == 0) return Decimal(0);
        if (rows_ % kNegativeStockEvery == 0)
            return whole ? Decimal(-between(1, 5)) : Decimal::fromUnits(-between(250, 5000), 3);
        return whole ? Decimal(between(1, 150)) : Decimal::fromUnits(between(500, 80000), 3);
    }

    void addStock(const DemoItemChoice& item, const Decimal& price) {
        const bool whole = findDemoUnitOfMeasure(subgroupOf(item).unitOfMeasure)->whole;
        for (const DemoWarehouseUnit& unit : demoWarehouseUnits()) {
            if (!stocked(unit)) continue;
            prepareNewRecord(stock_.table(), stock_.buffer());
            ZALOGA.EAN = ARTIKLI.EAN.str();
            ZALOGA.ENOTA = unit.code;
            ZALOGA.KATALOG = ARTIKLI.KATALOG.str();
            ZALOGA.ZALOGA = quantity(whole);
            ZALOGA.ZADNJANABCENA = price;
            ZALOGA.VREDNOSTZALOGE = demoStockValue(ZALOGA.ZALOGA, ZALOGA.ZADNJANABCENA);
            tables_.add(stock_);
            if (unit.code == countedUnit_)
                counted_.push_back({ZALOGA.EAN.str(), ZALOGA.ZALOGA, whole});
        }
    }

    DemoTables& tables_;
    FileManager& items_;
    FileManager& stock_;
    std::uint16_t countedUnit_;
    std::vector<DemoStockRow> counted_;
    std::mt19937 random_;
    std::vector<int> nextArticle_;
    std::map<std::pair<std::size_t, std::size_t>, int> nextCatalogue_;
    std::size_t rows_ = 0;
};

}  // namespace

std::vector<DemoItemChoice> chooseDemoItems(std::size_t count) {
    const std::vector<SubgroupRef> subgroups = allSubgroups();
    std::vector<DemoItemChoice> items;
    items.reserve(count);
    // Subgroups with fewer combinations start their next series sooner; every round still
    // takes one item of each, so the groups stay mixed however many items are asked for.
    for (std::size_t round = 0; items.size() < count && !subgroups.empty(); ++round)
        for (const SubgroupRef& ref : subgroups) {
            if (items.size() == count) break;
            items.push_back(nthOf(ref, round));
        }
    return items;
}

std::string demoItemName(const DemoItemChoice& item) {
    const DemoProduct& product = subgroupOf(item).products[item.product];
    std::string name = std::string(product.name) + " " +
                       std::string(demoBrands()[item.brand].name) + " " +
                       std::string(product.sizes[item.size]);
    if (item.series == 0) return name;
    const std::span<const std::string_view> lines = demoProductLines();
    const std::size_t line = (item.series - 1) % lines.size();
    const std::size_t round = (item.series - 1) / lines.size();
    std::string suffix = " " + std::string(lines[line]);
    if (round > 0) suffix += " " + std::to_string(round + 1);
    // The name is kept in the code page of the tables, where every letter is one character.
    const std::size_t room = kDemoItemNameLength - utf8ToCp1250(suffix).size();
    if (utf8ToCp1250(name).size() > room) name = cp1250ToUtf8(utf8ToCp1250(name).substr(0, room));
    return name + suffix;
}

Decimal demoStockValue(const Decimal& quantity, const Decimal& price) {
    return (quantity * price).rounded(2);
}

std::vector<DemoStockRow> addDemoItems(DemoTables& tables, FileManager& items, FileManager& stock,
                                       std::size_t count, std::uint16_t countedUnit) {
    ItemWriter writer(tables, items, stock, countedUnit);
    for (const DemoItemChoice& item : chooseDemoItems(count)) writer.add(item);
    return writer.takeCountedRows();
}

}  // namespace dv
