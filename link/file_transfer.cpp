#include "link/file_transfer.h"

// Stubs: the file transfers are not built yet.
void ReadDeviceLog() {}
void TransferStoredResults() {}
