// The raw sides of the stocktake benchmarks (on either engine), shared by bench_stocktake (each step on its
// own) and bench_endtoend (the whole stocktake).
#include "bench/StocktakeBenchmarks.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <utility>
#include <stdexcept>

#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"
#include "schema/ProgramGlobals.h"
#include "storage/SlovenianCollation.h"

namespace dv::bench {

namespace fs = std::filesystem;

void selectStocktake() {
    dv::GLO.DIDEROVIV = 1;
    dv::GLO.ENOTAINV = 1;
    dv::GLO.VRSTAINV = "M";
}

sqlite3* openRaw(const fs::path& database) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK,
          "open");
    dv::registerSlovenianCollation(db);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    return db;
}

namespace {

// A price of 6 places kept to 4, half away from zero.
std::int64_t toFourPlaces(std::int64_t units) {
    return units >= 0 ? (units + 50) / 100 : -((-units + 50) / 100);
}

// A capture line as the raw import reads it: the code and the quantity in thousandths, without
// quotes; false for a line that is not posted.
bool splitCaptureLine(std::string& line, std::string& code, std::int64_t& quantity) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t separator = line.find(';');
    if (separator == std::string::npos) return false;
    auto unquoted = [](std::string text) {
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        return text;
    };
    code = unquoted(line.substr(0, separator));
    if (code.empty() || code[0] < '0' || code[0] > '9') return false;
    const std::string text = unquoted(line.substr(separator + 1));
    std::int64_t whole = 0, fraction = 0, scale = 1000;
    bool inFraction = false;
    for (const char c : text) {
        if (c == ',' || c == '.') inFraction = true;
        else if (inFraction && scale > 1) fraction += (c - '0') * (scale /= 10);
        else if (!inFraction) whole = whole * 10 + (c - '0');
    }
    quantity = whole * 1000 + fraction;
    return true;
}

std::int64_t rounded(dv::Int128 a, dv::Int128 b) {
    if (b == 0) return 0;
    if (b < 0) a = -a, b = -b;
    dv::Int128 q = a / b;
    const dv::Int128 r = a % b;
    if (2 * (r < 0 ? -r : r) >= b) q += a < 0 ? -1 : 1;
    return static_cast<std::int64_t>(q);
}

// The checks the posting makes before it writes, and again inside its transaction: the
// stocktake exists and is open, no document or line of either kind carries its number.
template <typename Statement>
void rawChecks(Statement& stocktake, Statement& document, Statement& line) {
    check(stocktake.row() && stocktake.integer(2) == 0, "stocktake open");
    stocktake.reset();
    for (const auto& [mark, type] : {std::pair{"N", 15}, std::pair{"I", 35}}) {
        document.text(1, mark).number(2, type);
        line.text(1, mark).number(2, type);
        check(!document.row() && !line.row(), "no documents");
        document.reset();
        line.reset();
    }
}

}  // namespace

// ---- the first preparation of the template

template <typename Raw>
RawTemplate<Raw>::RawTemplate(Raw& db)
    : db_(db),
      items_(db,
             "SELECT EAN, KRATEKNAZIV, DRUGIDELNAZIVA, SKUPINA, CENABREZDDV, "
             "MPCENA FROM ARTIKLI ORDER BY EAN, _ROW"),
      stock_(db, "SELECT ZALOGA, ZADNJANABCENA FROM ZALOGA WHERE ENOTA = ?1 AND EAN = ?2"),
      insert_(db,
              "INSERT INTO INVENDET (STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, SKUPINA, NAZIV, "
              "RACZALOGA, POPISANAZALOGA, VPCENA, MPCENA, NABCENA, NAREJENVNOS) "
              "VALUES (1, 1, 'M', ?1, ?2, ?3, ?4, ?4, ?5, ?6, ?7, 0)") {}

template <typename Raw>
std::int64_t RawTemplate<Raw>::run() {
    db_.beginWrite();
    std::int64_t written = 0;
    std::string name;
    while (items_.row()) {
        name.assign(items_.view(1));
        name.resize(20, ' ');
        name.append(items_.view(2).substr(0, 20));
        while (!name.empty() && name.back() == ' ') name.pop_back();
        stock_.number(1, 1).text(2, items_.view(0));
        std::int64_t quantity = 0;
        std::int64_t purchase = 0;
        if (stock_.row()) {
            quantity = stock_.integer(0);
            purchase = stock_.integer(1);
        }
        stock_.reset();
        insert_.text(1, items_.view(0)).number(2, items_.integer(3)).text(3, name)
            .number(4, quantity).number(5, toFourPlaces(items_.integer(4)))
            .number(6, toFourPlaces(items_.integer(5))).number(7, toFourPlaces(purchase))
            .run();
        ++written;
    }
    items_.reset();
    db_.commit();
    return written;
}

