#include "framework/BrowseProcedure.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "framework/ProcedureByName.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "runtime/MessageRaiser.h"
#include "runtime/ProcedureRegistry.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// The buttons that call the list's form, with the request each calls it with.
std::array<std::pair<const std::string*, Request>, 4> askButtons(const BrowseControls& controls) {
    return {{{&controls.insert, ReqInsert},
             {&controls.change, ReqChange},
             {&controls.remove, ReqDelete},
             {&controls.view, ReqView}}};
}

// The main list of every program's list window.
constexpr std::string_view kMainList = "?Seznam";

// The buttons of a list window by their conventional names.
constexpr std::string_view kInsertButton = "?Dodaj";
constexpr std::string_view kChangeButton = "?Spremeni";
constexpr std::string_view kDeleteButton = "?Brisi";
constexpr std::string_view kViewButton = "?Poglej";
constexpr std::string_view kSelectButton = "?Izberi";
constexpr std::string_view kPrintButtons[] = {"?Izpis", "?Tiskaj"};
constexpr std::string_view kCloseButton = "?Zapri";
constexpr std::string_view kMarkAllButton = "?IzberiVse";

const ControlLayout& mainListOf(const WindowLayout& layout) {
    const ControlLayout* list = layout.find(kMainList);
    if (list == nullptr || list->type != ControlType::List)
        throw std::invalid_argument("window " + layout.name + " has no list " +
                                    std::string(kMainList));
    return *list;
}

// The name of a button the layout has, empty when it has none.
std::string ifDeclared(const WindowLayout& layout, std::string_view name) {
    return layout.find(name) != nullptr ? std::string(name) : std::string();
}

}  // namespace

// What the list needs from its window, answered by the procedure.
class BrowseProcedure::Host final : public BrowseHost {
  public:
    explicit Host(BrowseProcedure& procedure) : procedure_(procedure) {}

    Window& window() override { return *procedure_.window(); }
    Request request() const override { return procedure_.request(); }
    void finish(Response response) override { procedure_.Finish(response); }
    Response response() const override { return procedure_.response(); }
    // No front end of the program shows a list's menu, so nothing is chosen from it.

  private:
    BrowseProcedure& procedure_;
};

BrowseProcedure::BrowseProcedure(std::string name)
    : BrowseProcedure(name, procedureLayout(name), programErrors(), &programSettings(),
                      mainListOf(procedureLayout(name)).binding.table, kMainList) {
    bindConventionalButtons();
}

BrowseProcedure::BrowseProcedure(std::string name, const WindowLayout& layout,
                                 ErrorReporter& errors, SettingsManager* settings,
                                 std::string_view table, std::string_view listControl)
    : WindowProcedure(name, layout, errors, settings),
      view_(tableAccess().file(table), tableAccess().relations(table)),
      host_(std::make_unique<Host>(*this)),
      columns_(list_, settings, std::move(name)),
      listControl_(listControl) {
    setFirstField(listControl);
}

BrowseProcedure::~BrowseProcedure() {
    if (viewOpened_) view_.Close();
}

void BrowseProcedure::AddColumn(int column, std::string_view field, int key) {
    const TableDef& table = file().table();
    const int number = table.findField(field);
    if (number < 0)
        throw std::invalid_argument("table " + std::string(table.name) + " has no field " +
                                    std::string(field));
    list_.MapColumn(table, number, column);
    columns_.AddColumn(column, &table, number, key);
}

void BrowseProcedure::SetForm(std::string procedure) {
    form_ = procedure;
    list_.SetAskProcedure([this, form = procedureByName(std::move(procedure))] {
        // The form's toolbar can move the list on to a record that the request is refused for;
        // that record is only shown.
        if (CallerRequest != ReqInsert && !MayAsk(CallerRequest)) CallerRequest = ReqView;
        return form();
    });
}

void BrowseProcedure::bindConventionalButtons() {
    const std::string& print = mainListOf(layout()).binding.print;
    for (std::string_view button : kPrintButtons)
        if (const ControlLayout* declared = layout().find(button); declared && !print.empty())
            AddCallButton(button, print);
    if (layout().find(kCloseButton) != nullptr) AddEndButton(kCloseButton, RespCancelled);
}

