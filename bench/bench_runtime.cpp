// Speed of the decimal arithmetic on the program's hot paths: summing quantities, pricing a
// line, averaging a price, and reading and showing numbers.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runtime/Decimal.h"
#include "runtime/PictureFormat.h"

namespace {

using dv::Decimal;

constexpr std::size_t operandCount = 1024;  // a power of two, so that `i & mask` cycles
constexpr std::size_t mask = operandCount - 1;

// Varied values of up to `digits` digits with `places` places, some negative, so that no
// operation can be folded into a constant.
std::vector<Decimal> operands(int digits, int places, unsigned seed) {
    dv::Int128 limit = 1;
    for (int i = 0; i < digits; ++i) limit *= 10;
    std::vector<Decimal> values;
    std::uint64_t state = seed;
    for (std::size_t i = 0; i < operandCount; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const dv::Int128 units = static_cast<dv::Int128>(state >> 11) % limit;
        values.push_back(Decimal::fromUnits(i % 5 == 0 ? -units : units, places));
    }
    return values;
}

void BM_DecimalAdd(benchmark::State& state) {
    const auto a = operands(9, 3, 1);
    const auto b = operands(13, 2, 2);
    std::size_t i = 0;
    for (auto _ : state) {
        Decimal sum = a[i & mask] + b[i & mask];
        benchmark::DoNotOptimize(sum);
        ++i;
    }
}
BENCHMARK(BM_DecimalAdd);

// A 9-digit quantity with 3 places times a 13-digit price with 6 places, to 2 places.
void BM_DecimalMultiplyRound(benchmark::State& state) {
    const auto quantities = operands(9, 3, 3);
    const auto prices = operands(13, 6, 4);
    std::size_t i = 0;
    for (auto _ : state) {
        Decimal value = (quantities[i & mask] * prices[i & mask]).rounded(2);
        benchmark::DoNotOptimize(value);
        ++i;
    }
}
BENCHMARK(BM_DecimalMultiplyRound);

// An average price: a value with 2 places over a quantity with 3 places, to 4 places.
void BM_DecimalDivide(benchmark::State& state) {
    const auto values = operands(13, 2, 5);
    const auto quantities = operands(9, 3, 6);
    std::size_t i = 0;
    for (auto _ : state) {
        Decimal average = values[i & mask].divide(quantities[i & mask], 4);
        benchmark::DoNotOptimize(average);
        ++i;
    }
}
BENCHMARK(BM_DecimalDivide);

void BM_DecimalParse(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const Decimal& value : operands(11, 4, 7)) {
        std::string text = value.toString();
        text[text.find('.')] = ',';
        texts.push_back(std::move(text));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        auto value = Decimal::parse(texts[i & mask]);
        benchmark::DoNotOptimize(value);
        ++i;
    }
}
BENCHMARK(BM_DecimalParse);

// A price in a report column: 14 wide, 4 decimals, decimal comma, blank when 0.
void BM_DecimalFormat(benchmark::State& state) {
    const auto values = operands(9, 4, 8);
    const dv::Picture picture = dv::Picture::of("@N-14`4B");
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = dv::format(values[i & mask], picture);
        benchmark::DoNotOptimize(text);
        ++i;
    }
}
BENCHMARK(BM_DecimalFormat);

}  // namespace

BENCHMARK_MAIN();
