#!/usr/bin/env bash
# "ПЕЧАТЬ" prints the protocol through the real print dialog to a CUPS PDF
# printer that Wine finds as its default printer.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/protocol_series.sh"
source "$HERE/archive_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

e2e_begin protocol_print
trap 'protocol_stop_cups; _e2e_cleanup' EXIT
protocol_start_cups || e2e_abort "CUPS PDF printer not set up"
protocol_prepare_and_run_series

marker="$E2E_RUN/print.marker"
touch "$marker"
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 30 click 172
protocol_answer_print_dialog || e2e_fail "print dialog"
pdf="$(protocol_wait_pdf "$marker" 90)" || e2e_abort "nothing printed"
cp "$pdf" "$E2E_RUN/printed.pdf"
e2e_check "one page" test "$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')" = 1
# The document name goes to the spooler in Unicode. Wine's PostScript driver
# writes it in the ANSI code page, which the PDF then reads as Latin-1: that
# undone, the name must come back whole.
title="$(pdfinfo "$pdf" | sed -n 's/^Title: *//p' | tr -d '()' | iconv -f UTF-8 -t LATIN1 2>/dev/null | iconv -f CP1251 -t UTF-8)"
e2e_check "the print job is named \"Протокол ОРЛА-К200В\" ($title)" [ "$title" = "Протокол ОРЛА-К200В" ]
# The printer's font names its hyphen glyph so that text extraction reads
# it as a soft hyphen.
text="$(pdftotext -layout "$pdf" - | sed 's/\xc2\xad/-/g')"
for want in "$PROTOCOL_ORG_LINE1" "$PROTOCOL_ORG_LINE2" "Протокол №$PROTOCOL_NUMBER" "1. Основные данные" \
            "1.1. Наименование испытываемого материала" "Масло ГК" "2.2. Влажность окружающего воздуха" \
            "ОРЛА-К200В заводской номер" "K2V000017" "3. Результаты испытания" "3.1. Пробивные напряжения" \
            "3.3. Средняя квадратическая ошибка" "45.2 кВ, 47.0 кВ, >100 кВ" \
            "Испытания произвел" "Инженер" "Петров П.П." "Начальник лаборатории" "Иванов И.И." \
            "Конец протокола" "Протокол № $PROTOCOL_NUMBER, изм. 0 — стр. 1 из 1"; do
  e2e_check "page shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
e2e_check "the page ends with its number" [ "$(tr -d '\f' <<<"$text" | grep . | tail -1 | sed 's/^ *//; s/ *$//')" = \
  "Протокол № $PROTOCOL_NUMBER, изм. 0 — стр. 1 из 1" ]
issue="$(protocol_issue_lines)"
e2e_check "the register has the print's issue line naming the printer ($issue)" \
  grep -qE "^[0-9]+;[^;]*;issue;[^;]*;$PROTOCOL_NUMBER;0;[^;]*;[^;]*;$PROTOCOL_PRINTER;[0-9a-f]{64};" <<<"$issue"
e2e_check "the results heading has no doubled letter" bash -c '! grep -q "испытанияя" <<<"$1"' _ "$text"
pdftoppm -png -r 60 "$pdf" "$E2E_SCREENS/$E2E_NAME-page" 2>/dev/null

# No label runs into the value column: on every line with a word that starts
# at the column (where "Масло" of the material's line starts), every word
# left of it ends before it.
pdftotext -bbox "$pdf" "$E2E_RUN/words.html"
overlaps="$(sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)" xMax="\([0-9.]*\)" yMax="[0-9.]*">\(.*\)<\/word>.*/\2 \1 \3 \4/p' \
  "$E2E_RUN/words.html" | awk '
    { y[NR] = $1; x0[NR] = $2; x1[NR] = $3; w[NR] = $4; if ($4 == "Масло" && !col) col = $2 }
    END {
      if (!col) { print "no value column found"; exit }
      for (i = 1; i <= NR; i++) if (x0[i] > col - 1 && x0[i] < col + 1) valueLine[y[i]] = 1
      for (i = 1; i <= NR; i++) if (valueLine[y[i]] && x0[i] < col - 1 && x1[i] > col) print w[i]
    }')"
