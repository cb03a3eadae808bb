// ПУСК's question about a protocol number the archive holds, and the next free number.
#include "app/number_check.h"

#include <vector>

#include "app/protocol_number.h"
#include "app/resource_ids.h"
#include "platform/ui.h"
#include "results/archive_numbers.h"

bool StartWithNumberConfirmed() {
    char number[kProtocolTextSize];
    ui::GetText(ui::Window::Main, IDC_FIRST_FIELD, number, sizeof number);
    std::vector<ArchivedNumber> numbers;
    // A missing archive holds no number; a busy one is not worth stopping the series for.
    if (!ReadArchivedNumbers(&numbers)) return true;
    const ArchivedNumber* holder = NumberHolder(numbers, number);
    if (!holder) return true;
    std::string shown = number;
    shown.erase(0, shown.find_first_not_of(' '));
    shown.erase(shown.find_last_not_of(' ') + 1);
    const std::string question = NumberInArchiveQuestion(shown, holder->testTime);
    return ui::MessageBox(ui::Window::Main, question.c_str(), "Внимание!",
                          ui::kYesNo | ui::kIconQuestion | ui::kDefaultSecond) == ui::kAnswerYes;
}

std::string NextFreeNumberAfter(const std::string& number) {
    std::vector<ArchivedNumber> numbers;
    ReadArchivedNumbers(&numbers);
    return NextFreeProtocolNumber(number, [&numbers](const std::string& n) { return NumberHolder(numbers, n) != nullptr; });
}
