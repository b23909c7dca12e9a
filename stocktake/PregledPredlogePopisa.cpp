#include <array>
#include <string>

#include "app/ProcedureStart.h"
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseProcedure.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// A counted row stands out in every column but the last.
constexpr Colour kCountedBackground = 12443590;
constexpr Colour kCountedSelectedBackground = 4959576;

// The tabs of the list, in the order of its sheet (tab n shows order n).
enum Tab : int { kByCode = 1, kByName, kInGroup, kNotCounted, kCounted };

// Each tab's order, its locator (an entry that finds the first row at or after the text typed)
// and the filter of its rows.
struct TabOrder {
    const char* key;
    const char* locator;
    const char* filter;
};
constexpr std::array<TabOrder, 5> kTabOrders{{
    {"STEVSIFRAKLJUC", "?LokatorKoda", ""},
    {"STEVNAZIVKLJUC", "?LokatorNaziv", ""},
    {"STEVNAZIVGRUPAKLJUC", "?LokatorSkupine", ""},
    {"STEVNAZIVKLJUC", "?LokatorBrezVnosa",
     "(INVENDET:NarejenVnos = 0 AND INVENDET:RacZaloga <> 0)"},
    {"STEVNAZIVKLJUC", "?LokatorVneseni", "(INVENDET:NarejenVnos = 1)"},
}};

constexpr std::string_view kGroupButton = "?Skupina";
constexpr std::string_view kCardButtons[] = {"?KarticaPoKodi", "?KarticaPoNazivu",
                                             "?KarticaVSkupini"};
constexpr std::string_view kNotCountedPrint = "?IzpisNeazuriranih";
constexpr int kGroupNameColumn = 3;

// The template of the stocktake GLO:DIDEROVIV / GLO:ENOTAINV / GLO:VRSTAINV, chosen before the
// list opens; every tab shows only its rows. The count of a row is entered in VnosPopisa, and
// after it the focus goes back to the locator of the tab, so that the next code typed (or
// scanned) lands there.
class CountEntryList final : public BrowseProcedure {
  public:
    explicit CountEntryList(std::string name)
        : BrowseProcedure(std::move(name)),
          number_(GLO.DIDEROVIV),
          unit_(static_cast<std::uint16_t>(GLO.ENOTAINV)),
          saleType_(GLO.VRSTAINV.str()) {
        locals_.add("LOC:NazivSkupine", groupName_);
        FileManager& groups = tableAccess().file("SFGRUPE");
        const TableDef& lines = file().table();
        view().AddJoin({&groups,
                        groups.primaryKey(),
                        {{lines.findField("Skupina"), groups.table().findField("Sifra")}}});
    }

    Level SetUp() override {
        // The group the list and the form read; its buffer comes back at the end.
        tables_.keep(tableAccess().file("SFGRUPE"));
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        window()->setCaption(" INVENTURNI POPIS ZA INVENTURO ŠT. " + std::to_string(number_));
        showGroup();
        return kLevelBenign;
    }

    void TearDown() override {
        BrowseProcedure::TearDown();
        tables_.release();
    }

