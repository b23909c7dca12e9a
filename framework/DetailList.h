#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/BrowseColumns.h"
#include "framework/BrowseList.h"
#include "framework/WindowComponent.h"
#include "storage/ViewManager.h"

namespace dv {

class WindowProcedure;

// A list of the detail records that belong to one master record, in the same window as the
// master: the subgroups of the group highlighted in the list beside it, the subgroups of the
// group a form edits. It is a browse list of its own over the detail table, limited to the
// records whose linking fields equal the master's values, read afresh each time those values
// change (the master list moved on) and emptied while there is no master record.
//
// Its layout says what it shows, as a window's main list does, on the list's line and its
// column lines:
//
//   list ?Podskupine table=SFPODGRU order=SKUPINAKLJUC form=UpdateSFPODGRU
//     column "Šifra" field=SFPODGRU:PodSifra picture=@n4
//
// The owner creates it with the linking fields and starts it once its window is open, after its
// own list (so that the master's record is in its buffer before the detail reads):
//
//   DetailList subgroups(*this, "?Podskupine", {{"Sifra", bufferField(SFGRUPE, "Sifra")}});
//   subgroups.Start();   // in SetUp, after the base
//
// Buttons that call the detail's form (`form=` of its list) are given by name; a new detail
// record gets the master's values in its linking fields. A window opened only to look (ReqView)
// shows the list without them.
class DetailList final : public WindowComponent {
  public:
    struct Link {
        std::string field;  // a field of the detail table
        BrowseValue value;  // the master's value it must equal
    };

    DetailList(WindowProcedure& owner, std::string_view listControl, std::vector<Link> links);
    ~DetailList() override;
    DetailList(const DetailList&) = delete;
    DetailList& operator=(const DetailList&) = delete;

    // The buttons of the list (insert, change, delete, view), by control name.
    void SetButtons(BrowseControls controls) { controls_ = std::move(controls); }
    // While `present` says false there is no master record, and the list shows nothing.
    void SetMasterPresent(std::function<bool()> present) { masterPresent_ = std::move(present); }

    // Opens the detail table and fills the list; adds the list to the owner's components. 0, or
    // the level result of the failed open (reported).
    Level Start();
    // Reads the records again (another window may have changed them).
    void Reload();
    // The same once the event that is being handled is done: a form called from the window
    // may have changed the records, and the master list settles on its record first.
    void ReloadLater() { reloadPending_ = true; }

    BrowseList& list() { return list_; }
    ViewManager& view() { return view_; }

    // ---- WindowComponent
    EventResult TakeEvent(const Event& event) override;
    bool NeedsRefresh() const override {
        return reloadPending_ || list_.NeedsRefresh() || masterChanged();
    }
    void Reset(bool force) override;
    void Kill() override;

  private:
    class Host;

    bool masterChanged() const;
    void followMaster();
    void defineFromLayout();

    WindowProcedure& owner_;
    std::string listControl_;
    std::vector<Link> links_;
    BrowseControls controls_;
    std::function<bool()> masterPresent_;
    ViewManager view_;
    std::unique_ptr<Host> host_;
    BrowseList list_;
    BrowseColumns columns_;
    bool opened_ = false;
    bool started_ = false;
    bool shownPresent_ = true;
    bool reloadPending_ = false;
};

}  // namespace dv
