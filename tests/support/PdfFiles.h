#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace dv::test {

// The text of a PDF file as pdftotext reads it, pages separated by form feeds; empty when the
// file cannot be read.
inline std::string pdfText(const std::filesystem::path& file, const char* options = "-layout") {
    const std::string command =
        std::string("pdftotext ") + options + " '" + file.string() + "' - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        text.append(buffer, n);
    return text;
}

// The pages of a PDF file as pdfinfo counts them; -1 when it cannot read the file.
inline int pdfPageCount(const std::filesystem::path& file) {
    const std::string command = "pdfinfo '" + file.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    char line[512];
    int pages = -1;
    while (pipe && std::fgets(line, sizeof line, pipe.get()) != nullptr)
        if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
    return pages;
}

}  // namespace dv::test
