#!/usr/bin/env bash
# Start-up details beside test_main_window and test_first_run: Cyrillic form
# texts survive a start and "Выход" in Windows-1251 while the dates become
# today's; a width beyond the screen is replaced; Tab walks the form; generation 1 gets no item for results stored in
# the instrument; without the driver the program says so and closes with its
# settings saved.
source "$(dirname "$0")/lib.sh"
e2e_begin startup

MONTHS=(января февраля марта апреля мая июня июля августа сентября октября ноября декабря)
TODAY="$(date +%-d) ${MONTHS[$(($(date +%-m) - 1))]} $(date +%Y) г."

# The settings file as the program reads it: Windows-1251, CR LF.
write_ini() {  # <lines...>
  mkdir -p "$E2E_DATA"
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1251 > "$E2E_INI"
}

expect_eq() {  # <what> <expected> <actual>
  if [ "$2" = "$3" ]; then e2e_log "ok: $1"; else e2e_fail "$1: expected \"$2\", got \"$3\""; fi
}

# Closes the program through its menu and waits for the process to end.
quit_by_menu() {  # <what>
  ui find "$E2E_CAPTION" 10 menu 205 >/dev/null || e2e_fail "$1: menu 205 (Выход)"
  e2e_wait_exit 20 || e2e_abort "$1: the program did not end after Выход"
}

# ui that must succeed; its own message goes into the failure.
must() { local out; out="$(ui "$@")" || e2e_abort "ui_driver $*: $out"; }

# --- saved Cyrillic form texts; a saved width beyond the screen
write_ini "[Programm]" "String0=Протокол №17" "String1=Масло трансформаторное ГК" \
  "String4=1 января 2020 г." "String10=2 января 2020 г." "String12=Иванов И. И." \
  "[MainWnd]" "X=10" "Y=10" "W=5000" "H=600"
e2e_start
must find "$E2E_CAPTION" 30
read -r x y w h <<<"$(ui find "$E2E_CAPTION" 10 rect)"
e2e_check "a width beyond the screen becomes 500 (got $x $y $w $h)" [ "$w" = 500 ]
form="$(ui find "$E2E_CAPTION" 10 text 140 text 141 text 152 text 144 text 150 | tr '\n' '|')"
expect_eq "saved form texts restored, dates replaced by today" \
  "Протокол №17|Масло трансформаторное ГК|Иванов И. И.|$TODAY|$TODAY|" "$form"
expect_eq "Tab from 152 wraps to 140, from 145 goes to 146" "140|146|" \
  "$(ui find "$E2E_CAPTION" 10 focus 152 key tab focused focus 145 key tab focused | tr '\n' '|')"
expect_eq "Tab on a button leaves the focus there" 171 "$(ui find "$E2E_CAPTION" 10 focus 171 key tab focused)"
items=
for _ in $(seq 30); do
  [ "$(ui find "$E2E_CAPTION" 10 menu-has 210)" = 1 ] && { items="$(ui find "$E2E_CAPTION" 10 menu-items 204)"; break; }
  sleep 0.5
done
e2e_check "generation 2: item 210 right before 204 in the Файл menu (items: $items)" \
  grep -Eq '(^| )201 172 210 204 212 213 0 205$' <<<"$items"
e2e_shot restored
quit_by_menu "restored start"
expect_eq "form texts written back in Windows-1251" "Протокол №17|Иванов И. И.|$TODAY" \
  "$(e2e_ini_value Programm String0)|$(e2e_ini_value Programm String12)|$(e2e_ini_value Programm String4)"
# --- generation 1: no item 210
e2e_sim_config description=ORLA-K200V
: > "$E2E_JOURNAL"
e2e_start
must find "$E2E_CAPTION" 30
for _ in $(seq 40); do grep -q ' R ' "$E2E_JOURNAL" 2>/dev/null && break; sleep 0.5; done
e2e_check "generation 1 instrument answered" grep -q ' R ' "$E2E_JOURNAL"
sleep 1
expect_eq "generation 1: no item 210" 0 "$(ui find "$E2E_CAPTION" 10 menu-has 210)"
quit_by_menu "generation 1"

# --- no driver beside the program
rm -f "$E2E_RUN/ftd2xx.dll" "$E2E_INI"
e2e_start
out="$(ui msgbox "Не найдена библиотека ftd2xx.dll." ok 30)"
expect_eq "missing driver reported" "Ошибка!: Не найдена библиотека ftd2xx.dll.|Пожалуйста, установите драйвер!|" \
  "$(tr '\n' '|' <<<"$out")"
e2e_wait_exit 20 || e2e_fail "the program did not close after the missing-driver box"
e2e_check "settings saved on that close" [ "$(e2e_ini_value Programm FirstRun)" = 0 -a -n "$(e2e_ini_value MainWnd W)" ]
e2e_end
