#include "runtime/Picture.h"

#include <array>
#include <cctype>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr int maxNumberWidth = 40;
constexpr int maxPlaces = 30;
constexpr int maxTextWidth = 65535;

constexpr std::array<std::string_view, 18> dateLayouts = {
    "m/d/y", "m/d/Y", "M d, Y", "L d, Y", "d/m/y", "d/m/Y", "d M y", "d M Y", "y/m/d",
    "Y/m/d", "ymd",   "Ymd",    "m/y",    "m/Y",   "y/m",   "Y/m",   "d.m.Y", "d. L Y"};
constexpr std::array<std::string_view, 8> timeLayouts = {"h:n", "hn",     "h:nX", "h:n:s",
                                                         "hns", "h:n:sX", "h:n",  "h:n:s"};

// Styles that run their parts together, or that are zero-filled by definition.
bool alwaysZeroFilled(PictureKind kind, int style) {
    if (kind == PictureKind::date) return style == 11 || style == 12 || style == 17;
    return style == 2 || style == 5;
}

int partWidth(char part) {
    switch (part) {
        case 'M':
            return 3;
        case 'L':
            return 9;  // "september", "november", "december"
        case 'Y':
            return 4;
        case 'd':
        case 'm':
        case 'y':
        case 'h':
        case 'n':
        case 's':
        case 'X':
            return 2;
        default:
            return 1;
    }
}

int layoutWidth(std::string_view layout) {
    int width = 0;
    for (char part : layout) width += partWidth(part);
    return width;
}

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The separator a picture character stands for, 0 when it is none.
char separatorOf(char c, std::string_view allowed) {
    if (allowed.find(c) == std::string_view::npos) return 0;
    if (c == '`') return ',';
    if (c == '_') return ' ';
    return c;
}

std::string quoted(char c) {
    return std::string("'") + c + "'";
}

}  // namespace

class Picture::Parser {
  public:
    explicit Parser(std::string_view text) : text_(trimBlanks(text)) {
        picture_.text_ = std::string(text_);
    }

    Picture run() {
        if (!text_.empty() && text_.front() == '@') ++at_;
        if (atEnd()) fail("it is empty");
        if (peek() == '#' || peek() == '<') return barePattern();
        const char kind = upper(text_[at_++]);
        switch (kind) {
            case 'N':
                number();
                break;
            case 'D':
                dateOrTime(PictureKind::date, dateLayouts);
                break;
            case 'T':
                dateOrTime(PictureKind::time, timeLayouts);
                break;
            case 'S':
                textPicture();
                break;
            case 'P':
                pattern();
                break;
            case 'E':
            case 'K':
                fail("scientific and key-in pictures are not supported");
            default:
                fail("'" + std::string(1, kind) + "' is not a picture kind (N, D, T, S, P)");
        }
        return picture_;
    }

  private:
    bool atEnd() const { return at_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
    }
    bool take(char c) {
        if (atEnd() || upper(peek()) != upper(c)) return false;
        ++at_;
        return true;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw PictureError("picture \"" + picture_.text_ + "\" is malformed: " + reason);
    }

    int count(int min, int max, const char* what) {
        if (!isDigit(peek())) fail(std::string("the ") + what + " is missing");
        int value = 0;
        while (isDigit(peek()) && value <= max) value = value * 10 + (text_[at_++] - '0');
        if (value < min || value > max)
            fail(std::string("the ") + what + " must lie in " + std::to_string(min) + ".." +
                 std::to_string(max));
        return value;
    }

    void finish() {
        picture_.blankWhenZero_ = take('B');
        if (!atEnd())
            fail("unexpected " + quoted(peek()) + " at position " + std::to_string(at_ + 1));
    }

    void number() {
        auto& p = picture_;
        p.kind_ = PictureKind::number;
        if (peek() == '$' || peek() == '~') fail("currency symbols are not supported");
        if (take('-'))
            p.sign_ = Sign::leading;
        else if (take('('))
            p.sign_ = Sign::parentheses;
        if (take('0'))
            p.fill_ = Fill::zeros;
        else if (take('_'))
            p.fill_ = Fill::blanks;
        else if (take('*'))
            p.fill_ = Fill::asterisks;
        p.width_ = count(1, maxNumberWidth, "width");
        numberGrouping();
        numberPlaces();
        numberTrailingSign();
        finish();
        if (p.grouping_ == 0 && p.fill_ == Fill::none && !explicitGrouping_)
            p.grouping_ = p.decimalSeparator_ == ',' ? '.' : ',';
    }

    void numberGrouping() {
        const bool placesFollow = isDigit(peek(1));
        if (peek() == '.' && !placesFollow)
            picture_.grouping_ = '.';
        else if (peek() == '_')
            picture_.grouping_ = ' ';
        else
            return;
        explicitGrouping_ = true;
        ++at_;
    }

    void numberPlaces() {
        auto& p = picture_;
        const char marker = peek();
        if (marker != '.' && marker != '`' && upper(marker) != 'V') return;
        ++at_;
        p.decimalSeparator_ = marker == '.' ? '.' : (marker == '`' ? ',' : '\0');
        p.places_ = count(0, maxPlaces, "number of decimals");
        if (p.grouping_ != 0 && p.grouping_ == p.decimalSeparator_)
            fail("the grouping and the decimal separator are both " + quoted(p.grouping_));
        const int separatorWidth = p.decimalSeparator_ != '\0' && p.places_ > 0 ? 1 : 0;
        if (p.places_ + separatorWidth >= p.width_)
            fail("the width leaves no room for digits before the decimals");
    }

