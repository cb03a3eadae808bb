#!/usr/bin/env bash
# Three series run from "ПУСК" are listed as three rows of the archive
# viewer, the last one selected and shown in the details pane; each series
# left the next number in the form, so the third is 316. "Утвердить" approves
# the series shown, proposing the head of the laboratory from the settings.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_series
e2e_sim_config measurement_count=2 voltages=45.2,47.0,50.1,52.3,38.4,41.0
archive_write_ini "String0=314" "Direktor=Начальник лаборатории" "DirektorName=Петров П.П."
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
for k in 1 2 3; do
  ui_must find "$E2E_CAPTION" wait-enabled 170 1 60 click 170
  archive_wait_size $((ARCHIVE_GROUP * k)) 180 || e2e_abort "series $k was not archived"
  e2e_log "series $k archived"
done

ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 2
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
e2e_check "three rows listed (got $rows)" [ "$rows" = 3 ]
selected="$(ui find "$ARCHIVE_VIEWER" list-selected "$ARCHIVE_VIEWER" 701)"
e2e_check "last row selected (got $selected)" [ "$selected" = 2 ]
voltages="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 722)"
e2e_check "details show the last series (got '$voltages')" [ "$voltages" = "38.4 кВ 41.0 кВ " ]
number="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 140)"
e2e_check "details show the protocol number (got '$number')" [ "$number" = 316 ]
mean="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 723)"
e2e_check "details show the mean (got '$mean')" [ "$mean" = "39.7 кВ" ]
count="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 133)"
e2e_check "details show the series' measurement count (got '$count')" [ "$count" = 2 ]

APPROVAL="Утверждение протокола"
ui_must find "$ARCHIVE_VIEWER" 10 click-in "$ARCHIVE_VIEWER" 714 >/dev/null
ui_must find "$APPROVAL" 10 >/dev/null
proposed="$(ui find "$APPROVAL" child-text "$APPROVAL" 1214) $(ui find "$APPROVAL" child-text "$APPROVAL" 1215)"
e2e_check "the head of the laboratory proposed (got '$proposed')" [ "$proposed" = "Начальник лаборатории Петров П.П." ]
series="$(ui find "$APPROVAL" child-text "$APPROVAL" 1211)"
e2e_check "the dialog names the series (got '$series')" [ "$series" = "316 от $(date +%d.%m.%Y)" ]
e2e_shot approval
ui_must find "$APPROVAL" 10 click 1 >/dev/null
# A register begun by this approval says so once.
ui msgbox "начат заново" ok 3 >/dev/null
sleep 1
line="$(tail -1 "$E2E_DATA/journal.csv" | tr -d '\r')"
e2e_check "journal.csv ends in the approve line of 316 ($line)" \
  grep -q ';approve;[^;]*;316;0;[^;]*;Петров П.П.;Начальник лаборатории;' <<<"$line"
last="$(ui find "$ARCHIVE_VIEWER" 10 list-rows "$ARCHIVE_VIEWER" 701 | tail -1)"
e2e_check "the row says approved today ($last)" grep -q "|утв. $(date +%d.%m.%Y)\$" <<<"$last"
approver="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 729)"
e2e_check "the details name the approver (got '$approver')" \
  [ "$approver" = "Утвердил: Начальник лаборатории Петров П.П., $(date +%d.%m.%Y)" ]
again=enabled
ui find "$ARCHIVE_VIEWER" click-in "$ARCHIVE_VIEWER" 714 >/dev/null || again=disabled
e2e_check "an approved version cannot be approved again (\"Утвердить\" $again)" [ "$again" = disabled ]
e2e_shot viewer
ui_must find "$ARCHIVE_VIEWER" close
sleep 1
e2e_check "viewer closed" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
e2e_end
