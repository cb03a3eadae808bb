// The data folder, for the dialogs that open in it.
#pragma once
#include <string>

namespace platform {
// The folder SetWorkingFolder made the data folder; before that, the
// process's current folder.
std::wstring DataFolderPath();
}  // namespace platform