    void numberTrailingSign() {
        auto& p = picture_;
        if (take('-')) {
            if (p.sign_ != Sign::none) fail("it has two signs");
            p.sign_ = Sign::trailing;
        } else if (take(')')) {
            if (p.sign_ != Sign::parentheses) fail("')' has no '('");
        } else if (p.sign_ == Sign::parentheses) {
            fail("'(' has no ')'");
        }
    }

    template <std::size_t N>
    void dateOrTime(PictureKind kind, const std::array<std::string_view, N>& layouts) {
        auto& p = picture_;
        p.kind_ = kind;
        p.zeroFilled_ = take('0');
        p.style_ = count(1, static_cast<int>(N), "style number");
        p.zeroFilled_ = p.zeroFilled_ || alwaysZeroFilled(kind, p.style_);
        p.layout_ = layouts[static_cast<std::size_t>(p.style_ - 1)];
        const bool isDate = kind == PictureKind::date;
        p.separator_ = isDate ? '/' : ':';
        if (const char s = separatorOf(peek(), isDate ? "/.-`_" : ":.-`_"); s != 0) {
            p.separator_ = s;
            ++at_;
        }
        if (isDate) yearWindow();
        p.width_ = layoutWidth(p.layout_);
        finish();
    }

    void yearWindow() {
        const char direction = peek();
        if (direction != '<' && direction != '>') return;
        ++at_;
        const int range = isDigit(peek()) ? count(0, 99, "year range") : 80;
        picture_.pastYears_ = direction == '<' ? range : 100 - range;
    }

    void textPicture() {
        picture_.kind_ = PictureKind::text;
        picture_.width_ = count(1, maxTextWidth, "width");
        if (!atEnd())
            fail("unexpected " + quoted(peek()) + " at position " + std::to_string(at_ + 1));
    }

    void pattern() {
        std::string_view body = text_.substr(at_);
        if (body.size() >= 2 && upper(body.back()) == 'B' && upper(body[body.size() - 2]) == 'P') {
            picture_.blankWhenZero_ = true;
            body.remove_suffix(1);
        }
        if (body.empty() || upper(body.back()) != 'P') fail("the pattern has no closing 'P'");
        body.remove_suffix(1);
        setPattern(body);
    }

    Picture barePattern() {
        setPattern(text_.substr(at_));
        return picture_;
    }

    void setPattern(std::string_view pattern) {
        if (pattern.find_first_of("#<") == std::string_view::npos)
            fail("the pattern has no digit position ('#' or '<')");
        picture_.kind_ = PictureKind::pattern;
        picture_.pattern_ = std::string(pattern);
        picture_.width_ = static_cast<int>(pattern.size());
    }

    std::string_view text_;
    std::size_t at_ = 0;
    bool explicitGrouping_ = false;
    Picture picture_;
};

std::optional<Picture> Picture::parse(std::string_view text, std::string* error) {
    try {
        return Parser(text).run();
    } catch (const PictureError& e) {
        if (error) *error = e.what();
        return std::nullopt;
    }
}

Picture Picture::of(std::string_view text) {
    return Parser(text).run();
}

namespace {

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string describeLayout(const Picture& p) {
    std::string out;
    for (char part : p.layout()) {
        switch (part) {
            case 'd':
                out += p.zeroFilled() ? "dd" : "d";
                break;
            case 'm':
                out += p.zeroFilled() ? "mm" : "m";
                break;
            case 'h':
                out += p.zeroFilled() ? "hh" : "h";
                break;
            case 'M':
                out += "mmm";
                break;
            case 'L':
                out += "mmmmmmmmm";
                break;
            case 'y':
                out += "yy";
                break;
            case 'Y':
                out += "yyyy";
                break;
            case 'n':
                out += "mm";
                break;
            case 's':
                out += "ss";
                break;
            case 'X':
                out += "XM";
                break;
            case '/':
                out += p.separator();
                break;
            case ':':
                out += p.separator();
                break;
            default:
                out += part;
        }
    }
    return out;
}

std::string describeNumber(const Picture& p) {
    std::string out = std::to_string(p.width()) + " wide";
    if (p.places() > 0) {
        out += ", " + plural(p.places(), "decimal", "decimals");
        if (p.decimalSeparator() == ',') out += ", decimal comma";
        if (p.decimalSeparator() == '\0') out += ", no decimal separator";
    }
    switch (p.sign()) {
        case Picture::Sign::leading:
            out += ", signed";
            break;
        case Picture::Sign::trailing:
            out += ", signed (trailing minus)";
            break;
        case Picture::Sign::parentheses:
            out += ", signed (in parentheses)";
            break;
        case Picture::Sign::none:
            break;
    }
    if (p.fill() == Picture::Fill::zeros) out += ", zero-filled";
    if (p.fill() == Picture::Fill::asterisks) out += ", asterisk-filled";
    if (p.grouping() == ' ')
        out += ", grouped by blanks";
    else if (p.grouping() != 0)
        out += ", grouped by " + quoted(p.grouping());
    return out;
}

std::string describeKind(const Picture& p) {
    switch (p.kind()) {
        case PictureKind::number:
            return describeNumber(p);
        case PictureKind::date:
            return "date " + describeLayout(p);
        case PictureKind::time:
            return "time " + describeLayout(p);
        case PictureKind::text:
            return plural(p.width(), "character", "characters");
        case PictureKind::pattern:
            return "pattern " + p.pattern();
    }
    return {};
}

}  // namespace

std::string Picture::describe() const {
    return describeKind(*this) + (blankWhenZero_ ? ", blank when 0" : "");
}

}  // namespace dv
