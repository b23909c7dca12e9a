#include "data/FieldAccess.h"

#include <algorithm>
#include <cstring>

namespace dv {
namespace {

// Bytes one element occupies in the typed record (the member type of data/TableDef.h).
std::size_t memberElementSize(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Byte:
            return 1;
        case FieldType::Short:
        case FieldType::UShort:
            return 2;
        case FieldType::Long:
        case FieldType::ULong:
        case FieldType::Date:
            return 4;
        case FieldType::Decimal:
            return sizeof(std::int64_t);
        case FieldType::String:
        case FieldType::CString:
        case FieldType::Memo:
            return field.size;
        case FieldType::Group:
            break;
    }
    return 0;
}

const unsigned char* elementAt(const void* record, const FieldDef& field, int element) {
    return static_cast<const unsigned char*>(record) + field.memberOffset +
           static_cast<std::size_t>(element) * memberElementSize(field);
}

unsigned char* elementAt(void* record, const FieldDef& field, int element) {
    return static_cast<unsigned char*>(record) + field.memberOffset +
           static_cast<std::size_t>(element) * memberElementSize(field);
}

template <typename T>
T load(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void store(unsigned char* at, std::int64_t value) {
    const T narrowed = static_cast<T>(value);
    std::memcpy(at, &narrowed, sizeof narrowed);
}

}  // namespace

std::int64_t readInteger(const void* record, const FieldDef& field, int element) {
    const unsigned char* at = elementAt(record, field, element);
    switch (field.type) {
        case FieldType::Byte:
            return load<std::uint8_t>(at);
        case FieldType::Short:
            return load<std::int16_t>(at);
        case FieldType::UShort:
            return load<std::uint16_t>(at);
        case FieldType::Long:
        case FieldType::Date:
            return load<std::int32_t>(at);
        case FieldType::ULong:
            return load<std::uint32_t>(at);
        case FieldType::Decimal:
            return load<std::int64_t>(at);
        default:
            return 0;
    }
}

void writeInteger(void* record, const FieldDef& field, std::int64_t value, int element) {
    unsigned char* at = elementAt(record, field, element);
    switch (field.type) {
        case FieldType::Byte:
            return store<std::uint8_t>(at, value);
        case FieldType::Short:
            return store<std::int16_t>(at, value);
        case FieldType::UShort:
            return store<std::uint16_t>(at, value);
        case FieldType::Long:
        case FieldType::Date:
            return store<std::int32_t>(at, value);
        case FieldType::ULong:
            return store<std::uint32_t>(at, value);
        case FieldType::Decimal:
            return store<std::int64_t>(at, value);
        default:
            return;
    }
}

std::int64_t readDecimalUnits(const void* record, const FieldDef& field, int element) {
    return load<std::int64_t>(elementAt(record, field, element));
}

void writeDecimalUnits(void* record, const FieldDef& field, std::int64_t units, int element) {
    store<std::int64_t>(elementAt(record, field, element), units);
}

bool sameElement(const void* a, const void* b, const FieldDef& field, int element) {
    return std::memcmp(elementAt(a, field, element), elementAt(b, field, element),
                       memberElementSize(field)) == 0;
}

std::string_view readText(const void* record, const FieldDef& field, int element) {
    return std::string_view(reinterpret_cast<const char*>(elementAt(record, field, element)),
                            textWidth(field));
}

void writeText(void* record, const FieldDef& field, std::string_view cp1250, int element) {
    unsigned char* at = elementAt(record, field, element);
    const std::size_t width = textWidth(field);
    const std::size_t length = std::min(cp1250.size(), width);
    if (length > 0) std::memcpy(at, cp1250.data(), length);
    std::memset(at + length, ' ', width - length);
}

// Every text member (String, CString, Memo) is a FixedText of `size` bytes; for a CString the
// record image keeps the last of them for the terminating NUL, the typed record does not.
std::size_t textWidth(const FieldDef& field) {
    return field.type == FieldType::String || field.type == FieldType::CString ||
                   field.type == FieldType::Memo
               ? field.size
               : 0;
}

}  // namespace dv
