#pragma once

// Reads the instrument's event file into the log viewer.
void ReadDeviceLog();
// Fetches the results stored in a generation-2 instrument while
// storedResultsRequest stays set.
void TransferStoredResults();
