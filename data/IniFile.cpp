#include "data/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>

#include "runtime/CodePage1250.h"
#include "runtime/FileWrites.h"

namespace dv {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Names compare by their Unicode case folding, so "SPLOŠNO" and "splošno" are one section.
std::string foldCase(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) c = 0xFFFD;
        c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        uint8_t buffer[U8_MAX_LENGTH];
        int32_t n = 0;
        U8_APPEND_UNSAFE(buffer, n, c);
        folded.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
    }
    return folded;
}

bool sameName(std::string_view a, std::string_view b) {
    return foldCase(trimBlanks(a)) == foldCase(trimBlanks(b));
}

bool isComment(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.front() == ';';
}

// The name of a "[Section]" line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(t.substr(1, close - 1));
}

struct EntryLine {
    std::string_view name;
    std::string_view value;
};

// The name and raw value of an "Entry=Value" line, or nullopt for any other line.
std::optional<EntryLine> entryLine(std::string_view line) {
    const std::string_view t = trimBlanks(line);
    if (t.empty() || isComment(t) || t.front() == '[') return std::nullopt;
    const auto equals = t.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return EntryLine{trimBlanks(t.substr(0, equals)), t.substr(equals + 1)};
}

bool isEnclosedInQuotes(std::string_view v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

// A stored value as the program reads it: without surrounding blanks and enclosing quotes.
std::string readValue(std::string_view raw) {
    std::string_view v = trimBlanks(raw);
    if (isEnclosedInQuotes(v)) v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// A value as it is stored, so that readValue gives it back unchanged.
std::string storedValue(std::string_view value) {
    const bool needsQuotes = trimBlanks(value).size() != value.size() || isEnclosedInQuotes(value);
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string errnoText(int error) {
    return std::strerror(error);
}

FileResult ioFailure(const std::filesystem::path& path, std::string_view what, int error) {
    return FileResult::failure("Cannot " + std::string(what) + " the file \"" + path.string() +
                               "\": " + errnoText(error) + ".");
}

// Opens the file and reads it whole; `missing` tells a file that does not exist.
FileResult readWholeFile(const std::filesystem::path& path, std::string& bytes, bool& missing) {
    missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            missing = true;
            return FileResult::success();
        }
        return ioFailure(path, "read", errno);
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return ioFailure(path, "read", error);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return FileResult::success();
}

// A temporary file beside `target`, created exclusively; -1 with errno set on failure.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& tempPath,
                          mode_t mode) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath += "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The file a write really replaces: the target of a symbolic link, else the path itself.
std::filesystem::path replacedFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    auto target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target;
}

// Replaces the file at `path` with `bytes` through a temporary file, keeping its permissions.
FileResult replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path target = replacedFile(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const mode_t mode = exists ? (old.st_mode & 07777) : 0666;

    std::filesystem::path tempPath;
    const int fd = createTemporaryBeside(target, tempPath, mode);
    if (fd < 0) return ioFailure(path, "write", errno);
    int error = writeAllBytes(fd, bytes);
    if (error == 0 && exists && ::fchmod(fd, mode) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return ioFailure(path, "write", error);
    }
    // The rename is done; a folder that cannot be flushed is no failure.
    (void)syncFolder(target.parent_path().empty() ? "." : target.parent_path());
    return FileResult::success();
}

}  // namespace

IniFile IniFile::fromBytes(std::string_view bytes) {
    IniFile file;
    const bool bom = bytes.starts_with(kByteOrderMark);
    if (bom && isValidUtf8(bytes.substr(kByteOrderMark.size()))) {
        file.encoding_ = IniEncoding::Utf8WithBom;
        bytes.remove_prefix(kByteOrderMark.size());
    } else {
        file.encoding_ = isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Cp1250;
    }
    bool lineEndSeen = false;
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        std::string_view text = bytes.substr(0, newline);
        std::string end;
        if (newline != std::string_view::npos) {
            end = "\n";
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                end = "\r\n";
            }
            if (!lineEndSeen) file.lineEnd_ = end;
            lineEndSeen = true;
            bytes.remove_prefix(newline + 1);
        } else {
            bytes = {};
        }
        file.lines_.push_back({std::string(text), std::move(end)});
    }
    return file;
}

FileResult IniFile::load(const std::filesystem::path& path) {
    std::string bytes;
    bool missing = false;
    FileResult result = readWholeFile(path, bytes, missing);
    if (!result.ok()) return result;
    *this = missing ? IniFile() : fromBytes(bytes);
    return result;
}

FileResult IniFile::save(const std::filesystem::path& path) const {
    return replaceFile(path, toBytes());
}

