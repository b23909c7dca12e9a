#include "storage/TextFileTable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/Decimal.h"
#include "runtime/TextCase.h"
#include "runtime/FileWrites.h"
#include "storage/StoredText.h"

namespace dv {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads a whole file; 0 or the errno of the failure.
int readWholeFile(const fs::path& file, std::string& content) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    content.clear();
    char chunk[65536];
    ssize_t got;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0)
        content.append(chunk, static_cast<std::size_t>(got));
    const int error = got < 0 ? errno : 0;
    ::close(fd);
    return error;
}

// Applies `each` to every stored field element of the table, in field order.
template <typename Each>
void forEachElement(const TableDef& table, Each each) {
    for (const FieldDef& field : table.fields) {
        if (field.type == FieldType::Group) continue;
        for (int e = 0; e < field.dim; ++e) each(field, e);
    }
}

bool isText(const FieldDef& field) {
    return textWidth(field) > 0;
}

}  // namespace

TextFileTable::TextFileTable(const TableDef& table, fs::path file, TextFileOptions options)
    : TableDriver(table, file.string()), file_(std::move(file)), options_(options) {}

// ---- the file as a whole

DriverCode TextFileTable::open(AccessMode mode) {
    if (open_)
        return fail(DriverCode::AlreadyOpen, 0, "The file " + fileName() + " is already open.");
    std::error_code ignored;
    if (!fs::exists(file_, ignored))
        return fail(DriverCode::FileNotFound, ENOENT,
                    "The file " + fileName() + " does not exist.");
    if (mode == AccessMode::ReadWrite && ::access(file_.c_str(), W_OK) != 0)
        return ioFailure(errno, "open " + fileName() + " for writing");
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    open_ = true;
    readOnly_ = mode == AccessMode::ReadOnly;
    hasCurrent_ = false;
    next_ = 0;
    previous_ = -1;
    return succeed();
}

DriverCode TextFileTable::create() {
    const int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return ioFailure(errno, "create " + fileName());
    ::close(fd);
    return succeed();
}

void TextFileTable::close() {
    open_ = false;
    hasCurrent_ = false;
    content_.clear();
    lines_.clear();
}

DriverCode TextFileTable::check(bool write) {
    if (!open_) return fail(DriverCode::DriverError, 0, "The file " + fileName() + " is not open.");
    if (write && readOnly_)
        return fail(DriverCode::AccessDenied, 0,
                    "The file " + fileName() + " is open for reading only.");
    return DriverCode::Ok;
}

DriverCode TextFileTable::noTransactions() {
    return fail(DriverCode::NoTransactions, 0,
                "The text file " + fileName() + " does not support transactions.");
}

DriverCode TextFileTable::ioFailure(int error, std::string_view action) {
    const DriverCode code = error == EACCES || error == EPERM || error == EROFS
                                ? DriverCode::AccessDenied
                            : error == ENOENT ? DriverCode::FileNotFound
                                              : DriverCode::DriverError;
    return fail(code, error,
                "Could not " + std::string(action) + ": " + std::strerror(error) + ".");
}

DriverCode TextFileTable::load() {
    std::string content;
    if (const int error = readWholeFile(file_, content); error != 0)
        return ioFailure(error, "read " + fileName());
    parse(std::move(content));
    return DriverCode::Ok;
}

void TextFileTable::parse(std::string content) {
    content_ = std::move(content);
    utf8_ = isValidUtf8(content_);
    lines_.clear();
    std::size_t start = content_.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    bool firstBreak = true;
    while (start < content_.size()) {
        const std::size_t lineBreak = content_.find('\n', start);
        const std::size_t end = lineBreak == std::string::npos ? content_.size() : lineBreak;
        const bool carriageReturn = end > start && content_[end - 1] == '\r';
        if (lineBreak != std::string::npos && firstBreak) {
            lineEnd_ = carriageReturn ? "\r\n" : "\n";
            firstBreak = false;
        }
        const Line line{start, end - start - (carriageReturn ? 1 : 0)};
        if (!trimBlanks(text(line)).empty()) lines_.push_back(line);
        start = end + 1;
    }
}

std::string_view TextFileTable::text(const Line& line) const {
    return std::string_view(content_).substr(line.offset, line.length);
}

int TextFileTable::lineAt(std::size_t offset) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].offset == offset) return static_cast<int>(i);
    return -1;
}

// ---- records and fields

