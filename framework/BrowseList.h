#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/BrowseCells.h"
#include "framework/BrowseHost.h"
#include "framework/BrowseLocator.h"
#include "framework/BrowsePage.h"
#include "framework/BrowseRange.h"
#include "framework/BrowseThumb.h"
#include "framework/WindowComponent.h"
#include "runtime/ProcedureThread.h"
#include "storage/FileManager.h"
#include "storage/ViewManager.h"

namespace dv {

// Toolbar navigation a form can be closed with (CallerVcrRequest): the calling list moves and
// calls the form again.
namespace vcr {
inline constexpr std::int32_t Insert = 3001;
inline constexpr std::int32_t Last = 3005;
inline constexpr std::int32_t First = 3006;
inline constexpr std::int32_t PageDown = 3007;
inline constexpr std::int32_t PageUp = 3008;
inline constexpr std::int32_t Next = 3009;
inline constexpr std::int32_t Previous = 3010;
}  // namespace vcr

// The buttons of a list, by control name; an empty name: the list has no such button.
struct BrowseControls {
    std::string insert;   // INSERTCONTROL
    std::string change;   // CHANGECONTROL
    std::string remove;   // DELETECONTROL
    std::string view;     // VIEWCONTROL
    std::string select;   // SELECTCONTROL
    std::string print;    // PRINTCONTROL
    std::string query;    // QUERYCONTROL
    std::string toolbox;  // TOOLCONTROL
    std::string markAll;  // marks every row of a list that marks rows
};

struct BrowseOptions {
    int itemsToFill = 10;            // ITEMSTOFILL: rows in a page
    bool fileLoaded = false;         // FILELOADED: the whole view is held, not a page
    bool hideSelect = true;          // HIDESELECT
    bool selectWholeRecord = false;  // SELECTWHOLERECORD
    bool retainRow = true;           // RETAINROW
    bool startAtCurrent = false;     // STARTATCURRENT
    bool quickScan = false;          // QUICKSCAN
};

// Where a refresh puts the list.
enum class RefreshMode {
    Top,      // the first record of the view
    Bottom,   // the last record of the view
    Current,  // the highlighted record (the first record when there is none)
    Buffer,   // the record whose key values stand in the primary buffer
};

// One sort order of a list (an entry of SORT).
struct BrowseOrder {
    int key = kFileOrder;  // MAINKEY
    bool descending = false;
    BrowseRange range;  // LIMITTYPE, RANGELIST
    bool captured = false;
    std::vector<BrowseFilter> filters;    // FILTER
    BrowseLocator locator;                // LOCATOR
    ThumbStyle thumb = ThumbStyle::None;  // THUMB
};

// What the list extension adds to a list (see BrowseColumns): the look of its rows and what it
// keeps when the list ends.
class BrowseListExtension {
  public:
    virtual ~BrowseListExtension() = default;
    // The rows of a page just before the list shows them (row 1 first).
    virtual void styleRows(std::vector<ListRow>& rows) = 0;
    // Every event of the window, before the list acts on it.
    virtual void takeEvent(const Event&) {}
    // The list has chosen another sort order.
    virtual void orderChosen(int) {}
    // The list ends.
    virtual void closing() {}
};

// A scrolling list of the records of a view (see ViewManager): it holds a page of rows and
// reads more as the user scrolls, offers one sort order per tab with its range, filters and
// locator, calls the table's form for Insert, Change, Delete and View and repositions after it,
// and returns the highlighted record when it was called to select one.
//
// A window sets it up (SetUp, DefineOrder with LimitOrder, AttachLocator and PutFilter for each
// order, MapColumn for the listed fields, the buttons and the form procedure), calls Init and
// adds it as a component: it takes every event of the window (TakeEvent), and when the window
// ends (Kill) it settles the caller's record by the window's response (OnClose).
//
// The list control receives the keys it acts on as alerted keys: Insert, Delete, Ctrl+Enter,
// Shift+Enter, Backspace and the keys that type (letters, digits, Space) for the locator. A
// double click is the list's Accepted event (Enter on the list does the same).
//
// A list whose layout says `multiple` marks rows: Space or a Ctrl+click (MarkRow) marks the
// row or takes its mark away, Ctrl+A and the markAll button mark every row of the view. The
// marks belong to the records, not to the screen rows: they stay while the list scrolls, is
// sorted again or narrowed by a query, and the procedure reads the marked records from the
// list (marked()).
class BrowseList final : public WindowComponent {
  public:
    BrowseList();
    ~BrowseList() override;
    BrowseList(const BrowseList&) = delete;
    BrowseList& operator=(const BrowseList&) = delete;