std::string IniFile::toBytes() const {
    std::string bytes(encoding_ == IniEncoding::Utf8WithBom ? kByteOrderMark : "");
    for (const Line& line : lines_) bytes += line.bytes + line.end;
    return bytes;
}

std::string IniFile::decode(std::string_view bytes) const {
    return encoding_ == IniEncoding::Cp1250 ? cp1250ToUtf8(bytes) : std::string(bytes);
}

std::optional<std::string> IniFile::encode(std::string_view utf8) const {
    if (encoding_ != IniEncoding::Cp1250) return std::string(utf8);
    std::string bytes = utf8ToCp1250(utf8);
    if (cp1250ToUtf8(bytes) != utf8) return std::nullopt;
    return bytes;
}

std::optional<std::size_t> IniFile::findEntryLine(std::string_view section,
                                                  std::string_view entry) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string text = decode(lines_[i].bytes);
        if (auto name = sectionName(text)) {
            inSection = sameName(*name, section);
        } else if (inSection) {
            auto e = entryLine(text);
            if (e && sameName(e->name, entry)) return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::lastLineOfSection(std::string_view section) const {
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string text = decode(lines_[i].bytes);
        if (auto name = sectionName(text)) {
            if (last) return last;
            if (sameName(*name, section)) last = i;
        } else if (last && entryLine(text)) {
            last = i;
        }
    }
    return last;
}

void IniFile::insertLine(std::size_t position, std::string bytes) {
    // The line before the new one gets a line end if it was the last line without one.
    if (position > 0 && lines_[position - 1].end.empty()) lines_[position - 1].end = lineEnd_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  Line{std::move(bytes), lineEnd_});
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view entry) const {
    const auto line = findEntryLine(section, entry);
    if (!line) return std::nullopt;
    return readValue(entryLine(decode(lines_[*line].bytes))->value);
}

std::string IniFile::readText(std::string_view section, std::string_view entry,
                              std::string_view defaultValue) const {
    return find(section, entry).value_or(std::string(defaultValue));
}

std::int64_t IniFile::readNumber(std::string_view section, std::string_view entry,
                                 std::int64_t defaultValue) const {
    const auto value = find(section, entry);
    if (!value) return defaultValue;
    return parseIniNumber(*value).value_or(0);
}

FileResult IniFile::write(std::string_view section, std::string_view entry,
                          std::string_view value) {
    if (trimBlanks(section).empty() || hasLineBreak(section) ||
        section.find(']') != std::string_view::npos)
        return FileResult::failure("The settings section name \"" + std::string(section) +
                                   "\" is not valid.");
    const std::string_view name = trimBlanks(entry);
    if (name.empty() || hasLineBreak(entry) || entry.find('=') != std::string_view::npos ||
        name.front() == '[' || name.front() == ';')
        return FileResult::failure("The settings entry name \"" + std::string(entry) +
                                   "\" is not valid.");
    if (hasLineBreak(value))
        return FileResult::failure("The value of the settings entry \"" + std::string(entry) +
                                   "\" cannot contain a line break.");

    const auto header = encode("[" + std::string(trimBlanks(section)) + "]");
    const auto newEntry = encode(std::string(name) + "=" + storedValue(value));
    const auto newValue = encode(storedValue(value));
    if (!header || !newEntry)
        return FileResult::failure("The settings entry \"" + std::string(entry) +
                                   "\" cannot be written in the code page of its file.");

    if (auto line = findEntryLine(section, entry)) {
        std::string& bytes = lines_[*line].bytes;
        bytes = bytes.substr(0, bytes.find('=') + 1) + *newValue;
    } else if (auto last = lastLineOfSection(section)) {
        insertLine(*last + 1, *newEntry);
    } else {
        const bool separate = !lines_.empty() && !trimBlanks(decode(lines_.back().bytes)).empty();
        if (separate) insertLine(lines_.size(), "");
        insertLine(lines_.size(), *header);
        insertLine(lines_.size(), *newEntry);
    }
    return FileResult::success();
}

bool IniFile::remove(std::string_view section, std::string_view entry) {
    const auto line = findEntryLine(section, entry);
    if (!line) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
    return true;
}

std::optional<std::int64_t> parseIniNumber(std::string_view value) {
    std::string_view v = trimBlanks(value);
    const bool negative = !v.empty() && v.front() == '-';
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
    const auto point = v.find('.');
    const std::string_view whole = v.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : v.substr(point + 1);
    const auto allDigits = [](std::string_view s) {
        return s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    for (char c : whole) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (negative) return static_cast<std::int64_t>(0 - magnitude);
    return static_cast<std::int64_t>(magnitude);
}

}  // namespace dv
