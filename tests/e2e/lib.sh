# Shared by the end-to-end tests. A test sources this file, calls e2e_begin
# with its name, starts the program with e2e_start and drives it with ui.
# Everything it starts is ended by pid in the exit trap.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/common.sh"
set +e  # a test checks each step itself and reports the failing one

E2E_BIN="${E2E_BIN:-$BUILD/win64/bin}"
E2E_CAPTION="ОРЛА-К200В"
E2E_XVFB_PID=
E2E_APP_PID=
E2E_SHOT=0
E2E_FAILED=0

e2e_log() { echo "[$E2E_NAME] $*"; }

# A text of Windows itself (a common dialog's question) in the language of
# the run: Russian, or English under E2E_LANG=en_US.UTF-8.
e2e_system_text() {  # <Russian> <English>
  case "${E2E_LANG:-ru}" in en*) echo "$2" ;; *) echo "$1" ;; esac
}

# Records a failure and goes on; e2e_end turns it into the exit code.
# To stderr as well as the log: a caller that sends a step's output to
# /dev/null must not silence the reason the test ends.
e2e_fail() { echo "[$E2E_NAME] FAIL: $*" >&2; E2E_FAILED=1; }

# Ends the test at once.
# Its report goes to stderr too, for the same reason as e2e_fail's.
e2e_abort() {
  e2e_fail "$*"
  exec >&2
  if [ -n "$E2E_APP_PID" ]; then
    kill -0 "$E2E_APP_PID" 2>/dev/null && e2e_log "the program still runs" || e2e_log "the program has ended"
  fi
  [ -n "${E2E_DIAG:-}" ] && eval "$E2E_DIAG"
  e2e_shot abort
  exit 1
}

e2e_check() {  # <description> <command...>
  local what="$1"; shift
  if "$@"; then e2e_log "ok: $what"; else e2e_fail "$what"; fi
}

_e2e_free_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
  done
  echo 199
}

# Pixels of a 96 DPI screen at the test's DPI (E2E_DPI, default 96), as the
# program scales its windows: for sizes a test sets or expects.
e2e_px() {  # <pixels>
  echo $(( ($1 * ${E2E_DPI:-96} + 48) / 96 ))
}

# A larger DPI gets a screen as much larger, as a 150 % laptop screen has
# the room of a 100 % one.
# Tests that run side by side (run_all.sh -j) take turns at choosing, so
# two never pick the same free number.
e2e_start_xvfb() {
  local n i
  exec {lock}>/tmp/.orla-e2e-display.lock
  flock "$lock"
  n="$(_e2e_free_display)"
  # Not holding the lock: Xvfb would keep it for the whole test.
  Xvfb ":$n" -screen 0 "$(e2e_px 1280)x$(e2e_px 1024)x24" -nolisten tcp >/dev/null 2>&1 {lock}>&- &
  E2E_XVFB_PID=$!
  export DISPLAY=":$n"
  for i in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && { exec {lock}>&-; return 0; }
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  exec {lock}>&-
  echo "Xvfb :$n did not start" >&2
  return 1
}

_e2e_cleanup() {
  if [ -n "$E2E_APP_PID" ]; then kill "$E2E_APP_PID" 2>/dev/null; wait "$E2E_APP_PID" 2>/dev/null; fi
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  if [ -n "$E2E_XVFB_PID" ]; then kill "$E2E_XVFB_PID" 2>/dev/null; wait "$E2E_XVFB_PID" 2>/dev/null; fi
}

# The program's data folder in the prefix. E2E_PROFILE_USER names a user
# profile folder of another name (Cyrillic, say) that the prefix's AppData
# is moved to, as on a PC whose user is called Иванов.
e2e_data_folder() {
  local user="${E2E_PROFILE_USER:-}"
  if [ -z "$user" ]; then
    echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/ORLA-K200V"
    return
  fi
  local appdata="C:\\users\\$user\\AppData\\Roaming" mark="$WINEPREFIX/.orla-profile-$user" key
  if [ ! -f "$mark" ]; then
    for key in 'User Shell Folders' 'Shell Folders'; do
      wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$key" /v AppData \
        /t REG_SZ /d "$appdata" /f >/dev/null 2>&1
    done
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/users/$user/AppData/Roaming" && touch "$mark"
  fi
  echo "$WINEPREFIX/drive_c/users/$user/AppData/Roaming/ORLA-K200V"
}

