#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/JsonWriter.h"

namespace dv {
namespace {

TEST(JsonWriter, NestsObjectsAndArraysWithCommas) {
    JsonWriter json;
    json.beginArray();
    json.beginObject().key("a").value(1).key("b").beginArray().value(true).null().endArray();
    json.endObject();
    json.beginObject().endObject();
    json.beginArray().endArray();
    json.value(std::int64_t{-9000000000});
    json.endArray();
    EXPECT_EQ(json.text(), R"([{"a":1,"b":[true,null]},{},[],-9000000000])");
    EXPECT_TRUE(json.complete());
}

TEST(JsonWriter, EscapesTextAndKeepsUtf8) {
    JsonWriter json;
    json.beginObject();
    json.key("q\"k").value("a\"b\\c");
    json.key("ctl").value(std::string_view("line\nnext\ttab\x01", 14));
    json.key("si").value(" PO ŠTEVILKI");
    json.key("path").value("..\\APPINS.TPS");
    json.endObject();
    EXPECT_EQ(json.text(),
              "{\"q\\\"k\":\"a\\\"b\\\\c\",\"ctl\":\"line\\u000anext\\u0009tab\\u0001\","
              "\"si\":\" PO ŠTEVILKI\",\"path\":\"..\\\\APPINS.TPS\"}");
}

TEST(JsonWriter, ReplacesBytesOfMalformedUtf8) {
    JsonWriter json;
    json.value("a\xE8z");  // a code page byte, not UTF-8
    EXPECT_EQ(json.text(), "\"a\\ufffdz\"");
}

TEST(JsonWriter, RefusesMalformedNesting) {
    JsonWriter needsKey;
    needsKey.beginObject();
    EXPECT_THROW(needsKey.value(1), std::logic_error);

    JsonWriter keyOutside;
    EXPECT_THROW(keyOutside.key("k"), std::logic_error);

    JsonWriter mismatched;
    mismatched.beginArray();
    EXPECT_THROW(mismatched.endObject(), std::logic_error);

    JsonWriter danglingKey;
    danglingKey.beginObject().key("k");
    EXPECT_THROW(danglingKey.endObject(), std::logic_error);
    EXPECT_FALSE(danglingKey.complete());

    JsonWriter twoValues;
    twoValues.value(1);
    EXPECT_THROW(twoValues.value(2), std::logic_error);
}

}  // namespace
}  // namespace dv
