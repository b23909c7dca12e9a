#include "storage/DelimitedText.h"

#include <algorithm>
#include <charconv>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr char kQuote = '"';

// Reads a quoted field starting at the opening quote; returns the position after it and the
// blanks that follow.
std::size_t readQuoted(std::string_view line, std::size_t at, std::string& field) {
    ++at;
    while (at < line.size()) {
        if (line[at] != kQuote) {
            field += line[at++];
        } else if (at + 1 < line.size() && line[at + 1] == kQuote) {
            field += kQuote;
            at += 2;
        } else {
            ++at;
            break;
        }
    }
    while (at < line.size() && line[at] == ' ') ++at;
    return at;
}

}  // namespace

TextFileOptions parseTextFileOptions(std::string_view options) {
    TextFileOptions parsed;
    while (!options.empty()) {
        const std::size_t start = options.find_first_not_of('/');
        if (start == std::string_view::npos) break;
        options.remove_prefix(start);
        const std::size_t end = options.find('/');
        const std::string_view option = options.substr(0, end);
        options.remove_prefix(end == std::string_view::npos ? options.size() : end);
        const std::size_t equals = option.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = trimBlanks(option.substr(0, equals));
        const std::string_view value = trimBlanks(option.substr(equals + 1));
        if (equalsIgnoreCaseAscii(name, "COMMA")) {
            int code = 0;
            const auto [rest, error] =
                std::from_chars(value.data(), value.data() + value.size(), code);
            if (error == std::errc() && rest == value.data() + value.size() && code > 0 &&
                code < 256)
                parsed.separator = static_cast<char>(code);
        } else if (equalsIgnoreCaseAscii(name, "ALWAYSQUOTE")) {
            parsed.alwaysQuote = equalsIgnoreCaseAscii(value, "ON");
        }
    }
    return parsed;
}

std::vector<std::string> splitFields(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        std::string field;
        std::size_t start = at;
        while (start < line.size() && line[start] == ' ') ++start;
        if (start < line.size() && line[start] == kQuote) {
            at = readQuoted(line, start, field);
            // Anything between the closing quote and the separator belongs to the field.
            while (at < line.size() && line[at] != separator) field += line[at++];
        } else {
            const std::size_t end = std::min(line.find(separator, at), line.size());
            field.assign(line.substr(at, end - at));
            at = end;
        }
        fields.push_back(std::move(field));
        if (at >= line.size()) break;
        ++at;  // the separator
    }
    return fields;
}

std::string joinFields(const std::vector<std::string>& fields, const TextFileOptions& options) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += options.separator;
        // A record is one line: line breaks in a field become blanks.
        std::string field = fields[i];
        std::replace_if(
            field.begin(), field.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        const bool quote =
            options.alwaysQuote ||
            field.find_first_of(std::string{options.separator, kQuote}) != std::string::npos;
        if (!quote) {
            line += field;
            continue;
        }
        line += kQuote;
        for (const char c : field) {
            if (c == kQuote) line += kQuote;
            line += c;
        }
        line += kQuote;
    }
    return line;
}

}  // namespace dv
