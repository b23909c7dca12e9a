#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"

namespace dv {

// The storage form of a text record field of N characters: code page 1250 bytes padded with
// blanks, the only member, so generic record code may copy it as N bytes. Inside the program
// it reads and writes UTF-8; characters the code page cannot hold become '?', and text longer
// than N characters is cut. Trailing blanks carry no meaning: "AB" equals "AB   ".
template <std::size_t N>
class FixedText {
    static_assert(N >= 1, "a text field holds at least one character");

  public:
    static constexpr std::size_t width = N;

    FixedText() { clear(); }
    explicit FixedText(std::string_view utf8) { assign(utf8); }
    FixedText& operator=(std::string_view utf8) { return assign(utf8); }

    FixedText& assign(std::string_view utf8) {
        setRaw(utf8ToCp1250(utf8));
        return *this;
    }

    // The text in UTF-8 without its trailing blanks.
    std::string str() const { return cp1250ToUtf8(trimTrailingBlanks(raw())); }
    // All N code page bytes, padding included.
    std::string_view raw() const { return std::string_view(bytes_, N); }
    // Takes code page bytes as they are, cut or padded to N.
    void setRaw(std::string_view cp1250) {
        const std::size_t length = std::min(cp1250.size(), N);
        std::copy_n(cp1250.data(), length, bytes_);
        std::fill(bytes_ + length, bytes_ + N, ' ');
    }

    bool blank() const { return trimTrailingBlanks(raw()).empty(); }
    void clear() { std::fill(bytes_, bytes_ + N, ' '); }

    template <std::size_t M>
    bool operator==(const FixedText<M>& other) const {
        return trimTrailingBlanks(raw()) == trimTrailingBlanks(other.raw());
    }
    // Compared as the UTF-8 texts they hold, so a character the code page lacks never matches
    // the '?' stored in its place.
    bool operator==(std::string_view utf8) const { return str() == trimTrailingBlanks(utf8); }

  private:
    char bytes_[N];
};

namespace detail {
using SampleFixedText = FixedText<13>;
static_assert(std::is_standard_layout_v<SampleFixedText>);
static_assert(std::is_trivially_copyable_v<SampleFixedText>);
static_assert(sizeof(SampleFixedText) == 13);
}  // namespace detail

}  // namespace dv
