// Pictures and what users type into fields with them: the first line of the input is the
// picture, the rest the typed text. Besides crashes it checks that a value read from typed text
// shows in its picture and reads back as the same value.
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "runtime/PictureFormat.h"

namespace {

using namespace dv;

[[noreturn]] void fail(const char* what, std::string_view picture, std::string_view shown) {
    std::fprintf(stderr, "%s: picture '%.*s', shown '%.*s'\n", what,
                 static_cast<int>(picture.size()), picture.data(), static_cast<int>(shown.size()),
                 shown.data());
    std::abort();
}

bool isOverflow(std::string_view shown) {
    return !shown.empty() && shown.find_first_not_of('#') == std::string_view::npos;
}

void numbers(const Picture& picture, std::string_view typed) {
    const Deformatted<Decimal> read = deformat(typed, picture);
    if (!read.ok()) {
        (void)inputErrorMessage(read.error, picture);
        return;
    }
    const std::string shown = format(read.value, picture);
    if (picture.kind() != PictureKind::number) return;
    if (isOverflow(shown)) {
        // Only a picture with no room for any number (its width taken by its sign) may show a
        // value it accepted as "#".
        const std::string zero = format(Decimal(), picture);
        if (!zero.empty() && !isOverflow(zero))
            fail("a value accepted from typed text does not fit its picture", picture.text(),
                 shown);
        return;
    }
    // Decimals shown without a separator do not read back by design ("v" pictures).
    if (picture.decimalSeparator() == 0) return;
    const Deformatted<Decimal> again = deformat(shown, picture);
    if (!again.ok() || again.value != read.value)
        fail("number does not read back", picture.text(), shown);
}

void dates(const Picture& picture, std::string_view typed) {
    const Deformatted<DayNumber> read = deformatDate(typed, picture);
    if (!read.ok()) return;
    const std::string shown = formatDate(read.value, picture);
    const Deformatted<DayNumber> again = deformatDate(shown, picture);
    if (!again.ok() || formatDate(again.value, picture) != shown)
        fail("date does not read back", picture.text(), shown);
}

void times(const Picture& picture, std::string_view typed) {
    const Deformatted<TimeValue> read = deformatTime(typed, picture);
    if (!read.ok()) return;
    const std::string shown = formatTime(read.value, picture);
    const Deformatted<TimeValue> again = deformatTime(shown, picture);
    if (!again.ok() || formatTime(again.value, picture) != shown)
        fail("time does not read back", picture.text(), shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [text, typed] = fuzz::splitFirstLine(fuzz::asText(data, size));
    std::string error;
    const std::optional<Picture> picture = Picture::parse(text, &error);
    if (!picture) return 0;
    (void)picture->describe();
    (void)formatText(typed, *picture);
    if (const auto number = Decimal::parse(typed)) (void)format(*number, *picture);
    switch (picture->kind()) {
        case PictureKind::number:
        case PictureKind::pattern:
        case PictureKind::text:
            numbers(*picture, typed);
            break;
        case PictureKind::date:
            dates(*picture, typed);
            break;
        case PictureKind::time:
            times(*picture, typed);
            break;
    }
    return 0;
}
