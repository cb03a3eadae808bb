#!/usr/bin/env bash
# A method and a norm chosen, one series that meets the norm and one that
# fails it: the conclusion under the buttons, in the saved RTF protocol read
# back by LibreOffice, on the printed page, in the archive viewer's column
# and in the exported CSV. Then a series with a value that did not break
# down, whose mean is a lower bound, and one stopped after three values,
# which is not judged.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}" libreoffice-calc-nogui

e2e_begin verdict
trap 'protocol_stop_cups; _e2e_cleanup' EXIT
protocol_start_cups || e2e_abort "CUPS PDF printer not set up"

NORM="IEC 60422:2024 табл. 5, масло в эксплуатации, категория C (до 72,5 кВ)"
SOURCE="Трансформатор Т-5"
# IEC 60156 as the instrument runs it: six breakdowns, 2 kV/s, 2 min, delay.
e2e_sim_config speed=40 measurement_count=6 pause_minutes=2 pre_test_delay=1 pre_test_delay_ms=20000 rise_rate=20 \
  voltages=52.4,52.4,52.4,52.4,52.4,52.4,28.0,28.0,28.0,28.0,28.0,28.0,45.2,47.0,120,48.8,51.3,49.9,50,50,50,50,50,50
archive_write_ini "Method=IEC 60156" "Norm=$NORM" "String0=5" "String1=Масло ГК" "String2=IEC 60156" \
  "String3=$SOURCE" "String12=Петров П.П."
install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
e2e_check "the method line" [ "$(ui find "$E2E_CAPTION" 10 text 138)" = "Методика: IEC 60156" ]
chosen="$(ui find "$E2E_CAPTION" 10 combo-selected 175)"
e2e_check "the norm chosen ($chosen: $(ui find "$E2E_CAPTION" 10 text 175))" [ "$chosen" = 3 ]

# <series> <expected verdict line> <column text>
run_series_and_check() {
  local n="$1" want="$2" line marker pdf text
  ui_must find "$E2E_CAPTION" 10 click 170 wait-text status "Проведено измерений 6" 240 wait-enabled 172 1 60 >/dev/null
  line="$(ui find "$E2E_CAPTION" 10 wait-text 176 "$want" 20)" || e2e_fail "series $n: verdict line: $line"
  e2e_log "series $n: $line"
  e2e_shot "series-$n"

  ui_must find "$E2E_CAPTION" 10 menu 201 >/dev/null
  protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\protokol$n" || e2e_fail "series $n: save dialog"
  for _ in $(seq 20); do [ -s "$E2E_RUN/protokol$n.rtf" ] && break; sleep 0.5; done
  text="$(protocol_rtf_text "$E2E_RUN/protokol$n.rtf")"
  e2e_check "series $n: RTF shows the conclusion" grep -qF -- "Заключение: $line" <<<"$text"

  marker="$E2E_RUN/print$n.marker"
  touch "$marker"
  ui_must find "$E2E_CAPTION" 10 click 172 >/dev/null
  protocol_answer_print_dialog || e2e_fail "series $n: print dialog"
  pdf="$(protocol_wait_pdf "$marker" 90)" || e2e_abort "series $n: nothing printed"
  text="$(pdftotext "$pdf" - | sed 's/\xc2\xad/-/g' | tr '\n' ' ' | tr -s ' ')"
  e2e_check "series $n: printed page shows the conclusion" grep -qF -- "$line" <<<"$text"
  pdftoppm -png -r 60 "$pdf" "$E2E_SCREENS/$E2E_NAME-page-$n" 2>/dev/null
}

run_series_and_check 1 "не ниже 40 кВ (норма: хорошо от 40 кВ, удовлетворительно от 30 кВ) — соответствует"
run_series_and_check 2 "ниже нормы 30 кВ — не соответствует"

# 120 kV is over the 100 kV maximum: that test ends without a breakdown. Then СТОП after three values.
e2e_check "no breakdown: a lower bound" ui find "$E2E_CAPTION" 10 click 170 wait-text status "Проведено измерений 6" 240 \
  wait-text 176 "не ниже 57,0 кВ (пробой наступил в пяти испытаниях из шести) по IEC 60156 не ниже 40 кВ" 240
e2e_shot series-3
e2e_check "stopped: not judged" ui find "$E2E_CAPTION" 10 click 170 wait-text status "Проведено измерений 3" 240 \
  click 171 wait-text 176 "Серия прервана: 3 пробоя из 6 — заключение не выносится." 60
e2e_shot series-4
ui_must find "$E2E_CAPTION" 10 menu 204 wait-selected "$ARCHIVE_VIEWER" 701 3 60 >/dev/null  # the newest row
rows="$(ui find "$ARCHIVE_VIEWER" 10 list-rows "$ARCHIVE_VIEWER" 701)"
e2e_check "archive column before the approval: meets, fails, meets, stopped" \
  [ "$(awk -F'|' '{ print $(NF - 1) }' <<<"$rows" | tr '\n' ' ')" = "соотв. не соотв. соотв. прервана " ]
e2e_shot archive
ui find "$ARCHIVE_VIEWER" 10 close >/dev/null

# The CSV as a Russian Excel would read it; LibreOffice prints the cells.
csv="$E2E_RUN/export.csv"
"$BUILD/native/bin/orla-archive" export "$E2E_DATA/log.dat" --csv "$csv" || e2e_fail "orla-archive export"
out="$E2E_RUN/lo"
mkdir -p "$out"
HOME="$out" LC_ALL=C.UTF-8 LANG=C.UTF-8 timeout 180 soffice --headless --infilter="CSV:59,34,76,1,,1049" \
  --convert-to "txt:Text - txt - csv (StarCalc):9,34,76,1,,1049" --outdir "$out" "$csv" >/dev/null 2>&1
cells() { awk -F'\t' -v r="$1" 'NR == r { print $30 "|" $31 "|" $32 "|" $33 "|" $34 "|" $35 }' "$out/export.txt" | tr -d '\r'; }
e2e_check "CSV header ($(cells 1))" [ "$(cells 1)" = "Методика|Норма, кВ|Граница «хорошо», кВ|Правило разброса|Заключение|Отклонения от методики" ]
e2e_check "CSV series 1 ($(cells 2))" [ "$(cells 2)" = "IEC 60156|30|40||соотв.|" ]
e2e_check "CSV series 2 ($(cells 3))" [ "$(cells 3)" = "IEC 60156|30|40||не соотв.|" ]

e2e_end
