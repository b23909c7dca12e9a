#include "runtime/Window.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "runtime/LayoutResources.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/WindowDesktop.h"

namespace dv {
namespace {

WindowDesktop& currentDesktop() {
    ProcedureThread* thread = ProcedureThread::current();
    if (thread == nullptr)
        throw std::logic_error("a window opened outside a procedure thread needs a desktop");
    return thread->scheduler().desktop();
}

std::uint64_t nextWindowId() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

}  // namespace

Window::Window(const WindowLayout& layout, WindowDesktop& desktop)
    : layout_(layout),
      id_(nextWindowId()),
      desktop_(desktop),
      owner_(ProcedureThread::current()),
      caption_(layout.caption) {
    build();
    timer_.set(layout.timer);
    open_ = true;
    desktop_.add(*this);
    post(EventKind::OpenWindow);
}

Window::Window(const WindowLayout& layout) : Window(layout, currentDesktop()) {}

Window::Window(std::string_view layoutName) : Window(windowLayout(layoutName)) {}

Window::~Window() {
    close();
}

void Window::build() {
    controls_.reserve(layout_.controls.size());
    for (const ControlLayout& declared : layout_.controls) {
        Control* parent = declared.parent > 0 ? controls_[declared.parent - 1].get() : nullptr;
        const int number = static_cast<int>(controls_.size()) + 1;
        controls_.push_back(std::make_unique<Control>(*this, number, declared, parent));
    }
    for (auto& control : controls_) {
        if (control->type() == ControlType::Sheet && !childrenOf(*control).empty())
            control->value_ = "1";
        if (control->type() == ControlType::Option) {
            int ordinal = 0;
            for (Control* member : childrenOf(*control)) {
                if (member->type() != ControlType::Radio) continue;
                ++ordinal;
                member->radioValue_ = member->declared().value.empty() ? std::to_string(ordinal)
                                                                       : member->declared().value;
            }
        }
    }
    focused_ = nextFocusable(nullptr);
}

void Window::close() {
    if (!open_) return;
    open_ = false;
    desktop_.remove(*this);
}

Control& Window::control(int number) const {
    if (number < 1 || number > controlCount())
        throw std::out_of_range("window " + name() + " has no control " + std::to_string(number));
    return *controls_[static_cast<std::size_t>(number - 1)];
}

Control& Window::control(std::string_view name) const {
    if (Control* found = find(name)) return *found;
    std::string shown(name);
    if (!shown.starts_with('?')) shown.insert(0, "?");
    throw std::out_of_range("window " + this->name() + " has no control " + shown);
}

Control* Window::find(std::string_view name) const {
    const ControlLayout* declared = layout_.find(name);
    return declared ? controls_[static_cast<std::size_t>(layout_.numberOf(*declared) - 1)].get()
                    : nullptr;
}

std::vector<Control*> Window::childrenOf(const Control& container) const {
    std::vector<Control*> children;
    for (const auto& control : controls_)
        if (control->parent() == &container) children.push_back(control.get());
    return children;
}

void Window::giveFocus(Control* control) {
    focused_ = control;
}

void Window::select(Control& control) {
    acceptAll_ = false;
    focusMove_.reset();
    giveFocus(&control);
    post(EventKind::Selected, control);
}

Control* Window::nextFocusable(const Control* from, bool backwards) const {
    const int count = controlCount();
    if (count == 0) return nullptr;
    const int start = from ? from->number() : (backwards ? 1 : count);
    for (int step = 1; step <= count; ++step) {
        const int offset = backwards ? -step : step;
        const int number = ((start - 1 + offset) % count + count) % count + 1;
        Control& candidate = control(number);
        if (!candidate.canFocus() || candidate.declared().skip) continue;
        // Tab enters an option group at its chosen radio (at its first when none is chosen).
        if (candidate.type() == ControlType::Radio && !candidate.chosen()) {
            std::vector<Control*> radios = childrenOf(*candidate.parent());
            std::erase_if(radios, [](const Control* c) { return c->type() != ControlType::Radio; });
            const bool anyChosen = std::any_of(radios.begin(), radios.end(),
                                               [](const Control* r) { return r->chosen(); });
            if (anyChosen || radios.front() != &candidate) continue;
        }
        return &candidate;
    }
    return nullptr;
}

void Window::post(EventKind kind, int control, KeyCode key, std::string detail) {
    events_.push_back({kind, control, key, std::move(detail), ++serial_});
}

void Window::post(Event event) {
    event.serial = ++serial_;
    events_.push_back(std::move(event));
}

bool Window::eventReady() const {
    return !events_.empty() || (focusMove_ && lastTaken_ >= focusMove_->afterSerial) ||
           acceptAll_ || timer_.due(desktop_.immediateTimers());
}

Event Window::nextEvent() {
    if (owner_ == nullptr || ProcedureThread::current() != owner_)
        throw std::logic_error("window " + name() +
                               " waits for events only on the procedure thread that opened it");
    owner_->scheduler().waitUntil([this] { return eventReady(); });
    if (auto event = takeEvent()) return *event;
    throw std::logic_error("window " + name() + " was woken without an event");
}

std::optional<Event> Window::takeEvent() {
    settleFocusMove();
    if (!events_.empty()) {
        Event event = std::move(events_.front());
        events_.pop_front();
        lastTaken_ = event.serial;
        return event;
    }
    if (acceptAll_) return nextAcceptAllEvent();
    if (timer_.due(desktop_.immediateTimers())) {
        timer_.fired();
        post(EventKind::Timer);
        return takeEvent();
    }
    return std::nullopt;
}

void Window::moveFocusAfter(std::uint64_t serial, Control* next) {
    focusMove_ = FocusMove{serial, next};
}

void Window::settleFocusMove() {
    if (!focusMove_ || lastTaken_ < focusMove_->afterSerial) return;
    Control* next = focusMove_->next;
    focusMove_.reset();
    if (next == nullptr || !next->canFocus()) next = nextFocusable(focused_);
    if (next == nullptr) return;
    giveFocus(next);
    post(EventKind::Selected, *next);
}

void Window::acceptAll() {
    focusMove_.reset();
    acceptAll_ = true;
    acceptAllAt_ = 0;
}

std::optional<Event> Window::nextAcceptAllEvent() {
    for (int number = acceptAllAt_ + 1; number <= controlCount(); ++number) {
        Control& candidate = control(number);
        if (!isInputType(candidate.type()) || !candidate.isVisible() || !candidate.isEnabled())
            continue;
        acceptAllAt_ = number;
        std::string problem = candidate.pictureProblem();
        if (!problem.empty()) {
            acceptAll_ = false;
            post(EventKind::Rejected, number, 0, std::move(problem));
        } else {
            post(EventKind::Accepted, number);
        }
        return takeEvent();
    }
    acceptAll_ = false;
    post(EventKind::Completed);
    return takeEvent();
}

void Window::alert(KeyCode key) {
    if (std::find(alerts_.begin(), alerts_.end(), key) == alerts_.end()) alerts_.push_back(key);
}

void Window::unalert(KeyCode key) {
    std::erase(alerts_, key);
}

bool Window::alerted(KeyCode key, const Control* focus) const {
    if (std::find(alerts_.begin(), alerts_.end(), key) != alerts_.end()) return true;
    return focus != nullptr && focus->alerted(key);
}

}  // namespace dv
