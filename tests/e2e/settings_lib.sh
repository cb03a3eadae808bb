# Helpers for the tests of the device settings dialog (400). Sourced after lib.sh.

DIALOG="Настройка прибора"
LISTS=(510 511 512 513 514 515)

# Selected items of the six lists, space-separated.
selections() {
  local args=(find "$DIALOG" 10) id
  for id in "${LISTS[@]}"; do args+=(combo-selected "$id"); done
  ui "${args[@]}" | tr '\n' ' ' | sed 's/ $//'
}

# The main window's five test parameters, joined by '|'.
parameters() { ui find "$E2E_CAPTION" 10 text 133 text 134 text 135 text 136 text 137 | tr '\n' '|'; }

wait_parameters() {  # <expected> <timeout s>
  local deadline=$((SECONDS + $2)) now
  while ((SECONDS < deadline)); do
    now="$(parameters)"
    [ "$now" = "$1" ] && return 0
    sleep 0.5
  done
  echo "parameters still $now, not $1" >&2
  return 1
}
