#!/usr/bin/env bash
# A second start of the program brings the running window to the front and
# ends: one program owns the instrument, the archive and the settings file.
source "$(dirname "$0")/lib.sh"
e2e_begin single_instance
e2e_write_ini "[Programm]" "FirstRun=0"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
first=$E2E_APP_PID
(cd "$E2E_RUN" && timeout 60 wine ORLA-K200V.exe >"$E2E_RUN/second.out" 2>&1)
rc=$?
e2e_check "the second start ends by itself (exit $rc)" [ "$rc" -ne 124 ]
sleep 1
count="$(ui count-windows "$E2E_CAPTION")"
e2e_check "one main window (got $count)" [ "$count" = 1 ]
e2e_check "the first program still runs" kill -0 "$first"
e2e_check "it still talks to the instrument" ui find "$E2E_CAPTION" 10 wait-text status "Проведено измерений" 20
e2e_shot
e2e_end
