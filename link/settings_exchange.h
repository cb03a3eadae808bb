#pragma once

// Writes desiredSettings to the instrument. Called by the worker only, after
// it found IzmerMode clear.
void ChangeDeviceSettings();
