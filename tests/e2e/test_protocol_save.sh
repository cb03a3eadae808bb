#!/usr/bin/env bash
# "Сохранить протокол" through the real file dialog writes the filled
# template; without a template the error comes after the name was chosen and
# no file is made.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/protocol_series.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

e2e_begin protocol_save
protocol_prepare_and_run_series

saved="$E2E_RUN/protokol$PROTOCOL_NUMBER.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\protokol$PROTOCOL_NUMBER" || e2e_fail "save dialog"
sleep 1
e2e_shot saved
e2e_check "no error box after saving" bash -c '! xdotool search --onlyvisible --name "^Ошибка!$" >/dev/null'
e2e_check "protocol file written" test -s "$saved"
e2e_check "file ends in one zero byte" test "$(tail -c 1 "$saved" | od -An -tx1 | tr -d ' ')" = 00
text="$(protocol_rtf_text "$saved")"
for want in "ПРОТОКОЛ № $PROTOCOL_NUMBER" "$PROTOCOL_ORG_LINE1" "$PROTOCOL_ORG_LINE2" "Масло ГК" \
            "ОРЛА-К200В заводской номер K2V000017" "45.2 кВ, 47.0 кВ, >100 кВ" "Заключение:" "Петров П.П." \
            "Иванов И.И."; do
  e2e_check "document shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
e2e_check "no key left unfilled" bash -c '! grep -qE "PROTOKOLNUM|ULIST|USREDNEE|USQERROR|ORGNAME|TESTENAME|ZAKLUCHENIE" <<<"$1"' _ "$text"

rm -f "$E2E_DATA/template.rtf"
missing="$E2E_RUN/missing.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\missing" || e2e_fail "save dialog without template"
e2e_shot missing-template
ui_must find "$E2E_CAPTION" 30 msgbox "Файл template.rtf не найден." ok 30
e2e_check "no file without a template" test ! -e "$missing"

e2e_end