void TextFileTable::decodeRecord(std::string_view line) {
    const std::vector<std::string> fields = splitFields(line, options_.separator);
    std::size_t index = 0;
    forEachElement(table(), [&](const FieldDef& field, int element) {
        const std::string_view value = index < fields.size() ? std::string_view(fields[index]) : "";
        ++index;
        if (isText(field)) {
            writeText(record(), field, utf8_ ? recordText(value) : std::string(value), element);
            return;
        }
        const std::optional<Decimal> number = Decimal::parse(value);
        const int places = field.type == FieldType::Decimal ? field.places : 0;
        const std::int64_t units = number ? number->fieldUnits(18, places).value_or(0) : 0;
        if (field.type == FieldType::Decimal)
            writeDecimalUnits(record(), field, units, element);
        else
            writeInteger(record(), field, units, element);
    });
}

std::string TextFileTable::encodeRecord() const {
    std::vector<std::string> fields;
    forEachElement(table(), [&](const FieldDef& field, int element) {
        if (isText(field)) {
            const std::string_view raw = readText(record(), field, element);
            fields.push_back(utf8_ ? storedText(raw) : std::string(trimTrailingBlanks(raw)));
        } else if (field.type == FieldType::Decimal) {
            fields.push_back(
                Decimal::fromUnits(readDecimalUnits(record(), field, element), field.places)
                    .toString());
        } else {
            fields.push_back(std::to_string(readInteger(record(), field, element)));
        }
    });
    return joinFields(fields, options_);
}

// ---- reading

DriverCode TextFileTable::read(std::size_t index) {
    const Line& line = lines_[index];
    decodeRecord(text(line));
    hasCurrent_ = true;
    currentOffset_ = line.offset;
    currentText_ = std::string(text(line));
    next_ = static_cast<std::int64_t>(index) + 1;
    previous_ = static_cast<std::int64_t>(index) - 1;
    return succeed();
}

DriverCode TextFileTable::next() {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (next_ < 0 || next_ >= static_cast<std::int64_t>(lines_.size()))
        return fail(DriverCode::NoMoreRecords, 0,
                    "There are no more records in " + fileName() + ".");
    return read(static_cast<std::size_t>(next_));
}

DriverCode TextFileTable::previous() {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (previous_ >= static_cast<std::int64_t>(lines_.size()))
        previous_ = static_cast<std::int64_t>(lines_.size()) - 1;
    if (previous_ < 0)
        return fail(DriverCode::NoMoreRecords, 0,
                    "There are no more records in " + fileName() + ".");
    return read(static_cast<std::size_t>(previous_));
}

DriverCode TextFileTable::get(int) {
    return fail(DriverCode::DriverError, 0, "The file " + fileName() + " has no keys.");
}

DriverCode TextFileTable::set(int key) {
    if (key == kFileOrder) return setToStart(key);
    return get(key);
}

DriverCode TextFileTable::setToStart(int key) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (key != kFileOrder) return get(key);
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    next_ = 0;
    previous_ = -1;
    return succeed();
}

DriverCode TextFileTable::setToEnd(int key) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (key != kFileOrder) return get(key);
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    next_ = static_cast<std::int64_t>(lines_.size());
    previous_ = next_ - 1;
    return succeed();
}

DriverPosition TextFileTable::position() const {
    return DriverPosition{
        kFileOrder, hasCurrent_ ? static_cast<std::int64_t>(currentOffset_) + 1 : 0, {}};
}

DriverCode TextFileTable::reget(const DriverPosition& position) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    const int index = position.row > 0 ? lineAt(static_cast<std::size_t>(position.row - 1)) : -1;
    if (index < 0)
        return fail(DriverCode::NoMoreRecords, 0, "The record is no longer in " + fileName() + ".");
    return read(static_cast<std::size_t>(index));
}

DriverCode TextFileTable::reset(const DriverPosition& position) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    const std::size_t offset = position.row > 0 ? static_cast<std::size_t>(position.row - 1) : 0;
    std::size_t index = 0;
    while (index < lines_.size() && lines_[index].offset < offset) ++index;
    const bool exact = index < lines_.size() && lines_[index].offset == offset;
    next_ = static_cast<std::int64_t>(index);
    previous_ = exact ? next_ : next_ - 1;
    return succeed();
}

// ---- writing

