#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "data/PackedDecimal.h"
#include "data/RecordBuffers.h"
#include "data/RecordImage.h"
#include "runtime/Date.h"
#include "schema/Records.h"

namespace dv {
namespace {

using Bytes = std::vector<std::uint8_t>;

const TableDef& table(std::string_view name) {
    return *findTable(name);
}

int fieldIndex(const TableDef& t, std::string_view name) {
    const int index = t.findField(name);
    if (index < 0) throw std::runtime_error("no field " + std::string(name));
    return index;
}

const FieldDef& field(const TableDef& t, std::string_view name) {
    return t.fields[static_cast<std::size_t>(fieldIndex(t, name))];
}

Bytes encode(const TableDef& t, const void* record) {
    Bytes image(t.recordSize, 0xEE);
    const auto error = encodeRecord(t, record, image);
    EXPECT_FALSE(error) << t.name << ": " << (error ? error->reason : "");
    return image;
}

Bytes slice(const Bytes& image, const FieldDef& f, int element = 0) {
    const auto begin = image.begin() + f.offset + element * f.size;
    return Bytes(begin, begin + f.size);
}

Bytes packed(std::int64_t units, int digits, std::size_t bytes) {
    Bytes out(bytes, 0xEE);
    EXPECT_TRUE(encodePackedDecimal(units, digits, out)) << units;
    return out;
}

TEST(RecordImagePackedDecimal, DigitsTwoPerByteAndTheSignInTheLastNibble) {
    EXPECT_EQ(packed(12345, 9, 5), (Bytes{0x00, 0x00, 0x12, 0x34, 0x5C}));
    EXPECT_EQ(packed(-12345, 9, 5), (Bytes{0x00, 0x00, 0x12, 0x34, 0x5D}));
    EXPECT_EQ(packed(0, 9, 5), (Bytes{0x00, 0x00, 0x00, 0x00, 0x0C}));
    EXPECT_EQ(packed(999999999, 9, 5), (Bytes{0x99, 0x99, 0x99, 0x99, 0x9C}));
    // 15 digits with 6 places: 123456789.123456 in 8 bytes.
    EXPECT_EQ(packed(123456789123456, 15, 8),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0x91, 0x23, 0x45, 0x6C}));
    EXPECT_EQ(decodePackedDecimal(packed(-987654321012345, 15, 8), 15), -987654321012345);
}

TEST(RecordImagePackedDecimal, RefusesWhatDoesNotFitAndBytesThatAreNoDecimal) {
    Bytes out(5, 0xEE);
    EXPECT_FALSE(encodePackedDecimal(1000000000, 9, out));
    EXPECT_EQ(out, Bytes(5, 0));
    EXPECT_FALSE(encodePackedDecimal(-1000000000, 9, out));
    Bytes three(3);
    EXPECT_FALSE(encodePackedDecimal(123456, 10, three));  // three bytes hold five digits
    EXPECT_TRUE(encodePackedDecimal(99999, 10, three));
    EXPECT_EQ(decodePackedDecimal(Bytes{0x00, 0x00, 0x12, 0x34, 0x5F}, 9), 12345);
    EXPECT_EQ(decodePackedDecimal(Bytes{0x00, 0x00, 0x12, 0x34, 0x5B}, 9), -12345);
    EXPECT_FALSE(decodePackedDecimal(Bytes{0x00, 0x00, 0x1A, 0x34, 0x5C}, 9));  // digit nibble
    EXPECT_FALSE(decodePackedDecimal(Bytes{0x00, 0x00, 0x12, 0x34, 0x55}, 9));  // sign nibble
    EXPECT_FALSE(decodePackedDecimal(Bytes{0x12, 0x34, 0x5C}, 4));              // 5 digits
    EXPECT_FALSE(decodePackedDecimal(Bytes{}, 9));
    EXPECT_FALSE(decodePackedDecimal(Bytes(12, 0x99), 30));  // beyond 64 bits
}

