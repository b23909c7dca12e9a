#include <array>
#include <string>

#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/PartnerPrintouts.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

struct PartnerOrder {
    const char* key;
    const char* name;
};

// By name, by code, by the identification number (country mark, then tax number) and by the tax
// number, which the register keys together with its mark.
constexpr std::array<PartnerOrder, 4> kOrders{{{"NAZIVKLJUC", "Po nazivu"},
                                               {"SIFRAKLJUC", "Po šifri"},
                                               {"DAVCNASTEVKLJUC", "Po oznaki"},
                                               {"DAVCNASTEVKLJUC", "Po davčni številki"}}};

const PartnerOrder& chosenOrder() {
    const std::size_t sort = GLO.SORT;
    return sort >= 1 && sort <= kOrders.size() ? kOrders[sort - 1] : kOrders[0];
}

// Whether `value` lies between the bounds; a blank bound leaves its side open.
bool inTextRange(const std::string& value, const std::string& from, const std::string& to) {
    return (from.empty() || value >= from) && (to.empty() || value <= to);
}

// A name is within "Do naziva" when it begins with it, whatever follows.
bool nameChosen(std::string_view name) {
    const std::string key = nameOrderKey(name);
    const std::string from = nameOrderKey(GLO.OdNaziva.str());
    const std::string to = nameOrderKey(GLO.DoNaziva.str());
    return (from.empty() || key >= from) && (to.empty() || key.substr(0, to.size()) <= to);
}

// The VAT status the options chose: all, VAT payers (D), final customers (N), flat-rate (P).
bool vatStatusChosen(std::string_view status) {
    switch (GLO.CHECKBOX1) {
        case 2:
            return status == "D";
        case 3:
            return status == "N";
        case 4:
            return status == "P";
        default:
            return true;
    }
}

bool partnerChosen() {
    const bool code =
        SFPARTN.Sifra >= GLO.ODSIFRE && (GLO.DOSIFRE == 0 || SFPARTN.Sifra <= GLO.DOSIFRE);
    const std::string post(trimBlanks(SFPARTN.POSTNASTEVILKA.str()));
    return code && nameChosen(SFPARTN.Naziv.str()) &&
           inTextRange(post, std::string(trimBlanks(GLO.ODPOSTE.str())),
                       std::string(trimBlanks(GLO.DOPOSTE.str()))) &&
           vatStatusChosen(SFPARTN.DDV.str());
}

}  // namespace

// The printout of the partners within the ranges and of the VAT status the options chose, in
// the order they chose; the closing band says which.
DV_PROCEDURE(IzpisSifrantPartnerji) {
    const PartnerOrder& order = chosenOrder();
    FixedText<62> postAndPlace;
    FixedText<160> contact;
    FixedText<60> orderText;
    NamedVariables locals;
    locals.add("LOC:PostaKraj", postAndPlace);
    locals.add("LOC:Kontakt", contact);
    locals.add("LOC:Razvrscanje", orderText);

    CodeListPrintout printout;
    printout.procedure = procedure;
    printout.table = "SFPARTN";
    printout.key = order.key;
    printout.locals = &locals;
    printout.selects = partnerChosen;
    printout.beforeDetail = [&] {
        postAndPlace = partnerPostAndPlace();
        contact = partnerContactLine();
    };
    printout.beforeClosing = [&] { orderText = std::string("Razvrščanje: ") + order.name; };
    return printCodeList(printout);
}

}  // namespace dv
