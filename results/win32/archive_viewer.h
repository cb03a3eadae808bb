#pragma once

// Dialog 700, modal, owned by the main window.
void ShowArchiveViewer();
