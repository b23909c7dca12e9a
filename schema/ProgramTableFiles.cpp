#include "schema/ProgramCatalogue.h"

#include <array>

namespace dv {
namespace {

constexpr std::array kTableFiles{
    TableFile{"APPINRA", "Glo:APPINRA", "..\\APPINRA.TPS", 3},
    TableFile{"APPINS", "Glo:appins", "..\\APPINS.TPS", 2},
    TableFile{"ARTIKLI", "Glo:ARTIKLI", "ARTIKLI.TPS", 9},
    TableFile{"ARTSTRO", "GLO:ARTSTRO", "ARTSTRO.tps", 9},
    TableFile{"DELNALOG", "Glo:DELNALOG", "DELNALOG.TPS", 17},
    TableFile{"DOKKOP", "Glo:DOKKOP", "DOKKOP.TPS", 0},
    TableFile{"DOKPRODN", "Glo:DOKPRODN", "DOKPRODN.TPS", 1},
    TableFile{"DOKPROME", "Glo:DOKPROME", "DOKPROME.TPS", 34},
    TableFile{"DOKUMEDN", "Glo:DOKUMEDN", "DOKUMEDN.TPS", 3},
    TableFile{"DOKUMENT", "Glo:DOKUMENT", "DOKUMENT.TPS", 26},
    TableFile{"INVASCI", "Glo:INVASCI", "INVASCII.txt", -1},
    TableFile{"INVENDET", "Glo:INVENDET", "INVENDET.TPS", 5},
    TableFile{"INVENTUR", "Glo:INVENTUR", "INVENTUR.TPS", 1},
    TableFile{"INVTPS", "Glo:INVTPS", "INVTPS.tps", 4},
    TableFile{"KUPARTPO", "glo:KUPARTPO", "KUPARTPO.TPS", 4},
    TableFile{"POPISINV", "Glo:POPISINV", "POPISINV.TPS", 3},
    TableFile{"RACDOB", "Glo:RACDOB", "RACDOB.TPS", 6},
    TableFile{"RACPROME", "Glo:RACPROME", "RACPROME.TPS", 13},
    TableFile{"RACUNI", "Glo:RACUNI", "RACUNI.TPS", 16},
    TableFile{"SFBANBIC", "Glo:SFBANBIC", "SFBANBIC.tps", 4},
    TableFile{"SFBANKE", "Glo:SFBANKE", "SFBANKE.TPS", 1},
    TableFile{"SFDDV", "glo:SFDDV", "SFDDV.TPS", 2},
    TableFile{"SFDRZAVE", "GLO:SFDRZAVE", "SFDRZAVE.TPS", 2},
    TableFile{"SFEM", "GLO:SFEM", "SFEM.TPS", 1},
    TableFile{"SFENOTE", "Glo:SFENOTE", "SFENOTE.TPS", 6},
    TableFile{"SFGRUPE", "GLO:SFGRUPE", "SFGRUPE.TPS", 2},
    TableFile{"SFOPOMBE", "Glo:SFOPOMBE", "SFOPOMBE.TPS", 3},
    TableFile{"SFPAROS", "Glo:SFPAROS", "SFPAROS.TPS", 2},
    TableFile{"SFPARPOG", "glo:SFPARPOG", "SFPARPOG.TPS", 3},
    TableFile{"SFPARRA", "Glo:SFPARRA", "SFPARRA.TPS", 8},
    TableFile{"SFPARTFIN", "glo:SFPARTFIN", "SFPARTN.TPS", 18},
    TableFile{"SFPARTN", "glo:SFPARTN", "SFPARTN.TPS", 8},
    TableFile{"SFPODGRU", "Glo:SFPODGRU", "SFPODGRU.TPS", 2},
    TableFile{"SFPOREKL", "Glo:SFPOREKL", "SFPOREKL.TPS", 1},
    TableFile{"SFPRODAJ", "Glo:Sfprodaj", "SFPRODAJ.TPS", 2},
    TableFile{"SFPTT", "GLO:SFPTT", "SFPTT.TPS", 4},
    TableFile{"SFTARIFE", "Glo:SFTARIFE", "SFTARIFE.TPS", 1},
    TableFile{"SFVALUTE", "GLO:SFVALUTE", "SFVALUTE.TPS", 1},
    TableFile{"SFVRPROM", "Glo:SFVRPROM", "SFVRPROM.TPS", 8},
    TableFile{"SNSTEV", "Glo:SNSTEV", "SNSTEV.TPS", 5},
    TableFile{"SPRECEN", "Glo:SPRECEN", "SPRECEN.TPS", 1},
    TableFile{"ZALOGA", "Glo:ZALOGA", "ZALOGA.TPS", 9},
};

}  // namespace

std::span<const TableFile> programTableFiles() {
    return kTableFiles;
}

}  // namespace dv
