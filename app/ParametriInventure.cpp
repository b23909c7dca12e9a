#include <array>
#include <string_view>

#include "app/ProgramSettings.h"
#include "app/TransactionTypeField.h"
#include "data/RecordBuffers.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "framework/SettingsWindow.h"
#include "runtime/LocalVariables.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "SPLOŠNO";
constexpr std::string_view kPartnerList = "BrowseSFPARTN";

std::vector<SettingsEntry> stocktakeEntries() {
    return {
        {kSection, "SifraLastnikaPrograma", VariableRef(GLO.SIFRALASTNIKAPROGRAMA)},
        {kSection, "VrstaPrometaInvManjkoVP", VariableRef(GLO.VRSTAPROMETAINVMANJKOVP)},
        {kSection, "VrstaPrometaInvVisekVP", VariableRef(GLO.VRSTAPROMETAINVVISEKVP)},
        {kSection, "VrstaPrometaInvManjkoMP", VariableRef(GLO.VRSTAPROMETAINVMANJKOMP)},
        {kSection, "VrstaPrometaInvVisekMP", VariableRef(GLO.VRSTAPROMETAINVVISEKMP)},
    };
}

// The controls of one transaction type: its number, its description and its lookup button, in
// the order of the window's TransactionTypeFields.
struct TypeControls {
    std::string_view number;
    std::string_view description;
    std::string_view button;
};

constexpr std::array<TypeControls, 4> kTypeControls = {{
    {"?GLO:VRSTAPROMETAINVMANJKOVP", "?LOC:VPMANJKOVP", "?IzberiManjkoVP"},
    {"?GLO:VRSTAPROMETAINVVISEKVP", "?LOC:VPVISEKVP", "?IzberiVisekVP"},
    {"?GLO:VRSTAPROMETAINVMANJKOMP", "?LOC:VPMANJKOMP", "?IzberiManjkoMP"},
    {"?GLO:VRSTAPROMETAINVVISEKMP", "?LOC:VPVISEKMP", "?IzberiVisekMP"},
}};

class ParametriInventureWindow : public SettingsWindow {
  public:
    explicit ParametriInventureWindow(std::string name)
        : SettingsWindow(std::move(name), stocktakeEntries(), readStocktakeSettings, "?Potrdi",
                         "?Preklici"),
          partners_(tableAccess().file("SFPARTN")),
          types_(tableAccess().file("SFVRPROM")),
          fields_{{
              {types_, VariableRef(GLO.VRSTAPROMETAINVMANJKOVP), 'V', 'I', descriptions_[0]},
              {types_, VariableRef(GLO.VRSTAPROMETAINVVISEKVP), 'V', 'N', descriptions_[1]},
              {types_, VariableRef(GLO.VRSTAPROMETAINVMANJKOMP), 'M', 'I', descriptions_[2]},
              {types_, VariableRef(GLO.VRSTAPROMETAINVVISEKMP), 'M', 'N', descriptions_[3]},
          }} {
        for (std::size_t i = 0; i < kTypeControls.size(); ++i)
            locals_.add(kTypeControls[i].description.substr(1), descriptions_[i]);
        setFirstField("?GLO:SIFRALASTNIKAPROGRAMA");
    }

    Level PrepareRecord() override {
        if (const Level prepared = SettingsWindow::PrepareRecord(); prepared != kLevelBenign)
            return prepared;
        // The partner and type records the window reads come back to the buffers at its end.
        if (tables_.open(partners_) != kLevelBenign || tables_.open(types_) != kLevelBenign)
            return kLevelFatal;
        showPartner();
        for (TransactionTypeField& field : fields_) field.showDescription();
        return kLevelBenign;
    }

    void TearDown() override {
        SettingsWindow::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (const EventResult handled = SettingsWindow::OnAccepted(event); handled != kEventGoOn)
            return handled;
        Control* control = controlAt(event.control);
        if (control == nullptr || !takeControl(*control)) return kEventGoOn;
        Refresh();
        return kEventDone;
    }

  private:
    // The user's action on one of the window's own controls; false for any other control.
    bool takeControl(Control& control) {
        if (control.number() == number("?GLO:SIFRALASTNIKAPROGRAMA")) {
            ownerAccepted(control);
            return true;
        }
        if (control.number() == number("?IzberiPartnerja")) {
            choosePartner();
            return true;
        }
        for (std::size_t i = 0; i < kTypeControls.size(); ++i) {
            const TypeControls& names = kTypeControls[i];
            TransactionTypeField& field = fields_[i];
            if (control.number() == number(names.number)) {
                field.showDescription();
                return true;
            }
            if (control.number() == number(names.description)) {
                field.takeTypedDescription(control.value());
                return true;
            }
            if (control.number() == number(names.button)) {
                field.chooseFromList();
                return true;
            }
        }
        return false;
    }

    // An owner code without a partner opens the partner list, "0" typed as well: only a code
    // left blank skips it. When the program has no such list yet, the code is taken as it is,
    // with a blank name.
    void ownerAccepted(Control& control) {
        const bool leftBlank = trimBlanks(control.typedText()).empty();
        if (showPartner() || (GLO.SIFRALASTNIKAPROGRAMA == 0 && leftBlank) ||
            !hasList(kPartnerList))
            return;
        if (selectFromList(kPartnerList)) {
            GLO.SIFRALASTNIKAPROGRAMA = SFPARTN.Sifra;
            return;
        }
        showPartner();
        window()->select(control);
    }

    void choosePartner() {
        // The list may position itself on the partner the code names.
        SFPARTN.Sifra = GLO.SIFRALASTNIKAPROGRAMA;
        if (selectFromList(kPartnerList))
            GLO.SIFRALASTNIKAPROGRAMA = SFPARTN.Sifra;
        else
            showPartner();
    }

    // Reads the partner of the owner code into the buffer, whose name the window shows; false
    // (the name blank) when the code is 0 or names no partner.
    bool showPartner() {
        clearRecord(partners_.table(), partners_.buffer());
        if (GLO.SIFRALASTNIKAPROGRAMA == 0) return false;
        SFPARTN.Sifra = GLO.SIFRALASTNIKAPROGRAMA;
        return fetchRecord(partners_, partners_.table().findKey("SIFRAKLJUC"));
    }

    // The descriptions beside the types (LOC:VPMANJKOVP, ...), in the order of kTypeControls;
    // the window's controls find them through the procedure's local scope.
    LocalVariables locals_;
    std::array<FixedText<40>, kTypeControls.size()> descriptions_{};
    FileManager& partners_;
    FileManager& types_;
    std::array<TransactionTypeField, kTypeControls.size()> fields_;
    TableGuard tables_;
};

}  // namespace

// The stocktake parameters, window " PARAMETRI ZA IZVAJANJE INVENTURE": the partner code of the
// company that owns the stock (GLO:SIFRALASTNIKAPROGRAMA) and the transaction types of the
// shortage and surplus documents, wholesale and retail (GLO:VRSTAPROMETAINVMANJKOVP,
// ...VISEKVP, ...MANJKOMP, ...VISEKMP). The controls change the variables at once, so that
// procedures started afterwards use them; "POTRDI" writes the five entries of section "SPLOŠNO"
// into the settings file, "PREKLIČI" writes nothing and reads the five entries back from it.
DV_PROCEDURE(ParametriInventure) {
    ParametriInventureWindow window{std::string(procedure)};
    return window.Execute();
}

}  // namespace dv