# One Wine prefix for all tests (build/wineprefix, made once by wine_env);
# the program's data folder in it is deleted before every test, so each test
# starts as on a machine where the program never ran.
e2e_begin() {  # <test name>
  E2E_NAME="$1"
  E2E_RUN="$BUILD/e2e-run/$E2E_NAME"
  E2E_SCREENS="$BUILD/e2e-screens${E2E_DPI:+-dpi$E2E_DPI}"
  trap _e2e_cleanup EXIT
  for f in ORLA-K200V.exe ftd2xx.dll ui_driver.exe dll_probe.exe menu_probe.dll odbc_probe.exe; do
    [ -f "$E2E_BIN/$f" ] || { echo "[$E2E_NAME] FAIL: $E2E_BIN/$f is missing (build win64 first)"; exit 1; }
  done
  wine_env
  if [ -n "${E2E_DPI:-}" ]; then
    wine_set_dpi "$E2E_DPI" || { echo "[$E2E_NAME] FAIL: could not set $E2E_DPI DPI"; exit 1; }
  fi
  e2e_start_xvfb || { echo "[$E2E_NAME] FAIL: no X server"; exit 1; }
  E2E_DATA="$(e2e_data_folder)"
  E2E_INI="$E2E_DATA/ORLA-K200V.ini"
  rm -rf "$E2E_RUN" "$E2E_DATA"
  mkdir -p "$E2E_RUN" "$E2E_SCREENS"
  rm -f "$E2E_SCREENS/$E2E_NAME"-*.png
  cp "$E2E_BIN"/{ORLA-K200V.exe,ftd2xx.dll,ui_driver.exe,dll_probe.exe,menu_probe.dll,odbc_probe.exe} "$E2E_RUN/"
  E2E_JOURNAL="$E2E_RUN/journal.txt"
  e2e_sim_config
  # Two Wine processes starting together on a server that is not up yet
  # can hang; bring the server and the desktop up first.
  wineserver -p 30
  (cd "$E2E_RUN" && timeout 60 wine ui_driver.exe shown "-" >/dev/null 2>&1)
}

