#!/usr/bin/env bash
# File faults of the data folder: a log.dat torn by a power cut mid-append
# (the viewer's repair and the next append both keep the torn series from
# its intact copy), the archive viewer open while a series ends, a full disk
# (a small tmpfs: the series is kept, the quiet line says why, and it is
# stored once there is room) and a read-only data folder (a read-only bind
# mount; closing asks while a series is not archived). No finished series
# is lost or stored twice: log.dat stays whole groups.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

# Mounts over the data folder are taken down after the program has ended.
_faults_unmount() { while mountpoint -q "$E2E_DATA" 2>/dev/null; do umount "$E2E_DATA" || break; done; }
_faults_cleanup() { _e2e_cleanup; _faults_unmount; }
E2E_DATA="$(WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}" e2e_data_folder)"
[ -n "${WINEPREFIX:-}" ] && _faults_unmount
e2e_begin faults_files
trap _faults_cleanup EXIT

# The program's own archive writer, built with the native build (as
# archive_make_log does), so the test never writes with an old tool.
cmake --build "$BUILD/native" --target bench_archive >/dev/null || e2e_abort "no archive tool"
bench() { (cd "$E2E_DATA" && "$BUILD/native/bin/bench_archive" "$@"); }
# The viewer is itself a dialog, so message boxes are found by their titles.
no_box() { [ "$(ui count-windows "Внимание!")$(ui count-windows "Файл поврежден!")$(ui count-windows "Ошибка!")" = 000 ]; }
rows() { ui find "$ARCHIVE_VIEWER" 10 list-count "$ARCHIVE_VIEWER" 701; }
series() {  # runs one series from START to PRINT unlocked
  ui_must find "$E2E_CAPTION" 10 wait-enabled 170 1 60 click 170 wait-enabled 172 0 20 >/dev/null
  ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 120 >/dev/null
}
stop_program() {
  ui find "$E2E_CAPTION" 10 close >/dev/null
  e2e_wait_exit 20 || e2e_abort "the program did not end"
}
G=$ARCHIVE_GROUP
ARCHIVE_LINE=178  # the main window's line of a series not yet archived

# ---- torn by a power cut: the last group's copy A whole, copy B half there
e2e_sim_config measurement_count=2 voltages=45.2,47.0
archive_write_ini
mkdir -p "$E2E_DATA"
bench write 3 >/dev/null || e2e_abort "could not write log.dat"
truncate -s $((2 * G + 5000)) "$E2E_DATA/log.dat"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 menu 204 msgbox "Исправить ошибки?" yes 20 >/dev/null
e2e_check "the torn group completed from its intact copy" archive_wait_size $((3 * G)) 10
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1 >/dev/null
e2e_check "three rows listed, the torn series too ($(rows))" [ "$(rows)" = 3 ]
e2e_check "no crc warning" no_box
e2e_shot torn-repaired

# ---- the viewer open while a series ends: the append waits and succeeds
ui find "$ARCHIVE_VIEWER" 10 close >/dev/null
sleep 1
ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 172 0 20 menu 204 >/dev/null
ui_must find "$ARCHIVE_VIEWER" 20 >/dev/null
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 120 >/dev/null
e2e_check "series stored while the viewer was open" archive_wait_size $((4 * G)) 10
e2e_check "no error box" no_box
e2e_shot viewer-open-series
ui find "$ARCHIVE_VIEWER" 10 close >/dev/null
sleep 1

# ---- torn again, and the next series comes before anyone opens the viewer
truncate -s $((3 * G + 3416)) "$E2E_DATA/log.dat"
series
e2e_check "torn series completed, new one appended in step" archive_wait_size $((5 * G)) 10
ui_must find "$E2E_CAPTION" 10 menu 204 find "$ARCHIVE_VIEWER" 20 sleep 1 >/dev/null
e2e_check "five rows, no repair question ($(rows))" [ "$(rows)" = 5 ]
e2e_check "no question, no crc warning" no_box
e2e_shot torn-then-series
ui find "$ARCHIVE_VIEWER" 10 close >/dev/null
stop_program

