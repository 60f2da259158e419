// The program's side of the window module's functions: each calls the
// module's own definition once the module is there. Functions that open
// something need the display (which loads the module); the others act on
// what was opened, so without the module they find nothing and do nothing.
#include "platform/Display.h"
#include "platform/GuiModule.h"
#include "platform/Note.h"

namespace {

// The module when the display is open, else nullptr.
const GuiModule* WithDisplay() { return DisplayAvailable() ? LoadedGuiModule() : nullptr; }

} // namespace

std::string ChooseFile(const char* title, const char* filters) {
    const GuiModule* gui = WithDisplay();
    return gui != nullptr ? gui->chooseFile(title, filters) : std::string();
}

std::string ChooseFolder(const char* title, const std::string& startFolder) {
    const GuiModule* gui = WithDisplay();
    return gui != nullptr ? gui->chooseFolder(title, startFolder) : std::string();
}

// Pictures are encoded without the display, as long as the module loads.
std::string EncodePng(const RgbImage& picture) {
    const GuiModule* gui = LoadGuiModule();
    return gui != nullptr ? gui->encodePng(picture) : std::string();
}

std::string EncodeJpeg(const RgbImage& picture, int quality) {
    const GuiModule* gui = LoadGuiModule();
    return gui != nullptr ? gui->encodeJpeg(picture, quality) : std::string();
}

bool OpenForm(const char* title, int x, int y, int w, int h) {
    const GuiModule* gui = WithDisplay();
    return gui != nullptr && gui->openForm(title, x, y, w, h);
}

void AddFormControls(std::span<const ControlSpec> controls) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->addFormControls(controls);
}

void ShowForm() {
    if (const GuiModule* gui = LoadedGuiModule()) gui->showForm();
}

bool FormOpen() {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->formOpen();
}

void CloseForm() {
    if (const GuiModule* gui = LoadedGuiModule()) gui->closeForm();
}

bool FormChecked(int id) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->formChecked(id);
}

void FormSetChecked(int id, bool checked) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->formSetChecked(id, checked);
}

std::string FormText(int id) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->formText(id) : std::string();
}

void FormSetText(int id, const std::string& text) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->formSetText(id, text);
}

bool FormEnabled(int id) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->formEnabled(id);
}

void FormSetEnabled(int id, bool enabled) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->formSetEnabled(id, enabled);
}

ControlSpec FormControl(int id) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->formControl(id) : ControlSpec{0, ControlKind::Label, "", 0, 0, 0, 0};
}

// Without a form there is nothing to wait for: taken as closed.
FormEvent WaitFormEvent() {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->waitFormEvent() : FormEvent{FormEventKind::Close, 0};
}

bool OpenMessageWindow(bool fixedFont) {
    if (const GuiModule* gui = WithDisplay()) return gui->openMessageWindow(fixedFont);
    // Said once: later attempts of the same process would only repeat it.
    static bool noted = false;
    NoteOnce(noted, "no display; the message window \"Tessara Log\" is not shown");
    return false;
}

bool MessageWindowOpen() {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->messageWindowOpen();
}

void MessageWindowAddLine(const std::string& line, int position) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->messageWindowAddLine(line, position);
}

std::string MessageWindowText() {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->messageWindowText() : std::string();
}

void MessageWindowWaitClosed() {
    if (const GuiModule* gui = LoadedGuiModule()) gui->messageWindowWaitClosed();
}

void CloseMessageWindow() {
    if (const GuiModule* gui = LoadedGuiModule()) gui->closeMessageWindow();
}

void SetPlotWindowEventHandler(std::function<void(const PlotWindowEvent&)> handler) {
    if (const GuiModule* gui = WithDisplay()) gui->setPlotWindowEventHandler(std::move(handler));
}

bool CreatePlotWindow(int windowId, const std::string& title, const WindowRect& rect) {
    const GuiModule* gui = WithDisplay();
    return gui != nullptr && gui->createPlotWindow(windowId, title, rect);
}

void DestroyPlotWindow(int windowId) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->destroyPlotWindow(windowId);
}

bool PlotWindowRect(int windowId, WindowRect& rect) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->plotWindowRect(windowId, rect);
}

bool PlotWindowClientSize(int windowId, int& width, int& height) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr && gui->plotWindowClientSize(windowId, width, height);
}

int PlotWindowFrameHeight(int windowId) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->plotWindowFrameHeight(windowId) : 0;
}

int DesktopWidth() {
    const GuiModule* gui = WithDisplay();
    return gui != nullptr ? gui->desktopWidth() : 0;
}

void ShowPlotImage(int windowId, const RgbImage& picture) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->showPlotImage(windowId, picture);
}

void SetPlotFields(int windowId, const std::string& fromText, const std::string& toText) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->setPlotFields(windowId, fromText, toText);
}

void SetPlotTooltip(int windowId, const std::string& text) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->setPlotTooltip(windowId, text);
}

RgbImage CapturePlotWindow(int windowId) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->capturePlotWindow(windowId) : RgbImage{};
}

std::string PlotWindowTooltip(int windowId) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->plotWindowTooltip(windowId) : std::string();
}

std::string PlotWindowField(int windowId, bool toField) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->plotWindowField(windowId, toField) : std::string();
}

RgbImage PlotWindowImage(int windowId) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->plotWindowImage(windowId) : RgbImage{};
}

WindowRect PlotControlRect(int windowId, int control) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->plotControlRect(windowId, control) : WindowRect{};
}
