#include <cctype>
#include <charconv>
#include <initializer_list>

#include "runtime/EventKey.h"
#include "runtime/Layout.h"
#include "runtime/LayoutTokenizer.h"
#include "runtime/Picture.h"

namespace dv {
namespace {

// The layout language, one element a line:
//
//   window NAME "CAPTION" [frame] [resizable] [font="..."] [icon="..."] [wallpaper="..."]
//                         [timer=N] [table=TABLE] [first=?CONTROL]
//                         [procedure=list|form|print] [report=NAME] [title="..."]
//     TYPE [?NAME] ["TEXT"] [ATTRIBUTE ...]
//       column "HEADING" [picture=@...] [right | center] [field=TABLE:FIELD] [key=KEY]
//                                                                        (inside a list)
//
// The window line comes first and is not indented; every other line is indented with blanks,
// and a line indented deeper than the one before it lies inside that control. Attributes are
// flags (required, disabled, hidden, readonly, skip, default, paged, a string's link) or
// NAME=VALUE (tip, msg, help for both tip and msg, label, picture, value, true, false, from,
// icon, fg, bg; a link's hover colour; a button's key and call; a list's table, order, filter,
// locator, query, form and print; an option's radios=rule).
class Parser {
  public:
    explicit Parser(std::string_view source) { layout_.source = source; }

    WindowLayout parse(std::string_view text) {
        forEachLayoutLine(text, [this](std::string_view line) {
            ++line_;
            parseLine(line);
        });
        if (!sawHeader_) fail("the file has no window line");
        return std::move(layout_);
    }

  private:
    struct Level {
        int indent;
        int number;  // 0 for the window
        ControlType type;
        int childIndent = -1;  // the indentation of the lines it holds, once known
    };

    [[noreturn]] void fail(const std::string& reason) const {
        throw LayoutError(layout_.source + ":" + std::to_string(line_) + ": " + reason);
    }

    void parseLine(std::string_view text) {
        LayoutLine words = splitLayoutLine(text);
        if (!words.ok()) fail(words.error);
        if (words.tokens.empty()) return;
        const std::optional<int> margin = layoutIndent(text);
        if (!margin) fail("indent with blanks, not tabs");
        const int indent = *margin;
        if (!sawHeader_) {
            if (indent != 0) fail("the window line must not be indented");
            header(words.tokens);
            return;
        }
        if (indent == 0) fail("only the window line starts at the left margin");
        const std::string& keyword = words.tokens[0].text;
        if (keyword == "column" && !words.tokens[0].quoted)
            column(indent, words.tokens);
        else
            control(indent, words.tokens);
    }

    void header(const std::vector<LayoutToken>& tokens) {
        if (tokens[0].quoted || tokens[0].text != "window")
            fail("the file must begin with 'window'");
        if (tokens.size() < 3 || tokens[1].quoted || !tokens[2].quoted)
            fail("expected: window NAME \"CAPTION\"");
        layout_.name = tokens[1].text;
        checkIdentifier(layout_.name, "window name");
        layout_.caption = tokens[2].text;
        for (std::size_t i = 3; i < tokens.size(); ++i) windowAttribute(tokens[i]);
        sawHeader_ = true;
        levels_.push_back({0, 0, ControlType::Group, -1});
    }

    void windowAttribute(const LayoutToken& token) {
        auto [key, value, hasValue] = splitAttribute(token);
        if (key == "frame" && !hasValue)
            layout_.frame = true;
        else if (key == "resizable" && !hasValue)
            layout_.resizable = true;
        else if (key == "font" && hasValue)
            layout_.font = value;
        else if (key == "icon" && hasValue)
            layout_.icon = value;
        else if (key == "wallpaper" && hasValue)
            layout_.wallpaper = value;
        else if (key == "timer" && hasValue)
            layout_.timer = number(value, key);
        else if (key == "table" && hasValue)
            layout_.table = identifier(value, key);
        else if (key == "first" && hasValue)
            layout_.first = controlReference(value, key);
        else if (key == "procedure" && (value == "list" || value == "form" || value == "print"))
            layout_.procedure = value;
        else if (key == "report" && hasValue)
            layout_.report = identifier(value, key);
        else if (key == "title" && hasValue)
            layout_.title = value;
        else
            fail("unknown window attribute '" + token.text + "'");
    }

    // Pops the levels the indentation closes and returns the one that holds the new line; the
    // lines a level holds share one indentation.
    const Level& parentFor(int indent) {
        while (levels_.back().indent >= indent) levels_.pop_back();
        Level& parent = levels_.back();
        if (parent.childIndent < 0)
            parent.childIndent = indent;
        else if (parent.childIndent != indent)
            fail("the indentation matches no outer line");
        return parent;
    }

