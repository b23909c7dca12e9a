#include <QMdiArea>
#include <QPushButton>

#include "DesktopTestSupport.h"
#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "framework/ErrorReporter.h"
#include "framework/WindowProcedure.h"
#include "frontend/TempDirectory.h"
#include "runtime/TextCase.h"
#include "storage/TableAccess.h"
#include "support/FormTestProcedures.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

const WindowLayout& resizableLayout() {
    static const WindowLayout layout = parseLayout(R"(window Seznam "Seznam" resizable
  list ?Vrstice
    column "Naziv"
  button ?Zapri "Zapri"
)",
                                                   "Seznam.layout");
    return layout;
}

// Window procedures whose positions are kept in a settings file, over the tables of a fresh
// data directory.
class WindowGeometry : public DesktopTest {
  protected:
    WindowGeometry() {
        const fs::path data = root.path() / "data";
        fs::create_directory(data);
        for (const TableFile& table : tableFiles())
            setTableFileName(table.table,
                             (data / hostPath(lowerSlovenian(table.builtInName))).string());
        clearAllRecordBuffers();
        EXPECT_TRUE(settings.open(root.path()).ok());
        access = std::make_unique<TableAccess>(&errors);
    }
    ~WindowGeometry() override {
        scheduler.shutdown();
        access.reset();
        resetTableFileNames();
        clearAllRecordBuffers();
    }

    void keep(std::string_view procedure, std::string_view entry, std::int64_t value) {
        ASSERT_TRUE(settings.writeNumber(procedure, entry, value).ok());
    }
    std::int64_t kept(std::string_view procedure, std::string_view entry) {
        return settings.readNumber(procedure, entry, -1);
    }

    void startList() {
        start("SeznamTest", [this] {
            WindowProcedure list("SeznamTest", resizableLayout(), errors, &settings);
            list.AddEndButton("Zapri", RespCompleted);
            return list.Execute();
        });
    }

    TempDirectory root;
    ErrorReporter errors;
    SettingsManager settings;
    std::unique_ptr<TableAccess> access;
};

TEST_F(WindowGeometry, AFormOpensWhereItWasLeftAndKeepsWhereTheUserMovedIt) {
    keep("TestUnitForm", "XPos", 40);
    keep("TestUnitForm", "YPos", 30);
    start("TestInsertUnit", [this] { return callTestUnitForm(ReqInsert, errors, &settings); });
    MdiWindow& form = focusedSubWindow();
    EXPECT_EQ(form.pos(), QPoint(40, 30));
    // A window that is not resizable keeps the size its layout needs.
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.size(), form.sizeHint());

    form.move(70, 55);
    EXPECT_EQ(focusedWindow().geometry().x, 70);
    EXPECT_EQ(focusedWindow().geometry().y, 55);
    widget<QPushButton>("Cancel").click();
    settle();
    EXPECT_TRUE(desktop->finished());
    EXPECT_EQ(kept("TestUnitForm", "XPos"), 70);
    EXPECT_EQ(kept("TestUnitForm", "YPos"), 55);
    EXPECT_EQ(settings.readText("TestUnitForm", "Maximize", ""), "No");
    EXPECT_EQ(kept("TestUnitForm", "Width"), -1);  // only a resizable window keeps its size
}

TEST_F(WindowGeometry, AResizableWindowKeepsItsSizeAndStaysMaximizedNextTime) {
    // A window that stays open, so that the program goes on between the two lists.
    static const WindowLayout background =
        parseLayout("window Ozadje \"Ozadje\"\n  string \"\"\n", "Ozadje.layout");
    start("Ozadje", [] {
        Window window(background);
        while (window.nextEvent().kind != EventKind::CloseWindow) {
        }
        return Response::None;
    });
    keep("SeznamTest", "XPos", 10);
    keep("SeznamTest", "YPos", 20);
    keep("SeznamTest", "Width", 500);
    keep("SeznamTest", "Height", 300);
    startList();
    MdiWindow& list = focusedSubWindow();
    EXPECT_EQ(list.geometry(), QRect(10, 20, 500, 300));
    // The resizer asked for the size the layout needs as the smallest one.
    EXPECT_EQ(list.minimumSize(), list.sizeHint());

    list.resize(640, 360);
    list.showMaximized();
    settle();
    EXPECT_TRUE(focusedWindow().geometry().maximized);
    EXPECT_EQ(focusedWindow().geometry().width, 640);  // the size it has when not maximized
    widget<QPushButton>("Zapri").click();
    settle();
    EXPECT_EQ(settings.readText("SeznamTest", "Maximize", ""), "Yes");
    EXPECT_EQ(kept("SeznamTest", "Width"), 640);
    EXPECT_EQ(kept("SeznamTest", "Height"), 360);

    startList();
    MdiWindow& again = focusedSubWindow();
    EXPECT_TRUE(again.isMaximized());
    again.close();  // its close box
    settle();
    EXPECT_EQ(desktop->subWindowOf(focusedWindow()), desktop->area().subWindowList().front());
    EXPECT_EQ(focusedWindow().name(), "Ozadje");
}

}  // namespace
}  // namespace dv::test