void BrowseProcedure::DefineList() {
    const ControlLayout& declared = *layout().find(listControl_);
    const ListBinding& binding = declared.binding;
    const TableDef& table = file().table();
    const std::string order = listOrder(declared);
    if (!order.empty()) list_.DefineOrder(layoutKey(table, order));
    if (!binding.locator.empty())
        list_.AttachLocator(LocatorKind::Incremental, "?" + binding.locator);
    if (!binding.filter.empty()) list_.PutFilter(binding.filter);
    for (std::size_t i = 0; i < declared.columns.size(); ++i) {
        const ListColumn& column = declared.columns[i];
        if (column.field.empty()) continue;
        AddColumn(static_cast<int>(i + 1), column.field,
                  column.key.empty() ? -1 : layoutKey(table, column.key));
    }
    if (!binding.query.empty()) columns_.SetQueryLine("?" + binding.query);
    BrowseControls controls;
    controls.insert = ifDeclared(layout(), kInsertButton);
    controls.change = ifDeclared(layout(), kChangeButton);
    controls.remove = ifDeclared(layout(), kDeleteButton);
    controls.view = ifDeclared(layout(), kViewButton);
    controls.select = ifDeclared(layout(), kSelectButton);
    controls.markAll = ifDeclared(layout(), kMarkAllButton);
    list_.SetControls(std::move(controls));
    list_.options().selectWholeRecord = true;
    if (!binding.form.empty()) SetForm(binding.form);
}

// ---- the life cycle

Level BrowseProcedure::SetUp() {
    if (const Level base = WindowProcedure::SetUp(); base != kLevelBenign) return base;
    if (const Level opened = view_.Open(); opened != kLevelBenign) return opened;
    viewOpened_ = true;
    list_.SetUp(*host_, view_, listControl_);
    // A lookup opens on the record the caller holds.
    list_.options().startAtCurrent = request() == ReqSelect;
    DefineList();
    list_.Init();
    // The list opens sorted as the user left it, at the top of that order unless it opens on
    // the caller's record.
    const int firstOrder = list_.currentOrder();
    columns_.Load();
    if (list_.currentOrder() != firstOrder && !list_.options().startAtCurrent)
        list_.Refresh(RefreshMode::Top);
    AddComponent(list_);
    listReady_ = true;
    syncAskButtons();
    ShowHighlighted();
    return kLevelBenign;
}

void BrowseProcedure::TearDown() {
    listReady_ = false;
    WindowProcedure::TearDown();
    if (viewOpened_) view_.Close();
    viewOpened_ = false;
}

void BrowseProcedure::Refresh(bool force) {
    // Until the window has opened the list stays where set-up filled it (on the caller's record
    // for a lookup); a forced refresh would move it to the top.
    WindowProcedure::Refresh(force && inited());
}

EventResult BrowseProcedure::OnEvent(const Event& event) {
    EventResult result = kEventGoOn;
    if (listReady_ && event.kind == EventKind::AlertKey) {
        if (event.key == keys::CtrlEnter && event.control == list_.list().number() &&
            !list_.selecting() && !list_.page().empty() && !MayAsk(ReqChange))
            result = viewInstead();
    }
    if (result == kEventGoOn) result = WindowProcedure::OnEvent(event);
    if (listReady_ && window() != nullptr && window()->isOpen()) {
        syncAskButtons();
        ShowHighlighted();
    }
    return result;
}

EventResult BrowseProcedure::OnAccepted(const Event& event) {
    if (listReady_) {
        // A double click (or Enter) on a record that may not be changed shows it instead.
        if (event.control == list_.list().number() && !list_.selecting() && !list_.page().empty() &&
            !MayAsk(ReqChange))
            return viewInstead();
        if (!askable(event.control)) return kEventDone;
    }
    return WindowProcedure::OnAccepted(event);
}

// ---- the highlighted record

const void* BrowseProcedure::highlightedRecord() const {
    const int choice = list_.currentChoice();
    if (choice < 1 || choice > list_.page().size()) return nullptr;
    return list_.page().rows()[static_cast<std::size_t>(choice - 1)].record.data();
}

void BrowseProcedure::syncAskButtons() {
    const bool rows = !list_.page().empty();
    for (const auto& [name, request] : askButtons(list_.controls())) {
        if (name->empty()) continue;
        Control* button = window()->find(*name);
        if (button == nullptr) continue;
        button->setEnabled((request == ReqInsert || rows) && MayAsk(request));
    }
}

// Whether a press of `control` may go on to the list. A press of a button that calls the form
// is dropped when the request is refused for the highlighted record (it may have been queued
// before the highlight moved there), and when the form is not part of the program: the list
// would otherwise add the new record, numbered, before it finds no form to fill it in.
bool BrowseProcedure::askable(int control) const {
    const Control* source = controlAt(control);
    if (source == nullptr) return true;
    for (const auto& [name, request] : askButtons(list_.controls()))
        if (!name->empty() && sameControlName(source->name(), *name))
            return MayAsk(request) && formDefined();
    return true;
}

bool BrowseProcedure::formDefined() const {
    if (form_.empty() || programProcedures().find(form_) != nullptr) return true;
    raiseProcedureNotDefined(form_);
    return false;
}

EventResult BrowseProcedure::viewInstead() {
    if (MayAsk(ReqView) && formDefined()) list_.AskRecord(ReqView);
    return kEventDone;
}

void BrowseProcedure::AfterCall() {
    if (!listReady_) return;
    list_.LoadHighlighted();
    window()->select(list_.list());
}

}  // namespace dv