    void control(int indent, const std::vector<LayoutToken>& tokens) {
        const auto type = tokens[0].quoted ? std::nullopt : controlTypeFromKeyword(tokens[0].text);
        if (!type) fail("unknown control type '" + tokens[0].text + "'");
        const Level parent = parentFor(indent);
        checkPlacement(parent, *type);

        ControlLayout declared;
        declared.type = *type;
        declared.parent = parent.number;
        declared.line = line_;
        std::size_t i = 1;
        if (i < tokens.size() && !tokens[i].quoted && tokens[i].text.starts_with('?'))
            declared.name = controlName(tokens[i++].text);
        if (i < tokens.size() && tokens[i].quoted) declared.text = tokens[i++].text;
        for (; i < tokens.size(); ++i) controlAttribute(declared, tokens[i]);
        checkControl(declared);

        layout_.controls.push_back(std::move(declared));
        const int number = static_cast<int>(layout_.controls.size());
        if (isContainerType(*type) || *type == ControlType::List)
            levels_.push_back({indent, number, *type, -1});
    }

    void checkPlacement(const Level& parent, ControlType type) const {
        if (parent.number == 0) {
            if (type == ControlType::Radio || type == ControlType::Tab ||
                type == ControlType::Menu || type == ControlType::Item)
                fail(std::string(controlTypeKeyword(type)) + " must lie inside " +
                     (type == ControlType::Radio ? "an option"
                      : type == ControlType::Tab ? "a sheet"
                                                 : "a menu"));
            if ((type == ControlType::MenuBar || type == ControlType::Toolbar) && !layout_.frame)
                fail(std::string(controlTypeKeyword(type)) + " belongs to a frame window");
            return;
        }
        if (!canContain(parent.type, type))
            fail(withArticle(controlTypeKeyword(parent.type)) + " cannot hold " +
                 withArticle(controlTypeKeyword(type)));
    }

    std::string controlName(const std::string& word) const {
        std::string name = word.substr(1);
        checkIdentifier(name, "control name");
        for (const ControlLayout& other : layout_.controls)
            if (sameControlName(other.name, name))
                fail("control ?" + name + " is declared twice (first on line " +
                     std::to_string(other.line) + ")");
        return name;
    }

    void checkIdentifier(const std::string& name, const char* what) const {
        if (name.empty()) fail(std::string(what) + " is empty");
        for (unsigned char c : name)
            if (!(std::isalnum(c) || c == '_' || c == ':' || c >= 0x80))
                fail(std::string(what) + " '" + name + "' has the character '" +
                     static_cast<char>(c) + "'");
    }

    void controlAttribute(ControlLayout& declared, const LayoutToken& token) {
        if (token.quoted) fail("unexpected text \"" + token.text + "\"");
        auto [key, value, hasValue] = splitAttribute(token);
        const ControlType t = declared.type;
        if (!hasValue) {
            if (key == "required" && appliesTo(t, kRequirableTypes))
                declared.required = true;
            else if (key == "disabled")
                declared.disabled = true;
            else if (key == "hidden")
                declared.hidden = true;
            else if (key == "readonly" && appliesTo(t, {ControlType::Entry, ControlType::Spin,
                                                        ControlType::TextBox, ControlType::Combo}))
                declared.readOnly = true;
            else if (key == "skip")
                declared.skip = true;
            else if (key == "default" && t == ControlType::Button)
                declared.isDefault = true;
            else if (key == "paged" && t == ControlType::List)
                declared.paged = true;
            else if (key == "link" && t == ControlType::String)
                declared.link = true;
            else
                badAttribute(declared, token);
            return;
        }
        if (key == "tip")
            declared.tip = value;
        else if (key == "msg")
            declared.message = value;
        else if (key == "help")
            declared.tip = declared.message = value;
        else if (key == "label" && appliesTo(t, kRequirableTypes))
            declared.label = value;
        else if (key == "key" && t == ControlType::Button)
            declared.key = keyAttribute(value);
        else if (key == "call" && t == ControlType::Button)
            declared.call = identifier(value, key);
        else if (key == "radios" && t == ControlType::Option && value == "rule")
            declared.radiosFromRule = true;
        else if (t == ControlType::List && listAttribute(declared.binding, key, value))
            return;
        else if (key == "picture" &&
                 appliesTo(t, {ControlType::Entry, ControlType::Spin, ControlType::Combo,
                               ControlType::DropList, ControlType::String}))
            declared.picture = picture(value);
        else if (key == "value" && t == ControlType::Radio)
            declared.value = value;
        else if (key == "true" && t == ControlType::Check)
            declared.trueValue = value;
        else if (key == "false" && t == ControlType::Check)
            declared.falseValue = value;
        else if (key == "from" && appliesTo(t, {ControlType::DropList, ControlType::Combo}))
            declared.choices = splitChoices(value);
        else if (key == "icon" &&
                 appliesTo(t, {ControlType::Button, ControlType::Image, ControlType::Item}))
            declared.icon = value;
        else if (key == "fg")
            declared.foreground = number(value, key);
        else if (key == "bg")
            declared.background = number(value, key);
        else if (key == "hover" && t == ControlType::String)
            declared.hover = number(value, key);
        else
            badAttribute(declared, token);
    }

