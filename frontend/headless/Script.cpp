#include "frontend/headless/Script.h"

#include <charconv>
#include <functional>
#include <map>

#include "frontend/headless/HeadlessFrontEnd.h"
#include "runtime/Date.h"
#include "runtime/EventKey.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

using Arguments = std::vector<LayoutToken>;
// Checks a command's arguments; returns why they are wrong, empty when right.
using Check = std::function<std::string(const Arguments&)>;

bool isWord(const LayoutToken& token, std::string_view word) {
    return !token.quoted && token.text == word;
}

bool isPositive(const std::string& text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value > 0;
}

std::string needs(const Arguments& args, std::size_t count, std::string_view usage) {
    if (args.size() != count) return "expected: " + std::string(usage);
    return {};
}

std::string needsReference(const Arguments& args, std::size_t index) {
    if (!isControlReference(args[index]))
        return "\"" + args[index].text + "\" is not a control: write ?NAME or \"text\"";
    return {};
}

std::string checkExpect(const Arguments& args) {
    if (args.size() < 2) return "expected: expect REF WHAT ...";
    if (auto why = needsReference(args, 0); !why.empty()) return why;
    const std::string& what = args[1].text;
    if (what == "text") return needs(args, 3, "expect REF text \"VALUE\"");
    if (what == "enabled" || what == "disabled" || what == "visible" || what == "hidden" ||
        what == "focused")
        return needs(args, 2, "expect REF " + what);
    if (what == "rows") {
        if (args.size() != 3 || !(isPositive(args[2].text) || args[2].text == "0"))
            return "expected: expect REF rows N";
        return {};
    }
    if (what == "cell") {
        if (args.size() != 5 || !isPositive(args[2].text) || !isPositive(args[3].text))
            return "expected: expect REF cell ROW COLUMN \"VALUE\"";
        return {};
    }
    if (what == "marked") return needs(args, 3, "expect REF marked \"ROWS\"");
    return "expect checks text, enabled, disabled, visible, hidden, focused, rows, cell or "
           "marked, not '" +
           what + "'";
}

std::string checkAnswerFor(const Arguments& args, std::string_view verb, bool date) {
    if (args.size() != 1)
        return "expected: " + std::string(verb) + " \"...\" or " + std::string(verb) + " cancel";
    if (isWord(args[0], "cancel")) return {};
    if (date && parseScriptDate(args[0].text) == 0)
        return "\"" + args[0].text + "\" is not a date dd.mm.yyyy";
    return {};
}

std::string checkPreview(const Arguments& args) {
    if (args.empty()) return "expected: preview pages N | contains \"TEXT\" | pdf \"PATH\" | close";
    const std::string& what = args[0].text;
    if (what == "pages") {
        if (args.size() != 2 || !isPositive(args[1].text)) return "expected: preview pages N";
        return {};
    }
    if (what == "contains") return needs(args, 2, "preview contains \"TEXT\"");
    if (what == "pdf") return needs(args, 2, "preview pdf \"PATH\"");
    if (what == "close") return needs(args, 1, "preview close");
    return "preview checks pages, contains, pdf or close, not '" + what + "'";
}

