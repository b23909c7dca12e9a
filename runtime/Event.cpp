#include "runtime/Event.h"

namespace dv {

std::string_view eventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::Accepted:
            return "Accepted";
        case EventKind::Selected:
            return "Selected";
        case EventKind::NewSelection:
            return "NewSelection";
        case EventKind::Rejected:
            return "Rejected";
        case EventKind::AlertKey:
            return "AlertKey";
        case EventKind::ScrollUp:
            return "ScrollUp";
        case EventKind::ScrollDown:
            return "ScrollDown";
        case EventKind::PageUp:
            return "PageUp";
        case EventKind::PageDown:
            return "PageDown";
        case EventKind::ScrollTop:
            return "ScrollTop";
        case EventKind::ScrollBottom:
            return "ScrollBottom";
        case EventKind::HeaderPressed:
            return "HeaderPressed";
        case EventKind::RowMenu:
            return "RowMenu";
        case EventKind::MarkRow:
            return "MarkRow";
        case EventKind::OpenWindow:
            return "OpenWindow";
        case EventKind::CloseWindow:
            return "CloseWindow";
        case EventKind::CloseDown:
            return "CloseDown";
        case EventKind::GainFocus:
            return "GainFocus";
        case EventKind::Timer:
            return "Timer";
        case EventKind::Completed:
            return "Completed";
    }
    return "?";
}

}  // namespace dv
