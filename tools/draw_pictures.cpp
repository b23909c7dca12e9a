// Draws the program's pictures and writes them into a folder, in the formats the window layouts
// name them by: the frame's background tile (JPEG), the program's icon and the button and toolbar
// pictures (Windows icons holding several sizes), the information window's picture (JPEG) and
// the fiscal test button's picture (GIF). Every picture is drawn here with QPainter from simple
// shapes, no fonts, so the same build draws the same pixels.
//
//   draw_pictures FOLDER        (the program keeps them in resources/pictures)
//
// Qt writes JPEG itself; the icon and GIF files are written by the small encoders below, and
// every file is read back through Qt's own image readers before the tool reports success.

#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Every picture is drawn on a 32 by 32 grid and scaled to the size asked for.
constexpr double kGrid = 32.0;
using Drawing = std::function<void(QPainter&)>;

const QColor kOutline(40, 52, 66);
const QColor kBlue(46, 117, 182);
const QColor kDarkBlue(31, 78, 121);
const QColor kLightBlue(189, 215, 238);
const QColor kGold(226, 172, 40);
const QColor kDarkGold(150, 106, 16);
const QColor kSilver(190, 198, 206);
const QColor kDarkSilver(110, 120, 132);
const QColor kGreen(58, 157, 35);
const QColor kRed(200, 57, 43);
const QColor kPaper(252, 252, 248);
const QColor kWood(176, 120, 64);

QImage drawn(int size, const Drawing& draw, QColor fill = Qt::transparent) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(fill);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    draw(painter);
    painter.end();
    return image;
}

QPen outline(double width = 1.6) {
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// ---- the pictures

// A key along the x axis: the bow (a ring) at the origin, the blade to the right, two bits below.
QPainterPath keyShape() {
    QPainterPath key;
    key.setFillRule(Qt::OddEvenFill);
    key.addEllipse(QPointF(0, 0), 6.2, 6.2);
    key.addEllipse(QPointF(-1.2, 0), 2.4, 2.4);
    QPainterPath blade;
    blade.addRect(QRectF(5.0, -1.9, 19.0, 3.8));
    blade.addRect(QRectF(17.0, 1.5, 2.8, 4.2));
    blade.addRect(QRectF(21.2, 1.5, 2.8, 3.2));
    return key.united(blade);
}

void drawKey(QPainter& p, QPointF bow, double angle, const QColor& fill, const QColor& edge) {
    p.save();
    p.translate(bow);
    p.rotate(angle);
    p.setPen(QPen(edge, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(keyShape());
    p.restore();
}

// Two crossed keys, a silver one behind a gold one: the program's icon.
void drawKeys(QPainter& p) {
    drawKey(p, QPointF(24.5, 8.0), 135.0, kSilver, kDarkSilver);
    drawKey(p, QPointF(8.0, 8.0), 45.0, kGold, kDarkGold);
}

// An open door with an arrow leaving through it: leave the program.
void drawExit(QPainter& p) {
    p.setPen(outline());
    p.setBrush(kLightBlue);
    p.drawRect(QRectF(5, 3, 14, 26));
    p.setBrush(kWood);
    QPolygonF door{{5, 3}, {13, 7}, {13, 31}, {5, 29}};
    p.drawPolygon(door);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(11, 18), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    QPolygonF arrow{{16, 13.5}, {23, 13.5}, {23, 9}, {30.5, 16}, {23, 23}, {23, 18.5}, {16, 18.5}};
    p.drawPolygon(arrow);
    p.setPen(outline(1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(arrow);
}

void drawDisk(QPainter& p, QPointF at) {
    p.save();
    p.translate(at);
    p.setPen(outline());
    p.setBrush(kBlue);
    QPainterPath body;
    body.moveTo(0, 1.5);
    body.quadTo(0, 0, 1.5, 0);
    body.lineTo(16, 0);
    body.lineTo(20, 4);
    body.lineTo(20, 18.5);
    body.quadTo(20, 20, 18.5, 20);
    body.lineTo(1.5, 20);
    body.quadTo(0, 20, 0, 18.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 0, 11, 7));
    p.setBrush(kDarkBlue);
    p.drawRect(QRectF(11, 1.5, 2.5, 4));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 11, 13, 9));
    p.restore();
}

// Two diskettes, one over the other: copies of the data.
void drawCopies(QPainter& p) {
    drawDisk(p, QPointF(10, 2));
    drawDisk(p, QPointF(2, 10));
}

// A warehouse: a hall with a pitched roof and a roller door.
void drawWarehouse(QPainter& p) {
    p.setPen(outline());
    p.setBrush(QColor(236, 226, 204));
    p.drawRect(QRectF(5, 13, 22, 16));
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF{{2, 14}, {16, 4}, {30, 14}, {27, 15.5}, {16, 7.8}, {5, 15.5}});
    p.setBrush(kSilver);
    p.drawRect(QRectF(10, 17.5, 12, 11.5));
    p.setPen(QPen(kDarkSilver, 1.0));
    for (double y = 20.5; y < 29; y += 2.8) p.drawLine(QPointF(10.8, y), QPointF(21.2, y));
}

// A round blue sign with an "i": the instructions.
void drawInformation(QPainter& p) {
    p.setPen(outline());
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
    p.drawRoundedRect(QRectF(13.6, 13.5, 4.8, 11.5), 1.2, 1.2);
    p.drawRect(QRectF(11.8, 23, 8.4, 2.4));
    p.drawRect(QRectF(11.8, 13.5, 4, 2.2));
}

// A gear wheel: the settings.
void drawGear(QPainter& p) {
    QPainterPath gear;
    gear.setFillRule(Qt::OddEvenFill);
    constexpr int kTeeth = 8;
    QPolygonF rim;
    for (int i = 0; i < kTeeth * 4; ++i) {
        const double angle = (i - 0.5) * 3.14159265358979 * 2 / (kTeeth * 4);
        const double radius = (i % 4 == 0 || i % 4 == 1) ? 14.5 : 10.8;
        rim << QPointF(16 + radius * std::cos(angle), 16 + radius * std::sin(angle));
    }
    gear.addPolygon(rim);
    gear.closeSubpath();
    gear.addEllipse(QPointF(16, 16), 4.6, 4.6);
    p.setPen(outline(1.4));
    p.setBrush(QColor(120, 136, 156));
    p.drawPath(gear);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 176, 194));
    QPainterPath shine;
    shine.setFillRule(Qt::OddEvenFill);
    shine.addEllipse(QPointF(16, 16), 8.6, 8.6);
    shine.addEllipse(QPointF(16, 16), 5.6, 5.6);
    p.drawPath(shine);
}

