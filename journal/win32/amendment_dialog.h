#pragma once
// The dialog "Изменение протокола", 1300: the reason and the name an amendment is appended with.
#include <windows.h>

#include "common/test_record.h"
#include "journal/amendment_note.h"

// Modal with owner; lists the texts amended changes against stored and asks
// for the reason (required) and the name, proposing the name given last in
// this run. True on OK with *note filled; false on Отмена: nothing may be appended.
bool AskAmendmentAnswer(HWND owner, const TestRecord& stored, const TestRecord& amended, AmendmentAnswer* note);
// Appends `amend` for the version just archived; tells the user when the
// register was begun anew or could not be written. The version stays archived.
void RegisterAmendment(HWND owner, const TestRecord& appended, const AmendmentAnswer& note);
