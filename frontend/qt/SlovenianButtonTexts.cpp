#include "frontend/qt/SlovenianButtonTexts.h"

#include <QCoreApplication>
#include <cstring>

namespace dv {
namespace {

struct ButtonText {
    const char* english;
    const char* slovenian;
};

// The standard buttons' texts as Qt's platform theme names them ("&" marks the shortcut).
constexpr ButtonText kButtonTexts[] = {
    {"OK", "V redu"},          {"&OK", "&V redu"},     {"&Yes", "&Da"},
    {"&No", "&Ne"},            {"Yes", "Da"},          {"No", "Ne"},
    {"Abort", "Prekini"},      {"Retry", "Ponovi"},    {"Ignore", "Prezri"},
    {"Cancel", "Prekliči"},    {"&Cancel", "&Prekliči"}, {"Help", "Pomoč"},
    {"Close", "Zapri"},        {"&Close", "&Zapri"},   {"Save", "Shrani"},
    {"&Save", "&Shrani"},      {"Open", "Odpri"},      {"&Open", "&Odpri"},
    {"Apply", "Uporabi"},      {"Reset", "Ponastavi"}, {"Yes to &All", "Da za &vse"},
    {"N&o to All", "N&e za vse"}, {"Discard", "Zavrzi"}, {"Don't Save", "Ne shrani"},
};

}  // namespace

QString SlovenianButtonTexts::translate(const char* context, const char* sourceText,
                                        const char*, int) const {
    if (context == nullptr || sourceText == nullptr || std::strcmp(context, "QPlatformTheme") != 0)
        return {};
    for (const ButtonText& text : kButtonTexts)
        if (std::strcmp(text.english, sourceText) == 0) return QString::fromUtf8(text.slovenian);
    return {};
}

void installSlovenianButtonTexts() {
    static SlovenianButtonTexts* installed = nullptr;
    if (installed != nullptr || QCoreApplication::instance() == nullptr) return;
    installed = new SlovenianButtonTexts(QCoreApplication::instance());
    QCoreApplication::installTranslator(installed);
}

}  // namespace dv
