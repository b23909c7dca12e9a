// The capture file of a barcode terminal, read as the program reads it: through the text-file
// table of INVASCI. Besides crashes it checks that the fields of a line written back read as
// they were, and that a record put back into the file reads back unchanged.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "data/Dictionary.h"
#include "runtime/CodePage1250.h"
#include "schema/ProgramCatalogue.h"
#include "schema/Records.h"
#include "storage/TextFileTable.h"

namespace {

using namespace dv;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// A file of this process's own for the capture file's contents.
const std::filesystem::path& captureFile() {
    static const std::filesystem::path file = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("dv-fuzz-capture-" + std::to_string(::getpid()) + ".txt");
        std::atexit([] { std::remove(captureFile().c_str()); });
        return path;
    }();
    return file;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void checkFieldsRoundTrip(std::string_view text, const TextFileOptions& options) {
    while (!text.empty()) {
        const auto [line, rest] = fuzz::splitFirstLine(text);
        text = rest;
        if (hasLineBreak(line)) continue;
        const std::vector<std::string> fields = splitFields(line, options.separator);
        if (splitFields(joinFields(fields, options), options.separator) != fields)
            fail("the fields of a line do not read back as written");
    }
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// `cp1250` says the file was read as code page 1250 (it is not valid UTF-8).
void readAndPutBack(TextFileTable& table, bool cp1250) {
    if (table.setToStart(kFileOrder) != DriverCode::Ok) return;
    int read = 0;
    while (table.next() == DriverCode::Ok) ++read;
    if (read != table.records()) fail("the records read are not the records counted");
    if (table.setToStart(kFileOrder) != DriverCode::Ok || table.next() != DriverCode::Ok) return;
    const INVASCIRecord before = INVASCI;
    // A line break in a field is written as a blank, by design.
    if (hasLineBreak(before.EANKODA.str()) || hasLineBreak(before.KOLICINA.str())) return;
    // Known limit: a code page 1250 file whose last bytes that are not valid UTF-8 go with the
    // rewrite reads as UTF-8 afterwards; its other letters then read differently.
    if (cp1250 && !(isAscii(before.EANKODA.str()) && isAscii(before.KOLICINA.str()))) return;
    if (table.put() != DriverCode::Ok) return;
    if (table.setToStart(kFileOrder) != DriverCode::Ok || table.next() != DriverCode::Ok)
        fail("the record put back is gone");
    if (std::memcmp(&before, &INVASCI, sizeof before) != 0) {
        std::fprintf(stderr, "put  '%s' '%s'\nread '%s' '%s'\n", before.EANKODA.str().c_str(),
                     before.KOLICINA.str().c_str(), INVASCI.EANKODA.str().c_str(),
                     INVASCI.KOLICINA.str().c_str());
        fail("a record put back does not read back unchanged");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    installCatalogue(&programCatalogue());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    const TextFileOptions options = parseTextFileOptions(kCaptureFileOptions);
    checkFieldsRoundTrip(text, options);
    std::ofstream(captureFile(), std::ios::binary | std::ios::trunc)
        .write(text.data(), text.size());
    TextFileTable table(*findTable("INVASCI"), captureFile(), options);
    if (table.open(AccessMode::ReadWrite) != DriverCode::Ok) return 0;
    readAndPutBack(table, !isValidUtf8(text));
    table.close();
    return 0;
}