// A blue arrow pointing down, the way a list opens: the partner lookup.
void drawLookupArrow(QPainter& p) {
    p.setPen(outline(1.4));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{{11, 4}, {21, 4}, {21, 15}, {28, 15}, {16, 28}, {4, 15}, {11, 15}});
}

// A magnifying glass: look for the file.
void drawMagnifier(QPainter& p) {
    p.setPen(QPen(kOutline, 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 19.5), QPointF(28, 28));
    p.setPen(QPen(kWood, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 20.5), QPointF(27.5, 27.5));
    p.setPen(QPen(kOutline, 3.0));
    p.setBrush(QColor(214, 234, 250));
    p.drawEllipse(QPointF(13, 13), 9.5, 9.5);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(7.5, 7.5, 11, 11), 100 * 16, 70 * 16);
}

// A server with a green tick: the fiscal server answers.
void drawServerWorks(QPainter& p) {
    p.setPen(outline(1.6));
    p.setBrush(QColor(98, 112, 130));
    p.drawRoundedRect(QRectF(3, 3, 19, 26), 2, 2);
    p.setPen(QPen(QColor(200, 210, 222), 1.8));
    for (double y : {8.5, 13.5, 18.5}) p.drawLine(QPointF(6.5, y), QPointF(15, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 90));
    p.drawEllipse(QPointF(18.2, 8.5), 1.4, 1.4);
    p.setPen(QPen(Qt::white, 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF tick{{14.5, 21.5}, {19.5, 26.5}, {28.5, 15.5}};
    p.drawPolyline(tick);
    p.setPen(QPen(kGreen, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
}

// A clipboard with a counted list and a carton: the stocktake.
void drawStocktake(QPainter& p) {
    p.setPen(outline(1.2));
    p.setBrush(kWood);
    p.drawRoundedRect(QRectF(3, 3.5, 19, 26.5), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(5, 6.5, 15, 21.5));
    p.setBrush(kSilver);
    p.drawRoundedRect(QRectF(8.5, 1.5, 8, 4), 1, 1);
    for (int row = 0; row < 4; ++row) {
        const double y = 10.5 + row * 4.4;
        p.setPen(QPen(kGreen, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{{6.5, y}, {7.6, y + 1.1}, {9.6, y - 1.2}});
        p.setPen(QPen(kDarkSilver, 1.1));
        p.drawLine(QPointF(11, y), QPointF(18, y));
    }
    p.setPen(outline(1.2));
    p.setBrush(QColor(214, 170, 112));
    p.drawRect(QRectF(17, 19, 12, 10));
    p.setBrush(QColor(196, 148, 88));
    p.drawPolygon(QPolygonF{{17, 19}, {20, 15.5}, {32, 15.5}, {29, 19}});
    p.setPen(QPen(kDarkGold, 1.0));
    p.drawLine(QPointF(23, 19), QPointF(23, 23));
}

// The frame's background: a quiet steel-blue lattice that tiles without seams (its period of
// 32 pixels divides the tile).
QImage backgroundTile() {
    constexpr int kTile = 128;
    constexpr int kPeriod = 32;
    QImage image(kTile, kTile, QImage::Format_RGB32);
    image.fill(QColor(104, 128, 152));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(116, 141, 166), 1.2));
    for (int k = -kTile; k <= 2 * kTile; k += kPeriod) {
        p.drawLine(QPointF(k, 0), QPointF(k + kTile, kTile));
        p.drawLine(QPointF(k, kTile), QPointF(k + kTile, 0));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 119, 142));
    for (int y = 0; y <= kTile; y += kPeriod)
        for (int x = 0; x <= kTile; x += kPeriod) {
            p.drawEllipse(QPointF(x + kPeriod / 2.0, y), 1.6, 1.6);
            p.drawEllipse(QPointF(x, y + kPeriod / 2.0), 1.6, 1.6);
        }
    p.end();
    return image;
}

// ---- writing the files

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One icon image as a Windows device-independent bitmap: 32 bits a pixel with alpha, rows from
// the bottom up, then the transparency mask of one bit a pixel.
std::vector<std::uint8_t> iconBitmap(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskRow = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(2 * h));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(w * h * 4 + maskRow * h));
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<std::uint8_t>(qBlue(line[x])));
            out.push_back(static_cast<std::uint8_t>(qGreen(line[x])));
            out.push_back(static_cast<std::uint8_t>(qRed(line[x])));
            out.push_back(static_cast<std::uint8_t>(qAlpha(line[x])));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskRow), 0);
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// A Windows icon file with the images in the order given (the largest first: readers that take
// one image take the first).
std::vector<std::uint8_t> iconFile(const std::vector<QImage>& images) {
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    std::vector<std::vector<std::uint8_t>> bitmaps;
    for (const QImage& image : images) bitmaps.push_back(iconBitmap(image));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width() % 256));
        out.push_back(static_cast<std::uint8_t>(images[i].height() % 256));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const auto& bitmap : bitmaps) out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}

