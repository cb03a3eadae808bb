#!/usr/bin/env bash
# The test-cell picture on screen: the vessel down at rest with the lamp
# dark, lifted to the electrodes with the lamp red while high voltage is on,
# and the red spark blinking between the electrodes. Checked by pixels.
source "$(dirname "$0")/lib.sh"
e2e_begin picture

# One long rise at real speed: 2 kV/s towards 90 kV gives some 40 s of high
# voltage to look at.
e2e_sim_config speed=1 voltages=90 measurement_count=1 lift_ms=2000 pre_test_delay=0
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
ui_must resize "$E2E_CAPTION" "$(e2e_px 760)" "$(e2e_px 560)" >/dev/null
sleep 1

read -r shown PX PY PW PH <<<"$(ui find "$E2E_CAPTION" child-visible "$E2E_CAPTION" 173)"
# 210x140 on a 96 DPI screen, scaled with the screen (E2E_DPI).
e2e_check "picture window 173 shown whole, $(e2e_px 210)x$(e2e_px 140) ($shown $PX $PY $PW $PH)" \
  [ "$shown $PW $PH" = "1 $(e2e_px 210) $(e2e_px 140)" ]

# The picture's own pixels: one grab of its screen rectangle.
PIC="$E2E_RUN/picture.png"
grab() { import -display "$DISPLAY" -window root -crop "${PW}x${PH}+${PX}+${PY}" +repage "$PIC" 2>/dev/null; }

# Colour "r g b" at picture units (x 0..180, y 0..120 up), as the projection
# x -1..181, y -1..121 maps them onto the window.
pixel() {  # <x> <y>
  local px py
  px=$(awk -v x="$1" -v w="$PW" 'BEGIN { printf "%d", (x + 1) * w / 182 }')
  py=$(awk -v y="$2" -v h="$PH" 'BEGIN { printf "%d", h - (y + 1) * h / 122 }')
  convert "$PIC" -format "%[fx:int(255*p{$px,$py}.r)] %[fx:int(255*p{$px,$py}.g)] %[fx:int(255*p{$px,$py}.b)]" info:
}

# Whether the pixel is within 12 of the colour in every channel.
near() {  # <"r g b"> <r> <g> <b>
  local r g b
  read -r r g b <<<"$1"
  awk -v r="$r" -v g="$g" -v b="$b" -v R="$2" -v G="$3" -v B="$4" \
    'function d(a, c) { return a > c ? a - c : c - a } BEGIN { exit !(d(r, R) <= 12 && d(g, G) <= 12 && d(b, B) <= 12) }'
}

LIQUID="200 200 92"    # liquid over the grey chamber
CHAMBER="128 128 128"
LAMP_DARK="196 102 102"
RED="255 0 0"

grab
e2e_shot rest
cp "$PIC" "$E2E_SCREENS/picture-rest-closeup.png"
e2e_check "at rest: liquid low in the chamber ($(pixel 60 35))" near "$(pixel 60 35)" $LIQUID
e2e_check "at rest: chamber between the electrodes ($(pixel 60 66))" near "$(pixel 60 66)" $CHAMBER
e2e_check "at rest: panel drawn ($(pixel 122 30))" near "$(pixel 122 30)" 125 158 193
e2e_check "at rest: lamp dark ($(pixel 158 95))" near "$(pixel 158 95)" $LAMP_DARK

ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 170 0 15 >/dev/null
# High voltage pins the vessel at the top and turns the lamp red at once;
# the spark is lit half of every 1024 ms.
lifted=0 spark=0 dark=0
deadline=$((SECONDS + 40))
while ((SECONDS < deadline)) && ! ((lifted && spark && dark)); do
  grab
  # The liquid is looked at while the spark is dark: lit, it may cross the gap.
  if ((!lifted)) && near "$(pixel 158 95)" $RED && near "$(pixel 60 35)" $CHAMBER &&
     ! near "$(pixel 62.5 72)" $RED; then
    lifted=1
    e2e_check "lifted: liquid covers the electrodes' gap ($(pixel 60 66))" near "$(pixel 60 66)" 200 200 92
    cp "$PIC" "$E2E_SCREENS/picture-lifted-closeup.png"
  fi
  if ((lifted)); then
    if near "$(pixel 62.5 72)" $RED; then
      ((spark)) || { e2e_shot spark; cp "$PIC" "$E2E_SCREENS/picture-spark-closeup.png"; }
      spark=1
    else
      dark=1
    fi
  fi
  sleep 0.2
done
e2e_check "vessel lifted and lamp red under high voltage" [ "$lifted" = 1 ]
e2e_check "spark lit between the electrodes" [ "$spark" = 1 ]
e2e_check "spark also dark between blinks" [ "$dark" = 1 ]
e2e_shot lifted

# STOP: the vessel sinks back, 0.2 a tick, and reaches the bottom within
# about 12 s.
ui_must find "$E2E_CAPTION" 10 click 171 >/dev/null
sleep 15
grab
e2e_shot sunk
e2e_check "after STOP: lamp dark again ($(pixel 158 95))" near "$(pixel 158 95)" $LAMP_DARK
e2e_check "after STOP: vessel back down ($(pixel 60 35))" near "$(pixel 60 35)" $LIQUID

ui find "$E2E_CAPTION" close >/dev/null
e2e_wait_exit 20 || e2e_fail "program did not exit after close"
e2e_end
