// A fixed-size dialog window built from a table of controls, addressed by
// control id: labels, frames, text boxes, buttons, check boxes and option
// buttons. One form is open at a time. Its events are queued and taken one by
// one with WaitFormEvent.
#pragma once

#include <span>
#include <string>

enum class ControlKind {
    Label,
    Frame,            // a sunken rectangle with its caption on the top edge
    TextBox,          // one line, scrolls horizontally
    CentredTextBox,   // one line, its text centred where the toolkit can
    MultiLineTextBox, // several lines, wrapped
    Button,
    CheckBox,
    OptionButton, // the option buttons of a form form one group
};

// The kinds whose text the user edits, and those that hold a checked state.
inline bool IsTextBox(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::CentredTextBox || kind == ControlKind::MultiLineTextBox;
}
inline bool IsToggle(ControlKind kind) { return kind == ControlKind::CheckBox || kind == ControlKind::OptionButton; }

struct ControlSpec {
    int id;
    ControlKind kind;
    const char* caption; // the caption, or the initial text of a text box
    int x, y, w, h;      // in pixels, relative to the client area
};

// Creates the form window (client area w x h at x, y on the screen, not
// resizable), not shown yet. False without a display.
bool OpenForm(const char* title, int x, int y, int w, int h);

// Creates controls in the open form, in order.
void AddFormControls(std::span<const ControlSpec> controls);

// Shows the form and draws it.
void ShowForm();

bool FormOpen();
void CloseForm();

// State of a check box or option button (false for other controls or ids
// that do not exist); setting an option button clears the others.
bool FormChecked(int id);
void FormSetChecked(int id, bool checked);

// The text of a text box (empty for ids that do not exist).
std::string FormText(int id);
void FormSetText(int id, const std::string& text);

bool FormEnabled(int id);
void FormSetEnabled(int id, bool enabled);

// The control as it was created and now stands (id 0 when it does not exist).
ControlSpec FormControl(int id);

enum class FormEventKind {
    Control,            // a button, check box or option button was pressed
    Escape,             // the Escape key in the form
    Close,              // the form's close box
    MessageWindowClose, // the close box of the message window
};

struct FormEvent {
    FormEventKind kind;
    int id; // the control of a Control event
};

// Waits for the next event of the form or of the message window.
FormEvent WaitFormEvent();
