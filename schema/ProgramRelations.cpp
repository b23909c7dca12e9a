#include "schema/ProgramCatalogue.h"

#include <array>

namespace dv {
namespace {

using enum RelationMode;

constexpr LinkingField kGroup[] = {{"Sifra", "Sifra"}};
constexpr LinkingField kGroupOfItem[] = {{"Sifra", "SKUPINA"}};
constexpr LinkingField kSubgroupOfItem[] = {{"Sifra", "SKUPINA"}, {"PodSifra", "PODSKUPINA"}};
constexpr LinkingField kStocktake[] = {
    {"StevInventure", "StevInventure"}, {"Enota", "Enota"}, {"VRSTAPRODAJE", "VrstaProdaje"}};
constexpr LinkingField kStockDocument[] = {{"VRSTAPRODAJE", "VRSTAPRODAJE"},
                                           {"ENOTA", "ENOTA"},
                                           {"OZNAKADOKUMENTA", "OZNAKADOKUMENTA"},
                                           {"VRSTAPROMETA", "VRSTAPROMETA"},
                                           {"STEVILKADOKUMENTA", "STEVILKADOKUMENTA"}};
constexpr LinkingField kSerialNumbers[] = {{"VRSTAPRODAJE", "VRSTAPRODAJE"},
                                           {"OZNAKADOKUMENTA", "OZNAKADOKUMENTA"},
                                           {"VRSTAPROMETA", "VRSTAPROMETA"},
                                           {"STEVILKADOKUMENTA", "STEVILKADOKUMENTA"},
                                           {"ENOTA", "ENOTA"}};
constexpr LinkingField kPartnerDetail[] = {{"Sifra", "SifraPartnerja"}};
constexpr LinkingField kPartnerContract[] = {{"Sifra", "SIFRA"}};
constexpr LinkingField kCustomerTerms[] = {{"Sifra", "SIFRAKUPCA"}};
constexpr LinkingField kPartnerOfDocument[] = {{"Sifra", "PARTNER"}};
constexpr LinkingField kInvoiceLine[] = {{"VRSTAPRODAJE", "VRSTAPRODAJE"},
                                         {"OznakaDokumenta", "OZNAKADOKUMENTA"},
                                         {"VRSTAPROMETA", "VRSTAPROMETA"},
                                         {"StevilkaDokumenta", "STEVILKADOKUMENTA"}};
constexpr LinkingField kInvoiceDelivery[] = {{"VRSTAPRODAJE", "VRSTAPRODAJE"},
                                             {"OznakaDokumenta", "RACOZNAKADOKUMENTA"},
                                             {"VRSTAPROMETA", "RACVRSTAPROMETA"},
                                             {"StevilkaDokumenta", "RACSTEVILKADOKUMENTA"}};
constexpr LinkingField kCompany[] = {{"SIFRAPODJETJA", "SIFRAPODJETJA"}};
constexpr LinkingField kBank[] = {{"SIFRABANKE", "SIFRABANKE"}};
constexpr LinkingField kItem[] = {{"EAN", "EAN"}};
constexpr LinkingField kItemOfBill[] = {{"EAN", "IZDELEK"}};
constexpr LinkingField kUnit[] = {{"Enota", "ENOTA"}};
constexpr LinkingField kCountry[] = {{"OznakaDrzave", "OZNAKADRZAVE"}};
constexpr LinkingField kWorkOrder[] = {{"LETONALOGA", "LETONALOGA"}, {"STEVILKADN", "STEVILKADN"}};

// Details a parent owns (subgroups of a group, lines of a document or invoice, a partner's
// accounts, contacts, contracts and terms, a company's accounts, an item's bill of materials, a
// stocktake's template) cascade; business records of their own that refer to a code (items of a
// group, stock and document lines of an item, stock and documents of a unit, documents and
// invoices of a partner, ...) restrict.
constexpr std::array kRelations{
    // Details owned by their parent.
    Relation{"SFGRUPE", "SFPODGRU", "SKUPINAKLJUC", kGroup, Cascade, Cascade},
    Relation{"INVENTUR", "INVENDET", "STEVSIFRAKLJUC", kStocktake, Cascade, Cascade},
    Relation{"DOKUMENT", "DOKPROME", "ENOTASTEVILKAKLJUC", kStockDocument, Cascade, Cascade},
    Relation{"DOKUMENT", "SNSTEV", "DOKUMENTKLJUC", kSerialNumbers, Cascade, Cascade},
    Relation{"DOKUMEDN", "DOKPRODN", "ENOTASTEVILKAKLJUC", kStockDocument, Cascade, Cascade},
    Relation{"RACUNI", "RACPROME", "STEVILKAKLJUC", kInvoiceLine, Cascade, Cascade},
    Relation{"RACUNI", "RACDOB", "ENOTASTEVILKAKLJUC", kInvoiceDelivery, Cascade, Cascade},
    Relation{"SFPARTN", "SFPARRA", "SIFRAKLJUC", kPartnerDetail, Cascade, Cascade},
    Relation{"SFPARTN", "SFPAROS", "SIFRAKLJUC", kPartnerDetail, Cascade, Cascade},
    Relation{"SFPARTN", "SFPARPOG", "SIFRAKLJUC", kPartnerContract, Cascade, Cascade},
    Relation{"SFPARTN", "KUPARTPO", "SIFRAKLJUC", kCustomerTerms, Cascade, Cascade},
    Relation{"APPINS", "APPINRA", "SIFRAKLJUC", kCompany, Cascade, Cascade},
    Relation{"ARTIKLI", "ARTSTRO", "SIFRASTROSKAKLJUC", kItemOfBill, Cascade, Cascade},
    // Business records of their own that refer to a code.
    Relation{"SFGRUPE", "ARTIKLI", "SKUPINANAZIVKLJUC", kGroupOfItem, Restrict, Restrict},
    Relation{"SFPODGRU", "ARTIKLI", "SKUPINANAZIVKLJUC", kSubgroupOfItem, Restrict, Restrict},
    Relation{"ARTIKLI", "ZALOGA", "SIFRAKLJUC", kItem, Restrict, Restrict},
    Relation{"ARTIKLI", "DOKPROME", "ARTIKELKLJUC", kItem, Restrict, Restrict},
    Relation{"SFENOTE", "ZALOGA", "ENOTAKLJUC", kUnit, Restrict, Restrict},
    Relation{"SFENOTE", "DOKUMENT", "ENOTADATUMKLJUC", kUnit, Restrict, Restrict},
    Relation{"SFPARTN", "DOKUMENT", "PARTNERKLJUC", kPartnerOfDocument, Restrict, Restrict},
    Relation{"SFPARTN", "RACUNI", "PARTNERKLJUC", kPartnerOfDocument, Restrict, Restrict},
    Relation{"SFBANKE", "APPINRA", "BANKAKLJUC", kBank, Restrict, Restrict},
    Relation{"SFDRZAVE", "SFPTT", "STEVILKAKLJUC", kCountry, Restrict, Restrict},
    Relation{"DELNALOG", "DOKUMEDN", "DELNALOGKLJUC", kWorkOrder, Restrict, Restrict},
};

}  // namespace

std::span<const Relation> programRelations() {
    return kRelations;
}

}  // namespace dv
