#include "app/MainMenu.h"

#include <array>

#include "runtime/Layout.h"

namespace dv {
namespace {

using enum MainAction;

constexpr std::array kCommands{
    // menu "&Datoteka"
    MainCommand{"ParametriInventure", StartProcedure, "ParametriInventure"},
    MainCommand{"ParametriTerminal", StartProcedure, "ParametriTerminal"},
    MainCommand{"NastavitvePrograma", StartProcedure, "NastavitvePrograma"},
    MainCommand{"NastavitevTiskalnika", PrinterSetUp, {}},
    MainCommand{"Izhod", Exit, {}},
    // menu "&Šifranti"
    MainCommand{"BrowseSFENOTE", StartProcedure, "BrowseSFENOTE"},
    // menu "&DIDEROVIV"
    MainCommand{"Rekonstrukcija", Recommendation, {}},
    MainCommand{"EvidencaInventur", StartProcedure, "EvidencaInventur"},
    MainCommand{"PregledPredlogePopisa", StartProcedure, "PregledPredlogePopisa"},
    MainCommand{"EvidencaInventurZaIzpisRazlik", StartProcedure, "EvidencaInventurZaIzpisRazlik"},
    MainCommand{"EvidencaInventurZaKnjizenjeRazlik", StartProcedure,
                "EvidencaInventurZaKnjizenjeRazlik"},
    MainCommand{"EvidencaInventurZaIzpisDokumentov", StartProcedure,
                "EvidencaInventurZaIzpisDokumentov"},
    MainCommand{"EvidencaInventurZaIzpisZalog", StartProcedure, "EvidencaInventurZaIzpisZalog"},
    // menu "&Zajem s terminalov - zajem ASCII"
    MainCommand{"BrowseINVASCII", StartProcedure, "BrowseINVASCII"},
    MainCommand{"OknoKnjizenjeASCII", StartProcedure, "OknoKnjizenjeASCII"},
    MainCommand{"BrowseINVTPS", StartProcedure, "BrowseINVTPS"},
    // menu "&Servisne funkcije"
    MainCommand{"OknoVpisKolicineVzalogo", StartProcedure, "OknoVpisKolicineVzalogo"},
    // menu "P&omoč"
    MainCommand{"VerzijaPrograma", StartProcedure, "VerzijaPrograma"},
    // toolbar
    MainCommand{"TbIzhod", Exit, {}},
    MainCommand{"TbKopije", Backup, {}},
    MainCommand{"TbSkladisca", StartProcedure, "BrowseSFENOTE"},
    MainCommand{"TbNavodilo", StartProcedure, "InvInfo"},
    MainCommand{"TbNastavitve", StartProcedure, "ParametriInventure"},
};

}  // namespace

std::span<const MainCommand> mainCommands() {
    return kCommands;
}

const MainCommand* findMainCommand(std::string_view control) {
    for (const MainCommand& command : kCommands)
        if (sameControlName(command.control, control)) return &command;
    return nullptr;
}

}  // namespace dv
