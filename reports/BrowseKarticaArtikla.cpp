#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "reports/ItemCardLine.h"
#include "runtime/LocalVariables.h"
#include "runtime/Picture.h"
#include "runtime/PictureFormat.h"
#include "schema/ProgramGlobals.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// Receipts (documents marked N) stand out in the list.
constexpr Colour kReceiptBackground = 11330494;
constexpr Colour kReceiptSelectedBackground = 4227072;

// The columns the procedure fills from each line (from 1), in the pictures of the layout.
constexpr int kKindColumn = 1;
constexpr int kFirstValueColumn = 5;
constexpr int kValueColumns = 5;
// The list keeps quantities with 3 places and prices with 4.
constexpr int kValuePlaces[kValueColumns] = {3, 4, 3, 4, 4};

int fieldOf(const TableDef& table, std::string_view name) {
    return table.findField(name);
}

// Reads a table's record for each document line: `pairs` name a field of DOKPROME and the field
// of the joined table it equals, in the order of the joined table's key.
ViewManager::Join joinOf(
    std::string_view table, std::string_view key,
    std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
    FileManager& file = tableAccess().file(table);
    const TableDef& lines = *findTable("DOKPROME");
    ViewManager::Join join{&file, file.table().findKey(key), {}};
    for (const auto& [line, joined] : pairs)
        join.fields.push_back({fieldOf(lines, line), fieldOf(file.table(), joined)});
    return join;
}

// The item card list: the document lines of the card item in the card unit that moved stock,
// with what each moved, the document of the highlighted line and its partner, and the totals
// over all the lines, read again whenever the list is refreshed.
class BrowseKarticaArtikla final : public BrowseProcedure {
  public:
    explicit BrowseKarticaArtikla(std::string name) : BrowseProcedure(std::move(name)) {
        locals_.add("LOC:NazivIzdelka", itemName_);
        locals_.add("LOC:NABAVASKUPAJ", received_);
        locals_.add("LOC:IZDAJASKUPAJ", issued_);
        locals_.add("LOC:KOLICINASALDO", balance_);
        view().AddJoin(joinOf("DOKUMENT", "ENOTASTEVILKAKLJUC",
                              {{"VRSTAPRODAJE", "VRSTAPRODAJE"},
                               {"ENOTA", "ENOTA"},
                               {"OZNAKADOKUMENTA", "OZNAKADOKUMENTA"},
                               {"VRSTAPROMETA", "VRSTAPROMETA"},
                               {"STEVILKADOKUMENTA", "STEVILKADOKUMENTA"}}));
        view().AddJoin(joinOf("SFVRPROM", "PrimaryKey",
                              {{"VRSTAPRODAJE", "VrstaProdaje"},
                               {"OZNAKADOKUMENTA", "OZNAKADOKUMENTA"},
                               {"VRSTAPROMETA", "VrstaPrometa"}}));
    }

    Level SetUp() override {
        if (const Level opened = openTables(); opened != kLevelBenign) return opened;
        readItemAndStock();
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        readTotals();
        return kLevelBenign;
    }

    void Refresh(bool force) override {
        BrowseProcedure::Refresh(force);
        if (fields() != nullptr && list().currentOrder() != 0) readTotals();
    }

  protected:
    void DefineList() override {
        BrowseProcedure::DefineList();
        list().PutFilter(kItemCardFilter);
        const std::vector<ListColumn>& columns = list().list().columns();
        for (int i = 0; i < kValueColumns; ++i)
            valuePictures_.push_back(
                Picture::of(columns[static_cast<std::size_t>(kFirstValueColumn + i - 1)].picture));
        list().SetRowFormatter([this](ListRow& row) { formatLine(row); });
    }

    // The document of the highlighted line is in its buffer (the list reads it with the line);
    // its partner is read when the document changes.
    void ShowHighlighted() override {
        if (DOK.PARTNER != shownPartner_ || list().page().empty()) {
            shownPartner_ = DOK.PARTNER;
            clearRecord(partners_.table(), partners_.buffer());
            if (!list().page().empty() && DOK.PARTNER != 0) {
                SFPARTN.Sifra = DOK.PARTNER;
                fetchRecord(partners_, partners_.primaryKey());
            }
        }
        if (fields() != nullptr) fields()->display();
    }

