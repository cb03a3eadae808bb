#pragma once
// Loads ftd2xx.dll and binds the driver functions the link uses.
#include "platform/d2xx.h"

// The bound driver functions, filled by LoadDriver; used by the link worker
// alone.
extern D2xxTable g_d2xx;

enum class DriverLoad { Ok, NoLibrary, MissingFunction };

// Loads ftd2xx.dll and looks up the whole function list in its order. Shows
// no message itself.
DriverLoad LoadDriver();
