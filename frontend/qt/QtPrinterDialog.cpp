#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"

namespace dv {

void applyPrinterSettings(QPrinter& printer, const PrinterSettings& settings) {
    if (!settings.device.empty()) {
        // A printer the system no longer knows leaves the printer as it was (the default).
        const QPrinterInfo info =
            QPrinterInfo::printerInfo(QString::fromStdString(settings.device));
        if (!info.isNull()) printer.setPrinterName(info.printerName());
    }
    printer.setCopyCount(std::max(1, settings.copies));
}

PrinterSettings printerSettingsOf(const QPrinter& printer) {
    PrinterSettings settings;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        settings.device = printer.printerName().toStdString();
    settings.copies = std::max(1, printer.copyCount());
    return settings;
}

bool execPrinterDialog(QPrinter& printer, const std::string& caption, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogPrinter)) return *answer == 1;
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(windowTitleText(caption));
    return dialog.exec() == QDialog::Accepted;
}

bool showPrinterDialog(PrinterSettings& settings, const std::string& caption, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    applyPrinterSettings(printer, settings);
    if (!execPrinterDialog(printer, caption, parent)) return false;
    settings = printerSettingsOf(printer);
    return true;
}

}  // namespace dv
