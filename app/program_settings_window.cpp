// The program settings meeting the main window: the form texts, the window
// rectangle and the protocol template of a fresh data folder.
#include "app/program_settings_window.h"

#include <string>

#include "app/resource_ids.h"
#include "platform/ui.h"
#include "protocol/template_supply.h"

namespace {

// The form and the window as they stand now.
void TakeFromWindow(ProgramSettings& s) {
    for (int i = 0; i < 13; ++i)
        ui::GetText(ui::Window::Main, IDC_FIRST_FIELD + i, s.formText[i], sizeof s.formText[i]);
    int left = 0, top = 0, right = 0, bottom = 0;
    if (ui::GetWindowRect(ui::Window::Main, &left, &top, &right, &bottom)) {
        s.windowX = left;
        s.windowY = top;
        s.windowW = right - left;
        s.windowH = bottom - top;
    }
}

// A fresh data folder gets the installed template, which the user may then
// edit there; later starts leave it alone.
void ProvideTemplateIn(const char* folder) { ProvideProtocolTemplate((std::string(folder) + "\\template.rtf").c_str()); }

}  // namespace

void RestoreFormText(const ProgramSettings& s) {
    for (int i = 0; i < 13; ++i) ui::SetText(ui::Window::Main, IDC_FIRST_FIELD + i, s.formText[i]);
}

bool SaveProgramSettings(ProgramSettings& s) {
    TakeFromWindow(s);
    return WriteProgramSettings(s);
}

bool SaveProgramSettingsIfChanged(ProgramSettings& s) {
    TakeFromWindow(s);
    return WriteProgramSettingsIfChanged(s);
}

void InstallTemplateSupply() { SetDataFolderFound(ProvideTemplateIn); }