    // ---- set-up
    // The window, the view (opened by the window) and the list control.
    void SetUp(BrowseHost& host, ViewManager& view, std::string_view listControl);
    // Adds a sort order over a key of the primary table; its number (from 1).
    int DefineOrder(int key, bool descending = false);
    // Adds a sort order over `key` with the range, filters, locator and thumb of order `model`.
    int DefineOrderLike(int model, int key, bool descending);
    // The range of an order (0: the order defined last).
    void LimitOrder(LimitType type, std::vector<RangeField> fields, int order = 0);
    void AttachLocator(LocatorKind kind, std::string_view control = {}, int order = 0);
    void SetThumb(ThumbStyle style, int order = 0);
    // Adds (or replaces, by id) an extra filter of an order; empty text removes it.
    void PutFilter(std::string expression, std::string id = {}, int order = 0);
    // A field shown in a column (from 1) of the list; the column's picture unless one is given.
    void MapColumn(const TableDef& table, int field, int column, std::string picture = {});
    // A field whose change refreshes the list (RESETS).
    void WatchField(const TableDef& table, int field);
    void SetControls(BrowseControls controls);
    // The sheet whose tabs choose the sort orders (tab n: order n).
    void SetSheet(std::string_view sheet);
    // ASKPROCEDURE and PRINTPROCEDURE.
    void SetAskProcedure(ProcedureBody procedure) { ask_ = std::move(procedure); }
    // Fills what the mapped fields do not (cells worked out from the record) and may give a
    // row colours of its own, which win over the extension's; runs for every row read, with
    // the row's record and its joined records in the buffers.
    using RowFormatter = std::function<void(ListRow&)>;
    void SetRowFormatter(RowFormatter formatter) { formatter_ = std::move(formatter); }
    void SetPrintProcedure(ProcedureBody procedure) { print_ = std::move(procedure); }
    BrowseOptions& options() { return options_; }
    void AttachExtension(BrowseListExtension* extension) { extension_ = extension; }
    // Ends set-up: the list opened for ReqView loses its Insert, Change and Delete buttons, a
    // list that selects keeps the caller's record, the first order is chosen and the list
    // filled (at the record in the buffer with STARTATCURRENT).
    void Init();

    // ---- operations
    void ChooseOrder(int order);
    void Refresh(RefreshMode mode = RefreshMode::Current);
    void JumpToBuffer() { Refresh(RefreshMode::Buffer); }
    // Copies the highlighted row's record into the buffers.
    void LoadHighlighted();
    // Calls the form with the request and repositions after it, repeated while the form asks
    // for toolbar navigation; the form's last response.
    Response AskRecord(Request request);
    // ---- as a component of its window
    // The window's event; kEventGoOn (the window goes on with it).
    EventResult TakeEvent(const Event& event) override;
    bool NeedsRefresh() const override;
    // Fills the list again where it stands (at the top when forced).
    void Reset(bool force) override { Refresh(force ? RefreshMode::Top : RefreshMode::Current); }
    // The window ends: OnClose with its response.
    void Kill() override;

    void OnListKey(KeyCode key);
    void OnScroll(EventKind kind);
    // The scroll thumb dragged to `percent` (0..100).
    void OnThumb(int percent);
    // The entry locator's field accepted.
    void OnLocate();
    // Makes `text` the current order's search text and moves to the first record at or after
    // it.
    void LocateOn(std::string text);
    void OnListSelection();
    // The right mouse button on row `row` (from 1; 0 for none).
    void OnRightClick(int row);
    std::vector<PopupItem> PopupItems() const;
    void SyncButtons();
    // ---- marking (a list whose layout says `multiple`)
    bool marksRows() const;
    // Whether page row `choice` (from 1) is marked; marks it or takes its mark away.
    bool isMarked(int choice) const;
    void ToggleMark(int choice);
    // Marks every record of the view (as its order, range, filters and query give it).
    void MarkAll();
    void ClearMarks();
    // The marked records as last read (the table's record layout), by the row each is stored
    // at.
    const std::map<std::int64_t, std::vector<unsigned char>>& marked() const { return marked_; }
    // The window closes with `response`.
    void OnClose(Response response);
    // Whether a watched field or the range's values changed since the last refresh.
    bool NeedRefresh() const;

    // ---- state
    ViewManager& view() const { return *view_; }
    BrowseHost& host() const { return *host_; }
    Control& list() const;
    const BrowsePage& page() const { return *page_; }
    // CURRENTCHOICE: the highlighted row (from 1; 0 when the list is empty).
    int currentChoice() const { return currentChoice_; }
    int currentOrder() const { return currentOrder_; }
    int orderCount() const { return static_cast<int>(orders_.size()); }
    const BrowseOrder& order(int number) const;
    const std::vector<BrowseColumn>& columns() const { return columns_; }
    // SELECTING: called to pick a record.
    bool selecting() const;
    // Where the scroll thumb stands: 0 at the top, 100 at the end, 50 between (the exact
    // proportion for a list held whole).
    int thumbPosition() const;
    const BrowseControls& controls() const { return controls_; }

  private:
    BrowseOrder& target(int order);
    BrowseOrder& current();
    Control* control(const std::string& name) const;
    bool press(const std::string& name);
    ListRow cells() const;
    bool applyFilter();
    std::string filterText() const;
    void show(int index);
    void fillAt(const DriverPosition& position);
    void locate(const ExpressionValue& value);
    void showLocatorText(const BrowseLocator& locator);
    void locateKey(KeyCode key);
    bool prepareInsert();
    Response callForm(Request request);
    void afterForm(Request request, Response response, const DriverPosition& before);
    bool navigate(std::int32_t request);
    bool moveHighlight(int index);
    void keepSelection(Response response);
    void showMarks();
    ExpressionValue freeValue(const std::vector<unsigned char>& record) const;
    std::vector<std::string> watchedValues() const;

    BrowseHost* host_ = nullptr;
    ViewManager* view_ = nullptr;
    Control* list_ = nullptr;
    std::unique_ptr<BrowsePage> page_;
    std::vector<BrowseOrder> orders_;
    std::vector<BrowseColumn> columns_;
    std::vector<std::pair<const TableDef*, int>> watched_;
    std::vector<std::string> watchedSeen_;
    BrowseControls controls_;
    std::string sheet_;
    ProcedureBody ask_;
    ProcedureBody print_;
    RowFormatter formatter_;
    BrowseOptions options_;
    BrowseListExtension* extension_ = nullptr;
    int currentOrder_ = 0;
    int currentChoice_ = 0;
    std::string appliedFilter_;
    bool filterApplied_ = false;
    std::map<std::int64_t, std::vector<unsigned char>> marked_;
    SnapshotHandle callerRecord_ = 0;
    bool inited_ = false;
};

}  // namespace dv
