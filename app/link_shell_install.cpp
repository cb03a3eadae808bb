// The shell's side of the link's contract: the windows and the use case the link reaches.
#include "app/link_shell_install.h"

#include "app/ended_series.h"
#include "app/log_viewer.h"
#include "app/main_window_ops.h"
#include "app/resource_ids.h"
#include "common/program_settings.h"
#include "link/link_shell.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "service/service_hooks.h"
#include "service/service_view_ids.h"

namespace {

// START and the device-settings menu follow the instrument; printing is only
// ever locked here, never unlocked.
void FollowMeasuring(bool measuring) {
    ui::Enable(ui::Window::Main, IDC_START, !measuring);
    ui::EnableMenuItem(ui::Window::Main, CMD_DEVICE_SETTINGS, !measuring);
    if (measuring) EnableProtocolOutput(false);
    if (g_programSettings.serviceMode) ui::Enable(ui::Window::ServiceView, IDC_SERVICE_GOST, !measuring);
}

void EnableStart(bool enabled) { ui::Enable(ui::Window::Main, IDC_START, enabled); }

void DriverMissing(bool functionMissing) {
    if (functionMissing)
        ui::MessageBox(ui::Window::None, "Необходимые функции не найдены в библиотеке ftd2xx.dll", "Ошибка!",
                       ui::kOk);
    ui::MessageBox(ui::Window::Main, "Не найдена библиотека ftd2xx.dll.\nПожалуйста, установите драйвер!",
                   "Ошибка!", ui::kIconError);
    ui::SendClose(ui::Window::Main);
}

void OfferDeviceResults() {
    ui::InsertMenuItemBefore(ui::Window::Main, CMD_ARCHIVE, CMD_DEVICE_RESULTS,
                             "Просмотр результатов проведенных испытаний, сохраненных в приборе");
}

void ToServiceView(const void* data, ServiceViewKind kind) { UpdateServiceView(data, static_cast<int>(kind)); }

}  // namespace

void InstallLinkShell() {
    LinkShell shell{};
    shell.setStatusText = SetStatusText;
    shell.enableProtocolOutput = EnableProtocolOutput;
    shell.showTestParameters = ShowTestParameters;
    shell.showResultsLine = ShowResultsLine;
    shell.followMeasuring = FollowMeasuring;
    shell.enableStart = EnableStart;
    shell.setLogViewerText = SetLogViewerText;
    shell.driverMissing = DriverMissing;
    shell.offerDeviceResults = OfferDeviceResults;
    shell.updateServiceView = ToServiceView;
    shell.takeFormTexts = TakeFormTexts;
    shell.archiveEndedSeries = ArchiveEndedSeries;
    shell.serviceHistoryAddSeries = ServiceHistoryAddSeries;
    SetLinkShell(shell);
    // The number proposed for the next series follows an amended number.
    AddArchiveAppendedHook(ArchivedVersionAppended);
}