// The picture reduced to at most 255 colours and one transparent index (255): pixels less than
// half opaque become transparent, the rest are laid over the button face colour. Colours are
// coarsened step by step until they fit.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels;
};
constexpr std::uint8_t kTransparentIndex = 255;

QRgb overFace(QRgb pixel, int step) {
    const QColor face(239, 239, 239);
    const int a = qAlpha(pixel);
    const auto mix = [a, step](int c, int f) {
        const int v = (c * a + f * (255 - a) + 127) / 255;
        return std::min(255, (v / step) * step + step / 2 * (step > 1));
    };
    return qRgb(mix(qRed(pixel), face.red()), mix(qGreen(pixel), face.green()),
                mix(qBlue(pixel), face.blue()));
}

IndexedImage indexed(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int step = 1; step <= 64; step *= 2) {
        IndexedImage out{image.width(), image.height(), {}, {}};
        std::map<QRgb, std::uint8_t> index;
        bool fits = true;
        for (int y = 0; y < image.height() && fits; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) < 128) {
                    out.pixels.push_back(kTransparentIndex);
                    continue;
                }
                const QRgb colour = overFace(line[x], step);
                auto found = index.find(colour);
                if (found == index.end()) {
                    if (out.palette.size() == kTransparentIndex) {
                        fits = false;
                        break;
                    }
                    found =
                        index.emplace(colour, static_cast<std::uint8_t>(out.palette.size())).first;
                    out.palette.push_back(colour);
                }
                out.pixels.push_back(found->second);
            }
        }
        if (fits) return out;
    }
    return {};
}

