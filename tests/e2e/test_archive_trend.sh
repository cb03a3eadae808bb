#!/usr/bin/env bash
# "Динамика" in the archive viewer: a window with the trend of the selected
# row's sample source, drawn on white with the means joined by a line, the
# norm its series were judged against across it and the means below it red;
# "Копировать" puts exactly the shown picture on the clipboard; the window
# outlives the viewer, and several may be open; Esc closes one.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_trend

# The program's own archive writer from a native build (E2E_NATIVE names
# another build folder than build/native).
NATIVE="${E2E_NATIVE:-$BUILD/native}"
cmake --build "$NATIVE" --target bench_archive >/dev/null || e2e_abort "no archive tool"
cp1251() { printf '%s' "$1" | iconv -f UTF-8 -t CP1251; }
write() { (cd "$E2E_DATA" && "$NATIVE/bin/bench_archive" source "$1" "$(cp1251 "$2")" "${@:3}"); }
mkdir -p "$E2E_DATA"
SOURCE="ТП-5 Т1"
# The same source typed otherwise (case, blanks) counts as the same; other
# sources stay out. The last series, selected when the viewer opens, is of
# the source. Its 12 series are judged against a norm of 55 kV, good from
# 58 kV (means 60 down to 49 kV); the three older ones, written before
# series were judged, have no say in the norm drawn.
write 3 " тп-5 т1 " 2016-02-01 60 || e2e_abort "archive not written"
write 4 "ТП-7 Т2" 2018-01-10 30
write 12 "$SOURCE" 2017-03-15 90 55 58
SERIES=19
archive_write_ini

e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 wait-selected "$ARCHIVE_VIEWER" 701 $((SERIES - 1)) 60 >/dev/null
failing="$(ui find "$ARCHIVE_VIEWER" list-rows "$ARCHIVE_VIEWER" 701 | grep -c '|не соотв\.|')"
e2e_check "the six series under 55 kV are listed \"не соотв.\" (got $failing)" [ "$failing" = 6 ]
e2e_shot viewer

TREND="Динамика: $SOURCE"
ui_must find "$ARCHIVE_VIEWER" click-in "$ARCHIVE_VIEWER" 712
ui_must find "$TREND" 20 sleep 1 >/dev/null
read -r shown x y w h <<<"$(ui find "$TREND" child-visible "$TREND" 791)"
e2e_check "the picture is shown whole (${w}x${h} at $x,$y)" [ "$shown" = 1 ]
e2e_check "the window has a sensible size (${w}x${h})" [ "${w:-0}" -ge 500 -a "${h:-0}" -ge 300 ]
e2e_shot trend
shot="$(ls -t "$E2E_SCREENS/$E2E_NAME"-*-trend.png | head -1)"
crop="$E2E_RUN/shown.png"
convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "$crop"

# Pixels of one colour in an image.
count() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:; }
total=$((w * h))
white="$(count "$crop" '#FFFFFF')"
means="$(count "$crop" '#002080')"   # kTrendMeanColor
values="$(count "$crop" '#2060B0')"  # kTrendValueColor
e2e_log "of $total pixels: white $white, mean line $means, values $values"
e2e_check "the background is white" [ "$white" -gt $((total * 3 / 4)) ]
e2e_check "the means and their line are drawn" [ "$means" -gt 200 ]
e2e_check "the single values are drawn" [ "$values" -gt 500 ]
norm="$(count "$crop" '#B06000')" below="$(count "$crop" '#D00000')"  # kTrendNormColor, kTrendBelowNormColor
e2e_check "the norm spans the plot ($norm pixels) and the means under it are red ($below)" \
  [ "$norm" -gt "$w" -a "$below" -gt 60 ]
