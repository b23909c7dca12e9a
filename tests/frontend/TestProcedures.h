#pragma once

#include <string>

#include "runtime/FrontEnd.h"
#include "runtime/PictureFormat.h"
#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/Window.h"

namespace dv::test {

// Small procedures over the window model for the front end's tests: a register that lists
// rows, calls a form and asks before deleting; the form with a number, a date (F6 opens the
// date picker), a check box and tabs; and an import window that asks for a file.

inline const WindowLayout& registerLayout() {
    static const WindowLayout layout = parseLayout(R"(window Evidenca "Evidenca inventur"
  list ?Seznam
    column "Številka"
    column "Enota"
  string ?Odziv
  button ?Dodaj "&Dodaj"
  button ?Brisi "&Briši"
  button ?Zapri "&Zapri"
)",
                                                   "Evidenca.layout");
    return layout;
}

inline const WindowLayout& formLayout() {
    static const WindowLayout layout = parseLayout(R"(window Vnos "Vnos popisa"
  prompt "&Količina:"
  entry ?Kolicina picture=@n-13.3
  prompt "&Datum:"
  entry ?Datum picture=@d17
  check ?Potrjeno "Potrjeno"
  sheet ?Zavihki
    tab "Splošno"
      string "Splošni podatki"
    tab "Dodatno"
      prompt "Opomba:"
      entry ?Opomba
  button ?OK "&V redu" default
  button ?Preklici "&Prekliči"
)",
                                                   "Vnos.layout");
    return layout;
}

inline const WindowLayout& importLayout() {
    static const WindowLayout layout =
        parseLayout("window Uvoz \"Uvoz zajema\"\n  string ?Datoteka\n  button ?Zapri \"Zapri\"\n",
                    "Uvoz.layout");
    return layout;
}

inline bool isAccepted(const Event& event, const Window& window, const char* control) {
    return event.kind == EventKind::Accepted && event.control == window.control(control).number();
}

inline Response formProcedure() {
    const Request request = CallerRequest;
    CallerRequest = Request::None;
    Window window(formLayout());
    window.control("Datum").alert(keys::F(6));
    window.setCaption(request == ReqInsert ? "Dodajanje zapisa" : "Spreminjanje zapisa");
    while (true) {
        Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow) return RespCancelled;
        if (isAccepted(event, window, "OK")) return RespCompleted;
        if (isAccepted(event, window, "Kolicina") &&
            window.control("Kolicina").value().starts_with("-")) {
            currentFrontEnd().messageBox({" OPOZORILO", "Količina ne sme biti negativna.",
                                          MessageIcon::Exclamation, kButtonOk, kButtonOk});
            window.select("Kolicina");
        }
        if (event.kind == EventKind::AlertKey && event.key == keys::F(6)) {
            if (auto day = currentFrontEnd().pickDate({"Koledar", 0})) {
                Control& date = window.control("Datum");
                date.setValue(formatDate(*day, Picture::of(date.picture())));
                date.setChangedByUser(true);
            }
        }
    }
}

inline Response registerProcedure() {
    Window window(registerLayout());
    Control& list = window.control("Seznam");
    list.setRows({{{"1"}, {"Center"}}, {{"2"}, {"Skladišče"}}});
    while (true) {
        Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow || isAccepted(event, window, "Zapri"))
            return RespCompleted;
        if (isAccepted(event, window, "Dodaj")) {
            const Response response = callProcedure(formProcedure, ReqInsert);
            window.control("Odziv").setText(std::to_string(responseNumber(response)));
        }
        if (isAccepted(event, window, "Brisi") && list.highlighted() > 0) {
            MessageButtons answer = currentFrontEnd().messageBox(
                {" OPOZORILO", "Res brišem zapis?|Potrdite.", MessageIcon::Question,
                 kButtonYes | kButtonNo, kButtonNo});
            if (answer == kButtonYes) {
                auto rows = list.rows();
                rows.erase(rows.begin() + (list.highlighted() - 1));
                list.setRows(rows);
            }
        }
    }
}

inline Response importProcedure() {
    Window window(importLayout());
    FileDialogRequest dialog;
    dialog.caption = "Izberi datoteko";
    dialog.path = "INVASCII.txt";
    dialog.filter = "Tekst|*.txt";
    auto path = currentFrontEnd().chooseFile(dialog);
    window.control("Datoteka").setText(path ? *path : "(preklicano)");
    while (true) {
        Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow || isAccepted(event, window, "Zapri"))
            return RespCompleted;
    }
}

// A procedure that ends at once with a failure.
inline Response failingProcedure() {
    throw std::runtime_error("tabela INVENTUR ni odprta");
}

inline ProcedureRegistry testProcedures() {
    ProcedureRegistry registry;
    registry.add("Evidenca", registerProcedure);
    registry.add("Vnos", formProcedure);
    registry.add("Uvoz", importProcedure);
    registry.add("Napaka", failingProcedure);
    return registry;
}

}  // namespace dv::test