    EventResult OnEvent(const Event& event) override {
        const EventResult result = BrowseProcedure::OnEvent(event);
        if (window() == nullptr || !window()->isOpen()) return result;
        // The form has closed and the list has taken the focus: the next code goes to the
        // locator of the tab the user counts on.
        if (std::exchange(formCalled_, false)) focusLocator();
        // The list chooses the tab's order as it takes the event, so the tab is seen to here.
        if (event.kind == EventKind::NewSelection && event.control == number("?Zavihki"))
            tabChosen();
        return result;
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number(kGroupButton)) return chooseGroup();
        for (std::string_view card : kCardButtons)
            if (event.control == number(card)) return openItemCard();
        if (event.control == number(kNotCountedPrint)) return printNotCounted();
        return BrowseProcedure::OnAccepted(event);
    }

  protected:
    void DefineList() override {
        BrowseProcedure::DefineList();
        const TableDef& lines = file().table();
        for (const TabOrder& tab : kTabOrders) {
            const int order = list().DefineOrder(lines.findKey(tab.key));
            std::vector<RangeField> range{
                {lines.findField("StevInventure"), fixedValue(ExpressionValue::number(number_)), {}},
                {lines.findField("Enota"), fixedValue(ExpressionValue::number(unit_)), {}},
                {lines.findField("VrstaProdaje"), fixedValue(ExpressionValue::text(saleType_)), {}}};
            if (order == kInGroup)
                range.push_back({lines.findField("Skupina"),
                                 [] { return ExpressionValue::number(GLO.SifraSkupine); }, {}});
            list().LimitOrder(LimitType::SingleValue, std::move(range), order);
            list().AttachLocator(LocatorKind::Entry, tab.locator, order);
            if (*tab.filter != '\0') list().PutFilter(tab.filter, {}, order);
        }
        list().SetSheet("?Zavihki");
        list().SetRowFormatter([](ListRow& row) { formatRow(row); });
        SetForm("VnosPopisa");
        // The form is called through the list; the call is noted so that the focus can go back to
        // the locator once the list has repositioned.
        list().SetAskProcedure([this, form = procedureByName("VnosPopisa")] {
            formCalled_ = true;
            return form();
        });
    }

  private:
    static void formatRow(ListRow& row) {
        row[static_cast<std::size_t>(kGroupNameColumn - 1)].text = SFGRUPE.Naziv.str();
        if (INVENDET.NarejenVnos != 1) return;
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
            row[column].background = kCountedBackground;
            row[column].selectedBackground = kCountedSelectedBackground;
        }
    }

    const TabOrder& currentTab() const {
        return kTabOrders[static_cast<std::size_t>(list().currentOrder() - 1)];
    }

    void focusLocator() { window()->select(currentTab().locator); }

    // The group tab asks for its group at once; the other tabs put the focus on the list.
    void tabChosen() {
        if (list().currentOrder() == kInGroup)
            window()->post(EventKind::Accepted, window()->control(kGroupButton));
        else
            window()->select("?Seznam");
    }

    EventResult chooseGroup() {
        FileManager& groups = tableAccess().file("SFGRUPE");
        clearRecord(groups.table(), groups.buffer());
        SFGRUPE.Sifra = GLO.SifraSkupine;
        if (selectFromList("BrowseSFGRUPE")) GLO.SifraSkupine = SFGRUPE.Sifra;
        showGroup();
        list().Refresh(RefreshMode::Top);
        focusLocator();
        return kEventDone;
    }

    // The name of the group GLO:SifraSkupine, blank when the code list lacks it.
    void showGroup() {
        FileManager& groups = tableAccess().file("SFGRUPE");
        const SnapshotHandle held = groups.SnapshotBuffer();
        clearRecord(groups.table(), groups.buffer());
        SFGRUPE.Sifra = GLO.SifraSkupine;
        groupName_ = GLO.SifraSkupine != 0 && groups.FetchOrClear(groups.primaryKey()) == kLevelBenign
                         ? SFGRUPE.Naziv.str()
                         : std::string();
        groups.RestoreSnapshot(held, true);
        Refresh();
    }

    EventResult openItemCard() {
        if (highlightedRecord() != nullptr) {
            list().LoadHighlighted();
            GLO.CardUnit = INVENDET.Enota;
            GLO.CardItem = INVENDET.EAN;
            (void)callProcedure(procedureByName("BrowseKarticaArtikla"), Request::None);
        }
        list().Refresh(RefreshMode::Current);
        AfterCall();
        return kEventDone;
    }

    // The report of the rows without a count, on a thread of its own, for this stocktake.
    EventResult printNotCounted() {
        GLO.DIDEROVIV = number_;
        GLO.ENOTAINV = static_cast<std::int16_t>(unit_);
        GLO.VRSTAINV = saleType_;
        GLO.DATUM = stocktakeDate();
        startProcedure("OknoIzpisInvNeazur");
        list().Refresh(RefreshMode::Current);
        return kEventDone;
    }

    DayNumber stocktakeDate() {
        FileManager& stocktakes = tableAccess().file("INVENTUR");
        TableGuard guard;
        if (guard.open(stocktakes) != kLevelBenign) return 0;
        clearRecord(stocktakes.table(), stocktakes.buffer());
        INVENTUR.StevInventure = number_;
        INVENTUR.Enota = unit_;
        INVENTUR.VRSTAPRODAJE = saleType_;
        const bool found = stocktakes.FetchOrClear(stocktakes.primaryKey()) == kLevelBenign;
        const DayNumber date = found ? INVENTUR.DATUMINVENTURE : 0;
        return date;
    }

    std::uint16_t number_;
    std::uint16_t unit_;
    std::string saleType_;
    LocalVariables locals_;
    FixedText<30> groupName_;
    TableGuard tables_;
    bool formCalled_ = false;
};

}  // namespace

// Count entry: the stocktake is chosen first (IzborGlaveInventure); without a choice the
// procedure ends without a window.
DV_PROCEDURE(PregledPredlogePopisa) {
    GLO.StocktakeChosen = 0;
    (void)callProcedure(procedureByName("IzborGlaveInventure"), Request::None);
    if (GLO.StocktakeChosen == 0) return RespCancelled;
    GLO.StocktakeChosen = 0;
    clearRecord(*findTable("INVENDET"), &INVENDET);
    INVENDET.StevInventure = GLO.DIDEROVIV;
    INVENDET.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    INVENDET.VrstaProdaje = GLO.VRSTAINV;
    CountEntryList list{std::string(procedure)};
    return list.Execute();
}

}  // namespace dv
