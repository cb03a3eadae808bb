// What happens when a thread of the link cannot be started.
#include "link/thread_failure.h"

#include <cstdlib>

#include "platform/ui.h"

void ThreadStartFailed() {
    ui::MessageBox(ui::Window::None, "Невозможно запустить поток чтения/записи!", "Ошибка!", ui::kOk);
    std::exit(0);
}
