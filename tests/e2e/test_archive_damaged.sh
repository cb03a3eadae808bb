#!/usr/bin/env bash
# A log.dat that is not a whole number of record groups asks "Исправить
# ошибки?"; Yes cuts a short tail back and lists the whole groups.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_damaged
archive_write_ini
archive_make_log 2 "$E2E_DATA" || e2e_abort "could not write log.dat"
head -c 100 "$E2E_DATA/log.dat" >> "$E2E_DATA/log.dat.tail"
cat "$E2E_DATA/log.dat.tail" >> "$E2E_DATA/log.dat" && rm -f "$E2E_DATA/log.dat.tail"
e2e_check "log.dat damaged" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP + 100)) ]
e2e_start
ui_must find "$E2E_CAPTION" 60 menu 204
ui_must msgbox "Исправить ошибки?" yes 20
e2e_check "tail cut back" archive_wait_size $((2 * ARCHIVE_GROUP)) 20
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
e2e_check "two rows listed (got $rows)" [ "$rows" = 2 ]
number="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 140)"
e2e_check "last record shown (got '$number')" [ "$number" = 2 ]
e2e_end
