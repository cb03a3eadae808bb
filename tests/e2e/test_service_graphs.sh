#!/usr/bin/env bash
# The two service graphs in service mode: after three short series the series
# graph shows their bars at its right end (today's first bar yellow, the
# second green-grey) and the histogram its bars between 44 and 51 kV.
source "$(dirname "$0")/lib.sh"
e2e_begin service_graphs

# Pixels of a screen rectangle that pass an awk test on r, g, b (0..255);
# x and y are relative to the rectangle.
count_pixels() {  # <png> <x> <y> <w> <h> <awk condition>
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- 2>/dev/null | awk "
    /^#/ { next }
    { split(\$1, at, /[,:]/); x = at[1]; y = at[2]
      split(substr(\$0, index(\$0, \"(\") + 1), c, /[,)]/); r = c[1] + 0; g = c[2] + 0; b = c[3] + 0 }
    $6 { n++ }
    END { print n + 0 }"
}
# Screen rectangle "x y w h" of a graph, or nothing when it is not shown.
graph_rect() {  # <id>
  local out
  out="$(ui find "$E2E_CAPTION" 10 child-visible "$E2E_CAPTION" "$1")" || return 1
  set -- $out
  [ "$1" = 1 ] && echo "$2 $3 $4 $5"
}

# Every check of both graphs on a fresh screenshot labelled $1.
check_graphs() {  # <label>
  e2e_shot "$1"
  local shot="$E2E_SCREENS/$E2E_NAME-$E2E_SHOT-$1.png" bars histogram x y w h half right left black labels
  local yellow greyGreen green from to near far px pw skip
  bars="$(graph_rect 660)"
  e2e_check "$1: series graph 660 shown ($bars)" [ -n "$bars" ]
  histogram="$(graph_rect 661)"
  e2e_check "$1: histogram 661 shown ($histogram)" [ -n "$histogram" ]

  if [ -n "$bars" ]; then
    read -r x y w h <<<"$bars"
    yellow='r > 200 && g > 200 && b < 100'
    greyGreen='g > r + 30 && g > b + 30'
    half=$((w / 2))
    right="$(count_pixels "$shot" $((x + half)) "$y" $((w - half)) "$h" "$yellow")"
    e2e_check "$1: today's first bars at the right end of 660 ($right yellow pixels)" [ "$right" -gt 20 ]
    right="$(count_pixels "$shot" $((x + half)) "$y" $((w - half)) "$h" "$greyGreen")"
    e2e_check "$1: second bars at the right end of 660 ($right green-grey pixels)" [ "$right" -gt 20 ]
    left="$(count_pixels "$shot" "$x" "$y" "$half" "$h" "($yellow) || ($greyGreen)")"
    e2e_check "$1: no bars in the left half of 660 ($left pixels)" [ "$left" -eq 0 ]
    black="$(count_pixels "$shot" "$x" "$y" "$w" "$h" 'r < 16 && g < 16 && b < 16')"
    e2e_check "$1: 660 drawn on black ($black of $((w * h)) pixels)" [ "$black" -gt $((w * h / 2)) ]
    right="$(count_pixels "$shot" $((x + 40)) "$y" $((w - 40)) "$h" 'r > 200 && g > 200 && b > 200')"
    e2e_check "$1: nothing light right of the labels in 660 ($right pixels)" [ "$right" -eq 0 ]
    # Labels "0 кВ" .. "80 кВ" at the left edge, light grey on black.
    labels="$(count_pixels "$shot" "$x" "$y" 40 "$h" 'r > 200 && g > 200 && b > 200')"
    e2e_check "$1: axis labels drawn in 660 ($labels light pixels)" [ "$labels" -gt 30 -a "$labels" -lt $((40 * h / 2)) ]
  fi
  if [ -n "$histogram" ]; then
    read -r x y w h <<<"$histogram"
    green='g > r + 30 && g > b + 30'
    black="$(count_pixels "$shot" "$x" "$y" "$w" "$h" 'r < 16 && g < 16 && b < 16')"
    e2e_check "$1: 661 drawn on black ($black of $((w * h)) pixels)" [ "$black" -gt $((w * h / 2)) ]
    # The simulator cycles through its voltages: classes 45, 47 and 50 kV
    # hold two each. The width shows 102 classes from -1 kV.
    from=$((w * 45 / 102)) to=$((w * 52 / 102))
    near="$(count_pixels "$shot" $((x + from)) "$y" $((to - from)) "$h" "$green")"
    e2e_check "$1: histogram bars between 44 and 51 kV in 661 ($near green pixels)" [ "$near" -gt 20 ]
    # The test-cell picture (173) reaches over the view's left edge; its
    # green display is not a bar.
    read -r _ px _ pw _ <<<"$(ui find "$E2E_CAPTION" 10 child-visible "$E2E_CAPTION" 173) 0 0 0 0"
    skip=$((px + pw > x ? px + pw - x : 0))
    far="$(count_pixels "$shot" $((x + skip)) "$y" $((from - skip)) "$h" "$green")"
    e2e_check "$1: no histogram bars below 44 kV ($far green pixels right of $skip)" [ "$far" -eq 0 ]
  fi
}

# The service view takes what the window has beyond 500 pixels.
e2e_write_ini "[Programm]" "FirstRun=0" "ServiceMode=1" "[MainWnd]" "X=0" "Y=0" "W=$(e2e_px 1100)" "H=$(e2e_px 760)"
e2e_sim_config measurement_count=2 voltages=45.2,47.0,50.1 speed=20
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
e2e_shot empty

for n in 1 2 3; do
  e2e_run_series 90 || e2e_fail "series $n did not end"
done
sleep 1  # a frame or two after the last series
check_graphs graphs
# Wider window, wider graphs: every frame fills the new width.
ui_must find "$E2E_CAPTION" 10 resize "$E2E_CAPTION" "$(e2e_px 1270)" "$(e2e_px 760)" >/dev/null
sleep 1
check_graphs wider

ui find "$E2E_CAPTION" close >/dev/null
e2e_wait_exit 20 || e2e_fail "program did not exit after close"
e2e_end