    static constexpr std::initializer_list<ControlType> kRequirableTypes = {
        ControlType::Entry, ControlType::Spin,     ControlType::TextBox,
        ControlType::Combo, ControlType::DropList, ControlType::Option};

    bool listAttribute(ListBinding& binding, const std::string& key,
                       const std::string& value) const {
        if (key == "table")
            binding.table = identifier(value, key);
        else if (key == "order")
            binding.order = identifier(value, key);
        else if (key == "filter")
            binding.filter = value;
        else if (key == "locator")
            binding.locator = controlReference(value, key);
        else if (key == "query")
            binding.query = controlReference(value, key);
        else if (key == "form")
            binding.form = identifier(value, key);
        else if (key == "print")
            binding.print = identifier(value, key);
        else
            return false;
        return true;
    }

    std::string identifier(const std::string& value, const std::string& key) const {
        checkIdentifier(value, key.c_str());
        return value;
    }

    // A control named by an attribute: "?Lokator" (the "?" is required, as on control lines).
    std::string controlReference(const std::string& value, const std::string& key) const {
        if (!value.starts_with('?')) fail(key + " names a control: ?NAME, not '" + value + "'");
        return identifier(value.substr(1), key);
    }

    int keyAttribute(const std::string& value) const {
        const std::optional<KeyCode> code = keyFromName(value);
        if (!code) fail("key '" + value + "' is not a key name");
        return *code;
    }

    void column(int indent, const std::vector<LayoutToken>& tokens) {
        const Level& parent = parentFor(indent);
        if (parent.type != ControlType::List || parent.number == 0)
            fail("a column must lie inside a list");
        if (tokens.size() < 2 || !tokens[1].quoted) fail("expected: column \"HEADING\"");
        ListColumn col;
        col.heading = tokens[1].text;
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            auto [key, value, hasValue] = splitAttribute(tokens[i]);
            if (tokens[i].quoted) fail("unexpected text \"" + tokens[i].text + "\"");
            if (key == "picture" && hasValue)
                col.picture = picture(value);
            else if (key == "right" && !hasValue)
                col.rightAligned = true;
            else if (key == "center" && !hasValue)
                col.centred = true;
            else if (key == "field" && hasValue)
                col.field = identifier(value, key);
            else if (key == "key" && hasValue)
                col.key = identifier(value, key);
            else
                fail("unknown column attribute '" + tokens[i].text + "'");
        }
        layout_.controls[static_cast<std::size_t>(parent.number - 1)].columns.push_back(col);
    }

    void checkControl(const ControlLayout& declared) const {
        if (declared.type == ControlType::DropList && declared.choices.empty())
            fail("a droplist needs its choices (from=\"A|B\")");
    }

    [[noreturn]] void badAttribute(const ControlLayout& declared, const LayoutToken& token) const {
        fail("'" + token.text + "' is not an attribute of " +
             withArticle(controlTypeKeyword(declared.type)));
    }

    static std::string withArticle(std::string_view word) {
        const bool vowel = !word.empty() && std::string_view("aeiou").find(word[0]) != word.npos;
        return (vowel ? "an " : "a ") + std::string(word);
    }

    static bool appliesTo(ControlType type, std::initializer_list<ControlType> types) {
        for (ControlType t : types)
            if (t == type) return true;
        return false;
    }

    struct Attribute {
        std::string key;
        std::string value;
        bool hasValue;
    };

    static Attribute splitAttribute(const LayoutToken& token) {
        const std::size_t eq = token.text.find('=');
        if (eq == std::string::npos) return {token.text, {}, false};
        return {token.text.substr(0, eq), token.text.substr(eq + 1), true};
    }

    std::string picture(const std::string& text) const {
        std::string reason;
        if (!Picture::parse(text, &reason)) fail("picture " + text + ": " + reason);
        return text;
    }

    int number(const std::string& text, const std::string& key) const {
        int value = 0;
        const char* end = text.data() + text.size();
        auto [ptr, ec] = std::from_chars(text.data(), end, value);
        if (ec != std::errc() || ptr != end)
            fail(key + " needs a whole number, not '" + text + "'");
        return value;
    }

    static std::vector<std::string> splitChoices(const std::string& text) {
        std::vector<std::string> choices;
        std::size_t start = 0;
        while (true) {
            const std::size_t bar = text.find('|', start);
            choices.push_back(text.substr(start, bar - start));
            if (bar == std::string::npos) return choices;
            start = bar + 1;
        }
    }

    WindowLayout layout_;
    std::vector<Level> levels_;
    int line_ = 0;
    bool sawHeader_ = false;
};

}  // namespace

WindowLayout parseLayout(std::string_view text, std::string_view source) {
    return Parser(source).parse(text);
}

}  // namespace dv