# The Windows path of a Unix path as winepath gives it: C: for the prefix's
# drive_c, else the Z: drive every prefix maps to "/". Not winepath itself:
# that starts a Wine process, and one that met the server going down printed
# nothing, so the simulator once lost its journal setting.
e2e_winpath() {
  local p="$1" c="${WINEPREFIX:-$BUILD/wineprefix}/drive_c"
  if [[ "$p" == "$c"/* ]]; then p="C:${p#"$c"}"; else p="Z:$p"; fi
  echo "${p//\//\\}"
}

# Writes the simulator's INI: journal on, a quick instrument; extra lines
# (key=value) are appended and override the defaults.
e2e_sim_config() {  # [key=value...]
  {
    echo "[instrument]"
    echo "journal=$(e2e_winpath "$E2E_JOURNAL")"
    echo "speed=20"
    echo "pause_minutes=0"
    echo "pre_test_delay=0"
    local kv
    for kv in "$@"; do echo "$kv"; done
  } > "$E2E_RUN/sim.ini"
  export ORLA_SIM_CONFIG="$(e2e_winpath "$E2E_RUN/sim.ini")"
}

# The settings file before the first start, to test restoring them.
e2e_write_ini() {  # <lines...>
  mkdir -p "$E2E_DATA"
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1251 > "$E2E_INI"
}

# A start without a settings file is the program's first start, which asks
# for the program settings. Tests about other things start with a file that
# says the settings were filled in; E2E_FRESH=1 starts without one.
# The register of protocols as a program that ran before left it: one
# journal_start line (docs/archive-format.md's example), so that the box
# telling of a register begun anew comes only in a test that removes it
# (E2E_NO_REGISTER=1) to look for it.
E2E_REGISTER_START='1;2026-05-01 10:00:00;journal_start;;;;lab;Иванов И.И.;ОРЛА-К200В 5.00;;6d92db1185677c93f4a89ad0d2e19e15ee6bdf0b8142db787505ac8ff9133020'
e2e_seed_register() {
  mkdir -p "$E2E_DATA"
  printf '\xef\xbb\xbf%s\r\n' "$E2E_REGISTER_START" > "$E2E_DATA/journal.csv"
}

e2e_start() {
  [ -n "${E2E_FRESH:-}" ] || [ -f "$E2E_INI" ] || e2e_write_ini "[Programm]" "FirstRun=0"
  [ -n "${E2E_NO_REGISTER:-}" ] || [ -f "$E2E_DATA/journal.csv" ] || e2e_seed_register
  (cd "$E2E_RUN" && exec wine ORLA-K200V.exe >"$E2E_RUN/program.out" 2>&1) &
  E2E_APP_PID=$!
  e2e_log "program started (pid $E2E_APP_PID)"
}

# Ends the program as a power cut or Task Manager would: no WM_CLOSE, no
# exit code of its own (kill -9 of its Wine process).
e2e_kill() {
  # Only this test's program: other runs may use other Wine prefixes.
  local pid
  for pid in $(pgrep -f 'ORLA-K200V\.exe'); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill -9 "$pid"
  done
  if [ -n "$E2E_APP_PID" ]; then wait "$E2E_APP_PID" 2>/dev/null; E2E_APP_PID=; fi
  e2e_log "program killed"
}

# True once the program's process has ended, within the timeout.
e2e_wait_exit() {  # <timeout s>
  local deadline=$((SECONDS + ${1:-20}))
  while kill -0 "$E2E_APP_PID" 2>/dev/null; do
    ((SECONDS < deadline)) || return 1
    sleep 0.3
  done
  wait "$E2E_APP_PID" 2>/dev/null
  E2E_APP_PID=
  return 0
}

# Runs ui_driver with chained commands; prints its output.
# The output goes through a file, not a pipe: a Wine service started during the
# call inherits the descriptor and would keep a pipe open for ever.
ui() {
  local out="$E2E_RUN/ui.out" rc
  (cd "$E2E_RUN" && timeout 200 wine ui_driver.exe "$@" >"$out" 2>&1)
  rc=$?
  tr -d '\r' <"$out"
  return "$rc"
}

# ui that must succeed; the test ends when it does not, saying what the
# driver said (its output would otherwise go wherever the caller sent it).
ui_must() {
  local out
  out="$(ui "$@")" && { [ -z "$out" ] || printf '%s\n' "$out"; return 0; }
  e2e_abort "ui_driver $*: ${out:-no output}"
}

e2e_shot() {  # [label]
  E2E_SHOT=$((E2E_SHOT + 1))
  local f="$E2E_SCREENS/$E2E_NAME-$E2E_SHOT${1:+-$1}.png"
  import -display "$DISPLAY" -window root "$f" 2>/dev/null && e2e_log "screenshot $f"
}

# Value of a key in the program's INI file.
e2e_ini_value() {  # <section> <key>
  [ -f "$E2E_INI" ] || return 1
  tr -d '\r' < "$E2E_INI" | iconv -f CP1251 -t UTF-8 | awk -v s="[$1]" -v k="$2" '
    /^\[/ { in_s = ($0 == s); next }
    in_s { i = index($0, "="); if (i && substr($0, 1, i - 1) == k) { print substr($0, i + 1); found = 1; exit } }
    END { exit !found }'
}

e2e_end() {
  if ((E2E_FAILED)); then echo "[$E2E_NAME] FAILED"; exit 1; fi
  # Kept for tests/e2e/compare_runs.sh, which holds a run in another system
  # language against the Russian one.
  if [ -n "${E2E_FILES_OUT:-}" ]; then
    # The settings as the program leaves them at exit, not as a timer last
    # happened to write them.
    if [ -n "$E2E_APP_PID" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
      ui find "$E2E_CAPTION" 5 close >/dev/null 2>&1 && e2e_wait_exit 15 >/dev/null 2>&1
    fi
    mkdir -p "$E2E_FILES_OUT/$E2E_NAME"
    cp "$E2E_DATA"/{ORLA-K200V.ini,log.dat,norms.ini} "$E2E_FILES_OUT/$E2E_NAME/" 2>/dev/null
  fi
  echo "[$E2E_NAME] passed"
  exit 0
}

# Today's date as the program writes it into the date fields.
e2e_today() {
  local months=(января февраля марта апреля мая июня июля августа сентября октября ноября декабря)
  echo "$(date +%-d) ${months[$(( $(date +%-m) - 1 ))]} $(date +%Y) г."
}

# Runs one series with START and follows the status bar until PRINT
# unlocks. Leaves the distinct status texts in E2E_SERIES_LINES.
e2e_run_series() {  # <timeout s>
  local deadline=$((SECONDS + ${1:-90})) out last=
  E2E_SERIES_LINES=
  ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 170 0 15 >/dev/null
  e2e_check "PRINT locked while measuring" [ "$(ui find "$E2E_CAPTION" 10 enabled 172)" = 0 ]
  e2e_check "device settings menu item grayed while measuring" \
    [ "$(ui find "$E2E_CAPTION" 10 menu-enabled 206)" = 0 ]
  e2e_shot measuring
  while ((SECONDS < deadline)); do
    out="$(ui find "$E2E_CAPTION" 10 text status enabled 172)"
    local line="${out%$'\n'*}" printable="${out##*$'\n'}"
    if [ "$line" != "$last" ]; then
      E2E_SERIES_LINES+="$line"$'\n'
      last="$line"
      e2e_log "status: $line"
    fi
    [ "$printable" = 1 ] && return 0
    sleep 0.3
  done
  e2e_fail "PRINT not unlocked within ${1:-90} s; last status: $last"
  return 1
}

# Waits until the program talks to the instrument: its first poll is in the
# journal and the status bar has left the start-up and search texts. The
# "Прибор подключен" text itself lasts only until the first status answer.
e2e_wait_connected() {  # [timeout s]
  local deadline=$((SECONDS + ${1:-30})) text=
  while ((SECONDS < deadline)); do
    if grep -q ' W ' "$E2E_JOURNAL" 2>/dev/null; then
      text="$(ui find "$E2E_CAPTION" 10 text status)"
      case "$text" in
        # The drawn windows set up their OpenGL in the first moments; under
        # Wine a menu query (a DLL loaded into the program) made during that
        # set-up can hang both, so a test starts driving a moment later.
        "Прибор подключен"* | "Проведено измерений"*) sleep 1.5; return 0 ;;
      esac
    fi
    sleep 0.3
  done
  e2e_fail "not connected within ${1:-30} s; status: \"$text\""
  return 1
}