const std::map<std::string, Check, std::less<>>& commandChecks() {
    static const std::map<std::string, Check, std::less<>> checks{
        {"start", [](const Arguments& a) { return needs(a, 1, "start PROCEDURE"); }},
        {"menu", [](const Arguments& a) { return needs(a, 2, "menu \"TOP\" \"ITEM\""); }},
        {"toolbar", [](const Arguments& a) { return needs(a, 1, "toolbar \"TEXT\""); }},
        {"window", [](const Arguments& a) { return needs(a, 1, "window \"CAPTION\""); }},
        {"focus",
         [](const Arguments& a) {
             auto why = needs(a, 1, "focus REF");
             return why.empty() ? needsReference(a, 0) : why;
         }},
        {"type",
         [](const Arguments& a) {
             // The typing ends with Tab, or with the Enter a scanner or a user ends a code with.
             const bool endsWithEnter = a.size() == 3 && isWord(a[2], "Enter");
             auto why = endsWithEnter ? std::string() : needs(a, 2, "type REF \"TEXT\" [Enter]");
             return why.empty() ? needsReference(a, 0) : why;
         }},
        {"press",
         [](const Arguments& a) {
             auto why = needs(a, 1, "press REF");
             return why.empty() ? needsReference(a, 0) : why;
         }},
        {"key",
         [](const Arguments& a) {
             auto why = needs(a, 1, "key KEY");
             if (why.empty() && !keyFromName(a[0].text)) why = "unknown key '" + a[0].text + "'";
             return why;
         }},
        {"tab", [](const Arguments& a) { return needs(a, 1, "tab \"TEXT\""); }},
        {"row",
         [](const Arguments& a) {
             auto why = needs(a, 2, "row REF N");
             if (why.empty()) why = needsReference(a, 0);
             if (why.empty() && !isPositive(a[1].text)) why = "row numbers start at 1";
             return why;
         }},
        {"header",
         [](const Arguments& a) {
             auto why = needs(a, 2, "header REF N");
             if (why.empty()) why = needsReference(a, 0);
             if (why.empty() && !isPositive(a[1].text)) why = "column numbers start at 1";
             return why;
         }},
        {"mark",
         [](const Arguments& a) {
             auto why = needs(a, 2, "mark REF N");
             if (why.empty()) why = needsReference(a, 0);
             if (why.empty() && !isPositive(a[1].text)) why = "row numbers start at 1";
             return why;
         }},
        {"right-click",
         [](const Arguments& a) {
             auto why = needs(a, 3, "right-click REF ROW \"ITEM\"");
             if (why.empty()) why = needsReference(a, 0);
             if (why.empty() && !isPositive(a[1].text) && a[1].text != "0")
                 why = "row numbers start at 1 (0: below the rows)";
             return why;
         }},
        {"close", [](const Arguments& a) { return needs(a, 0, "close"); }},
        {"message", [](const Arguments& a) { return needs(a, 2, "message \"CAPTION\" \"TEXT\""); }},
        {"message-contains",
         [](const Arguments& a) { return needs(a, 1, "message-contains \"TEXT\""); }},
        {"answer",
         [](const Arguments& a) {
             auto why = needs(a, 1, "answer BUTTON");
             if (why.empty() && buttonFromName(a[0].text) == 0)
                 why = "unknown button '" + a[0].text +
                       "' (OK, Yes, No, Cancel, Abort, Retry, Ignore)";
             return why;
         }},
        {"expect", checkExpect},
        {"file", [](const Arguments& a) { return checkAnswerFor(a, "file", false); }},
        {"date", [](const Arguments& a) { return checkAnswerFor(a, "date", true); }},
        {"preview", checkPreview},
        {"sql", [](const Arguments& a) { return needs(a, 2, "sql \"SELECT ...\" \"EXPECTED\""); }},
        {"idle", [](const Arguments& a) { return needs(a, 0, "idle"); }},
    };
    return checks;
}

}  // namespace

bool isControlReference(const LayoutToken& token) {
    return token.quoted || (token.text.size() > 1 && token.text.front() == '?');
}

int parseScriptDate(std::string_view text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') return 0;
    auto part = [&](std::size_t from, std::size_t length) {
        int value = 0;
        auto [end, ec] = std::from_chars(text.data() + from, text.data() + from + length, value);
        return ec == std::errc() && end == text.data() + from + length ? value : -1;
    };
    return dayNumber(part(6, 4), part(3, 2), part(0, 2));
}

std::vector<ScriptLine> parseScript(std::string_view text) {
    std::vector<ScriptLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        start = end + 1;
        ++number;
        LayoutLine words = splitLayoutLine(raw);
        if (!words.ok()) throw ScriptError(number, words.error);
        if (words.tokens.empty()) continue;
        ScriptLine line;
        line.number = number;
        line.source = std::string(trimBlanks(raw));
        line.verb = words.tokens.front().text;
        line.arguments.assign(words.tokens.begin() + 1, words.tokens.end());
        const auto& checks = commandChecks();
        auto check = checks.find(line.verb);
        if (words.tokens.front().quoted || check == checks.end())
            throw ScriptError(number, "unknown command '" + line.verb + "'");
        if (std::string why = check->second(line.arguments); !why.empty())
            throw ScriptError(number, why);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace dv
