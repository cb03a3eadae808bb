#!/usr/bin/env bash
# "Удалить все результаты измерений" answered Yes moves log.dat aside to a
# dated log-*.dat, leaves an empty log.dat and closes the viewer; opening it
# again finds no results. The register names the file moved and its SHA-256.
# "Открыть архив…" shows the file moved aside read-only, torn tail and all,
# and never writes it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
source "$(dirname "$0")/protocol_lib.sh"
e2e_begin archive_clear
archive_write_ini
archive_make_log 2 "$E2E_DATA" || e2e_abort "could not write log.dat"
e2e_start
ui_must find "$E2E_CAPTION" 60 menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
e2e_check "two rows listed (got $rows)" [ "$rows" = 2 ]
e2e_shot top-row

QUESTION="Все результаты будут перенесены в файл log-"
asides() { (cd "$E2E_DATA" && ls log-*.dat 2>/dev/null); }
# No keeps everything.
ui_must find "$ARCHIVE_VIEWER" click 703 msgbox "$QUESTION" no 10
e2e_check "No keeps log.dat" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP)) ]
e2e_check "No moves nothing" [ -z "$(asides)" ]
ui_must find "$ARCHIVE_VIEWER" 5

ui_must find "$ARCHIVE_VIEWER" click 703 msgbox "$QUESTION" yes 10
e2e_check "log.dat moved aside, an empty one in its place" archive_wait_size 0 10
aside="$(asides)"
e2e_log "moved to $aside"
dated() { grep -Eqx 'log-[0-9]{8}-[0-9]{6}\.dat' <<<"$1"; }
e2e_check "one dated file (got $aside)" dated "$aside"
e2e_check "it holds both series" [ "$(stat -c %s "$E2E_DATA/$aside")" = $((2 * ARCHIVE_GROUP)) ]
e2e_check "viewer closed" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
registered() {  # the register's last line: event|details|record_sha256
  tail -n 1 "$E2E_DATA/journal.csv" | tr -d '\r' | awk -F';' '{ print $3 "|" $9 "|" $10 }'
}
want="archive_aside|$aside|$(sha256sum "$E2E_DATA/$aside" | cut -d' ' -f1)"
for _ in $(seq 1 20); do [ "$(registered)" = "$want" ] && break; sleep 0.25; done
e2e_check "the register names the moved file and its SHA-256 ($(registered))" [ "$(registered)" = "$want" ]

ui_must find "$E2E_CAPTION" menu 204 msgbox "Результатов ранее проведенных испытаний не найдено!" ok 20
sleep 1
e2e_check "viewer closed after the message" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
# With log.dat empty the viewer cannot open, but the file moved aside can,
# from the main window's menu.
ui_must find "$E2E_CAPTION" 10 menu 212 >/dev/null
# The name into the dialog's name field (1148), then Открыть.
ui find "Открыть" 20 set-text 1148 "$aside" click 1 >/dev/null || e2e_abort "no open dialog from the menu"
e2e_check "the moved file opens from the menu" \
  [ "$(ui find "$ARCHIVE_VIEWER: $aside" 20 list-count "$ARCHIVE_VIEWER: $aside" 701)" = 2 ]
ui find "$ARCHIVE_VIEWER: $aside" 10 close >/dev/null

# --- "Открыть архив…": a new series in log.dat, the old ones in the file
# moved aside, whose last group is now torn.
archive_make_log 1 "$E2E_DATA" || e2e_abort "could not write log.dat"
head -c 5000 "$E2E_DATA/$aside" >>"$E2E_DATA/$aside"
torn=$(stat -c %s "$E2E_DATA/$aside")
ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1 click 713
protocol_answer_save_dialog "$aside" '^(Открыть|Open)$' || e2e_abort "no open dialog"
OTHER="$ARCHIVE_VIEWER: $aside"
ui_must find "$OTHER" 20 msgbox "Последняя серия в файле записана не полностью" ok 20
e2e_check "the other file's whole series listed" [ "$(ui find "$OTHER" list-count "$OTHER" 701)" = 2 ]
e2e_check "\"Удалить все\" disabled there" [ "$(ui find "$OTHER" enabled 703)" = 0 ]
e2e_shot other-archive
ui_must find "$OTHER" key escape
e2e_check "the file is left as it was" [ "$(stat -c %s "$E2E_DATA/$aside")" = "$torn" ]
e2e_check "the first viewer stays, with log.dat" [ "$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)" = 1 ]
e2e_end
