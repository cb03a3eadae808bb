// The link's way to the windows above it: what the shell installed, or nothing.
#include "link/link_shell.h"

#include "common/program_settings.h"

namespace {

// Harmless stand-ins, so that a link without a shell (tests) just runs.
void NoText(const char*) {}
void NoFlag(bool) {}
void NoSettings(const DeviceSettings&) {}
void NoRecordShown(const TestRecord&) {}
void NoOffer() {}
void NoServiceView(const void*, ServiceViewKind) {}
void NoTexts(TestRecord*) {}
void NoRecordTaken(TestRecord&) {}

constexpr LinkShell kNothing = {NoText,  NoFlag,       NoSettings,    NoRecordShown, NoFlag,
                                NoFlag,  NoText,       NoFlag,        NoOffer,       NoServiceView,
                                NoTexts, NoRecordTaken, NoRecordTaken};

LinkShell g_shell = kNothing;

template <typename F>
void Take(F* slot, F given, F fallback) {
    *slot = given ? given : fallback;
}

}  // namespace

void SetLinkShell(const LinkShell& shell) {
    Take(&g_shell.setStatusText, shell.setStatusText, kNothing.setStatusText);
    Take(&g_shell.enableProtocolOutput, shell.enableProtocolOutput, kNothing.enableProtocolOutput);
    Take(&g_shell.showTestParameters, shell.showTestParameters, kNothing.showTestParameters);
    Take(&g_shell.showResultsLine, shell.showResultsLine, kNothing.showResultsLine);
    Take(&g_shell.followMeasuring, shell.followMeasuring, kNothing.followMeasuring);
    Take(&g_shell.enableStart, shell.enableStart, kNothing.enableStart);
    Take(&g_shell.setLogViewerText, shell.setLogViewerText, kNothing.setLogViewerText);
    Take(&g_shell.driverMissing, shell.driverMissing, kNothing.driverMissing);
    Take(&g_shell.offerDeviceResults, shell.offerDeviceResults, kNothing.offerDeviceResults);
    Take(&g_shell.updateServiceView, shell.updateServiceView, kNothing.updateServiceView);
    Take(&g_shell.takeFormTexts, shell.takeFormTexts, kNothing.takeFormTexts);
    Take(&g_shell.archiveEndedSeries, shell.archiveEndedSeries, kNothing.archiveEndedSeries);
    Take(&g_shell.serviceHistoryAddSeries, shell.serviceHistoryAddSeries, kNothing.serviceHistoryAddSeries);
}

const LinkShell& TheLinkShell() { return g_shell; }

void TellServiceView(const void* data, ServiceViewKind kind) {
    if (g_programSettings.serviceMode) g_shell.updateServiceView(data, kind);
}
