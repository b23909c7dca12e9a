#include "framework/BrowseThumb.h"

#include <algorithm>
#include <string_view>

namespace dv {
namespace {

// Surname beginnings spread so that each covers about one percent of a list of names.
const std::vector<std::string>& namesTable() {
    static const std::vector<std::string> table = {
        "   ", "ALB", "AME", "ARN", "BAK", "BAT", "BEN", "BIA", "BOB", "BRA", "BRO", "BUR", "CAM",
        "CAR", "CHA", "CLA", "COL", "COR", "CRO", "DAV", "DEN", "DIC", "DON", "DUN", "EDW", "ELL",
        "EVA", "FIS", "FOR", "FRA", "GAR", "GIB", "GOO", "GRA", "GRE", "GRI", "HAL", "HAR", "HAS",
        "HAW", "HEN", "HIL", "HOL", "HOW", "HUG", "JAC", "JAM", "JOH", "JON", "KEL", "KIN", "LAM",
        "LAW", "LEE", "LEW", "LON", "MAC", "MAR", "MAS", "MCC", "MCK", "MIL", "MIT", "MOO", "MOR",
        "MUR", "NEL", "NOR", "OWE", "PAR", "PER", "PHI", "POW", "PRI", "REE", "RIC", "ROB", "ROG",
        "ROS", "RUS", "SAN", "SCO", "SHA", "SIM", "SMI", "SPE", "STE", "STO", "SUL", "TAY", "THO",
        "TUR", "WAL", "WAR", "WAT", "WEB", "WHI", "WIL", "WOL", "YOR"};
    return table;
}

// Each letter followed by blank, F, N and T; the table starts at two blanks instead of "A "
// and ends at "ZN".
std::vector<std::string> alphaTable() {
    std::vector<std::string> table{"  "};
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        for (const char second : std::string_view(" FNT")) {
            if (letter == 'A' && second == ' ') continue;
            if (letter == 'Z' && second == 'T') continue;
            table.push_back(std::string{letter, second});
        }
    return table;
}

// The punctuation that a table built from all characters leaves out, with the blank.
constexpr std::string_view kPunctuation = "`!\"$%^&*()'-=_+][#;~@:/.,?\\| ";

std::vector<std::string> characterTable(ThumbStyle style) {
    std::vector<std::string> table;
    for (int c = 0x21; c < 0x7F; ++c) {
        const char ch = static_cast<char>(c);
        const bool upper = ch >= 'A' && ch <= 'Z';
        const bool lower = ch >= 'a' && ch <= 'z';
        const bool digit = ch >= '0' && ch <= '9';
        bool take = false;
        if (style == ThumbStyle::Letters) take = upper || lower;
        if (style == ThumbStyle::UpperCase) take = upper || digit;
        if (style == ThumbStyle::AllCharacters) take = kPunctuation.find(ch) == std::string::npos;
        if (take) table.emplace_back(1, ch);
    }
    return table;
}

}  // namespace

const std::vector<std::string>& thumbTable(ThumbStyle style) {
    static const std::vector<std::string> none;
    static const std::vector<std::string> alpha = alphaTable();
    static const std::vector<std::string> letters = characterTable(ThumbStyle::Letters);
    static const std::vector<std::string> upper = characterTable(ThumbStyle::UpperCase);
    static const std::vector<std::string> all = characterTable(ThumbStyle::AllCharacters);
    switch (style) {
        case ThumbStyle::Names:
            return namesTable();
        case ThumbStyle::Alpha:
            return alpha;
        case ThumbStyle::Letters:
            return letters;
        case ThumbStyle::UpperCase:
            return upper;
        case ThumbStyle::AllCharacters:
            return all;
        default:
            return none;
    }
}

std::string thumbText(ThumbStyle style, int percent) {
    const std::vector<std::string>& table = thumbTable(style);
    if (table.empty()) return {};
    const std::size_t at =
        static_cast<std::size_t>(std::clamp(percent, 0, 100)) * table.size() / 100;
    return table[std::min(at, table.size() - 1)];
}

Decimal thumbNumber(const Decimal& first, const Decimal& last, int percent) {
    const Decimal span = last - first;
    const int places = std::max(first.places(), last.places());
    return first + (span * Decimal(std::clamp(percent, 0, 100))).divide(Decimal(100), places);
}

}  // namespace dv