e2e_check "no label reaches the value column${overlaps:+ (overlapping: $(echo $overlaps))}" [ -z "$overlaps" ]

# A cancelled print appends no amendment.
ui_must find "$E2E_CAPTION" 10 set-text 141 "Масло АГК" click 172 >/dev/null
ui_must find "$(e2e_system_text "Печать" "Print")" 30 click 2 >/dev/null
sleep 1
e2e_check "a cancelled print appends nothing" [ "$(archive_size)" = "$ARCHIVE_GROUP" ]
e2e_check "nor registers an issue" [ "$(protocol_issue_count)" = 1 ]

# A text mended after the series: ПЕЧАТЬ archives the amendment first and
# prints what is now archived.
ui_must find "$E2E_CAPTION" 10 set-text 141 "Масло АГК" >/dev/null
marker="$E2E_RUN/amended.marker"
touch "$marker"
ui_must find "$E2E_CAPTION" 10 click 172 >/dev/null
protocol_answer_print_dialog || e2e_fail "print dialog of the amendment"
archive_answer_amendment "опечатка в материале" "Петров П.П." || e2e_fail "the amendment's reason"
pdf="$(protocol_wait_pdf "$marker" 90)" || e2e_abort "the amendment was not printed"
text="$(pdftotext -layout "$pdf" - | sed 's/\xc2\xad/-/g')"
for want in "Масло АГК" "Изменение №1 от" "Протокол № $PROTOCOL_NUMBER, изм. 1 — стр. 1 из 1"; do
  e2e_check "amended page shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
e2e_check "log.dat holds the series and its amendment" archive_wait_size $((2 * ARCHIVE_GROUP)) 20
e2e_check "the amendment's issue names version 1" grep -qF ";$PROTOCOL_NUMBER;1;" <<<"$(protocol_issue_lines | tail -1)"

# Protocols issued only after approval: a version not approved is printed as
# a draft when the user says so, and not at all when not.
ui_must find "$E2E_CAPTION" 10 menu 207 find "Настройка программы" 10 click 112 sleep 1 click 1 >/dev/null
e2e_check "the setting is kept" [ "$(e2e_ini_value Programm IssueOnlyApproved)" = 1 ]
question="Протокол № $PROTOCOL_NUMBER (изм. 1) не утвержден. Выдать его как проект?"
ui_must find "$E2E_CAPTION" 10 click 172 >/dev/null
protocol_answer_print_dialog || e2e_fail "print dialog of the draft refused"
ui_must find "$E2E_CAPTION" 30 msgbox "$question" no 30
sleep 2
e2e_check "\"Нет\" issues nothing" [ "$(protocol_issue_count)" = 2 ]
marker="$E2E_RUN/draft.marker"
touch "$marker"
ui_must find "$E2E_CAPTION" 10 click 172 >/dev/null
protocol_answer_print_dialog || e2e_fail "print dialog of the draft"
ui_must find "$E2E_CAPTION" 30 msgbox "$question" yes 30
pdf="$(protocol_wait_pdf "$marker" 90)" || e2e_abort "the draft was not printed"
cp "$pdf" "$E2E_RUN/draft.pdf"
pdftoppm -png -r 60 "$pdf" "$E2E_SCREENS/$E2E_NAME-draft" 2>/dev/null
text="$(pdftotext -layout "$pdf" - | sed 's/\xc2\xad/-/g')"
e2e_check "the draft says \"ПРОЕКТ\" under its title" \
  bash -c 'grep -A1 -F "Протокол №$2" <<<"$1" | tail -1 | grep -qF "ПРОЕКТ"' _ "$text" "$PROTOCOL_NUMBER"
e2e_check "the draft's issue says so" grep -qF ";$PROTOCOL_PRINTER (проект);" <<<"$(protocol_issue_lines | tail -1)"

e2e_end
