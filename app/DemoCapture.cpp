#include "app/DemoCapture.h"

#include <fstream>

#include "app/CheckDigits.h"
#include "app/DemoTables.h"

namespace dv {
namespace {

// Which rows the committee counts differently from the books, scans twice or leaves for hand
// counting; small primes so that the cases overlap now and then, as they do on real shelves.
constexpr std::size_t kHandCountedEvery = 10;
constexpr std::size_t kShortEvery = 7;
constexpr std::size_t kOverEvery = 11;
constexpr std::size_t kTwoShelvesEvery = 4;

// "12" for pieces, "1,250" for weighed goods (a terminal writes the decimal comma).
std::string quantityText(const Decimal& quantity, bool whole) {
    std::string text = quantity.toString(whole ? 0 : 3);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

std::string line(const std::string& code, const Decimal& quantity, bool whole) {
    return code + ";" + quantityText(quantity, whole) + "\r\n";
}

Decimal counted(const DemoStockRow& row, std::size_t index) {
    const Decimal step = row.whole ? Decimal(1) : Decimal::fromUnits(250, 3);
    Decimal quantity = row.quantity.sign() < 0 ? Decimal(0) : row.quantity;
    if (index % kShortEvery == 3 && quantity >= step) quantity -= step;
    if (index % kOverEvery == 5) quantity += step;
    return quantity;
}

}  // namespace

std::string demoUnknownCode() { return ean13("383000000001"); }

std::string demoCaptureText(const std::vector<DemoStockRow>& rows) {
    std::string text = "EAN;KOLICINA\r\n";
    // The second shelf of an item is scanned after the first walk through the shop.
    std::string secondShelf;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i % kHandCountedEvery == kHandCountedEvery - 1) continue;
        const DemoStockRow& row = rows[i];
        const Decimal quantity = counted(row, i);
        if (i % kTwoShelvesEvery == 1 && row.whole && quantity >= Decimal(2)) {
            const Decimal first = Decimal::fromUnits(quantity.unitsAt(0) / 2, 0);
            text += line(row.ean, first, true);
            secondShelf += line(row.ean, quantity - first, true);
        } else {
            text += line(row.ean, quantity, row.whole);
        }
    }
    return text + secondShelf + line(demoUnknownCode(), Decimal(1), true);
}

void writeDemoCapture(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw DemoFailure("datoteke zajema " + file.string() + " ni mogoče zapisati");
}

}  // namespace dv
