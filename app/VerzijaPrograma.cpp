#include "app/VerzijaPrograma.h"

#include "app/ShellMessage.h"
#include "app/SuitePrograms.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"

namespace dv {
namespace {

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (unreserved(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

}  // namespace

std::string mailAddress(std::string_view address, std::string_view subject) {
    return "mailto:" + std::string(address) + "?subject=" + percentEncoded(subject);
}

VerzijaPrograma::VerzijaPrograma(std::string name)
    : WindowProcedure(std::move(name)), settings_(programSettings()) {
    AddEndButton("Zapri", RespCompleted);
}

Level VerzijaPrograma::SetUp() {
    if (const Level result = WindowProcedure::SetUp(); result != kLevelBenign) return result;
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return kLevelBenign;
}

EventResult VerzijaPrograma::OnAccepted(const Event& event) {
    const Control* control = controlAt(event.control);
    if (control == nullptr) return WindowProcedure::OnAccepted(event);
    if (sameControlName(control->name(), "SpletnaStran")) {
        visitWebPage();
    } else if (sameControlName(control->name(), "Eposta")) {
        writeToMaker();
    } else if (sameControlName(control->name(), "FursTest")) {
        runSuiteProgram(settings_, kFiscalConsole);
    } else {
        return WindowProcedure::OnAccepted(event);
    }
    return kEventDone;
}

void VerzijaPrograma::visitWebPage() {
    if (!askShellQuestion(kQuestionCaption, "Obisk naše spletne strani ?")) return;
    if (currentFrontEnd().openAddress(std::string(kMakerWebAddress))) return;
    showShellMessage(kWarningCaption, " Spletne strani " + std::string(kMakerWebAddress) +
                                          " ni mogoče odpreti.|| Odprite jo v brskalniku.");
}

void VerzijaPrograma::writeToMaker() {
    if (!askShellQuestion(kQuestionCaption, "Želiš poslati sporočilo sedaj ?")) return;
    if (currentFrontEnd().openAddress(mailAddress(kMakerMailAddress, kMakerMailSubject))) return;
    showShellMessage(kWarningCaption,
                     " Programa za pošto ni mogoče odpreti.|| Sporočilo pošljite na " +
                         std::string(kMakerMailAddress) + ".");
}

DV_PROCEDURE_CLASS(VerzijaPrograma);

}  // namespace dv
