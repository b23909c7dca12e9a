#include "framework/DetailList.h"

#include <stdexcept>

#include "framework/BrowseHost.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/WindowProcedure.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// The filter that keeps every record out while there is no master record.
constexpr std::string_view kNoMasterFilter = "0 = 1";
constexpr std::string_view kNoMasterId = "NoMaster";

const ControlLayout& detailListOf(const WindowProcedure& owner, std::string_view control) {
    const ControlLayout* list = owner.layout().find(control);
    if (list == nullptr || list->type != ControlType::List || list->binding.table.empty())
        throw std::invalid_argument("window " + owner.layout().name + " has no list " +
                                    std::string(control) + " over a table");
    return *list;
}

int fieldOf(const TableDef& table, std::string_view field) {
    const int index = table.findField(field);
    if (index < 0)
        throw std::invalid_argument("table " + std::string(table.name) + " has no field " +
                                    std::string(field));
    return index;
}

// The list's columns are kept in the settings file apart from the window's main list.
std::string settingsSection(const WindowProcedure& owner, std::string_view control) {
    std::string section = owner.name() + "_";
    section += control.starts_with('?') ? control.substr(1) : control;
    return section;
}

}  // namespace

// A detail list never ends its window, and never selects: only a window that looks and does
// not change (ReqView) reaches it.
class DetailList::Host final : public BrowseHost {
  public:
    explicit Host(WindowProcedure& owner) : owner_(owner) {}

    Window& window() override { return *owner_.window(); }
    Request request() const override {
        return owner_.request() == ReqView ? ReqView : Request::None;
    }
    void finish(Response) override {}
    Response response() const override { return RespCancelled; }

  private:
    WindowProcedure& owner_;
};

DetailList::DetailList(WindowProcedure& owner, std::string_view listControl,
                       std::vector<Link> links)
    : owner_(owner),
      listControl_(listControl),
      links_(std::move(links)),
      view_(tableAccess().file(detailListOf(owner, listControl).binding.table),
            tableAccess().relations(detailListOf(owner, listControl).binding.table)),
      host_(std::make_unique<Host>(owner)),
      columns_(list_, &programSettings(), settingsSection(owner, listControl)) {}

DetailList::~DetailList() {
    if (opened_) view_.Close();
}

Level DetailList::Start() {
    if (const Level opened = view_.Open(); opened != kLevelBenign) return opened;
    opened_ = true;
    list_.SetUp(*host_, view_, listControl_);
    defineFromLayout();
    followMaster();
    list_.Init();
    columns_.Load();
    owner_.AddComponent(*this);
    started_ = true;
    return kLevelBenign;
}

void DetailList::defineFromLayout() {
    const ControlLayout& declared = detailListOf(owner_, listControl_);
    const TableDef& table = view_.table();
    const std::string order = listOrder(declared);
    if (order.empty()) throw std::invalid_argument("list " + listControl_ + " names no order");
    list_.DefineOrder(layoutKey(table, order));
    std::vector<RangeField> range;
    for (const Link& link : links_) range.push_back({fieldOf(table, link.field), link.value, {}});
    list_.LimitOrder(LimitType::FileRelation, std::move(range));
    if (!declared.binding.filter.empty()) list_.PutFilter(declared.binding.filter);
    for (std::size_t i = 0; i < declared.columns.size(); ++i) {
        const ListColumn& column = declared.columns[i];
        if (column.field.empty()) continue;
        const int number = static_cast<int>(i + 1);
        const int field = fieldOf(table, column.field);
        list_.MapColumn(table, field, number);
        columns_.AddColumn(number, &table, field,
                           column.key.empty() ? -1 : layoutKey(table, column.key));
    }
    list_.SetControls(controls_);
    list_.options().selectWholeRecord = true;
    if (!declared.binding.form.empty())
        list_.SetAskProcedure(procedureByName(declared.binding.form));
}

bool DetailList::masterChanged() const {
    return masterPresent_ && masterPresent_() != shownPresent_;
}

// Without a master record nothing belongs to it: the list is emptied by a filter that no record
// passes, rather than showing the records whose linking fields are blank.
void DetailList::followMaster() {
    const bool present = !masterPresent_ || masterPresent_();
    if (present == shownPresent_ && started_) return;
    shownPresent_ = present;
    list_.PutFilter(present ? std::string() : std::string(kNoMasterFilter),
                    std::string(kNoMasterId));
}

void DetailList::Reload() {
    if (!started_) return;
    reloadPending_ = false;
    followMaster();
    view_.Flush();
    list_.Refresh(RefreshMode::Top);
}

EventResult DetailList::TakeEvent(const Event& event) {
    if (!started_) return kEventGoOn;
    followMaster();
    const EventResult result = list_.TakeEvent(event);
    if (reloadPending_) Reload();
    return result;
}

void DetailList::Reset(bool force) {
    if (!started_) return;
    if (reloadPending_) {
        Reload();
        return;
    }
    followMaster();
    // Another master: the list starts at its first record.
    if (force || list_.NeedRefresh())
        list_.Refresh(RefreshMode::Top);
    else
        list_.Reset(false);
}

void DetailList::Kill() {
    if (!started_) return;
    list_.Kill();
    started_ = false;
    view_.Close();
    opened_ = false;
}

}  // namespace dv
