# Helpers for the protocol tests: the save dialog, the print dialog, a CUPS
# PDF printer for Wine, and reading the documents back. Sourced by
# test_protocol_*.sh after lib.sh.

PROTOCOL_PACKAGES=(libreoffice-writer-nogui cups printer-driver-cups-pdf poppler-utils xdotool)
PROTOCOL_PRINTER=ORLA_PDF

# Waits for a top-level window whose title matches the pattern; prints its id.
protocol_wait_window() {  # <title regex> <timeout s>
  local pattern="$1" deadline=$((SECONDS + ${2:-20})) w
  while ((SECONDS < deadline)); do
    w="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)"
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.5
  done
  echo "timeout waiting for a window titled /$pattern/" >&2
  return 1
}

protocol_window_gone() {  # <title regex> <timeout s>
  local deadline=$((SECONDS + ${2:-20}))
  while ((SECONDS < deadline)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  echo "window /$1/ still open" >&2
  return 1
}

# Puts a path into the name field of the file dialog window w and confirms
# it. The letters go to the field as characters (ui_driver's type), not as
# X keys: xdotool types a letter the keyboard layout lacks (Cyrillic on an
# English X keyboard) through a keycode it remaps for a moment, and on a
# loaded machine Wine may read the keycode after the remap.
protocol_put_dialog_path() {  # <window id> <windows path>
  local caption out
  caption="$(xdotool getwindowname "$1" 2>/dev/null)" || return 1
  xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.5
  # The name field has the focus and holds the proposed name: replaced.
  xdotool key ctrl+a
  out="$(ui find "$caption" 10 type "$2")" || { echo "$out" >&2; return 1; }
  xdotool key Return
}

# Puts a Windows path into the open save dialog (or another file dialog
# whose title matches the pattern given) and confirms it, answering Wine's
# overwrite or create prompt (a second window of the dialog's title) when one
# comes. A dialog that is merely slow to close gets no second key: that key
# would land on whatever the program shows next.
protocol_answer_save_dialog() {  # <windows path> [title regex]
  local w title="${2:-^(Сохранить как|Save As)$}" deadline n
  w="$(protocol_wait_window "$title" 30)" || return 1
  protocol_put_dialog_path "$w" "$1" || return 1
  deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)); do
    n="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | wc -l)"
    [ "$n" = 0 ] && return 0
    if [ "$n" -ge 2 ]; then
      sleep 0.5
      xdotool key Return
      break
    fi
    sleep 0.5
  done
  protocol_window_gone "$title" 20
}

protocol_answer_print_dialog() {
  local w
  w="$(protocol_wait_window '^(Печать|Print)$' 30)" || return 1
  xdotool windowfocus --sync "$w" 2>/dev/null
  sleep 0.5
  xdotool key Return
  protocol_window_gone '^(Печать|Print)$' 20
}

# The document as UTF-8 text, through LibreOffice.
protocol_rtf_text() {  # <rtf file>
  local out
  out="$(mktemp -d)"
  HOME="$out" timeout 180 soffice --headless --convert-to txt:Text --outdir "$out" "$1" >/dev/null 2>&1
  cat "$out"/*.txt 2>/dev/null
  rm -rf "$out"
}

# A cupsd of our own (unless one runs already) with a PDF printer as the
# default destination. cups-pdf writes the job to ~/PDF of the job's user.
PROTOCOL_CUPSD_PID=
PROTOCOL_PRINTER_LOCK=/tmp/.orla-e2e-printer.lock
protocol_start_cups() {
  _protocol_take_printer || return 1
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    /usr/sbin/cupsd -f >/dev/null 2>&1 &
    PROTOCOL_CUPSD_PID=$!
    local i
    for i in $(seq 40); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.25; done
  fi
  lpadmin -p "$PROTOCOL_PRINTER" -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null &&
    lpadmin -d "$PROTOCOL_PRINTER"
}

protocol_stop_cups() {
  lpadmin -x "$PROTOCOL_PRINTER" 2>/dev/null
  if [ -n "$PROTOCOL_CUPSD_PID" ]; then
    kill "$PROTOCOL_CUPSD_PID" 2>/dev/null
    wait "$PROTOCOL_CUPSD_PID" 2>/dev/null
    PROTOCOL_CUPSD_PID=
  fi
  [ "$(cat "$PROTOCOL_PRINTER_LOCK/pid" 2>/dev/null)" = "$$" ] && rm -rf "$PROTOCOL_PRINTER_LOCK"
  return 0
}

# The printer, its cupsd and ~/PDF serve one test at a time: tests side by
# side (run_all.sh -j) wait here for the one that prints. A lock folder,
# not flock, as every Wine process the test starts would inherit a locked
# descriptor and could outlive it; the holder's pid tells a stale lock.
_protocol_take_printer() {
  local deadline=$((SECONDS + 280)) holder
  until mkdir "$PROTOCOL_PRINTER_LOCK" 2>/dev/null; do
    holder="$(cat "$PROTOCOL_PRINTER_LOCK/pid" 2>/dev/null)"
    if [ -n "$holder" ] && ! kill -0 "$holder" 2>/dev/null; then rm -rf "$PROTOCOL_PRINTER_LOCK"; continue; fi
    ((SECONDS < deadline)) || { echo "the printer stayed taken by pid ${holder:-?}" >&2; return 1; }
    sleep 0.5
  done
  echo "$$" > "$PROTOCOL_PRINTER_LOCK/pid"
}

protocol_pdf_folder() { echo "$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"; }

# Waits for a PDF newer than the marker file; prints its path.
protocol_wait_pdf() {  # <marker file> <timeout s>
  local deadline=$((SECONDS + ${2:-60})) f
  while ((SECONDS < deadline)); do
    f="$(find "$(protocol_pdf_folder)" -name '*.pdf' -newer "$1" 2>/dev/null | head -1)"
    if [ -n "$f" ] && pdfinfo "$f" >/dev/null 2>&1; then echo "$f"; return 0; fi
    sleep 1
  done
  echo "no PDF printed within ${2:-60} s" >&2
  return 1
}

# The register's issue lines (UTF-8), one a line; none when it has none.
protocol_issue_lines() { grep -aF ';issue;' "$E2E_DATA/journal.csv" 2>/dev/null; }
protocol_issue_count() { protocol_issue_lines | grep -c .; }