// Codes of variable width, packed from the lowest bit, in blocks of at most 255 bytes.
class CodeWriter {
  public:
    void write(unsigned code, int width) {
        bits_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::vector<std::uint8_t> blocks() {
        if (count_ > 0) bytes_.push_back(static_cast<std::uint8_t>(bits_ & 0xFF));
        bits_ = 0;
        count_ = 0;
        std::vector<std::uint8_t> out;
        for (std::size_t at = 0; at < bytes_.size(); at += 255) {
            const std::size_t size = std::min<std::size_t>(255, bytes_.size() - at);
            out.push_back(static_cast<std::uint8_t>(size));
            out.insert(out.end(), bytes_.begin() + static_cast<long>(at),
                       bytes_.begin() + static_cast<long>(at + size));
        }
        out.push_back(0);
        return out;
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

// The pixels compressed as GIF's LZW does, with 8-bit symbols.
std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t>& pixels) {
    constexpr int kMinimumCodeSize = 8;
    constexpr unsigned kClear = 1u << kMinimumCodeSize;
    constexpr unsigned kEnd = kClear + 1;
    CodeWriter out;
    std::map<std::uint32_t, unsigned> table;
    int width = kMinimumCodeSize + 1;
    unsigned last = kEnd;
    out.write(kClear, width);
    long current = -1;
    for (const std::uint8_t pixel : pixels) {
        if (current < 0) {
            current = pixel;
            continue;
        }
        const std::uint32_t key = (static_cast<std::uint32_t>(current) << 8) | pixel;
        if (auto found = table.find(key); found != table.end()) {
            current = found->second;
            continue;
        }
        out.write(static_cast<unsigned>(current), width);
        table[key] = ++last;
        if (last >= (1u << width)) ++width;
        if (last == 4095) {
            out.write(kClear, width);
            table.clear();
            width = kMinimumCodeSize + 1;
            last = kEnd;
        }
        current = pixel;
    }
    if (current >= 0) out.write(static_cast<unsigned>(current), width);
    out.write(kClear, width);
    out.write(kEnd, kMinimumCodeSize + 1);
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(kMinimumCodeSize)};
    const std::vector<std::uint8_t> blocks = out.blocks();
    data.insert(data.end(), blocks.begin(), blocks.end());
    return data;
}

// A GIF89a file of one image with a palette of 256 colours, index 255 transparent.
std::vector<std::uint8_t> gifFile(const IndexedImage& image) {
    std::vector<std::uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    put16(out, static_cast<unsigned>(image.width));
    put16(out, static_cast<unsigned>(image.height));
    out.push_back(0xF7);  // a global palette of 2^8 colours, 8 bits a primary
    out.push_back(kTransparentIndex);
    out.push_back(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < static_cast<int>(image.palette.size())
                           ? image.palette[static_cast<std::size_t>(i)]
                           : qRgb(239, 239, 239);
        out.push_back(static_cast<std::uint8_t>(qRed(c)));
        out.push_back(static_cast<std::uint8_t>(qGreen(c)));
        out.push_back(static_cast<std::uint8_t>(qBlue(c)));
    }
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, kTransparentIndex, 0x00});
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(image.width));
    put16(out, static_cast<unsigned>(image.height));
    out.push_back(0);
    const std::vector<std::uint8_t> data = lzw(image.pixels);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(0x3B);
    return out;
}