# No mark, mean or line lies on a norm's label: the norm's colour off the
# bands' rows is the labels, each a run of columns with gaps narrower than
# a blank; no colour but white and the grid's stands in a label's box.
covered="$(convert "$crop" txt:- | awk -F'[,: ]+' -v w="$w" '
  NR > 1 { x = $1; y = $2; c = toupper($0); sub(/.*#/, "", c); c = substr(c, 1, 6)
           if (c == "B06000") { n[y]++; nx[++m] = x; ny[m] = y } else if (c != "FFFFFF" && c != "D8D8D8") { ox[++o] = x; oy[o] = y } }
  END {
    for (y in n) if (n[y] > w / 3) for (d = -2; d <= 2; d++) band[y + d] = 1
    for (i = 1; i <= m; i++) if (!band[ny[i]]) {
      x = nx[i]; has[x] = 1; labels++
      if (!(x in top) || ny[i] < top[x]) top[x] = ny[i]; if (!(x in bottom) || ny[i] > bottom[x]) bottom[x] = ny[i] }
    if (!labels) { print "no label"; exit }
    for (x = 0; x <= w; x++) {
      if (!has[x]) continue
      if (runs && x - last <= 12) { if (top[x] < y0[runs]) y0[runs] = top[x]; if (bottom[x] > y1[runs]) y1[runs] = bottom[x] }
      else { runs++; x0[runs] = x; y0[runs] = top[x]; y1[runs] = bottom[x] }
      x1[runs] = x; last = x }
    for (k = 1; k <= o; k++) for (r = 1; r <= runs; r++)
      if (ox[k] >= x0[r] && ox[k] <= x1[r] && oy[k] >= y0[r] && oy[k] <= y1[r]) hit++
    print hit + 0 }')"
e2e_check "no mark is drawn over the norm's label (pixels: $covered)" [ "$covered" = 0 ]
# Reading the picture's columns left to right, the mean line falls: the
# oil of this source got worse from series to series.
rows_of() {  # mean row of the mean colour in the left and right fifth of the picture
  convert "$crop" -crop "$((w / 5))x${h}+$1+0" +repage -fill black +opaque '#002080' -fill white -opaque '#002080' \
    txt:- | awk -F'[,:]' '/#FFFFFF/ { sum += $2; n++ } END { print (n ? int(sum / n) : -1) }'
}
left="$(rows_of $((w / 10)))" right="$(rows_of $((w * 7 / 10)))"
e2e_check "the mean line falls from left ($left) to right ($right)" [ "$left" -ge 0 -a "$right" -gt "$left" ]

bmp="$E2E_RUN/copied.bmp"
ui_must find "$TREND" click-in "$TREND" 790 sleep 1 >/dev/null
size="$(ui clipboard-bitmap "$(e2e_winpath "$bmp")")"
e2e_check "\"Копировать\" put a bitmap of the picture's size on the clipboard (got '$size')" [ "$size" = "$w $h" ]
diff="$(compare -metric AE "$crop" "$bmp" null: 2>&1)"
e2e_check "the copied bitmap is the shown picture (differing pixels: $diff)" [ "$diff" = 0 ]

# The picture follows the window's size.
ui find "$TREND" resize "$TREND" "$(e2e_px 900)" "$(e2e_px 600)" sleep 1 >/dev/null
read -r shown x y w2 h2 <<<"$(ui find "$TREND" child-visible "$TREND" 791)"
e2e_check "the picture grows with the window (${w}x${h} -> ${w2}x${h2})" [ "${w2:-0}" -gt "$w" -a "${h2:-0}" -gt "$h" ]
e2e_shot resized

# The viewer closes under the open window, which stays; a second window
# from a new viewer makes two.
ui_must find "$ARCHIVE_VIEWER" close-box "$ARCHIVE_VIEWER" sleep 1 >/dev/null
e2e_check "the viewer closed" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 0 ]
e2e_check "the trend window outlives the viewer" [ "$(ui count-windows "$TREND")" = 1 ]
ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 wait-selected "$ARCHIVE_VIEWER" 701 $((SERIES - 1)) 60 >/dev/null
ui_must find "$ARCHIVE_VIEWER" click-in "$ARCHIVE_VIEWER" 712 sleep 1 >/dev/null
e2e_check "a second trend window opens beside the first" [ "$(ui count-windows "$TREND")" = 2 ]
e2e_shot two
ui_must find "$TREND" close-box "$TREND" sleep 1 >/dev/null
e2e_check "closing one leaves the other" [ "$(ui count-windows "$TREND")" = 1 ]
e2e_check "the viewer is untouched by it" [ "$(ui find "$E2E_CAPTION" shown "$ARCHIVE_VIEWER")" = 1 ]
ui_must find "$ARCHIVE_VIEWER" close-box "$ARCHIVE_VIEWER" sleep 1 >/dev/null
e2e_check "no message box on the way" ui find "$E2E_CAPTION" no-msgbox
e2e_check "the last trend window is still open" [ "$(ui count-windows "$TREND")" = 1 ]
# Esc closes it, also after "Копировать" had the focus.
e2e_log "$(ui find "$TREND" click-in "$TREND" 790 sleep 1 focused key escape 2>&1)"
deadline=$((SECONDS + 5))
until [ "$(ui count-windows "$TREND")" = 0 ] || ((SECONDS > deadline)); do sleep 0.5; done
e2e_check "Esc closes the trend window" [ "$(ui count-windows "$TREND")" = 0 ]
e2e_end
