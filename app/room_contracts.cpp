// The verdict room's view of the instrument's state and the archive, lent by the shell.
#include "app/room_contracts.h"

#include "link/device_state.h"
#include "results/archive_lookup.h"
#include "verdict/verdict_view.h"

void InstallVerdictView() {
    VerdictView view;
    view.deviceConnected = [] { return g_deviceState.connected.load(); };
    view.reportedSettings = CopyCurrentSettings;
    view.lastJudgedSeriesOfSource = LastJudgedSeriesOfSource;
    SetVerdictView(view);
}
