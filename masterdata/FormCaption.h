#pragma once

#include <string>

#include "runtime/Request.h"
#include "runtime/Window.h"

namespace dv {

// The action texts of a form whose captions differ from every form's "Vpogled podatkov",
// "Dodajanje zapisa", "Spreminjanje zapisa".
struct ActionTexts {
    std::string view;
    std::string insert;
    std::string change;
};

inline void captionByRequest(Window& window, Request request, const ActionTexts& texts) {
    if (request == ReqView) window.setCaption(texts.view);
    if (request == ReqInsert) window.setCaption(texts.insert);
    if (request == ReqChange) window.setCaption(texts.change);
}

}  // namespace dv