DriverCode TextFileTable::add() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    const std::string line = encodeRecord();
    const std::string separator = !content_.empty() && content_.back() != '\n' ? lineEnd_ : "";
    const std::string appended = separator + line + lineEnd_;
    const int fd = ::open(file_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return ioFailure(errno, "add a record to " + fileName());
    const int error = writeAllBytes(fd, appended);
    ::close(fd);
    if (error != 0) return ioFailure(error, "add a record to " + fileName());
    const std::size_t offset = content_.size() + separator.size();
    parse(content_ + appended);
    hasCurrent_ = true;
    currentOffset_ = offset;
    currentText_ = line;
    return succeed();
}

// Reads the file again and finds the line of the current record as it was read.
DriverCode TextFileTable::findCurrent(std::string_view action, std::size_t& index) {
    if (!hasCurrent_)
        return fail(DriverCode::NoMoreRecords, 0,
                    "Could not " + std::string(action) + ": no record was read.");
    if (const DriverCode code = load(); code != DriverCode::Ok) return code;
    const int found = lineAt(currentOffset_);
    if (found < 0 || text(lines_[static_cast<std::size_t>(found)]) != currentText_)
        return fail(DriverCode::ChangedByOther, 0,
                    "Could not " + std::string(action) + ": another program changed the file " +
                        "since the record was read.");
    index = static_cast<std::size_t>(found);
    return DriverCode::Ok;
}

DriverCode TextFileTable::put() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    const std::string action = "change a record of " + fileName();
    std::size_t index = 0;
    if (const DriverCode code = findCurrent(action, index); code != DriverCode::Ok) return code;
    const Line line = lines_[index];
    const std::string replacement = encodeRecord();
    std::string content =
        content_.substr(0, line.offset) + replacement + content_.substr(line.offset + line.length);
    if (const DriverCode code = rewrite(content, action); code != DriverCode::Ok) return code;
    parse(std::move(content));
    currentText_ = replacement;
    return succeed();
}

DriverCode TextFileTable::remove() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    const std::string action = "delete a record of " + fileName();
    std::size_t index = 0;
    if (const DriverCode code = findCurrent(action, index); code != DriverCode::Ok) return code;
    const Line line = lines_[index];
    std::size_t end = line.offset + line.length;
    if (end < content_.size() && content_[end] == '\r') ++end;
    if (end < content_.size() && content_[end] == '\n') ++end;
    std::string content = content_.substr(0, line.offset) + content_.substr(end);
    if (const DriverCode code = rewrite(content, action); code != DriverCode::Ok) return code;
    parse(std::move(content));
    hasCurrent_ = false;
    const auto removed = static_cast<std::int64_t>(index);
    if (next_ > removed) --next_;
    if (previous_ >= removed) --previous_;
    return succeed();
}

// Writes the new content to a temporary file beside the file and renames it over the file, so
// that the file is either the old one or the new one, whatever happens.
DriverCode TextFileTable::rewrite(const std::string& content, std::string_view action) {
    const fs::path directory = file_.has_parent_path() ? file_.parent_path() : fs::path(".");
    std::string temporary = (directory / ("." + file_.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return ioFailure(errno, action);
    int error = writeAllBytes(fd, content);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    struct stat original {};
    if (error == 0 && ::stat(file_.c_str(), &original) == 0) ::fchmod(fd, original.st_mode & 07777);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), file_.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return ioFailure(error, action);
    }
    // The rename is done; a folder that cannot be flushed is no failure.
    (void)syncFolder(directory);
    return DriverCode::Ok;
}

// ---- size and commands

std::int64_t TextFileTable::records() {
    if (check(false) != DriverCode::Ok || load() != DriverCode::Ok) return -1;
    succeed();
    return static_cast<std::int64_t>(lines_.size());
}

std::int64_t TextFileTable::bytes() {
    std::error_code error;
    const auto size = fs::file_size(file_, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

std::int64_t TextFileTable::bytesRead() {
    if (next_ >= 0 && next_ < static_cast<std::int64_t>(lines_.size()))
        return static_cast<std::int64_t>(lines_[static_cast<std::size_t>(next_)].offset);
    return static_cast<std::int64_t>(content_.size());
}

std::string TextFileTable::send(std::string_view command) {
    const Command parsed = parseCommand(command);
    // The whole file is read at once, so quick scanning is always on.
    if (equalsIgnoreCaseAscii(parsed.name, "QUICKSCAN"))
        return equalsIgnoreCaseAscii(parsed.value, "on") ? "on" : "off";
    if (equalsIgnoreCaseAscii(parsed.name, "Recover")) return std::string(parsed.value);
    return {};
}

}  // namespace dv
