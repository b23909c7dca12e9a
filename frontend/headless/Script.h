#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/LayoutTokenizer.h"

namespace dv {

// One command of a UI script.
struct ScriptLine {
    int number = 0;      // its line in the file, from 1
    std::string source;  // the line as written, without surrounding blanks
    std::string verb;
    std::vector<LayoutToken> arguments;
};

// A script line that is not a well-formed command.
class ScriptError : public std::runtime_error {
  public:
    ScriptError(int line, const std::string& reason) : std::runtime_error(reason), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

// Reads a UI script: one command a line, words separated by blanks, a word with blanks in double
// quotes (\" and \\ inside), "#" starting a comment (see LayoutTokenizer.h). Every line is
// checked before anything runs: the verb, the number and form of its arguments. A control is
// named ?NAME or by its text in double quotes. Throws ScriptError for the first malformed line.
std::vector<ScriptLine> parseScript(std::string_view text);

// Whether an argument names a control (?NAME, or a text in quotes).
bool isControlReference(const LayoutToken& token);

// "dd.mm.yyyy" as a day number; 0 when it is not a valid date.
int parseScriptDate(std::string_view text);

}  // namespace dv
