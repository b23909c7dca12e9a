#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/BrowseColumns.h"
#include "framework/BrowseList.h"
#include "framework/WindowProcedure.h"
#include "storage/ViewManager.h"

namespace dv {

// A window procedure whose window shows one browse list over a table. It opens the table (with
// the tables its relations need) when it starts, sets the list up once the window is open,
// hands the list every event of the window and closes the table when it ends. The list carries
// the list extension (BrowseColumns): green-bar rows, sorting by a click on a column's heading
// (with the locator of the first order), the query line, and the column layout kept in the
// settings file under the procedure's name.
//
// A program's list window says in its layout what the list shows, on the line of its main list
// ?Seznam and the column lines in it:
//
//   list ?Seznam paged table=SFENOTE locator=?Lokator query=?Poizvedba form=UpdateSFENOTE
//   print=OknoIzpisaEnote
//     column "Šifra" field=SFENOTE:Enota key=ENOTAKLJUC picture=@n3 center
//     column "Naziv" field=SFENOTE:Naziv key=NAZIVKLJUC picture=@s60
//
// Its first order is `order=` or else the key of the first column that sorts; `filter=` narrows
// every order. The buttons take their roles from their names: ?Dodaj, ?Spremeni, ?Brisi and
// ?Poglej call the form with ReqInsert, ReqChange, ReqDelete and ReqView, ?Izberi selects,
// ?Izpis or ?Tiskaj calls the print procedure, ?Zapri closes the window, and in a list that marks
// rows (`multiple` on its line) ?IzberiVse marks every row. A list window with more
// to say derives from the class, adds in DefineList what the layout cannot say (after the
// layout's part, BrowseProcedure::DefineList) and overrides the hooks below.
//
// Called with ReqSelect (a lookup) the list shows its Select button; selecting ends the window
// with RespCompleted and leaves the highlighted record in the table's buffer, anything else puts
// the caller's record back. Called with ReqView the list has no Insert, Change or Delete.
//
// A derived window can refuse requests for the highlighted record (MayAsk): the refused buttons
// are disabled on every change of the row, and no key, double click, queued press or move of
// the form's toolbar reaches the form with a refused request. A record that may not be changed
// opens read-only instead when it is double-clicked (or Enter, Ctrl+Enter is pressed on it).
class BrowseProcedure : public WindowProcedure {
  public:
    // The list window `name`: its layout of that name, whose main list ?Seznam names its table.
    explicit BrowseProcedure(std::string name);
    // `table` is the primary table (name or prefix), `listControl` the list of the layout.
    BrowseProcedure(std::string name, const WindowLayout& layout, ErrorReporter& errors,
                    SettingsManager* settings, std::string_view table,
                    std::string_view listControl);
    ~BrowseProcedure() override;

    BrowseList& list() { return list_; }
    const BrowseList& list() const { return list_; }
    BrowseColumns& columns() { return columns_; }
    ViewManager& view() { return view_; }
    FileManager& file() const { return view_.primary(); }

    // ---- configuration, in DefineList. Names the table or layout lacks throw
    // std::invalid_argument.

    // Column `column` (from 1) shows `field` of the primary table; a click on its heading sorts
    // the list by `key` (-1: the column cannot be sorted by).
    void AddColumn(int column, std::string_view field, int key = -1);
    // The form that Insert, Change, Delete and View call, by its procedure name. When the
    // program has no procedure of that name, a press of those buttons raises message 24
    // "Procedure not defined" and does nothing else.
    void SetForm(std::string procedure);

    // ---- the life cycle
    Level SetUp() override;
    void TearDown() override;
    void Refresh(bool force = false) override;
    EventResult OnEvent(const Event& event) override;
    EventResult OnAccepted(const Event& event) override;

  protected:
    // Sets the list up: its orders with their ranges, locators and filters, its columns, its
    // buttons and its form. Runs once the window is open, before the list is filled. This one
    // does what the layout says.
    virtual void DefineList();
    // The called procedure may have read the table into its buffer: the list takes its
    // highlighted record again and the focus.
    void AfterCall() override;
    // Whether the list may call its form with `request` for the highlighted record (for
    // ReqInsert: whether a record may be added at all). Everything is allowed by default.
    virtual bool MayAsk(Request request) const {
        (void)request;
        return true;
    }
    // Runs after every event, once the list has taken it: what the window shows about the
    // highlighted record.
    virtual void ShowHighlighted() {}
    // The record of the highlighted row as the list read it (the table's record layout),
    // nullptr when the list is empty.
    const void* highlightedRecord() const;

  private:
    class Host;

    void bindConventionalButtons();
    void syncAskButtons();
    bool askable(int control) const;
    bool formDefined() const;
    EventResult viewInstead();

    ViewManager view_;
    std::unique_ptr<Host> host_;
    BrowseList list_;
    BrowseColumns columns_;
    std::string listControl_;
    std::string form_;
    bool viewOpened_ = false;
    bool listReady_ = false;
};

}  // namespace dv
