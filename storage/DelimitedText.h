#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dv {

// How a text-file table writes its lines: the separator between fields and whether every field
// is written in double quotes.
struct TextFileOptions {
    char separator = ',';
    bool alwaysQuote = false;
};

// The driver options of the capture file: ";" (character 59) between fields, both quoted.
inline constexpr std::string_view kCaptureFileOptions = "/COMMA=59/ALWAYSQUOTE=ON";

// Reads driver options written as "/NAME=VALUE" pairs: COMMA (the separator as a character
// code) and ALWAYSQUOTE (ON or OFF); others are ignored.
TextFileOptions parseTextFileOptions(std::string_view options);

// The fields of one line (without its line end). A field may be enclosed in double quotes, in
// which the separator is an ordinary character and two double quotes stand for one; blanks
// around a quoted field are dropped, an unquoted field is taken as it is.
std::vector<std::string> splitFields(std::string_view line, char separator);

// One line of the fields, without a line end: a field is quoted when the options say so or
// when it holds the separator or a double quote; line breaks in a field become blanks.
std::string joinFields(const std::vector<std::string>& fields, const TextFileOptions& options);

}  // namespace dv