// ---- the import of a terminal's capture file

template <typename Raw>
RawImport<Raw>::RawImport(Raw& db)
    : db_(db),
      item_(db, "SELECT EAN FROM ARTIKLI WHERE EAN = ?1"),
      line_(db,
            "SELECT _ROW, POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE "
            "STEVINVENTURE = 1 AND ENOTA = 1 AND VRSTAPRODAJE = 'M' AND "
            "EAN = ?1"),
      last_(db,
            "SELECT USPESNOKNJIZENJE FROM INVTPS WHERE STEVINVENTURE = 1 AND "
            "ENOTA = 1 AND VRSTAPRODAJE = 'M' AND EANKODA = ?1 ORDER BY "
            "ZAPIS DESC, _ROW DESC LIMIT 1"),
      highest_(db, "SELECT MAX(ZAPIS) FROM INVTPS"),
      archive_(db,
               "INSERT INTO INVTPS (ZAPIS, STEVINVENTURE, ENOTA, VRSTAPRODAJE, EANKODA, "
               "KOLICINA, DATUMKNJIZENJA, URAKNJIZENJA, USPESNOKNJIZENJE, JENIVARTIKLIH) "
               "VALUES (?1, 1, 1, 'M', ?2, ?3, ?4, ?5, ?6, ?7)"),
      update_(db, "UPDATE INVENDET SET POPISANAZALOGA = ?1, NAREJENVNOS = 1 WHERE _ROW = ?2"),
      insert_(db,
              "INSERT INTO INVENDET (STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, NAZIV, "
              "POPISANAZALOGA, NAREJENVNOS) VALUES (1, 1, 'M', ?1, '', ?2, 1)") {}

template <typename Raw>
bool RawImport<Raw>::found(const std::string& code) {
    item_.text(1, code);
    const bool row = item_.row();
    item_.reset();
    return row;
}

template <typename Raw>
void RawImport<Raw>::run(const fs::path& capture, const fs::path& archiveFolder) {
    db_.beginWrite();
    std::ifstream in(capture, std::ios::binary);
    std::string text, code;
    std::int64_t quantity = 0;
    while (std::getline(in, text)) {
        if (!splitCaptureLine(text, code, quantity)) continue;
        const std::string full = code.substr(0, 13);
        std::string matched = full;
        bool known = found(full);
        if (!known && code.size() > 12 && found(code.substr(0, 12))) known = true, matched = code.substr(0, 12);
        if (!known && code.size() > 1 && found(code.substr(1, 12))) known = true, matched = code.substr(1, 12);
        line_.text(1, matched);
        const bool inTemplate = line_.row();
        std::int64_t counter = 0;
        if (inTemplate) {
            last_.text(1, matched);
            counter = (last_.row() ? last_.integer(0) : 0) + 1;
            last_.reset();
            const std::int64_t count = (line_.integer(2) == 1 ? line_.integer(1) : 0) + quantity;
            update_.number(1, count).number(2, line_.integer(0));
        } else if (known) {
            insert_.text(1, matched).number(2, quantity).run();
        }
        line_.reset();
        check(highest_.row(), "highest_");
        archive_.number(1, highest_.integer(0) + 1);
        highest_.reset();
        archive_.text(2, matched).number(3, (quantity + 5) / 10).number(4, dv::today())
            .number(5, dv::now()).number(6, counter).number(7, known ? 1 : 0).run();
        if (inTemplate) update_.run();
    }
    db_.commit();
    const fs::path copy = archiveFolder / "ARHINV_240315_0905";
    {
        std::ofstream out(copy, std::ios::binary);
        in.clear();
        in.seekg(0);
        out << in.rdbuf();
    }
    const int fd = ::open(copy.c_str(), O_RDONLY);
    check(fd >= 0 && ::fsync(fd) == 0, "fsync");
    ::close(fd);
    fs::remove(capture);
}

