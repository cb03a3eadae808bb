// Lends the lower rooms what they reach above themselves, once at start-up.
#include "app/room_contracts.h"

#include "app/program_settings_window.h"
#include "app/win32/log_viewer_dialog.h"
#include "service/win32/service_view_shell.h"

void InstallRoomContracts() {
    InstallVerdictView();
    InstallTemplateSupply();
    ServiceViewShell service;
    service.showDeviceLog = ShowLogViewer;
    SetServiceViewShell(service);
}
