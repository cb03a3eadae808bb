#!/usr/bin/env bash
# "Удалить все результаты измерений" answered Yes empties log.dat and closes
# the viewer; opening it again finds no results.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_clear
archive_write_ini
archive_make_log 2 "$E2E_DATA" || e2e_abort "could not write log.dat"
e2e_start
ui_must find "$E2E_CAPTION" 60 menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
e2e_check "two rows listed (got $rows)" [ "$rows" = 2 ]

# No keeps everything.
ui_must find "$ARCHIVE_VIEWER" click 703 msgbox "Будут удалены все результаты измерений." no 10
e2e_check "No keeps log.dat" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP)) ]
ui_must find "$ARCHIVE_VIEWER" 5

ui_must find "$ARCHIVE_VIEWER" click 703 msgbox "Будут удалены все результаты измерений." yes 10
start=$SECONDS
e2e_check "log.dat emptied" archive_wait_size 0 10
e2e_log "emptied after $((SECONDS - start)) s"
e2e_check "viewer closed" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]

ui_must find "$E2E_CAPTION" menu 204 msgbox "Результатов ранее проведенных испытаний не найдено!" ok 20
sleep 1
e2e_check "viewer closed after the message" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
e2e_end
