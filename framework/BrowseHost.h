#pragma once

#include <string>
#include <vector>

#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "runtime/Window.h"

namespace dv {

// One item of a list's right-click menu: its text ("&Insert"), or a separator (empty text).
using PopupItem = PopupMenuRequest::Item;

// What a browse list needs from the window procedure that owns it (WINDOW).
class BrowseHost {
  public:
    virtual ~BrowseHost() = default;

    virtual Window& window() = 0;
    // The request the window was called with: ReqSelect for a lookup, ReqView to look only.
    virtual Request request() const = 0;
    // Stores the window's response and asks the window to close (the Select button).
    virtual void finish(Response response) = 0;
    // The window's response (RespCancelled until something completed it).
    virtual Response response() const = 0;
    // Shows a right-click menu at the pointer; the number of the chosen item (from 1, separators
    // counted), 0 when none was chosen. By default the current front end shows it.
    virtual int popupMenu(const std::vector<PopupItem>& items) {
        return currentFrontEnd().popupMenu(PopupMenuRequest{items});
    }
};

}  // namespace dv
