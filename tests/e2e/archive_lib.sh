# Helpers for the archive tests. Sourced after lib.sh.

ARCHIVE_VIEWER="Результаты ранее проведенных испытаний"
ARCHIVE_GROUP=10248

# Writes n series into <folder>/log.dat with the program's own archive writer,
# built natively with the rest of the native build; "judged" gives each a
# stored conclusion.
archive_make_log() {  # <n> <folder> [judged]
  # Always asked of CMake: a no-op when current, and a test run on its own
  # after a source edit must not write with an old tool.
  cmake --build "$BUILD/native" --target bench_archive >/dev/null || return 1
  mkdir -p "$2" && (cd "$2" && "$BUILD/native/bin/bench_archive" write "$1" ${3:+"$3"})
}

archive_size() { stat -c %s "$E2E_DATA/log.dat" 2>/dev/null || echo missing; }

# Waits until log.dat holds the given number of bytes.
archive_wait_size() {  # <bytes> <timeout s>
  local deadline=$((SECONDS + ${2:-120}))
  while ((SECONDS < deadline)); do
    [ "$(archive_size)" = "$1" ] && return 0
    sleep 0.5
  done
  e2e_log "log.dat is $(archive_size) bytes, expected $1"
  return 1
}

# The settings of a program that has run before, so no first-run dialog.
archive_write_ini() { e2e_write_ini "[Programm]" "FirstRun=0" "$@"; }

# The dialog every amendment asks first, once its print or file dialog is
# confirmed: a reason and a name let the amendment in; Отмена lets nothing in.
AMENDMENT_DIALOG="Изменение протокола"
archive_answer_amendment() {  # <reason> <name>
  ui find "$AMENDMENT_DIALOG" 30 set-text 1303 "$1" set-text 1304 "$2" click 1 >/dev/null || return 1
  # The first line of a register not yet begun starts it, which the user is told.
  ui find "$E2E_CAPTION" 10 msgbox "Журнал протоколов (journal.csv) не найден и начат заново." ok 3 >/dev/null 2>&1
  return 0
}
