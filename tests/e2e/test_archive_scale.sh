#!/usr/bin/env bash
# The archive at a laboratory's scale: 50 000 series are listed with the last
# row selected; typing a sample source's name lists only its series; "Экспорт"
# writes them as CSV that LibreOffice reads back cell for cell, Cyrillic
# and decimal commas intact.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/protocol_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}" libreoffice-calc-nogui
e2e_begin archive_scale

SOURCE="Трансформатор Т-17"
archive_make_log 50000 "$E2E_DATA" >/dev/null || e2e_abort "could not write log.dat"
# Five series of one transformer, one every 90 days; the means fall from 60 kV.
(cd "$E2E_DATA" && "$BUILD/native/bin/bench_archive" source 5 "$(iconv -f UTF-8 -t CP1251 <<<"$SOURCE" | tr -d '\n')" \
   2024-03-01 90 30 50) || e2e_abort "could not append the transformer's series"
archive_write_ini
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"

out="$(ui find "$E2E_CAPTION" menu 204 wait-selected "$ARCHIVE_VIEWER" 701 50004 120)" ||
  e2e_abort "the last of 50 005 rows was never selected: $out"
read -r took longest <<<"$out"
e2e_log "50 005 series listed, the last selected after $took ms (main window answered within $longest ms)"
e2e_check "every series listed (50005)" [ "$(ui find "$ARCHIVE_VIEWER" 10 list-count "$ARCHIVE_VIEWER" 701)" = 50005 ]
e2e_shot listed

# Lower case and only part of the name: the find folds Cyrillic case.
ui_must find "$ARCHIVE_VIEWER" 10 set-text 705 "трансформатор т-17" >/dev/null
rows="$(ui find "$ARCHIVE_VIEWER" 10 list-rows "$ARCHIVE_VIEWER" 701)"
e2e_check "five rows of the transformer ($(wc -l <<<"$rows"))" [ "$(grep -c . <<<"$rows")" = 5 ]
e2e_check "the oldest first, with date and time" grep -q '^1|.*|60.0 кВ|1.3.2024|12:00||соотв.|$' <<<"$(head -1 <<<"$rows")"
e2e_check "the newest selected" [ "$(ui find "$ARCHIVE_VIEWER" 10 list-selected "$ARCHIVE_VIEWER" 701)" = 4 ]
e2e_check "its details shown" [ "$(ui find "$ARCHIVE_VIEWER" 10 child-text "$ARCHIVE_VIEWER" 143)" = "$SOURCE" ]
e2e_shot found

ui_must find "$ARCHIVE_VIEWER" 10 click-in "$ARCHIVE_VIEWER" 711 >/dev/null
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\export" || e2e_abort "save dialog"
csv="$E2E_RUN/export.csv"
for _ in $(seq 20); do [ -s "$csv" ] && break; sleep 0.5; done
e2e_check "the CSV starts with the UTF-8 byte order mark" [ "$(head -c 3 "$csv" | od -An -tx1 | tr -d ' ')" = efbbbf ]
e2e_check "a header and five rows" [ "$(grep -c . "$csv")" = 6 ]

# On an English Windows the export takes that Windows' "," between cells and
# "." before decimals; the texts stay Cyrillic.
if [ "$(e2e_system_text ru en)" = en ]; then
  e2e_check "English list separator and decimal point, Cyrillic kept" \
    grep -qF "1,,,$SOURCE,,,,,,,,,,1.3.2024,12:00,57.0,58.2," "$csv"
  ui find "$ARCHIVE_VIEWER" 10 close >/dev/null
  rm -f "$E2E_DATA/log.dat"
  e2e_end
fi

# LibreOffice as a Russian Excel would read it: ";" between cells, "," before
# decimals. Its tab-separated output, written in an English locale, shows what
# landed in each cell: numbers and dates come out in English notation, texts
# as they were.
out="$E2E_RUN/lo"
mkdir -p "$out"
HOME="$out" LC_ALL=C.UTF-8 LANG=C.UTF-8 timeout 180 soffice --headless --infilter="CSV:59,34,76,1,,1049" \
  --convert-to "txt:Text - txt - csv (StarCalc):9,34,76,1,,1049" --outdir "$out" "$csv" >/dev/null 2>&1
cells="$out/export.txt"
e2e_check "LibreOffice read the CSV" [ -s "$cells" ]
cell() { awk -F'\t' -v r="$1" -v c="$2" 'NR == r { print $c }' "$cells" | tr -d '\r'; }
e2e_check "header: sample source ($(cell 1 4))" [ "$(cell 1 4)" = "Объект, из которого взята проба" ]
e2e_check "row 1: sample source ($(cell 2 4))" [ "$(cell 2 4)" = "$SOURCE" ]
e2e_check "row 1: date and time ($(cell 2 14) $(cell 2 15))" [ "$(cell 2 14) $(cell 2 15)" = "03/01/24 12:00:00" ]
# "57,0" and "58,2" became the numbers 57 and 58.2, not texts.
e2e_check "row 1: U1 and U2 as numbers ($(cell 2 16) $(cell 2 17))" [ "$(cell 2 16) $(cell 2 17)" = "57 58.2" ]
e2e_check "row 5: mean ($(cell 6 22))" [ "$(cell 6 22)" = 56 ]
# The decision stored with the series, after the columns above.
decision="$(cell 1 30)|$(for c in $(seq 30 35); do printf '%s|' "$(cell 2 "$c")"; done)"
e2e_check "row 1: method, norm, rule, conclusion, deviations ($decision)" [ "$decision" = \
  "Методика|ГОСТ 6581-75|30|50||соотв.||" ]

ui find "$ARCHIVE_VIEWER" 10 close >/dev/null
rm -f "$E2E_DATA/log.dat"
e2e_end
