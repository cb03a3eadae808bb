#!/usr/bin/env bash
# "Журнал протоколов": after a series, a register of three events beside
# log.dat is listed newest first and found whole; the find keeps one
# person's event, which the export writes; a line changed by hand is named
# by the window and by `orla-archive verify` (exit 2), and a missing
# register is said so.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
source "$(dirname "$0")/protocol_lib.sh"
JOURNAL="Журнал протоколов"
e2e_begin journal
cmake --build "$BUILD/native" --target orla-archive >/dev/null || e2e_abort "no orla-archive"
e2e_sim_config measurement_count=2 voltages=45.2,47.0
archive_write_ini "String0=314"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" wait-enabled 170 1 60 click 170
archive_wait_size "$ARCHIVE_GROUP" 180 || e2e_abort "the series was not archived"

# The record's hash and test time, as docs/archive-format.md reads a group.
read -r record test_time <<<"$(python3 - "$E2E_DATA/log.dat" <<'PY'
import hashlib, struct, sys
key = "тихий ветер над рекой- шум листв".encode("cp1251")
r = bytes(b ^ key[i % 32] for i, b in enumerate(open(sys.argv[1], "rb").read()[:3416]))
y, mo, _, d, h, mi, s, _ = struct.unpack("<8H", r[28:44])
print(hashlib.sha256(r).hexdigest(), "%04d-%02d-%02d_%02d:%02d:%02d" % (y, mo, d, h, mi, s))
PY
)"
test_time="${test_time/_/ }"
# Each line chained to the one before it with sha256sum, as the program chains them.
chain=$(printf '0%.0s' {1..64})
register() {  # <seq> <event> <test time> <number> <version> <person> <details> <record>
  local signed="$1;2026-05-01 10:0$1:00;$2;$3;$4;$5;lab;$6;$7;$8;"
  chain="$(printf '%s' "$chain$signed" | sha256sum | cut -c1-64)"
  printf '%s%s\r\n' "$signed" "$chain"
}
{
  printf '\xEF\xBB\xBF'
  register 1 journal_start "" "" "" "Иванов И.И." "ОРЛА-К200В 5.00" ""
  register 2 series "$test_time" 314 0 "Иванов И.И." "" "$record"
  register 3 issue "$test_time" 314 0 "Петров П.П." 'C:\Протоколы\314.rtf' "$record"
} >"$E2E_DATA/journal.csv"

ui_must find "$E2E_CAPTION" menu 213 >/dev/null
ui_must find "$JOURNAL" 20 >/dev/null
rows="$(ui find "$JOURNAL" list-rows "$JOURNAL" 1201)"
newest="3|01.05.2026 10:03:00|выдача|${test_time:8:2}.${test_time:5:2}.${test_time:0:4}${test_time:10}|314|0|lab|Петров П.П.|C:\\Протоколы\\314.rtf"
e2e_check "three rows" [ "$(grep -c . <<<"$rows")" = 3 ]
e2e_check "newest first ($(head -1 <<<"$rows"))" [ "$(head -1 <<<"$rows")" = "$newest" ]
e2e_check "events in Russian words" grep -q '^1|.*|начало журнала|' <<<"$(tail -1 <<<"$rows")"
verdict="$(ui find "$JOURNAL" child-text "$JOURNAL" 1205)"
e2e_check "the register is whole ($verdict)" [ "$verdict" = "Журнал цел: 3 записи" ]
ui_must find "$JOURNAL" set-text 1203 "петров" >/dev/null
rows="$(ui find "$JOURNAL" list-rows "$JOURNAL" 1201)"
e2e_check "the find keeps Петров's event alone ($rows)" [ "$rows" = "$newest" ]
e2e_shot found

ui_must find "$JOURNAL" click-in "$JOURNAL" 1204 >/dev/null
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\journal" || e2e_abort "save dialog"
csv="$E2E_RUN/journal.csv"
for _ in $(seq 20); do [ -s "$csv" ] && break; sleep 0.5; done
e2e_check "the export starts with the byte order mark" [ "$(head -c 3 "$csv" | od -An -tx1 | tr -d ' ')" = efbbbf ]
header="№;Время;Событие;Дата испытания;Протокол №;Изм.;Учётная запись;Кто;Подробности"
e2e_check "the export holds the header and the row shown" [ "$(tail -c +4 "$csv" | tr -d '\r')" = "$header"$'\n'"${newest//|/;}" ]
ui_must find "$JOURNAL" close >/dev/null

# The series' protocol number changed by hand in line 2.
sed -i '2s/;314;0;lab;/;315;0;lab;/' "$E2E_DATA/journal.csv"
ui_must find "$E2E_CAPTION" menu 213 >/dev/null
verdict="$(ui find "$JOURNAL" 20 child-text "$JOURNAL" 1205)"
e2e_check "the changed line is named ($verdict)" [ "$verdict" = "Журнал нарушен в строке 2: цепочка не сходится" ]
e2e_check "and selected" [ "$(ui find "$JOURNAL" list-selected "$JOURNAL" 1201)" = 1 ]
e2e_shot broken
ui_must find "$JOURNAL" close >/dev/null
verify="$("$BUILD/native/bin/orla-archive" verify "$E2E_DATA/log.dat")" && rc=0 || rc=$?
verify="$rc|$(grep '^journal:' <<<"$verify")"
e2e_check "orla-archive verify names the line and exits 2 ($verify)" \
  [ "$verify" = "2|journal: Журнал нарушен в строке 2: цепочка не сходится" ]

rm -f "$E2E_DATA/journal.csv"
ui_must find "$E2E_CAPTION" menu 213 >/dev/null
verdict="$(ui find "$JOURNAL" 20 child-text "$JOURNAL" 1205)"
e2e_check "a missing register is said so ($verdict)" [ "$verdict" = "Журнала нет: в папке данных не найден journal.csv" ]
ui_must find "$JOURNAL" close >/dev/null
e2e_end
