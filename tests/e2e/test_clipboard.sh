#!/bin/bash
# Text copied from a protocol field reaches the clipboard marked as Russian,
# so other programs read the Windows-1251 bytes as Cyrillic.
source "$(dirname "$0")/lib.sh"
e2e_begin clipboard
e2e_write_ini "[Programm]" "FirstRun=0" "String0=Протокол 12/7"
e2e_start
ui_must find "$E2E_CAPTION" 60 wait-text 140 "12/7" 10 >/dev/null
out="$(ui find "$E2E_CAPTION" 10 copy 140 clipboard)"
e2e_log "clipboard: $out"
e2e_check "field 140 copied as CF_TEXT with CF_LOCALE 0x0019" [ "$out" = "0x0019 Протокол 12/7" ]
e2e_end