# ---- a full disk: the data folder on a 1 MB tmpfs, filled up
cp -a "$E2E_DATA" "$E2E_RUN/data-copy"
mount -t tmpfs -o size=1m tmpfs "$E2E_DATA" || e2e_abort "mounting a tmpfs is not allowed here"
cp -a "$E2E_RUN/data-copy/." "$E2E_DATA/"
dd if=/dev/zero of="$E2E_DATA/filler" bs=4k 2>/dev/null
e2e_log "disk full: $(df -k --output=avail "$E2E_DATA" | tail -1) KB free"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 172 0 20 >/dev/null
box="$(ui find "$E2E_CAPTION" 10 msgbox "не удалось сохранить в архиве" ok 120)"
e2e_log "the user was told: $box"
e2e_check "the box names the cause" grep -qF "(файл log.dat): на диске нет места." <<<"$box"
e2e_check "the box names the way back through the instrument's memory" grep -qF "нажать «В архив»" <<<"$box"
e2e_check "log.dat unchanged, no torn group" [ "$(archive_size)" = $((5 * G)) ]
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 20 >/dev/null
line="$(ui find "$E2E_CAPTION" 10 wait-text $ARCHIVE_LINE "Серия не сохранена" 10)"
e2e_check "the quiet line says why (got '$line')" [ "$line" = "Серия не сохранена в архиве: на диске нет места" ]
e2e_shot full-disk
# Still full after a few tries; then room, and a click on the line stores it.
sleep 6
e2e_check "nothing partial after the tries on the clock" [ "$(archive_size)" = $((5 * G)) ]
rm -f "$E2E_DATA/filler"
ui_must find "$E2E_CAPTION" 10 click-control $ARCHIVE_LINE >/dev/null
e2e_check "the kept series is stored once there is room" archive_wait_size $((6 * G)) 10
e2e_check "the quiet line is gone" [ -z "$(ui find "$E2E_CAPTION" 10 text $ARCHIVE_LINE)" ]
series
e2e_check "with room again the next series is stored" archive_wait_size $((7 * G)) 10
stop_program
_faults_unmount
cp -a "$E2E_RUN/data-copy/." "$E2E_DATA/"

# ---- a read-only data folder
install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
e2e_write_ini "[Programm]" "FirstRun=0" "String0=55"
before=$(archive_size)
mount --bind "$E2E_DATA" "$E2E_DATA" && mount -o remount,ro,bind "$E2E_DATA" ||
  e2e_abort "a read-only bind mount is not allowed here"
touch "$E2E_DATA/probe" 2>/dev/null && e2e_abort "the data folder is still writable"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 172 0 20 >/dev/null
ui_must find "$E2E_CAPTION" 10 msgbox "не удалось сохранить в архиве" ok 120 >/dev/null
e2e_log "series: the user was told"
e2e_check "log.dat unchanged" [ "$(archive_size)" = "$before" ]
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 20 >/dev/null
ui_must find "$E2E_CAPTION" 10 menu 201 >/dev/null
protocol_answer_save_dialog "$(e2e_winpath "$E2E_DATA")\\protokol55" || e2e_fail "save dialog"
e2e_shot read-only-protocol
box="$(ui_must find "$E2E_CAPTION" 10 msgbox "Ошибка сохранения файла" ok 20)"
e2e_check "protocol: the user was told why ($box)" grep -qF "Ошибка сохранения файла: нет доступа к папке." <<<"$box"
e2e_check "no protocol file" [ ! -e "$E2E_DATA/protokol55.rtf" ]
ui_must find "$E2E_CAPTION" 10 set-text 141 "Масло ГК" close >/dev/null
box="$(ui msgbox "Выйти?" no 20)"
e2e_check "closing with a series not archived asks first ($box)" \
  [ "$box" = "Внимание!: Последняя серия не сохранена в архиве. Выйти?" ]
e2e_check "\"Нет\" keeps the program" [ "$(ui find "$E2E_CAPTION" 10 shown "$E2E_CAPTION")" = 1 ]
ui_must find "$E2E_CAPTION" 10 close msgbox "Выйти?" yes 20 >/dev/null
ui_must msgbox "не удалось сохранить" ok 20 >/dev/null
e2e_log "settings: the user was told"
e2e_wait_exit 20 || e2e_fail "the program did not end after the settings message"
e2e_end
