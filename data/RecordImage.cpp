#include "data/RecordImage.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "data/FieldAccess.h"
#include "data/PackedDecimal.h"
#include "runtime/Date.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;
// Why an element could not be carried across; empty when it was.
using Problem = std::string;

bool inImage(const FieldDef& field) {
    return field.type != FieldType::Group && field.type != FieldType::Memo;
}

bool isSignedInteger(FieldType type) {
    return type == FieldType::Short || type == FieldType::Long;
}

void putLittleEndian(std::uint64_t value, Bytes out) {
    for (std::uint8_t& byte : out) {
        byte = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

std::uint64_t getLittleEndian(ConstBytes in) {
    std::uint64_t value = 0;
    for (std::size_t i = in.size(); i-- > 0;) value = (value << 8) | in[i];
    return value;
}

std::int64_t integerFromImage(FieldType type, ConstBytes in) {
    const std::uint64_t raw = getLittleEndian(in);
    const unsigned bits = static_cast<unsigned>(in.size() * 8);
    if (!isSignedInteger(type) || bits >= 64 || (raw >> (bits - 1)) == 0)
        return static_cast<std::int64_t>(raw);
    return static_cast<std::int64_t>(raw | (~std::uint64_t{0} << bits));
}

Problem encodeDate(std::int64_t day, Bytes out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (day == 0) return {};
    const CivilDate date = civilDate(static_cast<DayNumber>(day));
    if (date.year == 0) return "day number " + std::to_string(day) + " is not a calendar date";
    out[0] = static_cast<std::uint8_t>(date.day);
    out[1] = static_cast<std::uint8_t>(date.month);
    putLittleEndian(static_cast<std::uint64_t>(date.year), out.subspan(2, 2));
    return {};
}

Problem decodeDate(ConstBytes in, DayNumber& day) {
    day = 0;
    if (std::all_of(in.begin(), in.end(), [](std::uint8_t b) { return b == 0; })) return {};
    const int year = static_cast<int>(getLittleEndian(in.subspan(2, 2)));
    day = dayNumber(year, in[1], in[0]);
    if (day != 0) return {};
    return "bytes " + std::to_string(in[0]) + "." + std::to_string(in[1]) + "." +
           std::to_string(year) + " are not a date";
}

void encodeText(std::string_view text, Bytes out) {
    std::fill(out.begin(), out.end(), std::uint8_t{' '});
    std::copy_n(text.begin(), std::min(text.size(), out.size()), out.begin());
}

void encodeZeroTerminated(std::string_view text, Bytes out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    text = trimTrailingBlanks(text);
    std::copy_n(text.begin(), std::min(text.size(), out.size() - 1), out.begin());
}

std::string_view textOf(ConstBytes in) {
    return {reinterpret_cast<const char*>(in.data()), in.size()};
}

std::string_view zeroTerminatedOf(ConstBytes in) {
    const auto end = std::find(in.begin(), in.end(), std::uint8_t{0});
    return textOf(in.first(static_cast<std::size_t>(end - in.begin())));
}

Problem encodeElement(const FieldDef& field, const void* record, int element, Bytes out) {
    switch (field.type) {
        case FieldType::Byte:
        case FieldType::Short:
        case FieldType::UShort:
        case FieldType::Long:
        case FieldType::ULong:
            putLittleEndian(static_cast<std::uint64_t>(readInteger(record, field, element)), out);
            return {};
        case FieldType::Date:
            return encodeDate(readInteger(record, field, element), out);
        case FieldType::String:
            encodeText(readText(record, field, element), out);
            return {};
        case FieldType::CString:
            encodeZeroTerminated(readText(record, field, element), out);
            return {};
        case FieldType::Decimal: {
            const std::int64_t units = readDecimalUnits(record, field, element);
            if (encodePackedDecimal(units, field.digits, out)) return {};
            return "value of " + std::to_string(units) + " units exceeds " +
                   std::to_string(field.digits) + " digits";
        }
        case FieldType::Memo:
        case FieldType::Group:
            return {};
    }
    return {};
}

Problem decodeElement(const FieldDef& field, ConstBytes in, void* record, int element) {
    switch (field.type) {
        case FieldType::Byte:
        case FieldType::Short:
        case FieldType::UShort:
        case FieldType::Long:
        case FieldType::ULong:
            writeInteger(record, field, integerFromImage(field.type, in), element);
            return {};
        case FieldType::Date: {
            DayNumber day = 0;
            Problem problem = decodeDate(in, day);
            writeInteger(record, field, day, element);
            return problem;
        }
        case FieldType::String:
            writeText(record, field, textOf(in), element);
            return {};
        case FieldType::CString:
            writeText(record, field, zeroTerminatedOf(in), element);
            return {};
        case FieldType::Decimal: {
            const auto units = decodePackedDecimal(in, field.digits);
            writeDecimalUnits(record, field, units.value_or(0), element);
            if (units) return {};
            return "bytes are not a packed decimal of " + std::to_string(field.digits) + " digits";
        }
        case FieldType::Memo:
        case FieldType::Group:
            return {};
    }
    return {};
}

// The bytes of one element of `field` within `bytes`, which start at image offset `base`.
template <typename Span>
Span elementBytes(Span bytes, const FieldDef& field, int element, std::uint32_t base = 0) {
    return bytes.subspan(field.offset - base + static_cast<std::size_t>(element) * field.size,
                         field.size);
}

void requireImageSize(const TableDef& table, std::size_t size) {
    if (size != table.recordSize)
        throw std::invalid_argument("record image of " + std::string(table.name) + " must have " +
                                    std::to_string(table.recordSize) + " bytes");
}

const FieldDef& requireGroup(const TableDef& table, int group) {
    if (group < 0 || static_cast<std::size_t>(group) >= table.fields.size() ||
        table.fields[static_cast<std::size_t>(group)].type != FieldType::Group)
        throw std::invalid_argument("field is not a group of " + std::string(table.name));
    return table.fields[static_cast<std::size_t>(group)];
}

// Encodes (or decodes) fields [first, last) of `table` between the record and `bytes`, which
// hold the image from offset `base`; returns the first problem.
template <typename Span, typename Record>
std::optional<ImageError> transfer(const TableDef& table, std::size_t first, std::size_t last,
                                   Span bytes, std::uint32_t base, Record record) {
    std::optional<ImageError> firstError;
    for (std::size_t i = first; i < last; ++i) {
        const FieldDef& field = table.fields[i];
        if (!inImage(field)) continue;
        for (int element = 0; element < field.dim; ++element) {
            Span out = elementBytes(bytes, field, element, base);
            Problem problem;
            if constexpr (std::is_const_v<std::remove_pointer_t<Record>>)
                problem = encodeElement(field, record, element, out);
            else
                problem = decodeElement(field, out, record, element);
            if (!problem.empty() && !firstError)
                firstError = ImageError{static_cast<int>(i), std::move(problem)};
        }
    }
    return firstError;
}

}  // namespace

std::optional<ImageError> encodeRecord(const TableDef& table, const void* record, Bytes image) {
    requireImageSize(table, image.size());
    return transfer(table, 0, table.fields.size(), image, 0, record);
}

std::optional<ImageError> decodeRecord(const TableDef& table, ConstBytes image, void* record) {
    requireImageSize(table, image.size());
    return transfer(table, 0, table.fields.size(), image, 0, record);
}

std::string groupText(const TableDef& table, const void* record, int group) {
    const FieldDef& field = requireGroup(table, group);
    std::vector<std::uint8_t> bytes(field.size);
    const auto first = static_cast<std::size_t>(group) + 1;
    transfer(table, first, first + field.groupFields, Bytes(bytes), field.offset, record);
    return std::string(textOf(bytes));
}

std::optional<ImageError> setGroupText(const TableDef& table, void* record, int group,
                                       std::string_view cp1250) {
    const FieldDef& field = requireGroup(table, group);
    std::vector<std::uint8_t> bytes(field.size);
    encodeText(cp1250, bytes);
    const auto first = static_cast<std::size_t>(group) + 1;
    return transfer(table, first, first + field.groupFields, ConstBytes(bytes), field.offset,
                    record);
}

}  // namespace dv
