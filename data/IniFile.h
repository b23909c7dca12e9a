#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

// The outcome of an operation on a file: success, or the message to show the user.
struct [[nodiscard]] FileResult {
    std::string error;

    bool ok() const { return error.empty(); }
    static FileResult success() { return {}; }
    static FileResult failure(std::string message) { return {std::move(message)}; }
};

// How the bytes of an INI file encode its text.
enum class IniEncoding { Utf8, Utf8WithBom, Cp1250 };

// An INI file such as "ZALTO.INI": "[Section]" lines, "Entry=Value" lines, and everything else
// (comments, blank lines, foreign text), which is kept untouched and in order.
//
// Section and entry names compare without regard to case and surrounding blanks. When a section
// occurs more than once, its entries are looked up in all of its occurrences, the first one
// found counting. A value is read without its surrounding blanks and without one pair of
// enclosing quotes (' or "), the way Windows reads profile strings; a value written with
// surrounding blanks or enclosing quotes is therefore written inside double quotes, so that it
// reads back as written.
//
// Text inside the program is UTF-8. A file that is well-formed UTF-8 (with or without a byte
// order mark) is read as UTF-8, any other file as code page 1250; a file is written back in its
// own encoding, with its own line ends (CRLF or LF, as its first line end), and every line not
// written to is written back byte for byte. A new file is UTF-8 with LF line ends.
class IniFile {
  public:
    IniFile() = default;

    // The text of a file given as its bytes.
    static IniFile fromBytes(std::string_view bytes);

    // Reads the file at `path`; a missing file reads as an empty one. Fails (and leaves this
    // object unchanged) when the file exists but cannot be read.
    FileResult load(const std::filesystem::path& path);

    // Writes the file to `path` so that a failure never leaves a half-written file: the text goes
    // to a temporary file in the same directory, which is flushed to disk and then renamed over
    // the old one. On failure the old file is untouched and the message says why.
    FileResult save(const std::filesystem::path& path) const;

    // The bytes of the file as `save` writes them.
    std::string toBytes() const;

    // The value of the entry, or nullopt when the section or the entry is missing.
    std::optional<std::string> find(std::string_view section, std::string_view entry) const;

    // The value of the entry, or `defaultValue` when it is missing.
    std::string readText(std::string_view section, std::string_view entry,
                         std::string_view defaultValue) const;

    // The entry as a number, or `defaultValue` when it is missing. An entry that does not hold a
    // number (see parseIniNumber) reads as 0.
    std::int64_t readNumber(std::string_view section, std::string_view entry,
                            std::int64_t defaultValue) const;

    // Sets the entry, adding it (and its section, at the end of the file) when missing. Fails,
    // changing nothing, for an empty or malformed name, a value with a line break, or text the
    // file's code page 1250 cannot hold.
    FileResult write(std::string_view section, std::string_view entry, std::string_view value);

    // Removes the entry (its first occurrence); returns whether there was one.
    bool remove(std::string_view section, std::string_view entry);

    IniEncoding encoding() const { return encoding_; }
    const std::string& lineEnd() const { return lineEnd_; }

  private:
    // One line as it is in the file: its bytes in the file's encoding and its line end ("\r\n",
    // "\n", or "" for a last line without one).
    struct Line {
        std::string bytes;
        std::string end;
    };

    std::string decode(std::string_view bytes) const;
    std::optional<std::string> encode(std::string_view utf8) const;
    std::optional<std::size_t> findEntryLine(std::string_view section,
                                             std::string_view entry) const;
    std::optional<std::size_t> lastLineOfSection(std::string_view section) const;
    void insertLine(std::size_t position, std::string bytes);

    std::vector<Line> lines_;
    IniEncoding encoding_ = IniEncoding::Utf8;
    std::string lineEnd_ = "\n";
};

// The number an INI value holds: blanks around it, an optional sign, digits, and an optional
// decimal point with further digits, of which the integer part counts (truncated toward zero).
// Anything else ("12abc", "1 000", "", a value beyond 64 bits) holds no number: nullopt.
std::optional<std::int64_t> parseIniNumber(std::string_view value);

}  // namespace dv
