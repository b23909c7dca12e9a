#include <string>
#include <vector>

#include "data/ExpressionNames.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/LayoutResources.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "stocktake/MovedStockCheck.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The moved items, one record each, into the report's local variables.
class MovedItems final : public RecordSource {
  public:
    MovedItems(const std::vector<MovedStockItem>& items, FixedText<13>& code, FixedText<40>& name,
               FixedDecimal<9, 3>& book, FixedDecimal<9, 3>& stock, FixedDecimal<9, 3>& counted)
        : items_(items), code_(code), name_(name), book_(book), stock_(stock), counted_(counted) {}

    Level restart() override {
        next_ = 0;
        return kLevelBenign;
    }
    ReadResult next() override {
        if (next_ >= items_.size()) return ReadResult::End;
        const MovedStockItem& item = items_[next_++];
        code_ = item.code;
        name_ = item.name;
        book_ = item.book;
        stock_ = item.stock;
        counted_ = item.counted;
        return ReadResult::Record;
    }
    std::int64_t records() override { return static_cast<std::int64_t>(items_.size()); }

  private:
    const std::vector<MovedStockItem>& items_;
    FixedText<13>& code_;
    FixedText<40>& name_;
    FixedDecimal<9, 3>& book_;
    FixedDecimal<9, 3>& stock_;
    FixedDecimal<9, 3>& counted_;
    std::size_t next_ = 0;
};

}  // namespace

// The items of the selected stocktake whose stock moved after the template was prepared: code,
// name, book quantity in the template, stock now and the counted quantity.
DV_PROCEDURE(IzpisSpremenjeneZaloge) {
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    TableAccess& access = tableAccess();
    TableGuard guard;
    if (guard.open(access.file("INVENDET")) != kLevelBenign ||
        guard.open(access.file("ZALOGA")) != kLevelBenign)
        return RespCancelled;
    std::int64_t rows = 0;
    const std::vector<MovedStockItem> items =
        movedStock(access.file("INVENDET"), access.file("ZALOGA"), selectedStocktake(), rows);
    FixedText<13> code;
    FixedText<40> name;
    FixedDecimal<9, 3> book, stock, counted;
    FixedText<60> title;
    title = "Spremenjena zaloga po pripravi predloge inventure št. " +
            std::to_string(GLO.DIDEROVIV);
    LocalVariables locals;
    locals.add("LOC:Sifra", code);
    locals.add("LOC:Naziv", name);
    locals.add("LOC:Predloga", book);
    locals.add("LOC:Zaloga", stock);
    locals.add("LOC:Popis", counted);
    locals.add("LOC:Naslov", title);
    const ProgramNames program;
    const NameResolverChain names{&locals, &program};
    MovedItems source(items, code, name, book, stock, counted);
    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string{procedure}, std::string{procedure},
                           reportLayout(procedure), names, &programErrors(), &programSettings());
    report.SetUp(progress, source);
    report.onRecord([&] {
        report.report().Print("Detail");
        return kLevelBenign;
    });
    return report.Run();
}

}  // namespace dv
