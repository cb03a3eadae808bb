#!/usr/bin/env bash
# Space types a blank in a protocol field (and still presses no button), and
# the blank reaches the saved protocol; a protocol is never saved over the
# template itself, which stays as it was. After the series the number field
# proposes the next number, while the series' protocol keeps its own; after
# the number is mended it proposes the next after the mended one, and ПУСК
# with a number the archive holds asks first; the material field offers the
# archive's materials as it is typed.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/protocol_series.sh"
source "$HERE/archive_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

e2e_begin protocol_form
# Two older series of "Масло трансформаторное ГК" in the archive.
archive_make_log 2 "$E2E_DATA" || e2e_abort "archive not written"
protocol_prepare_and_run_series
number="$(ui find "$E2E_CAPTION" 10 text 140)"
e2e_check "the number field proposes the next number (got '$number')" [ "$number" = $((PROTOCOL_NUMBER + 1)) ]

# "Масло ГК" + End, Space, T: the blank lands between the words.
ui_must find "$E2E_CAPTION" 10 focus 141 key end key space key 0x54
field="$(ui find "$E2E_CAPTION" 10 text 141)"
e2e_check "Space typed a blank in the field (got '$field')" [ "$field" = "Масло ГК t" ]
starts_before="$(grep -c ' W 42 ' "$E2E_JOURNAL")"
ui_must find "$E2E_CAPTION" 10 focus 170 key space sleep 1
e2e_check "Space on ПУСК starts nothing" [ "$(grep -c ' W 42 ' "$E2E_JOURNAL")" = "$starts_before" ]

saved="$E2E_RUN/blank.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\blank" || e2e_fail "save dialog"
archive_answer_amendment "пробел в материале" "Иванов И.И." || e2e_fail "the amendment's reason"
text="$(protocol_rtf_text "$saved")"
e2e_check "the blank is in the protocol" grep -qF "Масло ГК t" <<<"$text"
e2e_check "the mended protocol keeps the series' number" grep -qF "ПРОТОКОЛ № $PROTOCOL_NUMBER" <<<"$text"

# The number itself mended ("77а") and saved: the field then proposes the
# number after the mended one, and ПУСК with the mended number asks first;
# "Нет" starts nothing.
mended="${PROTOCOL_NUMBER}а" next="$((PROTOCOL_NUMBER + 1))а"
ui_must find "$E2E_CAPTION" 10 set-text 140 "$mended" menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\mended" || e2e_fail "save dialog"
archive_answer_amendment "литера в номере" "Иванов И.И." || e2e_fail "the amendment's reason"
e2e_check "the protocol has the mended number" grep -qF "ПРОТОКОЛ № $mended" <<<"$(protocol_rtf_text "$E2E_RUN/mended.rtf")"
number="$(ui find "$E2E_CAPTION" 10 wait-text 140 "$next" 10)"
e2e_check "the field proposes the number after the mended one (got '$number')" [ "$number" = "$next" ]
starts_before="$(grep -c ' W 42 ' "$E2E_JOURNAL")"
ui_must find "$E2E_CAPTION" 10 set-text 140 "$mended" click 170 sleep 1 >/dev/null
e2e_shot number-in-archive
box="$(ui find "$E2E_CAPTION" 10 msgbox "уже есть в архиве" no 20)"
e2e_check "ПУСК asks about a number the archive holds ($box)" \
  grep -qE "^Внимание!: Протокол № $mended уже есть в архиве \(серия [0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}\)\. Продолжить\?$" <<<"$box"
sleep 1
e2e_check "\"Нет\" starts no series" [ "$(grep -c ' W 42 ' "$E2E_JOURNAL")" = "$starts_before" ]

# Saving under the template's own name: the standard question first, then
# the program refuses and writes nothing.
cp "$E2E_DATA/template.rtf" "$E2E_RUN/template.before"
ui_must find "$E2E_CAPTION" 10 menu 201
w="$(protocol_wait_window '^(Сохранить как|Save As)$' 30)" || e2e_abort "no save dialog"
protocol_put_dialog_path "$w" "$(e2e_winpath "$E2E_DATA")\\template" || e2e_abort "no name field in the save dialog"
ui_must find "$E2E_CAPTION" 10 msgbox "$(e2e_system_text "уже существует" "already exists")" yes 20
e2e_shot refused
box="$(ui find "$E2E_CAPTION" 10 msgbox "шаблон протокола" ok 20)"
e2e_check "the program refuses to save over its template ($box)" grep -q "^Ошибка!:" <<<"$box"
e2e_check "the template is unchanged" cmp -s "$E2E_DATA/template.rtf" "$E2E_RUN/template.before"

# "Мас" offers the older series' material (two series, one text), the series
# just run and its amendment; typing on completes from the archive.
ui_must find "$E2E_CAPTION" 10 set-text 141 "" focus 141 type "Мас" >/dev/null
offered="$(ui find "$E2E_CAPTION" 10 suggestions)"
e2e_shot suggestions
e2e_check "\"Мас\" offers the three materials of the archive (got $offered)" [ "$offered" = 3 ]
field="$(ui find "$E2E_CAPTION" 10 type "ло т" text 141)"
e2e_check "\"Масло т\" is completed from the archive (got '$field')" [ "$field" = "Масло трансформаторное ГК" ]
e2e_end
