#include <initializer_list>

#include "runtime/EventKey.h"
#include "runtime/Layout.h"
#include "runtime/LayoutReader.h"

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
// flags (required, disabled, hidden, readonly, skip, default, paged, a list's multiple, a
// string's link) or
// NAME=VALUE (tip, msg, help for both tip and msg, label, picture, value, true, false, from,
// icon, fg, bg; a link's hover colour; a button's key and call; a list's table, order, filter,
// locator, query, form and print; an option's radios=rule).
class Parser final : public LayoutReader {
  public:
    explicit Parser(std::string_view source) : LayoutReader(source, "window", "CAPTION") {
        layout_.source = source;
    }

    WindowLayout parse(std::string_view text) {
        read(text);
        return std::move(layout_);
    }

  private:
    void header(const std::string& name, const std::string& caption,
                std::span<const LayoutToken> attributes) override {
        layout_.name = name;
        layout_.caption = caption;
        for (const LayoutToken& token : attributes) windowAttribute(token);
    }

    void line(int indent, const std::vector<LayoutToken>& tokens) override {
        if (tokens[0].text == "column" && !tokens[0].quoted)
            column(indent, tokens);
        else
            control(indent, tokens);
    }

    // The type of the control a level opened; the window holds controls as a group does.
    ControlType typeOf(const Level& level) const {
        if (level.number == 0) return ControlType::Group;
        return layout_.controls[static_cast<std::size_t>(level.number - 1)].type;
    }

    void windowAttribute(const LayoutToken& token) {
        auto [key, value, hasValue] = attribute(token);
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
            layout_.timer = wholeNumber(value, key);
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

    void control(int indent, const std::vector<LayoutToken>& tokens) {
        const auto type = tokens[0].quoted ? std::nullopt : controlTypeFromKeyword(tokens[0].text);
        if (!type) fail("unknown control type '" + tokens[0].text + "'");
        const Level parent = parentFor(indent);
        checkPlacement(parent, *type);

        ControlLayout declared;
        declared.type = *type;
        declared.parent = parent.number;
        declared.line = lineNumber();
        std::size_t i = 1;
        if (i < tokens.size() && !tokens[i].quoted && tokens[i].text.starts_with('?'))
            declared.name = controlName(tokens[i++].text);
        if (i < tokens.size() && tokens[i].quoted) declared.text = tokens[i++].text;
        for (; i < tokens.size(); ++i) controlAttribute(declared, tokens[i]);
        checkControl(declared);

        layout_.controls.push_back(std::move(declared));
        const int number = static_cast<int>(layout_.controls.size());
        if (isContainerType(*type) || *type == ControlType::List) open(indent, number);
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
        if (!canContain(typeOf(parent), type))
            fail(withArticle(controlTypeKeyword(typeOf(parent))) + " cannot hold " +
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

    void controlAttribute(ControlLayout& declared, const LayoutToken& token) {
        if (token.quoted) fail("unexpected text \"" + token.text + "\"");
        auto [key, value, hasValue] = attribute(token);
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
            else if (key == "multiple" && t == ControlType::List)
                declared.multiple = true;
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
            declared.foreground = wholeNumber(value, key);
        else if (key == "bg")
            declared.background = wholeNumber(value, key);
        else if (key == "hover" && t == ControlType::String)
            declared.hover = wholeNumber(value, key);
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
        if (parent.number == 0 || typeOf(parent) != ControlType::List)
            fail("a column must lie inside a list");
        if (tokens.size() < 2 || !tokens[1].quoted) fail("expected: column \"HEADING\"");
        ListColumn col;
        col.heading = tokens[1].text;
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            auto [key, value, hasValue] = attribute(tokens[i]);
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
};

}  // namespace

WindowLayout parseLayout(std::string_view text, std::string_view source) {
    return Parser(source).parse(text);
}

}  // namespace dv
