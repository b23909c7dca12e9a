#include "masterdata/PartnerDetails.h"

#include <string>

#include "data/Dictionary.h"
#include "framework/BrowseProcedure.h"
#include "runtime/TextCase.h"
#include "runtime/Window.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

// A field of the partner's record as text, trailing blanks removed; blank without a record.
std::string fieldText(const void* record, std::string_view field) {
    if (record == nullptr) return {};
    const TableDef& table = *findTable("SFPARTN");
    return std::string(trimBlanks(readFieldValue(table, table.findField(field), record).toText()));
}

}  // namespace

void showPartnerDetails(Window& window, const void* record) {
    window.control("?Telefon").setText(fieldText(record, "TELEFON"));
    window.control("?Telefon2").setText(fieldText(record, "TELEFON2"));
    window.control("?Telefaks").setText(fieldText(record, "TELEFAKS"));
    const bool eInvoice = fieldText(record, "TIPPARTNERJA") == kEInvoiceMark;
    window.control("?ERacun").setText(eInvoice ? "prejema e-RAČUN" : "");
    window.control("?StatusDDV").setValue(fieldText(record, "DDV"));
    const std::string credit = fieldText(record, "BONITETA");
    window.control("?Neplacnik").setHidden(credit != "4");
    window.control("?Blokada").setHidden(credit != "5");
}

BrowseControls detailButtons(std::string insert, std::string change, std::string remove) {
    BrowseControls controls;
    controls.insert = std::move(insert);
    controls.change = std::move(change);
    controls.remove = std::move(remove);
    return controls;
}

std::vector<DetailList::Link> partnerLink() {
    const TableDef& partners = *findTable("SFPARTN");
    return {{"SifraPartnerja", bufferField(partners, partners.findField("Sifra"))}};
}

void followHighlightedPartner(DetailList& details, const BrowseProcedure& partners) {
    details.SetMasterPresent([&partners] { return !partners.list().page().empty(); });
}

}  // namespace dv