TEST(RecordImage, IntegersAreLittleEndianInTheirWidth) {
    const TableDef& t = table("INVTPS");
    INVTPSRecord record;
    clearRecord(t, &record);
    record.Zapis = 0x01020304;
    record.STEVINVENTURE = 0xFFFE;
    record.JENIVARTIKLIH = 1;
    record.URAKNJIZENJA = -2;
    const Bytes image = encode(t, &record);
    EXPECT_EQ(slice(image, field(t, "Zapis")), (Bytes{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(slice(image, field(t, "STEVINVENTURE")), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(slice(image, field(t, "JENIVARTIKLIH")), (Bytes{0x01}));
    EXPECT_EQ(slice(image, field(t, "URAKNJIZENJA")), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));

    INVTPSRecord back;
    clearRecord(t, &back);
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.Zapis, 0x01020304);
    EXPECT_EQ(back.STEVINVENTURE, 0xFFFE);
    EXPECT_EQ(back.URAKNJIZENJA, -2);
}

TEST(RecordImage, DecimalsRoundTripIncludingNegativeAndLongPrices) {
    const TableDef& invendet = table("INVENDET");
    INVENDETRecord line;
    clearRecord(invendet, &line);
    line.RacZaloga.setUnits(-12345);  // -12.345
    line.NABCENA.setUnits(99999999999);
    Bytes image = encode(invendet, &line);
    EXPECT_EQ(slice(image, field(invendet, "RacZaloga")), (Bytes{0x00, 0x00, 0x12, 0x34, 0x5D}));
    INVENDETRecord back;
    clearRecord(invendet, &back);
    EXPECT_FALSE(decodeRecord(invendet, image, &back));
    EXPECT_EQ(back.RacZaloga.units(), -12345);
    EXPECT_EQ(back.NABCENA.units(), 99999999999);

    const TableDef& artikli = table("ARTIKLI");
    ARTIKLIRecord item;
    clearRecord(artikli, &item);
    item.CENABREZDDV.setUnits(123456789123456);  // 123456789.123456
    item.MPCENA.setUnits(-123456789123456);
    image = encode(artikli, &item);
    EXPECT_EQ(slice(image, field(artikli, "CENABREZDDV")),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0x91, 0x23, 0x45, 0x6C}));
    ARTIKLIRecord itemBack;
    clearRecord(artikli, &itemBack);
    EXPECT_FALSE(decodeRecord(artikli, image, &itemBack));
    EXPECT_EQ(itemBack.CENABREZDDV.units(), 123456789123456);
    EXPECT_EQ(itemBack.MPCENA.units(), -123456789123456);
}

TEST(RecordImage, DecimalTooLargeForItsDigitsIsReportedNotWrapped) {
    const TableDef& t = table("INVENDET");
    INVENDETRecord line;
    clearRecord(t, &line);
    line.PopisanaZaloga.setUnits(1000000000);  // ten digits in a nine-digit field
    line.MPCENA.setUnits(5);
    Bytes image(t.recordSize);
    const auto error = encodeRecord(t, &line, image);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, fieldIndex(t, "PopisanaZaloga"));
    EXPECT_EQ(slice(image, field(t, "PopisanaZaloga")), Bytes(5, 0));
    // The fields after it are still written.
    EXPECT_EQ(decodePackedDecimal(slice(image, field(t, "MPCENA")), 13), 5);
}

TEST(RecordImage, BadDecimalBytesAreReportedAndReadAsZero) {
    const TableDef& t = table("INVENDET");
    INVENDETRecord line;
    clearRecord(t, &line);
    line.RacZaloga.setUnits(7);
    line.NarejenVnos = 1;
    Bytes image = encode(t, &line);
    image[field(t, "RacZaloga").offset] = 0xAB;
    INVENDETRecord back;
    clearRecord(t, &back);
    back.RacZaloga.setUnits(42);
    const auto error = decodeRecord(t, image, &back);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, fieldIndex(t, "RacZaloga"));
    EXPECT_EQ(back.RacZaloga.units(), 0);
    EXPECT_EQ(back.NarejenVnos, 1);
}

TEST(RecordImage, DatesAreDayMonthAndYear) {
    const TableDef& t = table("POPISINV");
    POPISINVRecord count;
    clearRecord(t, &count);
    count.DATUMPOPISA = dayNumber(2024, 3, 15);
    Bytes image = encode(t, &count);
    EXPECT_EQ(slice(image, field(t, "DATUMPOPISA")), (Bytes{15, 3, 0xE8, 0x07}));

    POPISINVRecord back;
    clearRecord(t, &back);
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.DATUMPOPISA, dayNumber(2024, 3, 15));

    count.DATUMPOPISA = 0;
    image = encode(t, &count);
    EXPECT_EQ(slice(image, field(t, "DATUMPOPISA")), Bytes(4, 0));
    back.DATUMPOPISA = 99;
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.DATUMPOPISA, 0);
}

