#include "frontend/qt/ResourcePictures.h"

#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

std::string_view fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<QPixmap> resourcePicture(std::string_view fileName) {
    if (fileName.empty()) return std::nullopt;
    for (const EmbeddedFile& file : embeddedResources()) {
        if (!equalsIgnoreCaseAscii(fileNameOf(file.path), fileNameOf(fileName))) continue;
        QPixmap picture;
        if (picture.loadFromData(reinterpret_cast<const uchar*>(file.data.data()),
                                 static_cast<uint>(file.data.size())))
            return picture;
    }
    return std::nullopt;
}

}  // namespace dv
