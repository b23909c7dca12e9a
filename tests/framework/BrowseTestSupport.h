#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/BrowseList.h"
#include "runtime/MessageRaiser.h"
#include "runtime/WindowDesktop.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv::test {

// Records the ids of the messages raised; questions are answered Yes.
class BrowseRaiser : public MessageRaiser {
  public:
    BrowseRaiser() : previous_(setCurrentMessageRaiser(this)) {}
    ~BrowseRaiser() override { setCurrentMessageRaiser(previous_); }
    BrowseRaiser(const BrowseRaiser&) = delete;
    BrowseRaiser& operator=(const BrowseRaiser&) = delete;

    void quoteFile(std::string_view) override {}
    void quoteField(std::string_view) override {}
    void captureErrorState() override {}
    Level raise(std::uint16_t id) override;
    Level raiseWithText(std::uint16_t id, std::string_view) override { return raise(id); }

    std::vector<std::uint16_t> ids;

  private:
    MessageRaiser* previous_;
};

// The tables in a fresh temporary data directory, opened through a table access of their own.
class BrowseTables {
  public:
    BrowseTables();
    ~BrowseTables();
    BrowseTables(const BrowseTables&) = delete;
    BrowseTables& operator=(const BrowseTables&) = delete;

    TableAccess& access() { return *access_; }
    FileManager& file(std::string_view table) { return access_->file(table); }
    const std::filesystem::path& directory() const { return directory_; }

    BrowseRaiser raiser;

  private:
    std::filesystem::path directory_;
    std::unique_ptr<TableAccess> access_;
};

// The window a list lives in: the request it was opened with, the response Select gave, and a
// scripted choice in its right-click menu.
class TestBrowseHost : public BrowseHost {
  public:
    TestBrowseHost(const WindowLayout& layout, Request request)
        : window_(layout, desktop_), request_(request) {}

    Window& window() override { return window_; }
    Request request() const override { return request_; }
    void finish(Response response) override { finished = response; }
    Response response() const override { return finished.value_or(RespCancelled); }
    int popupMenu(const std::vector<PopupItem>& items) override {
        menu = items;
        return menuChoice;
    }

    std::optional<Response> finished;
    std::vector<PopupItem> menu;
    int menuChoice = 0;

  private:
    WindowDesktop desktop_;
    Window window_;
    Request request_;
};

// Hands every event waiting in the window to the list.
void pump(Window& window, BrowseList& list);

// The window of the list tests: a sheet with a tab per order, the list (EAN, name, group), an
// entry and a string for locators, and the buttons.
const WindowLayout& browseLayout();

// One line of a stocktake in INVENDET.
struct StockLine {
    int stocktake;
    std::string ean;
    std::string name;
    int group = 1;
    int unit = 1;
};
// Adds the line through the table's manager; false when it was refused.
bool addLine(FileManager& lines, const StockLine& line);

// The texts of one column of the list, row 1 first.
std::vector<std::string> columnTexts(const Control& list, int column);

}  // namespace dv::test
