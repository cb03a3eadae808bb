#pragma once
#include "results/test_record.h"

// Fills template.rtf with the record and saves it under a name the user picks.
void SaveProtocolRtf(const TestRecord& record);
// Prints the record as a one-page protocol on a printer the user picks.
void PrintProtocol(const TestRecord& record);
