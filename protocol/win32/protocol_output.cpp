#include "protocol/win32/protocol_output.h"

#include "platform/ui.h"

// Placeholders until the protocol writers land.
void SaveProtocolRtf(const TestRecord&) {
    ui::MessageBox(ui::Window::Main, "Сохранение протокола ещё не готово.", "Внимание!", ui::kOk);
}

void PrintProtocol(const TestRecord&) {
    ui::MessageBox(ui::Window::Main, "Печать протокола ещё не готова.", "Внимание!", ui::kOk);
}
