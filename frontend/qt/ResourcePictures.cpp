#include "frontend/qt/ResourcePictures.h"

#include <QBuffer>
#include <QImageReader>

#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

std::string_view fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

const EmbeddedFile* findPicture(std::string_view fileName) {
    if (fileName.empty()) return nullptr;
    for (const EmbeddedFile& file : embeddedResources())
        if (equalsIgnoreCaseAscii(fileNameOf(file.path), fileNameOf(fileName))) return &file;
    return nullptr;
}

QByteArray bytesOf(const EmbeddedFile& file) {
    return QByteArray::fromRawData(file.data.data(), static_cast<qsizetype>(file.data.size()));
}

}  // namespace

std::optional<QPixmap> resourcePicture(std::string_view fileName) {
    const EmbeddedFile* file = findPicture(fileName);
    if (file == nullptr) return std::nullopt;
    QPixmap picture;
    if (!picture.loadFromData(bytesOf(*file))) return std::nullopt;
    return picture;
}

QIcon resourceIcon(std::string_view fileName) {
    const EmbeddedFile* file = findPicture(fileName);
    if (file == nullptr) return {};
    QByteArray data = bytesOf(*file);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QIcon icon;
    do {
        const QImage image = reader.read();
        if (image.isNull()) break;
        icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon;
}

}  // namespace dv