TEST(RecordImage, ImpossibleDatesAreReported) {
    const TableDef& t = table("POPISINV");
    POPISINVRecord count;
    clearRecord(t, &count);
    count.DATUMPOPISA = -5;
    Bytes image(t.recordSize);
    auto error = encodeRecord(t, &count, image);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, fieldIndex(t, "DATUMPOPISA"));

    count.DATUMPOPISA = 0;
    image = encode(t, &count);
    const std::uint32_t at = field(t, "DATUMPOPISA").offset;
    image[at] = 31;
    image[at + 1] = 2;  // 31 February
    image[at + 2] = 0xE8;
    image[at + 3] = 0x07;
    POPISINVRecord back;
    clearRecord(t, &back);
    error = decodeRecord(t, image, &back);
    ASSERT_TRUE(error);
    EXPECT_EQ(back.DATUMPOPISA, 0);
}

TEST(RecordImage, TextIsCodePage1250PaddedWithBlanks) {
    const TableDef& t = table("ARTIKLI");
    ARTIKLIRecord item;
    clearRecord(t, &item);
    item.KRATEKNAZIV = "čšž Čaša";
    const Bytes image = encode(t, &item);
    Bytes expected = {0xE8, 0x9A, 0x9E, ' ', 0xC8, 'a', 0x9A, 'a'};
    expected.resize(20, ' ');
    EXPECT_EQ(slice(image, field(t, "KRATEKNAZIV")), expected);

    ARTIKLIRecord back;
    clearRecord(t, &back);
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.KRATEKNAZIV.str(), "čšž Čaša");
}

TEST(RecordImage, ZeroTerminatedTextKeepsRoomForItsTerminator) {
    const TableDef& t = table("APPINS");
    APPINSRecord company;
    clearRecord(t, &company);
    company.PRAVNAOBLIKA = "D.O.O.";
    Bytes image = encode(t, &company);
    EXPECT_EQ(slice(image, field(t, "PRAVNAOBLIKA")),
              (Bytes{'D', '.', 'O', '.', 'O', '.', 0, 0, 0, 0}));

    company.PRAVNAOBLIKA = "0123456789";  // fills the typed member; the image holds nine
    image = encode(t, &company);
    EXPECT_EQ(slice(image, field(t, "PRAVNAOBLIKA")),
              (Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', 0}));

    APPINSRecord back;
    clearRecord(t, &back);
    const std::uint32_t at = field(t, "PRAVNAOBLIKA").offset;
    const char stored[] = "S.P.\0XYZW";  // bytes after the terminator mean nothing
    std::memcpy(&image[at], stored, 10);
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.PRAVNAOBLIKA.str(), "S.P.");
    EXPECT_EQ(back.PRAVNAOBLIKA.raw(), "S.P.      ");
}

TEST(RecordImage, ArraysHoldTheirElementsOneAfterAnother) {
    const TableDef& t = table("ZALOGA");
    ZALOGARecord stock;
    clearRecord(t, &stock);
    stock.ZALOGAMESECA[0].setUnits(1500);
    stock.ZALOGAMESECA[14].setUnits(-7500);  // the last element: -7.5
    stock.PROMETMESECAVREDNOSTIZDAJA[14].setUnits(1);
    const Bytes image = encode(t, &stock);
    const FieldDef& monthly = field(t, "ZALOGAMESECA");
    EXPECT_EQ(slice(image, monthly, 0), (Bytes{0x00, 0x00, 0x01, 0x50, 0x0C}));
    EXPECT_EQ(slice(image, monthly, 14), (Bytes{0x00, 0x00, 0x07, 0x50, 0x0D}));
    EXPECT_EQ(image.size(), 625u);

    ZALOGARecord back;
    clearRecord(t, &back);
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.ZALOGAMESECA[14].units(), -7500);
    EXPECT_EQ(back.ZALOGAMESECA[13].units(), 0);
    EXPECT_EQ(back.PROMETMESECAVREDNOSTIZDAJA[14].units(), 1);
}

