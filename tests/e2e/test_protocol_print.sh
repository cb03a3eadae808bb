#!/usr/bin/env bash
# "ПЕЧАТЬ" prints the protocol through the real print dialog to a CUPS PDF
# printer that Wine finds as its default printer.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/protocol_series.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

e2e_begin protocol_print
trap 'protocol_stop_cups; _e2e_cleanup' EXIT
protocol_start_cups || e2e_abort "CUPS PDF printer not set up"
protocol_prepare_and_run_series

marker="$E2E_RUN/print.marker"
touch "$marker"
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 30 click 172
protocol_answer_print_dialog || e2e_fail "print dialog"
pdf="$(protocol_wait_pdf "$marker" 90)" || e2e_abort "nothing printed"
cp "$pdf" "$E2E_RUN/printed.pdf"
e2e_check "one page" test "$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')" = 1
text="$(pdftotext -layout "$pdf" -)"
for want in "$PROTOCOL_ORG_LINE1" "$PROTOCOL_ORG_LINE2" "Протокол №$PROTOCOL_NUMBER" "1. Основные данные" \
            "1.1. Наименование испытываемого материала" "Масло ГК" "2.2. Влажность окружающего воздуха" \
            "ОРЛА-К200В заводской номер" "K2V000017" "3.1 Пробивные напряжения" "45.2 кВ, 47.0 кВ, >100 кВ" \
            "Испытания произвел" "Инженер" "Петров П.П." "Начальник лаборатории" "Иванов И.И."; do
  e2e_check "page shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
pdftoppm -png -r 60 "$pdf" "$E2E_SCREENS/$E2E_NAME-page" 2>/dev/null

e2e_end
