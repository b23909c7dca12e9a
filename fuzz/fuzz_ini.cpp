// Settings files as found on disk. Besides crashes it checks what the file promises: lines not
// written to are written back byte for byte, and an entry written reads back as written.
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "data/IniFile.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dv;
    const std::string_view bytes = fuzz::asText(data, size);
    IniFile file = IniFile::fromBytes(bytes);
    if (file.toBytes() != bytes) fail("the file is not written back as read");

    // The first line names a section and an entry that are read, written and read back.
    const auto [first, rest] = fuzz::splitFirstLine(bytes);
    const std::size_t equals = first.find('=');
    const std::string_view section = first.substr(0, equals);
    const std::string_view entry =
        equals == std::string_view::npos ? "Vnos" : first.substr(equals + 1);
    (void)file.readText(section, entry, "");
    (void)file.readNumber(section, entry, 7);
    (void)parseIniNumber(rest.substr(0, 40));
    const std::string value = "Vrednost čšž";
    if (file.write(section, entry, value).ok()) {
        if (file.find(section, entry) != value) fail("a written entry does not read back");
        const IniFile reread = IniFile::fromBytes(file.toBytes());
        if (reread.find(section, entry) != value) fail("a written entry does not survive saving");
        (void)file.remove(section, entry);
    }
    return 0;
}
