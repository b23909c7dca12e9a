#include "framework/BatchKeyProgress.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr int kPrefixLetters = 4;
constexpr std::u32string_view kAlphabet = U"0123456789ABCČĆDĐEFGHIJKLMNOPQRSŠTUVWXYZŽ";
constexpr double kBase = static_cast<double>(kAlphabet.size()) + 1;

// The next code point of UTF-8 text (a stray byte counts as itself).
char32_t takeCodePoint(std::string_view& text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length > text.size()) {
        text.remove_prefix(1);
        return lead;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    text.remove_prefix(length);
    return code;
}

// Position in the alphabet from 1; blanks, punctuation and foreign letters sort first as 0.
int rankOf(char32_t letter) {
    const std::size_t at = kAlphabet.find(letter);
    return at == std::u32string_view::npos ? 0 : static_cast<int>(at) + 1;
}

// The text as a fraction in [0, 1) by its first letters.
double textScale(const std::string& value) {
    const std::string upper = upperSlovenian(value);
    std::string_view rest = upper;
    double scale = 0;
    double weight = 1;
    for (int i = 0; i < kPrefixLetters && !rest.empty(); ++i) {
        weight /= kBase;
        scale += rankOf(takeCodePoint(rest)) * weight;
    }
    return scale;
}

double scaleOf(const KeyValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) return static_cast<double>(*number);
    return textScale(std::get<std::string>(value));
}

}  // namespace

KeyProgressEstimator::KeyProgressEstimator(KeyValueRange range) : range_(std::move(range)) {}

std::optional<int> KeyProgressEstimator::percent(const KeyValue& value) const {
    if (value.index() != range_.first.index() || value.index() != range_.last.index())
        return std::nullopt;
    const double first = scaleOf(range_.first);
    const double last = scaleOf(range_.last);
    if (first == last) return std::nullopt;
    const double share = (scaleOf(value) - first) / (last - first);
    return std::clamp(static_cast<int>(std::floor(share * 100)), 0, 100);
}

}  // namespace dv
