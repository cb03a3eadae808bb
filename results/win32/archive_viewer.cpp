#include "results/win32/archive_viewer.h"

#include "platform/ui.h"

// Placeholder until the archive viewer lands.
void ShowArchiveViewer() {
    ui::MessageBox(ui::Window::Main, "Просмотр архива ещё не готов.", "Внимание!", ui::kOk);
}
