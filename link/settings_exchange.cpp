#include "link/settings_exchange.h"

// Stub: the settings exchange is not built yet; the request is only cleared.
void ChangeDeviceSettings() {}
