#include "masterdata/PartnerPrintouts.h"

#include <array>
#include <utility>

#include "runtime/TextCase.h"
#include "schema/Records.h"

namespace dv {
namespace {

void appendLabelled(std::string& line, std::string_view label, std::string_view value) {
    const std::string_view given = trimBlanks(value);
    if (given.empty()) return;
    if (!line.empty()) line += ' ';
    line += label;
    line += given;
}

}  // namespace

std::string partnerPostAndPlace() {
    std::string line(trimBlanks(SFPARTN.POSTNASTEVILKA.str()));
    const std::string place(trimBlanks(SFPARTN.KRAJ.str()));
    if (!line.empty() && !place.empty()) line += "  ";
    return line += place;
}

std::string partnerContactLine() {
    std::string line;
    appendLabelled(line, "tel.: ", SFPARTN.TELEFON.str());
    appendLabelled(line, "faks: ", SFPARTN.TELEFAKS.str());
    appendLabelled(line, "odgovorna oseba: ", SFPARTN.ODGOVORNAOSEBA.str());
    return line;
}

std::string nameOrderKey(std::string_view name) {
    // The capitals with a caron (and Ć, Đ) follow the plain letter: the plain letter, then a
    // byte above every letter.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kLetters{{
        {"Č", "C\x7e"}, {"Ć", "C\x7f"}, {"Đ", "D\x7f"}, {"Š", "S\x7f"}, {"Ž", "Z\x7f"}}};
    const std::string upper = upperSlovenian(trimBlanks(name));
    std::string key;
    for (std::size_t i = 0; i < upper.size();) {
        bool replaced = false;
        for (const auto& [letter, weight] : kLetters)
            if (std::string_view(upper).substr(i).starts_with(letter)) {
                key += weight;
                i += letter.size();
                replaced = true;
                break;
            }
        if (!replaced) key += upper[i++];
    }
    return key;
}

}  // namespace dv
