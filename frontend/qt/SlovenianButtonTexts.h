#pragma once

#include <QTranslator>

namespace dv {

// The texts of Qt's standard dialog buttons in Slovenian ("V redu", "Da", "Ne", "Prekliči", ...),
// as the users of the program read them on their desktops. Qt asks every installed translator
// for them; everything else is left to Qt.
class SlovenianButtonTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
};

// Installs the Slovenian button texts into the running application once.
void installSlovenianButtonTexts();

}  // namespace dv