TEST(RecordImage, GroupIsReadAndWrittenAsOneText) {
    const TableDef& t = table("ARTIKLI");
    const int group = fieldIndex(t, "ARTIKLI:Naziv");
    ARTIKLIRecord item;
    clearRecord(t, &item);
    const std::string name = "Vijak M8 x 40, pocink" + std::string(19, ' ') + "an, paket 100 kosov";
    ASSERT_FALSE(setGroupText(t, &item, group, name));
    EXPECT_EQ(item.KRATEKNAZIV.str(), "Vijak M8 x 40, pocin");
    EXPECT_EQ(item.DRUGIDELNAZIVA.str(), "k" + std::string(19, ' ') + "an, paket 100 kosov");

    item.KRATEKNAZIV = "Kratko";
    item.DRUGIDELNAZIVA = "Drugo";
    const std::string text = groupText(t, &item, group);
    EXPECT_EQ(text, "Kratko" + std::string(14, ' ') + "Drugo" + std::string(35, ' '));

    // A shorter text is padded: the second part becomes blank.
    ASSERT_FALSE(setGroupText(t, &item, group, "Kratko"));
    EXPECT_TRUE(item.DRUGIDELNAZIVA.blank());
    EXPECT_THROW(groupText(t, &item, fieldIndex(t, "EAN")), std::invalid_argument);
}

TEST(RecordImage, MixedGroupSpansTheImageBytesOfItsFields) {
    const TableDef& t = table("SFPARTN");
    const int group = fieldIndex(t, "KLASIFIKACIJASKIS");
    SFPARTNRecord partner;
    clearRecord(t, &partner);
    partner.SKUPINA = "S.";
    partner.SIFRAKIS = 0x41424344;
    EXPECT_EQ(groupText(t, &partner, group), "S.DCBA");
    ASSERT_FALSE(setGroupText(t, &partner, group, "AB1234"));
    EXPECT_EQ(partner.SKUPINA.str(), "AB");
    EXPECT_EQ(partner.SIFRAKIS, 0x34333231);
}

TEST(RecordImage, MemosStayOutOfTheImage) {
    const TableDef& t = table("SFPARTFIN");
    SFPARTFINRecord partner;
    clearRecord(t, &partner);
    partner.SIFRA = 7;
    partner.Opombe = "opomba";
    const Bytes image = encode(t, &partner);
    EXPECT_EQ(image.size(), 718u);

    SFPARTFINRecord back;
    clearRecord(t, &back);
    back.Opombe = "ostane";
    EXPECT_FALSE(decodeRecord(t, image, &back));
    EXPECT_EQ(back.SIFRA, 7u);
    EXPECT_EQ(back.Opombe.str(), "ostane");
}

TEST(RecordImage, WrongImageSizeIsAProgrammingError) {
    const TableDef& t = table("SFEM");
    SFEMRecord unit;
    clearRecord(t, &unit);
    Bytes tooShort(t.recordSize - 1);
    EXPECT_THROW(encodeRecord(t, &unit, tooShort), std::invalid_argument);
    EXPECT_THROW(decodeRecord(t, tooShort, &unit), std::invalid_argument);
}

// Every field of every table filled with a value of its type survives encode and decode.
TEST(RecordImage, EveryTableRoundTrips) {
    for (const TableDef& t : dictionary()) {
        std::vector<unsigned char> record(t.recordStructSize);
        clearRecord(t, record.data());
        for (std::size_t i = 0; i < t.fields.size(); ++i) {
            const FieldDef& f = t.fields[i];
            const auto n = static_cast<std::int64_t>(i + 1);
            for (int e = 0; e < f.dim; ++e) {
                switch (f.type) {
                    case FieldType::String:
                    case FieldType::CString:
                        writeText(record.data(), f, "v" + std::to_string(i) + "\xE8", e);
                        break;
                    case FieldType::Date:
                        writeInteger(record.data(), f, dayNumber(2000 + e, 1 + e % 12, 1), e);
                        break;
                    case FieldType::Decimal:
                        writeDecimalUnits(record.data(), f, e % 2 ? -n * 101 : n * 101, e);
                        break;
                    case FieldType::Group:
                    case FieldType::Memo:
                        break;
                    default:
                        writeInteger(record.data(), f, n + e, e);
                }
            }
        }
        // Only the memo, stored apart, is not carried by the image.
        std::vector<unsigned char> back(t.recordStructSize);
        clearRecord(t, back.data());
        const Bytes image = encode(t, record.data());
        EXPECT_FALSE(decodeRecord(t, image, back.data())) << t.name;
        EXPECT_EQ(std::memcmp(record.data(), back.data(), record.size()), 0) << t.name;
    }
}

}  // namespace
}  // namespace dv
