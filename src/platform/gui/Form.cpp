// The form window of the setup dialog, built with FLTK widgets.
#include "platform/Form.h"
#include "platform/FormEventOrder.h"

#include "platform/gui/MessageWindowState.h"
#include "platform/gui/WindowHints.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_draw.H>

#include <deque>
#include <map>

namespace {

constexpr int kFontSize = 10; // close to the small font of desktop dialogs

// A sunken rectangle whose caption interrupts its top edge.
class FrameBox : public Fl_Box {
public:
    FrameBox(int x, int y, int w, int h, const char* caption) : Fl_Box(x, y, w, h, caption) {}

protected:
    void draw() override {
        const int top = y() + labelsize() / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
        if (label() == nullptr || *label() == '\0') return;
        fl_font(labelfont(), labelsize());
        int textW = 0, textH = 0;
        fl_measure(label(), textW, textH, 0);
        fl_color(color());
        fl_rectf(x() + 8, y(), textW + 2, textH);
        fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
        fl_draw(label(), x() + 9, y(), textW, textH, FL_ALIGN_LEFT, nullptr, 0);
    }
};

struct Control {
    ControlSpec spec;
    Fl_Widget* widget;
};

Fl_Double_Window* form = nullptr;
std::map<int, Control> controls;
std::deque<FormEvent> events;

void OnControl(Fl_Widget*, void* id) {
    events.push_back({FormEventKind::Control, static_cast<int>(reinterpret_cast<fl_intptr_t>(id))});
}

// The window's callback runs for its close box and for Escape.
void OnWindow(Fl_Widget*, void*) {
    const bool escape = Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape;
    events.push_back({escape ? FormEventKind::Escape : FormEventKind::Close, 0});
}

Fl_Widget* CreateWidget(const ControlSpec& c) {
    switch (c.kind) {
    case ControlKind::Label: {
        auto* box = new Fl_Box(c.x, c.y, c.w, c.h, c.caption);
        box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        return box;
    }
    case ControlKind::Frame:
        return new FrameBox(c.x, c.y, c.w, c.h, c.caption);
    case ControlKind::TextBox:
    case ControlKind::CentredTextBox: // an FLTK input cannot centre its text
    case ControlKind::MultiLineTextBox: {
        Fl_Input* input = c.kind != ControlKind::MultiLineTextBox ? new Fl_Input(c.x, c.y, c.w, c.h)
                                                                  : new Fl_Multiline_Input(c.x, c.y, c.w, c.h);
        if (c.kind == ControlKind::MultiLineTextBox) input->wrap(1);
        input->textsize(kFontSize);
        input->value(c.caption);
        input->when(FL_WHEN_NEVER);
        return input;
    }
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: {
        Fl_Button* button = nullptr;
        if (c.kind == ControlKind::Button) button = new Fl_Button(c.x, c.y, c.w, c.h, c.caption);
        else if (c.kind == ControlKind::CheckBox) button = new Fl_Check_Button(c.x, c.y, c.w, c.h, c.caption);
        else {
            button = new Fl_Round_Button(c.x, c.y, c.w, c.h, c.caption);
            button->type(FL_RADIO_BUTTON);
        }
        // Every press counts, also one that leaves an option button as it was.
        button->when(FL_WHEN_RELEASE_ALWAYS);
        button->callback(OnControl, reinterpret_cast<void*>(static_cast<fl_intptr_t>(c.id)));
        return button;
    }
    }
    return nullptr;
}

Fl_Widget* Find(int id) {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.widget;
}

// The widget of control id when its kind is one that ofKind accepts, else nullptr.
template <class Widget>
Widget* FindControl(int id, bool (*ofKind)(ControlKind)) {
    const auto it = controls.find(id);
    if (it == controls.end()) return nullptr;
    return ofKind(it->second.spec.kind) ? static_cast<Widget*>(it->second.widget) : nullptr;
}

Fl_Button* FindToggle(int id) { return FindControl<Fl_Button>(id, IsToggle); }

Fl_Input* FindInput(int id) { return FindControl<Fl_Input>(id, IsTextBox); }

} // namespace

bool OpenForm(const char* title, int x, int y, int w, int h) {
    CloseForm();
    form = new Fl_Double_Window(x, y, w, h, title);
    form->end();
    form->callback(OnWindow);
    // Without a resizable child the window keeps its size.
    form->size_range(w, h, w, h);
    return true;
}

void AddFormControls(std::span<const ControlSpec> specs) {
    if (form == nullptr) return;
    form->begin();
    for (const ControlSpec& c : specs) {
        Fl_Widget* widget = CreateWidget(c);
        widget->labelsize(kFontSize);
        controls[c.id] = {c, widget};
    }
    form->end();
}

void ShowForm() {
    if (form == nullptr) return;
    ShowWithHints(*form, HintFixedDialog);
    Fl::check();
}

bool FormOpen() { return form != nullptr && form->shown(); }

void CloseForm() {
    events.clear();
    controls.clear();
    if (form == nullptr) return;
    form->hide();
    Fl::delete_widget(form);
    form = nullptr;
    Fl::check();
}

bool FormChecked(int id) {
    const Fl_Button* button = FindToggle(id);
    return button != nullptr && button->value() != 0;
}

void FormSetChecked(int id, bool checked) {
    Fl_Button* button = FindToggle(id);
    if (button == nullptr) return;
    if (checked && button->type() == FL_RADIO_BUTTON) button->setonly();
    else button->value(checked ? 1 : 0);
}

std::string FormText(int id) {
    const Fl_Input* input = FindInput(id);
    return input != nullptr ? std::string(input->value(), static_cast<std::size_t>(input->size())) : std::string();
}

void FormSetText(int id, const std::string& text) {
    Fl_Input* input = FindInput(id);
    if (input != nullptr) input->value(text.data(), static_cast<int>(text.size()));
}

bool FormEnabled(int id) {
    const Fl_Widget* widget = Find(id);
    return widget != nullptr && widget->active();
}

void FormSetEnabled(int id, bool enabled) {
    Fl_Widget* widget = Find(id);
    if (widget == nullptr) return;
    if (enabled) widget->activate();
    else widget->deactivate();
}

ControlSpec FormControl(int id) {
    const auto it = controls.find(id);
    if (it == controls.end()) return {0, ControlKind::Label, "", 0, 0, 0, 0};
    const Fl_Widget* w = it->second.widget;
    const Fl_Input* input = FindInput(id);
    return {id, it->second.spec.kind, input != nullptr ? input->value() : w->label(), w->x(), w->y(), w->w(), w->h()};
}

FormEvent WaitFormEvent() {
    for (;;) {
        if (const auto event = TakeFormEvent(events, MessageWindowClosedByUser(), FormOpen())) return *event;
        Fl::wait();
    }
}