QByteArray bytesOf(const std::vector<std::uint8_t>& data) {
    return QByteArray(reinterpret_cast<const char*>(data.data()),
                      static_cast<qsizetype>(data.size()));
}

QByteArray jpegFile(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 92);
    return data;
}

// The file's images as Qt reads them back.
std::vector<QImage> readBack(const QByteArray& data, const char* format) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    std::vector<QImage> images;
    do {
        QImage image = reader.read();
        if (image.isNull()) break;
        images.push_back(std::move(image));
    } while (reader.jumpToNextImage());
    return images;
}

bool save(const std::string& folder, const std::string& name, const QByteArray& data) {
    const std::string path = folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()),
                                     file) == static_cast<std::size_t>(data.size());
    return std::fclose(file) == 0 && written;
}

struct IconPicture {
    const char* name;
    Drawing draw;
    std::vector<int> sizes;  // the largest first
};

bool writeIcon(const std::string& folder, const IconPicture& icon) {
    std::vector<QImage> images;
    for (const int size : icon.sizes) images.push_back(drawn(size, icon.draw));
    const QByteArray data = bytesOf(iconFile(images));
    const std::vector<QImage> back = readBack(data, "ico");
    if (back.size() != images.size()) return false;
    for (std::size_t i = 0; i < back.size(); ++i)
        if (back[i].convertToFormat(QImage::Format_ARGB32) != images[i]) return false;
    return save(folder, icon.name, data);
}

bool writeGif(const std::string& folder, const char* name, int size, const Drawing& draw) {
    const IndexedImage image = indexed(drawn(size, draw));
    if (image.pixels.empty()) return false;
    const QByteArray data = bytesOf(gifFile(image));
    const std::vector<QImage> back = readBack(data, "gif");
    if (back.size() != 1 || back[0].size() != QSize(size, size)) return false;
    const QImage read = back[0].convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::uint8_t index = image.pixels[static_cast<std::size_t>(y * size + x)];
            const QRgb pixel = read.pixel(x, y);
            const bool transparent = qAlpha(pixel) == 0;
            if (transparent != (index == kTransparentIndex)) return false;
            if (!transparent && (pixel | 0xFF000000) != (image.palette[index] | 0xFF000000))
                return false;
        }
    return save(folder, name, data);
}

bool writeJpeg(const std::string& folder, const char* name, const QImage& image) {
    const QByteArray data = jpegFile(image);
    const std::vector<QImage> back = readBack(data, "jpeg");
    return back.size() == 1 && back[0].size() == image.size() && save(folder, name, data);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: draw_pictures FOLDER\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string folder = argv[1];
    const std::vector<int> windowSizes{48, 32, 24, 16};
    const std::vector<int> toolbarSizes{32, 24, 16};
    const std::vector<int> buttonSizes{24, 16};
    const std::vector<IconPicture> icons{
        {"Keys03.ico", drawKeys, windowSizes},
        {"Izhod.ico", drawExit, toolbarSizes},
        {"Kopije.ico", drawCopies, toolbarSizes},
        {"Skladisca.ico", drawWarehouse, toolbarSizes},
        {"Navodilo.ico", drawInformation, toolbarSizes},
        {"Nastavitve.ico", drawGear, toolbarSizes},
        {"Puscica.ico", drawLookupArrow, buttonSizes},
        {"Lupa.ico", drawMagnifier, buttonSizes},
    };
    bool ok = true;
    for (const IconPicture& icon : icons) {
        if (writeIcon(folder, icon)) continue;
        std::fprintf(stderr, "draw_pictures: %s could not be written\n", icon.name);
        ok = false;
    }
    const auto report = [&ok](bool written, const char* name) {
        if (written) return;
        std::fprintf(stderr, "draw_pictures: %s could not be written\n", name);
        ok = false;
    };
    report(writeGif(folder, "FursDela.gif", 16, drawServerWorks), "FursDela.gif");
    report(writeJpeg(folder, "Inven32.jpg", drawn(48, drawStocktake, Qt::white)), "Inven32.jpg");
    report(writeJpeg(folder, "bgposr.jpg", backgroundTile()), "bgposr.jpg");
    return ok ? 0 : 1;
}
