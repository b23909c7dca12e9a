#include "framework/DetailList.h"

#include <stdexcept>

#include "framework/ProcedureByName.h"
#include "framework/WindowProcedure.h"
#include "storage/TableAccess.h"

namespace dv {

// The list answers to the window of its owner; it never selects and never ends the window.
class DetailList::Host final : public BrowseHost {
  public:
    explicit Host(WindowProcedure& owner) : owner_(owner) {}

    Window& window() override { return *owner_.window(); }
    // A window that only shows its record shows the details the same way.
    Request request() const override { return owner_.request() == ReqView ? ReqView : ReqChange; }
    void finish(Response) override {}
    Response response() const override { return RespCancelled; }

  private:
    WindowProcedure& owner_;
};

DetailList::DetailList(WindowProcedure& owner, Definition definition)
    : owner_(owner),
      definition_(std::move(definition)),
      view_(tableAccess().file(definition_.table), tableAccess().relations(definition_.table)),
      host_(std::make_unique<Host>(owner)) {}

DetailList::~DetailList() {
    close();
}

Level DetailList::open() {
    if (const Level opened = view_.Open(); opened != kLevelBenign) return opened;
    opened_ = true;
    const TableDef& table = view_.table();
    const int key = table.findKey(definition_.key);
    if (key < 0)
        throw std::invalid_argument("table " + std::string(table.name) + " has no key " +
                                    definition_.key);
    list_.SetUp(*host_, view_, definition_.list);
    list_.DefineOrder(key);
    const int linking = table.keys[static_cast<std::size_t>(key)].components[0].field;
    list_.LimitOrder(LimitType::SingleValue, {RangeField{linking, definition_.parentValue, {}}});
    const std::vector<ListColumn>& columns = list_.list().columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].field.empty()) continue;
        const int field = table.findField(columns[i].field);
        if (field < 0)
            throw std::invalid_argument("table " + std::string(table.name) + " has no field " +
                                        columns[i].field);
        list_.MapColumn(table, field, static_cast<int>(i + 1));
    }
    list_.SetControls(definition_.buttons);
    if (!definition_.form.empty()) list_.SetAskProcedure(procedureByName(definition_.form));
    list_.Init();
    return kLevelBenign;
}

void DetailList::close() {
    if (!opened_) return;
    opened_ = false;
    view_.Close();
}

void DetailList::follow() {
    if (opened_) list_.Refresh(RefreshMode::Top);
}

int DetailList::rowCount() const {
    return opened_ ? list_.page().size() : 0;
}

EventResult DetailList::TakeEvent(const Event& event) {
    return opened_ ? list_.TakeEvent(event) : kEventGoOn;
}

bool DetailList::NeedsRefresh() const {
    return opened_ && list_.NeedsRefresh();
}

void DetailList::Reset(bool force) {
    if (opened_) list_.Reset(force);
}

void DetailList::Kill() {
    if (opened_) list_.Kill();
}

}  // namespace dv
