#!/usr/bin/env bash
# Unplugging the instrument: the status bar searches with growing dots and
# the same instrument is taken again when it comes back.
source "$(dirname "$0")/lib.sh"
e2e_begin search

e2e_sim_config unplug_at_ms=4000 replug_at_ms=12000
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
# One watcher from the unplug to the replug sees every text on the way.
seen="$(ui find "$E2E_CAPTION" watch-text status 20 "Поиск прибора..." watch-text status 30 "Прибор подключен")"
rc=$?
e2e_shot after-replug
e2e_check "status shows the search after the unplug" grep -q '^Поиск прибора' <<<"$seen"
dots="$(grep -o '^Поиск прибора\.*$' <<<"$seen" | sort -u | wc -l)"
e2e_check "the dots grow ($(grep '^Поиск' <<<"$seen" | sort -u | tr '\n' '|'))" [ "$dots" -ge 3 ]
e2e_check "\"Прибор подключен\" again after the replug (last: $(tail -1 <<<"$seen"))" [ "$rc" = 0 ]
# Polling resumes after the replug: new writes reach the journal.
before="$(grep -c ' W ' "$E2E_JOURNAL")"
sleep 2
after="$(grep -c ' W ' "$E2E_JOURNAL")"
e2e_check "polling resumed after the replug ($before -> $after writes)" [ "$after" -gt $((before + 5)) ]
e2e_end
