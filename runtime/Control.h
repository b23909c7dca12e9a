#pragma once

#include <string>
#include <vector>

#include "runtime/ControlLayout.h"
#include "runtime/EventKey.h"

namespace dv {

class Window;

// One cell of a list row: its text as shown and its colours (normal and highlighted).
struct ListCell {
    std::string text;
    Colour foreground = kDefaultColour;
    Colour background = kDefaultColour;
    Colour selectedForeground = kDefaultColour;
    Colour selectedBackground = kDefaultColour;
};
using ListRow = std::vector<ListCell>;

// A control of an open window: what its layout declared, and its state now. Procedures change
// texts and state by name through their window; the front end shows them and feeds the user's
// input back (see WindowInput.h).
//
// The value is text as the control shows it: an entry's contents, the value of the chosen radio
// for an option group, the check box's true or false value, the number of the chosen tab (from
// 1) for a sheet.
class Control {
  public:
    Control(Window& window, int number, const ControlLayout& declared, Control* parent);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Window& window() const { return window_; }
    int number() const { return number_; }
    ControlType type() const { return declared_.type; }
    const std::string& name() const { return declared_.name; }
    Control* parent() const { return parent_; }
    // The control as its layout declared it.
    const ControlLayout& declared() const { return declared_; }

    // Texts.
    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const std::string& tip() const { return tip_; }
    void setTip(std::string tip) { tip_ = std::move(tip); }
    const std::string& message() const { return message_; }
    void setMessage(std::string message) { message_ = std::move(message); }
    const std::string& picture() const { return picture_; }
    void setPicture(std::string picture) { picture_ = std::move(picture); }
    bool required() const { return required_; }
    void setRequired(bool required) { required_ = required; }

    // The value (see above). Setting it by program clears the typed-by-user mark.
    const std::string& value() const { return value_; }
    void setValue(std::string value);
    // The user typed into it since it was last accepted or set by program.
    bool changedByUser() const { return changedByUser_; }
    void setChangedByUser(bool changed) { changedByUser_ = changed; }
    // The text as the user typed it when the control was last accepted after typing, before its
    // picture formatted it: "0" typed into a number entry that shows zero blank. Empty while the
    // user has typed nothing into it.
    const std::string& typedText() const { return typedText_; }
    void setTypedText(std::string text) { typedText_ = std::move(text); }

    // State of its own; a control also counts as disabled or hidden when its container is.
    bool enabledFlag() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool hiddenFlag() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isEnabled() const;
    // Shown: neither it nor a container hidden, and a tab around it the chosen one.
    bool isVisible() const;
    // Tab, a click or the program can give it the focus.
    bool canFocus() const;

    Colour foreground() const { return foreground_; }
    Colour background() const { return background_; }
    void setColours(Colour foreground, Colour background) {
        foreground_ = foreground;
        background_ = background;
    }

    // Keys alerted on this control reach the procedure as AlertKey events while it has the focus.
    void alert(KeyCode key);
    void unalert(KeyCode key);
    bool alerted(KeyCode key) const;

    // Check boxes.
    bool checked() const { return value_ == declared_.trueValue; }
    void setChecked(bool checked) {
        setValue(checked ? declared_.trueValue : declared_.falseValue);
    }

    // Radios: the value they give their option group; whether it is the chosen one.
    const std::string& radioValue() const { return radioValue_; }
    bool chosen() const;

    // Sheets: the chosen tab, nullptr when it has none.
    Control* chosenTab() const;
    void chooseTab(Control& tab);
    // The sheet's tabs, or an option group's radios, in field order.
    std::vector<Control*> members() const;

    // Lists: the columns, the rows (a page of them for a paged list) and the highlighted row
    // (from 1; 0 for none).
    const std::vector<ListColumn>& columns() const { return declared_.columns; }
    const std::vector<ListRow>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    void setRows(std::vector<ListRow> rows);
    void addRow(ListRow row) { rows_.push_back(std::move(row)); }
    ListRow& row(int number);                         // throws std::out_of_range
    const ListCell& cell(int row, int column) const;  // throws std::out_of_range
    int highlighted() const { return highlighted_; }
    // Highlights a row; out-of-range numbers are brought into range (0 when there are none).
    void highlight(int row);
    // A list that marks rows (its layout says `multiple`): which of the rows shown are marked.
    // New rows come unmarked; the procedure marks them.
    bool marked(int row) const;
    const std::vector<bool>& marks() const { return marks_; }
    void setMarks(std::vector<bool> marks);

    // Why the value does not fit the picture, in the user's language; empty when it fits or
    // there is no picture.
    std::string pictureProblem() const;
    // Shows the value as the picture formats it (a date typed "1.2.2024" becomes "01.02.2024");
    // a value that does not fit stays as it is.
    void reformat();

    // What the control shows as its text: an input control's value, a sheet's chosen tab's
    // text, a list's highlighted row (cells joined by "|"), else its caption.
    std::string displayText() const;
    // "?NAME" when it has a name, else its type and text, for messages.
    std::string describe() const;

  private:
    friend class Window;

    Window& window_;
    const int number_;
    const ControlLayout declared_;
    Control* const parent_;
    std::string text_;
    std::string tip_;
    std::string message_;
    std::string picture_;
    bool required_;
    std::string value_;
    bool changedByUser_ = false;
    std::string typedText_;
    bool enabled_;
    bool hidden_;
    bool readOnly_;
    Colour foreground_;
    Colour background_;
    std::vector<KeyCode> alerts_;
    std::string radioValue_;
    std::vector<ListRow> rows_;
    std::vector<bool> marks_;
    int highlighted_ = 0;
};

}  // namespace dv
