#!/usr/bin/env bash
# Three series run from "ПУСК" are listed as three rows of the archive
# viewer, the last one selected and shown in the details pane; each series
# left the next number in the form, so the third is 316.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_series
e2e_sim_config measurement_count=2 voltages=45.2,47.0,50.1,52.3,38.4,41.0
archive_write_ini "String0=314"
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
e2e_shot viewer
ui_must find "$ARCHIVE_VIEWER" close
sleep 1
e2e_check "viewer closed" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
e2e_end
