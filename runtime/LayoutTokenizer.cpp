#include "runtime/LayoutTokenizer.h"

namespace dv {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the quoted piece that starts at line[pos] (the opening quote) into `out`; returns the
// position after the closing quote, or npos when the quote is never closed.
std::size_t readQuoted(std::string_view line, std::size_t pos, std::string& out) {
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') return pos + 1;
        if (c == '\\' && pos + 1 < line.size() && (line[pos + 1] == '"' || line[pos + 1] == '\\'))
            c = line[++pos];
        out += c;
    }
    return std::string_view::npos;
}

}  // namespace

LayoutLine splitLayoutLine(std::string_view line) {
    LayoutLine result;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] == '#') break;
        LayoutToken token;
        token.quoted = line[pos] == '"';
        const std::size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) {
            if (line[pos] != '"') {
                token.text += line[pos++];
                continue;
            }
            pos = readQuoted(line, pos, token.text);
            if (pos == std::string_view::npos) {
                result.error =
                    "quoted text opened at column " + std::to_string(start + 1) + " is not closed";
                result.tokens.clear();
                return result;
            }
        }
        result.tokens.push_back(std::move(token));
    }
    return result;
}

std::optional<int> layoutIndent(std::string_view line) {
    const std::size_t firstWord = line.find_first_not_of(" \t");
    const std::string_view margin = line.substr(0, firstWord);
    if (margin.find('\t') != std::string_view::npos) return std::nullopt;
    return static_cast<int>(margin.size());
}

}  // namespace dv
