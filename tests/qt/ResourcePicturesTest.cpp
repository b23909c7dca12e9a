#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QToolBar>
#include <map>
#include <set>

#include "DesktopTestSupport.h"
#include "frontend/qt/ResourcePictures.h"
#include "runtime/LayoutResources.h"

namespace dv::test {
namespace {

// The picture files the window layouts name: window icons, wallpapers and control pictures.
std::set<std::string> picturesTheLayoutsName() {
    std::set<std::string> names;
    const auto add = [&names](const std::string& name) {
        if (!name.empty()) names.insert(name);
    };
    for (const std::string& window : windowLayoutNames()) {
        const WindowLayout& layout = windowLayout(window);
        add(layout.icon);
        add(layout.wallpaper);
        for (const ControlLayout& control : layout.controls) add(control.icon);
    }
    return names;
}

std::string extensionOf(std::string_view name) {
    return std::string(name.substr(name.find_last_of('.') + 1));
}

// The format Qt finds in the file's contents, and how many images it holds.
struct ReadPicture {
    QByteArray format;
    std::vector<QSize> sizes;
};

ReadPicture readPicture(const EmbeddedFile& file) {
    QByteArray data(file.data.data(), static_cast<qsizetype>(file.data.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    ReadPicture read{reader.format(), {}};
    do {
        const QImage image = reader.read();
        if (image.isNull()) break;
        read.sizes.push_back(image.size());
    } while (reader.jumpToNextImage());
    return read;
}

TEST(ResourcePictures, EveryPictureALayoutNamesIsEmbeddedAndIsAFileOfItsFormat) {
    const std::set<std::string> named = picturesTheLayoutsName();
    for (const char* picture : {"bgposr.jpg", "Keys03.ico", "Inven32.jpg", "FursDela.gif"})
        EXPECT_EQ(named.count(picture), 1u) << picture;
    const std::map<std::string, QByteArray> formats{
        {"jpg", "jpeg"}, {"ico", "ico"}, {"gif", "gif"}};
    for (const std::string& name : named) {
        const EmbeddedFile* file = findResource("pictures/" + name);
        ASSERT_NE(file, nullptr) << name;
        const ReadPicture read = readPicture(*file);
        EXPECT_EQ(read.format, formats.at(extensionOf(name))) << name;
        ASSERT_FALSE(read.sizes.empty()) << name;
        // An icon holds the small size title bars and buttons show, and a larger one.
        if (extensionOf(name) == "ico") {
            EXPECT_GE(read.sizes.size(), 2u) << name;
            EXPECT_EQ(read.sizes.back(), QSize(16, 16)) << name;
            EXPECT_GT(read.sizes.front().width(), 16) << name;
        }
    }
    // And no picture lies there unused.
    for (const EmbeddedFile& file : embeddedResources()) {
        if (!file.path.starts_with("pictures/")) continue;
        EXPECT_EQ(named.count(std::string(file.path.substr(9))), 1u) << file.path;
    }
}

TEST(ResourcePictures, AreFoundByNameInAnyLetterCaseWithEverySizeTheyHold) {
    ensureOffscreenApplication();
    const std::optional<QPixmap> largest = resourcePicture("KEYS03.ICO");
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->size(), QSize(48, 48));
    const QIcon icon = resourceIcon("keys03.ico");
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
    EXPECT_FALSE(resourcePicture("Manjka.ico"));
    EXPECT_TRUE(resourceIcon("Manjka.ico").isNull());
    EXPECT_TRUE(resourceIcon("").isNull());
}

// A window that stays open until it is closed, over a layout of the program's.
Response openWindow(const char* name) {
    Window window(name);
    while (window.nextEvent().kind != EventKind::CloseWindow) {
    }
    return Response::None;
}

// The main frame over the program's own layout, until its close box.
Response frameWindow() {
    return openWindow("Main");
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

class DesktopPictures : public DesktopTest {};

TEST_F(DesktopPictures, TheFrameShowsItsIconBackgroundAndToolbarPicturesAndLendsItsIcon) {
    start("Main", frameWindow);
    ASSERT_FALSE(desktop->windowIcon().isNull());
    EXPECT_EQ(iconImage(desktop->windowIcon()), iconImage(resourceIcon("Keys03.ico")));
    const QBrush background = desktop->area().background();
    EXPECT_EQ(background.style(), Qt::TexturePattern);
    EXPECT_EQ(background.texture().size(), QSize(128, 128));
    const QList<QAction*> buttons = desktop->toolBar().actions();
    ASSERT_EQ(buttons.size(), 5);
    for (const QAction* button : buttons)
        EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();

    // A window without an icon of its own is given the frame's: its title bar draws the icon it
    // was given, not one it inherits.
    start("InvInfo", [] { return openWindow("InvInfo"); });
    MdiWindow& sub = focusedSubWindow();
    EXPECT_TRUE(sub.testAttribute(Qt::WA_SetWindowIcon));
    const QImage shown = iconImage(sub.windowIcon());
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(shown, iconImage(desktop->windowIcon()));
}

TEST_F(DesktopPictures, WindowsShowTheirPicturesOnButtonsAndImages) {
    start("InvInfo", [] { return openWindow("InvInfo"); });
    const QPixmap picture = widget<QLabel>("Slika").pixmap();
    EXPECT_EQ(picture.size(), QSize(48, 48));
    start("VerzijaPrograma", [] { return openWindow("VerzijaPrograma"); });
    EXPECT_FALSE(widget<QPushButton>("FursTest").icon().isNull());
    EXPECT_FALSE(widget<QLabel>("Logotip").pixmap().isNull());
    start("ParametriInventure", [] { return openWindow("ParametriInventure"); });
    auto& owner = widget<QPushButton>("IzberiPartnerja");
    EXPECT_FALSE(owner.icon().isNull());
    start("ParametriTerminal", [] { return openWindow("ParametriTerminal"); });
    auto& chooser = widget<QPushButton>("IzberiDatoteko");
    EXPECT_FALSE(chooser.icon().isNull());
    EXPECT_EQ(chooser.text(), QString("..."));
}

}  // namespace
}  // namespace dv::test
