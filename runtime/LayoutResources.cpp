#include "runtime/LayoutResources.h"

#include <map>
#include <memory>
#include <mutex>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::string_view kWindowFolder = "windows/";
constexpr std::string_view kLayoutSuffix = ".layout";

// The window name of a layout path, empty for other files.
std::string_view windowNameOf(std::string_view path) {
    if (!path.starts_with(kWindowFolder) || !path.ends_with(kLayoutSuffix)) return {};
    path.remove_prefix(kWindowFolder.size());
    path.remove_suffix(kLayoutSuffix.size());
    return path.find('/') == std::string_view::npos ? path : std::string_view();
}

const EmbeddedFile* findLayoutFile(std::string_view name) {
    for (const EmbeddedFile& file : embeddedResources())
        if (equalsIgnoreCaseAscii(windowNameOf(file.path), name)) return &file;
    return nullptr;
}

}  // namespace

const EmbeddedFile* findResource(std::string_view path) {
    for (const EmbeddedFile& file : embeddedResources())
        if (file.path == path) return &file;
    return nullptr;
}

const WindowLayout& windowLayout(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<WindowLayout>> cache;
    const std::string key = upperSlovenian(name);
    std::lock_guard lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return *it->second;

    const EmbeddedFile* file = name.empty() ? nullptr : findLayoutFile(name);
    if (file == nullptr) throw LayoutError("no layout for the window " + std::string(name));
    auto layout = std::make_unique<WindowLayout>(parseLayout(file->data, file->path));
    if (layout->name != windowNameOf(file->path))
        throw LayoutError(std::string(file->path) + ": declares the window " + layout->name +
                          ", not " + std::string(windowNameOf(file->path)));
    return *cache.emplace(key, std::move(layout)).first->second;
}

std::vector<std::string> windowLayoutNames() {
    std::vector<std::string> names;
    for (const EmbeddedFile& file : embeddedResources())
        if (auto name = windowNameOf(file.path); !name.empty()) names.emplace_back(name);
    return names;
}

}  // namespace dv
