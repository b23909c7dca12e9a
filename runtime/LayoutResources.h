#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Layout.h"

namespace dv {

// A file under resources/, embedded in the program when it was built.
struct EmbeddedFile {
    std::string_view path;  // relative to resources/, with "/" ("windows/Main.layout")
    std::string_view data;
};

// Every embedded file, sorted by path. Defined by the source the build generates.
std::span<const EmbeddedFile> embeddedResources();

// The embedded file at `path`, nullptr when there is none.
const EmbeddedFile* findResource(std::string_view path);

// The layout of a window, from "windows/NAME.layout" (the name's letter case ignored), read
// once and kept for the life of the program. Throws LayoutError when there is no such layout,
// when it is malformed, or when the window it declares has another name.
const WindowLayout& windowLayout(std::string_view name);

// The names of the windows that have layouts, sorted.
std::vector<std::string> windowLayoutNames();

}  // namespace dv
