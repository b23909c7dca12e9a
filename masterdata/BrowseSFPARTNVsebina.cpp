#include <string>

#include "framework/BrowseProcedure.h"
#include "framework/DetailList.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/PartnerDetails.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

// The text as a quoted literal of the filter language: a quote inside is doubled.
std::string filterLiteral(std::string_view text) {
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'') literal += '\'';
    }
    return literal + "'";
}

// The search of partners by the contents of their names: the list shows the partners whose
// name contains the text of the search line, whatever its letter case; the button beside it
// clears the text. Below the list the highlighted partner's details and contact persons.
class BrowseSFPARTNVsebina final : public BrowseProcedure {
  public:
    explicit BrowseSFPARTNVsebina(std::string name)
        : BrowseProcedure(std::move(name)), persons_(*this, "?Osebe", partnerLink()) {
        followHighlightedPartner(persons_, *this);
    }

    Level SetUp() override {
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        return persons_.Start();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?Iskanje")) {
            search(window()->control("?Iskanje").value());
            return kEventDone;
        }
        if (event.control == number("?Pocisti")) {
            window()->control("?Iskanje").setValue("");
            search("");
            return kEventDone;
        }
        return BrowseProcedure::OnAccepted(event);
    }

  protected:
    void ShowHighlighted() override { showPartnerDetails(*window(), highlightedRecord()); }

  private:
    void search(std::string_view text) {
        const std::string wanted(trimBlanks(text));
        const std::string filter = wanted.empty()
                                       ? std::string()
                                       : "INSTRING(" + filterLiteral(upperSlovenian(wanted)) +
                                             ", UPPER(SFPARTN:Naziv), 1, 1) > 0";
        for (int order = 1; order <= list().orderCount(); ++order)
            list().PutFilter(filter, "vsebina", order);
        list().Refresh(RefreshMode::Top);
        window()->select(list().list());
    }

    DetailList persons_;
};

DV_PROCEDURE_CLASS(BrowseSFPARTNVsebina);

}  // namespace
}  // namespace dv
