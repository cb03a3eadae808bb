// Fuzzes the settings file: an arbitrary ORLA-K200V.ini read with the
// profile rules, the organisation name decoded for its edit field, the form
// texts restored, the window placed from the values read (the main window's
// placement, the dialogs centred on it, the service view beside the form)
// and everything saved again.
#include "app/organisation_name_edit.h"
#include "app/program_settings_window.h"
#include "app/window_rules.h"
#include "tests/fuzz/fuzz_support.h"

namespace {
const std::string kFolder = "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V";
const std::string kIni = kFolder + "\\ORLA-K200V.ini";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    int screenWidth = in.ConsumeIntegralInRange<int>(640, 7680);
    int screenHeight = in.ConsumeIntegralInRange<int>(480, 4320);
    int formRight = in.ConsumeIntegralInRange<int>(0, 4000);
    size_t editSize = in.ConsumeIntegralInRange<size_t>(1, 3000);
    std::string ini = in.ConsumeRemainingBytesAsString();
    fake::CreatedFolders().push_back(kFolder);
    fake::FileBytes(kIni).assign(ini.begin(), ini.end());

    static ProgramSettings s;
    LoadProgramSettings(s);
    std::vector<char> edit(editSize);
    OrganisationNameForEdit(s.organisationName, edit.data(), edit.size());
    RestoreFormText(s);

    Placement main = PlaceWindow({s.windowX, s.windowY, s.windowW, s.windowH}, 800, 600, screenWidth, screenHeight);
    Placement dialog = CentreOnOwner(main, 420, 380, screenWidth, screenHeight);
    (void)dialog;
    int left = ServiceViewLeft(formRight);
    (void)StretchedFieldWidth(main.width, 120);
    (void)(main.width - left);

    fake::SetWindowRect(ui::Window::Main, main.x, main.y, main.x + main.width, main.y + main.height);
    SaveProgramSettings(s);
    return 0;
}
