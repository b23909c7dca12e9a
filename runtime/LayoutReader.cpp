#include "runtime/LayoutReader.h"

#include <cctype>
#include <charconv>

#include "runtime/Layout.h"
#include "runtime/Picture.h"

namespace dv {

LayoutReader::LayoutReader(std::string_view source, std::string_view keyword,
                           std::string_view textName)
    : source_(source), keyword_(keyword), textName_(textName) {}

void LayoutReader::read(std::string_view text) {
    forEachLayoutLine(text, [this](std::string_view line) {
        ++line_;
        readLine(line);
    });
    if (!sawHeader_) fail("the file has no " + keyword_ + " line");
}

void LayoutReader::readLine(std::string_view text) {
    const LayoutLine words = splitLayoutLine(text);
    if (!words.ok()) fail(words.error);
    if (words.tokens.empty()) return;
    const std::optional<int> margin = layoutIndent(text);
    if (!margin) fail("indent with blanks, not tabs");
    const int indent = *margin;
    if (!sawHeader_) {
        if (indent != 0) fail("the " + keyword_ + " line must not be indented");
        readHeader(words.tokens);
        return;
    }
    if (indent == 0) fail("only the " + keyword_ + " line starts at the left margin");
    line(indent, words.tokens);
}

void LayoutReader::readHeader(const std::vector<LayoutToken>& words) {
    if (words[0].quoted || words[0].text != keyword_)
        fail("the file must begin with '" + keyword_ + "'");
    if (words.size() < 3 || words[1].quoted || !words[2].quoted)
        fail("expected: " + keyword_ + " NAME \"" + textName_ + "\"");
    checkIdentifier(words[1].text, keyword_ + " name");
    header(words[1].text, words[2].text, std::span(words).subspan(3));
    sawHeader_ = true;
    levels_.push_back(Level{0, 0});
}

void LayoutReader::fail(const std::string& reason) const {
    failAtLine(line_, reason);
}

void LayoutReader::failAtLine(int line, const std::string& reason) const {
    throw LayoutError(source_ + ":" + std::to_string(line) + ": " + reason);
}

void LayoutReader::failInFile(const std::string& reason) const {
    throw LayoutError(source_ + ": " + reason);
}

const LayoutReader::Level& LayoutReader::parentFor(int indent) {
    while (levels_.back().indent >= indent) levels_.pop_back();
    Level& parent = levels_.back();
    if (parent.childIndent < 0)
        parent.childIndent = indent;
    else if (parent.childIndent != indent && !parent.anyDeeper)
        fail("the indentation matches no outer line");
    return parent;
}

void LayoutReader::open(int indent, int number, bool anyDeeper) {
    levels_.push_back(Level{indent, number, -1, anyDeeper});
}

LayoutReader::Attribute LayoutReader::attribute(const LayoutToken& token) {
    const std::size_t eq = token.text.find('=');
    if (eq == std::string::npos) return {token.text, {}, false};
    return {token.text.substr(0, eq), token.text.substr(eq + 1), true};
}

void LayoutReader::checkIdentifier(const std::string& name, std::string_view what) const {
    if (name.empty()) fail(std::string(what) + " is empty");
    for (unsigned char c : name)
        if (!(std::isalnum(c) || c == '_' || c == ':' || c >= 0x80))
            fail(std::string(what) + " '" + name + "' has the character '" + static_cast<char>(c) +
                 "'");
}

std::string LayoutReader::identifier(const std::string& value, std::string_view what) const {
    checkIdentifier(value, what);
    return value;
}

int LayoutReader::wholeNumber(const std::string& text, const std::string& key) const {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) fail(key + " needs a whole number, not '" + text + "'");
    return value;
}

std::string LayoutReader::picture(const std::string& text) const {
    std::string reason;
    if (!Picture::parse(text, &reason)) fail("picture " + text + ": " + reason);
    return text;
}

}  // namespace dv
