// The five test-parameter fields of a window, filled from their texts.
#include "results/parameter_fields.h"

#include "results/test_parameter_ids.h"

void ShowParameterTextsIn(ui::Window window, const TestParameterTexts& texts) {
    static_assert(IDC_VALUE_MAXIMUM - IDC_VALUE_COUNT + 1 == kTestParameterCount, "one field per parameter");
    for (int k = 0; k < kTestParameterCount; ++k) ui::SetText(window, IDC_VALUE_COUNT + k, texts.text[k]);
}
