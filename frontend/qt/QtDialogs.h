#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "runtime/FrontEnd.h"

class QCalendarWidget;
class QDialog;
class QFileDialog;
class QMenu;
class QMessageBox;
class QPrinter;
class QWidget;

namespace dv {

// The modal dialogs of the Qt desktop. Each one shows its dialog over `parent` (may be null),
// waits for the user and answers in the terms of runtime/FrontEnd.h. Every text the user or the
// data supplies is shown as plain text, never interpreted as markup.

// A message box: the caption as given (leading blanks kept), the text with "|" as a line break,
// the icon and the buttons of the request. Returns the bit of the pressed button; Escape (or
// closing the box) answers Cancel, else No, when the box has one, else its default button.
MessageButtons showMessageBox(const MessageBoxRequest& request, QWidget* parent);

// The list window: rows of a text and a category above the buttons of the request. Returns the
// bit of the pressed button; Escape answers as for a message box.
MessageButtons showMessageList(const MessageListRequest& request, QWidget* parent);

// The date picker "Koledar": a calendar that opens at request.start (0: the program's today),
// weeks from Monday. The date chosen; nothing when the user cancelled.
std::optional<DayNumber> showDatePicker(const DatePickerRequest& request, QWidget* parent);

// A file dialog to open or save a file, or to choose a folder. The path chosen; nothing when the
// user cancelled.
std::optional<std::string> showFileDialog(const FileDialogRequest& request, QWidget* parent);

// The system's printer dialog under `caption`, starting at `printer`. When the user accepts,
// the printer and copies chosen are written back into `printer` and the answer is true.
bool showPrinterDialog(PrinterSettings& printer, const std::string& caption, QWidget* parent);

// The report preview (see ReportPreview.h) until the user closes it. `printer` is the printer
// the preview starts with; a printer chosen in its print dialog is written back into it.
// A menu at the pointer (a list's right-click menu): the number of the item chosen (from 1,
// separators counted), 0 when the user chose none.
int showPopupMenu(const PopupMenuRequest& request, QWidget* parent);
// The menu as it would be shown, for tests: separators for empty texts, disabled items kept.
std::unique_ptr<QMenu> buildPopupMenu(const PopupMenuRequest& request, QWidget* parent);

ReportPreviewResult showReportPreview(const ReportPreviewRequest& request, PrinterSettings& printer,
                                      QWidget* parent);

// The dialog kinds, as the answer hook receives them, and what a hook answers for each:
//   kDialogMessageBox   "messageBox"   the bit of the button pressed (a MessageButtons value)
//   kDialogMessageList  "messageList"  the bit of the button pressed (a MessageButtons value)
//   kDialogDatePicker   "datePicker"   the day number chosen; 0, or any day outside 1801-9999,
//                                      cancels the picker
//   kDialogFileDialog   "fileDialog"   1 accepts the start path of the request as chosen (empty
//                                      path: cancelled); 0 cancels
//   kDialogPrinter      "printer"      1 accepts the printer as it stands; 0 cancels
//   kDialogPopupMenu    "popupMenu"    the number of the item chosen; 0 chooses none
//   kDialogPreview      "preview"      1 closes the preview as printed or saved; 0 closes it
//                                      without (the zoom and copies of the request come back);
//                                      a report without pages is never shown nor asked about
// A message box or list answer that is not one of its buttons is replaced by its Escape answer.
// The preview's own print and save buttons ask as "printer" and "fileDialog" (the PDF file
// proposed: the report's title in the preview's PDF folder), a failure then as "messageBox".
inline constexpr const char* kDialogMessageBox = "messageBox";
inline constexpr const char* kDialogMessageList = "messageList";
inline constexpr const char* kDialogDatePicker = "datePicker";
inline constexpr const char* kDialogFileDialog = "fileDialog";
inline constexpr const char* kDialogPrinter = "printer";
inline constexpr const char* kDialogPreview = "preview";
inline constexpr const char* kDialogPopupMenu = "popupMenu";

// Tests and automation: when set, every dialog asks the hook first; a returned value answers the
// dialog without showing it, nothing shows it as usual. An empty function removes the hook.
void setDialogAnswerHook(std::function<std::optional<int>(const char* dialogKind)> hook);

// The builders behind the dialogs above: each makes its dialog ready to show, without showing
// it, so that tests and the front end can inspect or drive it.

// The box text: "|" becomes a line break.
QString messageBoxText(const std::string& text);
// A caption as a window title: kept as given, blanks included; the "[*]" that Qt would take for
// its modified mark is doubled, so that it shows as written.
QString windowTitleText(const std::string& caption);

// The box for `request`; the caller owns it. The Escape answer is the box's escape button.
std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, QWidget* parent);
// The bit of the button that closed `box` (its Escape answer when it was closed otherwise).
MessageButtons messageBoxAnswer(const QMessageBox& box, const MessageBoxRequest& request);

// The list window for `request`; pressing a button stores its bit into `answer` and closes it.
std::unique_ptr<QDialog> buildMessageList(const MessageListRequest& request, MessageButtons& answer,
                                          QWidget* parent);

// The button that Escape answers for a box with `buttons` and default `defaultButton`.
MessageButtons escapeAnswer(MessageButtons buttons, MessageButtons defaultButton);

// The date picker dialog; `calendar` is set to its calendar.
std::unique_ptr<QDialog> buildDatePicker(const DatePickerRequest& request,
                                         QCalendarWidget*& calendar, QWidget* parent);

// "Besedilo|*.txt;*.csv|Vse|*.*" → "Besedilo (*.txt *.csv);;Vse (*.*)". An empty filter gives
// an empty Qt filter (every file); a last description without patterns shows every file.
QString qtFileFilter(const std::string& filter);

// The file dialog for `request`, not native, in the mode the request asks for.
std::unique_ptr<QFileDialog> buildFileDialog(const FileDialogRequest& request, QWidget* parent);

// Sets `printer` up from `settings`: the device (when the system knows it) and the copies.
void applyPrinterSettings(QPrinter& printer, const PrinterSettings& settings);
// The settings `printer` stands at; a printer that writes a file has the empty device.
PrinterSettings printerSettingsOf(const QPrinter& printer);
// The system's printer dialog on `printer` under `caption` (the answer hook asked first); true
// when the user accepted it, `printer` then stands at the choice.
bool execPrinterDialog(QPrinter& printer, const std::string& caption, QWidget* parent);

}  // namespace dv