// ---- the posting of the differences

// The same work with SQLite alone: the checks; the template read with the stock per row (the
// check of moved stock, in a read transaction before the posting asks the user anything); then
// in one transaction the checks again, the two headers with the owner's partner row, the
// template read again with the item and stock per row (each rate and unit of measure once),
// one line added and the stock updated per row (only if nobody changed it since it was read),
// and the stocktake read and closed.
template <typename Raw>
std::int64_t rawPosting(Raw& db, std::int64_t owner, std::int64_t templateRows) {
    using Statement = typename Raw::Statement;
    Statement stocktake(db, "SELECT _ROW, _VERSION, DATUMZAKLJUCKA FROM INVENTUR WHERE "
                            "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE='M'");
    Statement document(db, "SELECT _ROW FROM DOKUMENT WHERE VRSTAPRODAJE='M' AND ENOTA=1 AND "
                           "OZNAKADOKUMENTA=?1 AND VRSTAPROMETA=?2 AND STEVILKADOKUMENTA=1");
    Statement existing(db, "SELECT _ROW FROM DOKPROME WHERE VRSTAPRODAJE='M' AND ENOTA=1 AND "
                           "OZNAKADOKUMENTA=?1 AND VRSTAPROMETA=?2 AND STEVILKADOKUMENTA=1 "
                           "LIMIT 1");
    Statement lines(db, "SELECT EAN, RACZALOGA, POPISANAZALOGA, NAZIV FROM INVENDET WHERE "
                        "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE='M' ORDER BY "
                        "STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, _ROW");
    Statement stock(db, "SELECT _ROW, _VERSION, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA FROM "
                        "ZALOGA WHERE EAN=?1 AND ENOTA=1");
    Statement item(db, "SELECT KRATEKNAZIV, DRUGIDELNAZIVA, DAVEK, MERSKAENOTA FROM ARTIKLI "
                       "WHERE EAN=?1");
    Statement rate(db, "SELECT STOPNJADDV FROM SFDDV WHERE SIFRADDV=?1");
    Statement measure(db, "SELECT NAZIVEM FROM SFEM WHERE SIFRAEM=?1");
    Statement partner(db, "SELECT DDV FROM SFPARTN WHERE SIFRA=?1");
    Statement line(db, "INSERT INTO DOKPROME (VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                       "STEVILKADOKUMENTA, ENOTA, POSTAVKADOKUMENTA, EAN, NAZIV, KOLICINA, "
                       "NAZIVEM, NABAVNACENA, PRODAJNACENABREZDDV, PRODAJNACENAZDDV, SIFRADDV, "
                       "STOPNJADDV, DATUMDOKUMENTA, PROMETNAZALOGO, BLAGOALISTORITEV) VALUES "
                       "('M', ?1, ?2, 1, 1, ?3, ?4, ?5, ?6, ?7, ?8, ?8, ?9, ?10, ?11, 81522, ?12, "
                       "'B')");
    Statement update(db, "UPDATE ZALOGA SET ZALOGA=?1, VREDNOSTZALOGE=?2, _VERSION=_VERSION+1 "
                         "WHERE _ROW=?3 AND _VERSION=?4");
    Statement header(db, "INSERT INTO DOKUMENT (ID, VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                         "STEVILKADOKUMENTA, ENOTA, DATUMDOKUMENTA, REFERENT, PARTNER, "
                         "STATUSPARTNERJA, STEVILKADOBAVNICE, DATUMDOBAVNICE, "
                         "STEVILKAPREJETEGARACUNA, DATUMPREJETEGARACUNA, DATUMSTORITVE, PREVZEL, "
                         "IZDAL, OPOMBEDOKUMENTA1) SELECT IFNULL(MAX(ID), 0) + 1, 'M', ?1, ?2, 1, "
                         "1, 81522, 1, 0, ?3, ?4, 81522, ?5, ?6, ?6, ?7, ?8, ?9 FROM DOKUMENT");
    Statement close(db, "UPDATE INVENTUR SET DATUMINVENTURE=81522, DATUMZAKLJUCKA=81527, "
                        "DOKUMENTMANJKOV=1, DOKUMENTVISKOV=1, _VERSION=_VERSION+1 WHERE _ROW=?1 "
                        "AND _VERSION=?2");
    rawChecks(stocktake, document, existing);
    db.beginRead();
    std::int64_t moved = 0, rows = 0;
    while (lines.row()) {
        ++rows;
        stock.text(1, lines.string(0));
        // An item without a stock row in the unit stands at 0, as the posting's check reads it.
        if ((stock.row() ? stock.integer(2) : 0) != lines.integer(1)) ++moved;
        stock.reset();
    }
    lines.reset();
    db.commit();
    check(moved == 0 && rows == templateRows, "moved stock");
    db.beginWrite();
    rawChecks(stocktake, document, existing);
    for (const bool surplus : {true, false}) {
        partner.number(1, owner);
        const std::string status = partner.row() ? partner.string(0) : "";
        partner.reset();
        header.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35).text(3, status)
            .text(4, surplus ? "INV.VIŠEK" : "INV.MANJKO").text(5, surplus ? "" : "INV. 1")
            .number(6, surplus ? 0 : 81522).text(7, surplus ? "Predsednik" : "")
            .text(8, surplus ? "" : "Predsednik")
            .text(9, surplus ? "Dokument inv. viškov pri inventuri štev. 1"
                             : "Dokument inv. manjkov pri inventuri štev. 1")
            .run();
    }
    std::int64_t surplusLine = 0, shortageLine = 0;
    std::map<std::int64_t, std::int64_t> rates;  // each code read once, as the posting does
    std::map<std::int64_t, std::string> measures;
    while (lines.row()) {
        const std::string ean = lines.string(0);
        const std::int64_t book = lines.integer(1), counted = lines.integer(2);
        if (book == counted) continue;
        item.text(1, ean);
        const bool hasItem = item.row();
        const std::string name = hasItem ? item.string(0) + item.string(1) : "";
        const std::int64_t rateCode = hasItem ? item.integer(2) : 0, unit = hasItem ? item.integer(3) : 0;
        item.reset();
        auto knownRate = rates.find(rateCode);
        if (knownRate == rates.end()) {
            rate.number(1, rateCode);
            knownRate = rates.emplace(rateCode, rate.row() ? rate.integer(0) : 0).first;
            rate.reset();
        }
        const std::int64_t rateUnits = knownRate->second;
        auto knownMeasure = measures.find(unit);
        if (knownMeasure == measures.end()) {
            measure.number(1, unit);
            knownMeasure = measures.emplace(unit, measure.row() ? measure.string(0) : "").first;
            measure.reset();
        }
        const std::string& unitName = knownMeasure->second;
        stock.text(1, ean);
        check(stock.row(), "stock row");
        const std::int64_t row = stock.integer(0), version = stock.integer(1),
                           q = stock.integer(2), w = stock.integer(3), last = stock.integer(4);
        stock.reset();
        const bool surplus = counted > book;
        const std::int64_t d = surplus ? counted - book : book - counted;
        const std::int64_t average = rounded(dv::Int128(w) * 100000, q);
        const std::int64_t price = surplus && last > 0 ? last : average * 100;
        line.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35)
            .number(3, surplus ? ++surplusLine : ++shortageLine).text(4, ean).text(5, name)
            .number(6, d).text(7, unitName).number(8, price)
            .number(9, rounded(dv::Int128(price) * (10000 + rateUnits), 10000))
            .number(10, rateCode).number(11, rateUnits).text(12, surplus ? "+" : "-").run();
        const std::int64_t change = rounded(dv::Int128(d) * average, 1000);
        update.number(1, surplus ? q + d : q - d)
            .number(2, rounded(w * 100 + (surplus ? change : -change), 100)).number(3, row)
            .number(4, version).run();
        check(db.changes() == 1, "stock changed by another station");
    }
    lines.reset();
    check(stocktake.row(), "stocktake");
    close.number(1, stocktake.integer(0)).number(2, stocktake.integer(1));
    stocktake.reset();
    close.run();
    check(db.changes() == 1, "stocktake changed by another station");
    db.commit();
    return surplusLine + shortageLine;
}

template class RawTemplate<SqliteRaw>;
template class RawTemplate<ServerRaw>;
template class RawImport<SqliteRaw>;
template class RawImport<ServerRaw>;
template std::int64_t rawPosting(SqliteRaw&, std::int64_t, std::int64_t);
template std::int64_t rawPosting(ServerRaw&, std::int64_t, std::int64_t);

}  // namespace dv::bench
