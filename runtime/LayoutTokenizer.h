#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

// One blank-separated word of a layout or script line.
struct LayoutToken {
    std::string text;     // with the quotes and escapes resolved
    bool quoted = false;  // the word began with a double quote
};

// The words of one line, or the reason the line cannot be split.
struct LayoutLine {
    std::vector<LayoutToken> tokens;
    std::string error;  // empty when the line is well formed
    bool ok() const { return error.empty(); }
};

// Splits a line of a window layout or UI script into words. Blanks and tabs separate words; a
// double-quoted piece keeps its blanks, and inside it \" stands for a quote and \\ for a
// backslash (any other backslash is kept as written, so Windows paths need no doubling). Quoted
// and unquoted pieces without a blank between them form one word (tip="Šifra enote"). A "#" that
// begins a word starts a comment that runs to the end of the line. A quote left open is an error.
LayoutLine splitLayoutLine(std::string_view line);

// The number of blanks before a line's first word; nullopt when a tab stands among them
// (layouts are indented with blanks only).
std::optional<int> layoutIndent(std::string_view line);

// Calls `visit(text)` for every line of a layout, in order; the lines are split at "\n".
template <class Visit>
void forEachLayoutLine(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        visit(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace dv
