#include "app/TransactionTypeField.h"

#include <limits>

#include "data/RecordBuffers.h"
#include "framework/ListSelection.h"
#include "framework/RecordFetch.h"
#include "runtime/FrontEnd.h"
#include "runtime/TextCase.h"
#include "schema/Records.h"
#include "storage/FileManager.h"

namespace dv {
namespace {

// Whether `number` can be the number of a type (SFVRPROM:VrstaPrometa is unsigned 16-bit).
bool isTypeNumber(std::int64_t number) {
    return number > 0 && number <= std::numeric_limits<std::uint16_t>::max();
}

}  // namespace

TransactionTypeField::TransactionTypeField(FileManager& types, VariableRef number, char saleKind,
                                           char mark, FixedText<40>& description)
    : types_(types), number_(number), saleKind_(saleKind), mark_(mark), description_(description) {}

std::int64_t TransactionTypeField::number() const {
    return number_.read().toNumber().fieldUnits(18, 0).value_or(0);
}

void TransactionTypeField::showDescription() {
    description_ = "";
    const std::int64_t current = number();
    if (!isTypeNumber(current)) return;
    clearRecord(types_.table(), types_.buffer());
    SFVRPROM.VrstaProdaje = std::string_view(&saleKind_, 1);
    SFVRPROM.OZNAKADOKUMENTA = std::string_view(&mark_, 1);
    SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(current);
    if (fetchRecord(types_, types_.primaryKey())) description_ = SFVRPROM.OpisPrometa.str();
}

void TransactionTypeField::takeTypedDescription(std::string_view text) {
    const std::string_view typed = trimTrailingBlanks(text);
    if (typed.empty()) {
        take(0, "");
        return;
    }
    if (const auto found = findByDescription(typed)) {
        take(*found, SFVRPROM.OpisPrometa.str());
        return;
    }
    chooseFromList();
}

void TransactionTypeField::chooseFromList() {
    // The list may position itself on the type the field holds.
    clearRecord(types_.table(), types_.buffer());
    SFVRPROM.VrstaProdaje = std::string_view(&saleKind_, 1);
    SFVRPROM.OZNAKADOKUMENTA = std::string_view(&mark_, 1);
    if (isTypeNumber(number())) SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(number());
    if (!selectFromList(kTransactionTypeList) || !takeChosen()) showDescription();
}

std::optional<std::uint16_t> TransactionTypeField::findByDescription(std::string_view text) {
    if (types_.UseFile() != kLevelBenign || types_.driver() == nullptr) return std::nullopt;
    const int byDescription = types_.table().findKey("OPISPROMETAKLJUC");
    clearRecord(types_.table(), types_.buffer());
    SFVRPROM.VrstaProdaje = std::string_view(&saleKind_, 1);
    // From the first description of the sale kind: the types of one kind are few, and reading
    // them all keeps the search right whatever the collation does with the typed text.
    if (types_.driver()->set(byDescription) != DriverCode::Ok) return std::nullopt;
    const std::string wanted = upperSlovenian(text);
    const std::string_view kind(&saleKind_, 1);
    const std::string_view mark(&mark_, 1);
    while (types_.NextSilently() == kLevelBenign && SFVRPROM.VrstaProdaje == kind) {
        if (SFVRPROM.OZNAKADOKUMENTA == mark &&
            upperSlovenian(SFVRPROM.OpisPrometa.str()).starts_with(wanted))
            return SFVRPROM.VrstaPrometa;
    }
    return std::nullopt;
}

bool TransactionTypeField::takeChosen() {
    if (SFVRPROM.VrstaProdaje != std::string_view(&saleKind_, 1) ||
        SFVRPROM.OZNAKADOKUMENTA != std::string_view(&mark_, 1)) {
        MessageBoxRequest box;
        box.caption = " OPOZORILO";
        box.text = "Izbrana vrsta prometa ni primerna (prodaja \"" + SFVRPROM.VrstaProdaje.str() +
                   "\", oznaka dokumenta \"" + SFVRPROM.OZNAKADOKUMENTA.str() + "\").|Tu je " +
                   "potrebna vrsta prometa " + expectedKindText() + ".";
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
        return false;
    }
    take(SFVRPROM.VrstaPrometa, SFVRPROM.OpisPrometa.str());
    return true;
}

void TransactionTypeField::take(std::uint16_t number, std::string_view description) {
    number_.write(ExpressionValue::number(Decimal(number)));
    description_ = description;
}

std::string TransactionTypeField::expectedKindText() const {
    const std::string kind = saleKind_ == 'M' ? "prodaje na drobno (M)" : "prodaje na debelo (V)";
    const std::string mark = mark_ == 'I' ? "I - izdaja" : "N - nabava";
    return kind + " z oznako dokumenta " + mark;
}

}  // namespace dv
