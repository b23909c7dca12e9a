#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/LayoutTokenizer.h"

namespace dv {

// What the readers of window and report layouts share; each grammar derives from it and adds
// only its own lines and attributes.
//
// A layout file begins with its header line, not indented: KEYWORD NAME "TEXT" [ATTRIBUTE ...].
// Every other line is indented with blanks; blank lines and comments are skipped. The lines a
// line holds are indented deeper than it, all by the same amount unless that line was opened
// as taking any deeper indentation. Any failure is a LayoutError "SOURCE:LINE: reason".
class LayoutReader {
  protected:
    // An attribute word: KEY=VALUE, or the flag KEY alone.
    struct Attribute {
        std::string key;
        std::string value;
        bool hasValue;
    };

    // A line that holds the lines indented under it; number 0 is the header line, the others
    // are numbered by the grammar.
    struct Level {
        int indent;
        int number;
        int childIndent = -1;  // the indentation of the lines it holds, once known
        bool anyDeeper = false;
    };

    // `keyword` begins the header line ("window"), `textName` names its quoted text in the
    // messages ("CAPTION").
    LayoutReader(std::string_view source, std::string_view keyword, std::string_view textName);
    virtual ~LayoutReader() = default;
    LayoutReader(const LayoutReader&) = delete;
    LayoutReader& operator=(const LayoutReader&) = delete;

    // Reads the text: the header line through header(), every other line with words through
    // line(). Fails when there is no header line.
    void read(std::string_view text);
    virtual void header(const std::string& name, const std::string& text,
                        std::span<const LayoutToken> attributes) = 0;
    virtual void line(int indent, const std::vector<LayoutToken>& words) = 0;

    const std::string& source() const { return source_; }
    // The number of the line being read, from 1.
    int lineNumber() const { return line_; }
    [[noreturn]] void fail(const std::string& reason) const;
    [[noreturn]] void failAtLine(int line, const std::string& reason) const;
    // A failure of the layout as a whole: "SOURCE: reason".
    [[noreturn]] void failInFile(const std::string& reason) const;

    // Closes the levels that a line at `indent` ends and gives the one that holds it.
    const Level& parentFor(int indent);
    // The line just read, at `indent`, holds the lines indented under it.
    void open(int indent, int number, bool anyDeeper = false);

    static Attribute attribute(const LayoutToken& token);
    // Letters, digits, "_", ":" and the bytes of non-ASCII letters; `what` names it in messages.
    void checkIdentifier(const std::string& name, std::string_view what) const;
    std::string identifier(const std::string& value, std::string_view what) const;
    int wholeNumber(const std::string& text, const std::string& key) const;
    // A picture that can be read, as written.
    std::string picture(const std::string& text) const;

  private:
    void readLine(std::string_view text);
    void readHeader(const std::vector<LayoutToken>& words);

    std::string source_;
    std::string keyword_;
    std::string textName_;
    std::vector<Level> levels_;
    int line_ = 0;
    bool sawHeader_ = false;
};

}  // namespace dv
