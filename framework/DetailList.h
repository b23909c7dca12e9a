#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/BrowseList.h"
#include "framework/WindowComponent.h"
#include "runtime/ExpressionValue.h"
#include "storage/ViewManager.h"

namespace dv {

class WindowProcedure;

// The Insert, Change and Delete buttons of a detail list, by control name.
inline BrowseControls detailButtons(std::string insert, std::string change, std::string remove) {
    BrowseControls controls;
    controls.insert = std::move(insert);
    controls.change = std::move(change);
    controls.remove = std::move(remove);
    return controls;
}

// A list of the records that belong to one parent record, inside a window that shows the
// parent: a partner's bank accounts in the partner's form, or its contact persons under the
// highlighted partner of the list of partners. It shows the records of its table whose first
// key component holds the parent's value, in the order of that key; its own buttons call the
// detail's form, and a new record gets the parent's value. The parent's value is asked again
// whenever the list follows its parent (follow), so the window decides what the parent is.
//
// The list's columns are its layout's column lines with `field=`.
class DetailList final : public WindowComponent {
  public:
    struct Definition {
        std::string list;   // the list control ("?Racuni")
        std::string table;  // the detail table
        std::string key;    // the key whose first component links to the parent
        std::function<ExpressionValue()> parentValue;
        std::string form;        // the detail's form, by procedure name (empty: none)
        BrowseControls buttons;  // its own Insert, Change and Delete buttons
    };

    DetailList(WindowProcedure& owner, Definition definition);
    ~DetailList() override;
    DetailList(const DetailList&) = delete;
    DetailList& operator=(const DetailList&) = delete;

    // Opens the table and fills the list; to be called once the owner's window is open.
    [[nodiscard]] Level open();
    void close();
    // The parent changed: the list shows the records of the parent's value from the top.
    void follow();

    int rowCount() const;
    BrowseList& list() { return list_; }

    EventResult TakeEvent(const Event& event) override;
    bool NeedsRefresh() const override;
    void Reset(bool force) override;
    void Kill() override;

  private:
    class Host;

    WindowProcedure& owner_;
    Definition definition_;
    ViewManager view_;
    std::unique_ptr<Host> host_;
    BrowseList list_;
    bool opened_ = false;
};

}  // namespace dv