  private:
    Level openTables() {
        for (const char* table : {"ARTIKLI", "ZALOGA", "SFPARTN"})
            if (const Level opened = tables_.open(tableAccess().file(table));
                opened != kLevelBenign)
                return opened;
        // The document and the transaction type of each line are read by the list into their
        // buffers, which the caller gets back as they were.
        tables_.keep(tableAccess().file("DOKUMENT"));
        tables_.keep(tableAccess().file("SFVRPROM"));
        return kLevelBenign;
    }

    // The item and its stock in the card unit, read once: they do not change while the card is
    // looked at.
    void readItemAndStock() {
        FileManager& items = tableAccess().file("ARTIKLI");
        clearRecord(items.table(), items.buffer());
        ARTIKLI.EAN = GLO.CardItem;
        fetchRecord(items, items.primaryKey());
        // The whole name: the short name and its second part, as the group ARTIKLI:Naziv
        // spans them.
        itemName_.setRaw(std::string(ARTIKLI.KRATEKNAZIV.raw()) +
                         std::string(ARTIKLI.DRUGIDELNAZIVA.raw()));
        FileManager& stock = tableAccess().file("ZALOGA");
        clearRecord(stock.table(), stock.buffer());
        ZALOGA.EAN = GLO.CardItem;
        ZALOGA.ENOTA = GLO.CardUnit;
        fetchRecord(stock, stock.primaryKey());
    }

    void formatLine(ListRow& row) {
        const ItemCardLine line = itemCardLine();
        const Decimal values[] = {line.receivedQuantity, line.purchasePrice, line.issuedQuantity,
                                  line.releasePrice, line.salePrice};
        auto cell = [&row](int column) -> ListCell& {
            return row[static_cast<std::size_t>(column - 1)];
        };
        cell(kKindColumn).text = DOKPROME.VRSTAPRODAJE.str() + " " +
                                 DOKPROME.OZNAKADOKUMENTA.str() + " " + SFVRPROM.OpisPrometa.str();
        for (int i = 0; i < kValueColumns; ++i)
            cell(kFirstValueColumn + i).text = format(values[i].rounded(kValuePlaces[i]),
                                                      valuePictures_[static_cast<std::size_t>(i)]);
        if (DOKPROME.OZNAKADOKUMENTA != "N") return;
        for (ListCell& each : row) {
            each.background = kReceiptBackground;
            each.selectedBackground = kReceiptSelectedBackground;
        }
    }

    // The totals over every line of the card, read in one pass; the record the list holds in
    // the buffer is put back afterwards.
    void readTotals() {
        const WaitCursor waiting;
        FileManager& lines = file();
        const SnapshotHandle held = lines.SnapshotBuffer();
        Decimal received;
        Decimal issued;
        ViewManager pass(lines);
        if (pass.Open() == kLevelBenign) {
            pass.SetOrder(lines.table().findKey(kItemCardKey));
            pass.SetFilter(kItemCardFilter);
            pass.SetToStart();
            while (pass.Next() == ViewRead::Record) {
                const ItemCardLine line = itemCardLine();
                received += line.receivedQuantity;
                issued += line.issuedQuantity;
            }
            pass.Close();
        }
        lines.RestoreSnapshot(held, true);
        list().LoadHighlighted();
        received_ = received;
        issued_ = issued;
        balance_ = received_.value() - issued_.value();
        if (fields() != nullptr) fields()->display();
    }

    LocalVariables locals_;
    FixedText<60> itemName_;
    FixedDecimal<15, 3> received_;
    FixedDecimal<15, 3> issued_;
    FixedDecimal<15, 3> balance_;
    TableGuard tables_;
    FileManager& partners_ = tableAccess().file("SFPARTN");
    std::vector<Picture> valuePictures_;
    std::uint32_t shownPartner_ = 0;
};

DV_PROCEDURE_CLASS(BrowseKarticaArtikla);

}  // namespace
}  // namespace dv
