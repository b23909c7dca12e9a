#include "runtime/JsonWriter.h"

#include <cstdio>
#include <stdexcept>

#include "runtime/CodePage1250.h"

namespace dv {

void JsonWriter::beforeValue() {
    if (scopes_.empty()) {
        if (wroteValue_) throw std::logic_error("JSON text holds one value");
        wroteValue_ = true;
        return;
    }
    Scope& scope = scopes_.back();
    if (scope.object) {
        if (!scope.keyPending) throw std::logic_error("JSON object member needs a key");
        scope.keyPending = false;
        return;
    }
    if (!scope.empty) out_ += ',';
    scope.empty = false;
}

void JsonWriter::open(bool object, char bracket) {
    beforeValue();
    out_ += bracket;
    scopes_.push_back(Scope{object});
}

void JsonWriter::close(bool object, char bracket) {
    if (scopes_.empty() || scopes_.back().object != object || scopes_.back().keyPending)
        throw std::logic_error("JSON close does not match what is open");
    scopes_.pop_back();
    out_ += bracket;
}

JsonWriter& JsonWriter::beginObject() {
    open(true, '{');
    return *this;
}
JsonWriter& JsonWriter::endObject() {
    close(true, '}');
    return *this;
}
JsonWriter& JsonWriter::beginArray() {
    open(false, '[');
    return *this;
}
JsonWriter& JsonWriter::endArray() {
    close(false, ']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    if (scopes_.empty() || !scopes_.back().object || scopes_.back().keyPending)
        throw std::logic_error("JSON key outside an object");
    Scope& scope = scopes_.back();
    if (!scope.empty) out_ += ',';
    scope.empty = false;
    scope.keyPending = true;
    writeString(name);
    out_ += ':';
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    writeString(text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    out_ += "null";
    return *this;
}

void JsonWriter::writeString(std::string_view text) {
    const bool valid = isValidUtf8(text);
    out_ += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out_ += escaped;
        } else if (byte >= 0x80 && !valid) {
            out_ += "\\ufffd";
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

}  // namespace dv
