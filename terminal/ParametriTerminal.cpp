#include "terminal/ParametriTerminal.h"

#include <filesystem>
#include <string>

#include "data/ProgramDirectory.h"
#include "data/TableFileNames.h"
#include "framework/ProcedureDefinition.h"
#include "framework/SettingsWindow.h"
#include "runtime/FrontEnd.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "TERMINAL";

std::vector<SettingsEntry> terminalEntries() {
    return {
        {kSection, "MAPA IN IME DATOTEKE TERMINALA", VariableRef(GLO.MAPADATOTEKETERMINALA)},
        {kSection, "Dolzina EAN", VariableRef(GLO.DOLZINAEAN)},
    };
}

// Stores the chosen path; false (the user told why) when the variable cannot hold it whole: cut
// to its width it would name another file.
bool takeChosenPath(const std::string& chosen) {
    decltype(GLO.MAPADATOTEKETERMINALA) held;
    held = chosen;
    if (held.str() != trimTrailingBlanks(chosen)) {
        MessageBoxRequest box;
        box.caption = " OPOZORILO";
        box.text = "Izbrane datoteke ni mogoče uporabiti:|" + chosen + "||Pot sme imeti največ " +
                   std::to_string(held.width) +
                   " znakov in le znake, ki jih nastavitve lahko shranijo.";
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
        return false;
    }
    GLO.MAPADATOTEKETERMINALA = chosen;
    return true;
}

class ParametriTerminalWindow : public SettingsWindow {
  public:
    explicit ParametriTerminalWindow(std::string name)
        : SettingsWindow(std::move(name), terminalEntries(), nullptr, "?VRedu", "?Preklici") {
        setFirstField("?GLO:MAPADATOTEKETERMINALA");
    }

    EventResult OnAccepted(const Event& event) override {
        if (const EventResult handled = SettingsWindow::OnAccepted(event); handled != kEventGoOn)
            return handled;
        if (event.control != number("?IzberiDatoteko")) return kEventGoOn;
        chooseFile();
        return kEventDone;
    }

  private:
    void chooseFile() {
        // The dialog may change the working folder, which relative table files depend on.
        std::error_code failed;
        const std::filesystem::path workingFolder = std::filesystem::current_path(failed);
        FileDialogRequest request;
        request.caption = kCaptureFileChooserTitle;
        request.path = hostPath(GLO.MAPADATOTEKETERMINALA.str());
        request.filter = kCaptureFileFilter;
        if (const auto chosen = currentFrontEnd().chooseFile(request)) takeChosenPath(*chosen);
        // Whatever the chooser gave, also nothing: the name in the entry is the capture file.
        setTableFileName("INVASCI", hostPath(GLO.MAPADATOTEKETERMINALA.str()));
        Refresh();
        if (!failed) std::filesystem::current_path(workingFolder, failed);
    }
};

}  // namespace

void useTerminalCaptureFile() {
    const std::string name = GLO.MAPADATOTEKETERMINALA.str();
    if (!trimBlanks(name).empty()) setTableFileName("INVASCI", hostPath(name));
}

// The terminal parameters, window " PARAMETRI ZA ZAJEM INVENTURE S TERMINALOM": the folder and
// name of the barcode terminal's capture file (GLO:MAPADATOTEKETERMINALA, chosen with the file
// chooser "..." or typed) and the EAN code length of the terminal (GLO:DOLZINAEAN). After the
// chooser the name in the entry becomes the file of the capture table INVASCI at once, also when
// the chooser was cancelled or the name is blank. "V redu" writes both entries of section
// "TERMINAL" into the settings file and leaves INVASCI's file as it is; "Prekliči" writes
// nothing, and what was typed stays in the variables until the program ends.
DV_PROCEDURE(ParametriTerminal) {
    ParametriTerminalWindow window{std::string(procedure)};
    return window.Execute();
}

}  // namespace dv
