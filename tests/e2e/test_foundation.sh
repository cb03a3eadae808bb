#!/usr/bin/env bash
# The simulated driver answers a hand-made frame; the program finds the
# instrument and polls it in the generation-2 idle order at its 100 ms pace.
source "$(dirname "$0")/lib.sh"
e2e_begin foundation

for cmd in 0x02 0x00; do
  out="$(cd "$E2E_RUN" && wine dll_probe.exe ORLA-K200V2 $cmd 2>&1)"; rc=$?
  e2e_check "dll_probe command $cmd: ${out//$'\r'/}" [ "$rc" = 0 ]
done

# The connected text lasts until the first status answer; a watcher that is
# already waiting for the window sees it.
ui find "$E2E_CAPTION" 30 watch-text status 30 "Прибор подключен" >"$E2E_RUN/status.txt" 2>&1 &
watcher=$!
e2e_start
wait "$watcher"; rc=$?
e2e_check "status bar showed \"Прибор подключен\" (seen: $(tr '\n' '|' <"$E2E_RUN/status.txt"))" [ "$rc" = 0 ]
sleep 1
e2e_shot connected
sleep 4

# Commands written, in order, and the gaps between them.
writes="$(awk '$2 == "W" { print $1, $3 }' "$E2E_JOURNAL")"
count="$(wc -l <<<"$writes")"
e2e_check "at least 20 polls in 4 s (got $count)" [ "$count" -ge 20 ]
order="$(awk '{ printf "%s ", $2 }' <<<"$writes")"
expected="$(for i in $(seq "$count"); do printf '%s ' "$(sed -n "$(( (i - 1) % 4 + 1 ))p" <<<$'02\n01\n00\n20')"; done)"
e2e_check "idle poll order 02 01 00 20 repeated (got: ${order:0:120}...)" [ "$order" = "$expected" ]
e2e_check "every poll is a short frame" \
  bash -c "! awk '\$2 == \"W\" && (NF != 10 || \$4 != \"08\")' '$E2E_JOURNAL' | grep -q ."
median="$(awk 'NR > 1 { print $1 - prev } { prev = $1 }' <<<"$writes" | sort -n |
          awk '{ a[NR] = $1 } END { print (NR ? a[int((NR + 1) / 2)] : 0) }')"
e2e_check "median gap between polls $median ms within 80..250" [ "$median" -ge 80 -a "$median" -le 250 ]
e2e_end
