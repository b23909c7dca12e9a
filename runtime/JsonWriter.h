#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

// Writes JSON text into a string, one value after another: objects and arrays are opened and
// closed explicitly, a member is key() followed by its value. Commas are placed as needed; text
// is escaped (quotes, backslashes, control characters), and text that is not well-formed UTF-8
// has each byte above 0x7F written as U+FFFD, so the output is always valid UTF-8 JSON. Nesting
// mistakes (a value where a key is due, closing what is not open) throw std::logic_error.
class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    // The text written so far; complete once every object and array is closed.
    const std::string& text() const { return out_; }
    bool complete() const { return scopes_.empty() && wroteValue_; }

  private:
    struct Scope {
        bool object;
        bool empty = true;
        bool keyPending = false;
    };

    void beforeValue();
    void open(bool object, char bracket);
    void close(bool object, char bracket);
    void writeString(std::string_view text);

    std::string out_;
    std::vector<Scope> scopes_;
    bool wroteValue_ = false;
};

}  // namespace dv
