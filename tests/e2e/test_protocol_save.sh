#!/usr/bin/env bash
# "Сохранить протокол" through the real file dialog, which proposes a name
# from the protocol number and the date, writes the filled
# template; without a template the error comes after the name was chosen and
# no file is made. A text mended after the series makes the saved protocol
# a new version of the series in the archive, once the file is chosen; the
# main window's form follows a version made in the viewer; another archive
# file is only viewed. Every amendment asks its reason and the person first,
# the register keeps them and the viewer's details pane shows them.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
source "$HERE/protocol_series.sh"
source "$HERE/archive_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"

e2e_begin protocol_save
protocol_prepare_and_run_series

saved="$E2E_RUN/protokol$PROTOCOL_NUMBER.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
proposed="$(ui find "$(e2e_system_text "Сохранить как" "Save As")" 30 text 1148)"
e2e_check "the dialog proposes the number and the date ($proposed)" \
  [ "$proposed" = "Протокол $PROTOCOL_NUMBER от $(date +%d.%m.%Y)" ]
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\protokol$PROTOCOL_NUMBER" || e2e_fail "save dialog"
sleep 1
e2e_shot saved
e2e_check "no error box after saving" bash -c '! xdotool search --onlyvisible --name "^Ошибка!$" >/dev/null'
e2e_check "protocol file written" test -s "$saved"
e2e_check "file ends in one zero byte" test "$(tail -c 1 "$saved" | od -An -tx1 | tr -d ' ')" = 00
text="$(protocol_rtf_text "$saved")"
for want in "ПРОТОКОЛ № $PROTOCOL_NUMBER" "$PROTOCOL_ORG_LINE1" "$PROTOCOL_ORG_LINE2" "Масло ГК" \
            "ОРЛА-К200В заводской номер K2V000017" "45.2 кВ, 47.0 кВ, >100 кВ" "Заключение:" "Петров П.П." \
            "Иванов И.И."; do
  e2e_check "document shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
e2e_check "no key left unfilled" bash -c '! grep -qE "PROTOKOLNUM|ULIST|USREDNEE|USQERROR|ORGNAME|TESTENAME|ZAKLUCHENIE|UTVDATE|PROEKT" <<<"$1"' _ "$text"
e2e_check "not approved: the approval's date left blank" grep -qF "«____» ________________ 20___ г." <<<"$text"
issue="$(protocol_issue_lines)"
e2e_check "the register has the save's issue line with the file's full path ($issue)" \
  grep -qF ";$PROTOCOL_NUMBER;0;" <<<"$issue"
e2e_check "the path is the file's" grep -qF ";$(e2e_winpath "$E2E_RUN")\\protokol$PROTOCOL_NUMBER.rtf;" <<<"$issue"

e2e_check "the original carries no amendment line" bash -c '! grep -qF "Изменение №" <<<"$1"' _ "$text"

# Mending the material after the series: saving appends the amendment first.
# The reason is asked first: Отмена appends nothing and saves nothing.
ui_must find "$E2E_CAPTION" 10 set-text 141 "Масло АГК" >/dev/null
amended="$E2E_RUN/amended.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\amended" || e2e_fail "save dialog of the amendment"
changes="$(ui find "$AMENDMENT_DIALOG" 30 text 1302)"
e2e_check "the dialog lists the material, old → new ($changes)" \
  [ "$changes" = "Наименование испытываемого материала: «Масло ГК» → «Масло АГК»" ]
e2e_check "OK waits for a reason" [ "$(ui find "$AMENDMENT_DIALOG" 10 enabled 1)" = 0 ]
e2e_check "no name proposed at first" [ -z "$(ui find "$AMENDMENT_DIALOG" 10 text 1304)" ]
ui_must find "$AMENDMENT_DIALOG" 10 set-text 1303 "   " >/dev/null
e2e_check "blanks are no reason" [ "$(ui find "$AMENDMENT_DIALOG" 10 enabled 1)" = 0 ]
ui_must find "$AMENDMENT_DIALOG" 10 set-text 1303 "опечатка в материале" set-text 1304 "Петров П.П." >/dev/null
e2e_shot amendment-dialog
ui_must find "$AMENDMENT_DIALOG" 10 click 2 sleep 1 >/dev/null
e2e_check "Отмена appends nothing" [ "$(archive_size)" = "$ARCHIVE_GROUP" ]
e2e_check "and saves nothing" test ! -e "$amended"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\amended" || e2e_fail "save dialog of the amendment"
archive_answer_amendment "опечатка в материале" "Петров П.П." || e2e_fail "the amendment's reason"
e2e_check "log.dat holds the series and its amendment" archive_wait_size $((2 * ARCHIVE_GROUP)) 20
e2e_check "the register holds the amendment, its person and reason" grep -qE \
  '^[0-9]+;[^;]*;amend;[^;]*;[^;]*;1;[^;]*;Петров П\.П\.;опечатка в материале;' "$E2E_DATA/journal.csv"
text="$(protocol_rtf_text "$amended")"
for want in "Масло АГК" "Изменение №1 от "; do
  e2e_check "amended document shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 2
rows="$(ui find "$ARCHIVE_VIEWER" 10 list-rows "$ARCHIVE_VIEWER" 701)"
e2e_check "one row, the amendment's ($rows)" [ "$(grep -c . <<<"$rows")" = 1 ]
e2e_check "the row shows the amendment" grep -qF "|Масло АГК|" <<<"$rows"
e2e_check "the row is marked as its first amendment" grep -qF "|изм. 1|" <<<"$rows"
version="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 727)"
e2e_check "details show version \"$version\"" grep -q '^изм\. 1 от [0-9]*\.[0-9]*\.20[0-9][0-9] [0-9]*:[0-9][0-9]$' <<<"$version"
e2e_shot viewer-amended
original="$(ui find "$ARCHIVE_VIEWER" child-combo-select "$ARCHIVE_VIEWER" 727 0)"
e2e_check "the original still listed ($original)" [ "$original" = "исходная" ]
material="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 141)"
e2e_check "the original's material shown ($material)" [ "$material" = "Масло ГК" ]
e2e_shot viewer-original
ui_must find "$ARCHIVE_VIEWER" close
sleep 1

# An amendment is appended only when its document is made: the viewer's
# cancelled save appends nothing; saved, it goes in and the main window's
# form takes it, so the form's own save neither appends nor reverts it.
save_title="$(e2e_system_text "Сохранить как" "Save As")"
before="$(archive_size)"
ui_must find "$E2E_CAPTION" menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 2 child-set-text "$ARCHIVE_VIEWER" 141 "Масло ТКп" click-in "$ARCHIVE_VIEWER" 176
ui_must find "$save_title" 20 click 2 sleep 1 >/dev/null
e2e_check "the viewer's cancelled save appends nothing" [ "$(archive_size)" = "$before" ]
issues="$(protocol_issue_count)"
e2e_check "nor registers an issue" [ "$issues" = 2 ]
ui_must find "$ARCHIVE_VIEWER" 10 click-in "$ARCHIVE_VIEWER" 176
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\viewer" || e2e_fail "save dialog of the viewer"
proposed="$(ui find "$AMENDMENT_DIALOG" 30 text 1304)"
e2e_check "the viewer's dialog proposes the name given last ($proposed)" [ "$proposed" = "Петров П.П." ]
archive_answer_amendment "уточнена марка масла" "Сидоров С.С." || e2e_fail "the viewer's amendment reason"
e2e_check "the viewer's save appends its amendment" archive_wait_size $((before + ARCHIVE_GROUP)) 20
e2e_check "the register holds the viewer's amendment" grep -qE \
  '^[0-9]+;[^;]*;amend;[^;]*;[^;]*;2;[^;]*;Сидоров С\.С\.;уточнена марка масла;' "$E2E_DATA/journal.csv"
who="$(ui find "$ARCHIVE_VIEWER" 10 child-text "$ARCHIVE_VIEWER" 731)"
e2e_check "the details pane says who and why ($who)" grep -qE \
  '^Изменил: Сидоров С\.С\., [0-9]{2}\.[0-9]{2}\.20[0-9]{2} [0-9]{2}:[0-9]{2}\. Причина: уточнена марка масла$' <<<"$who"
e2e_shot viewer-who-why
material="$(ui find "$E2E_CAPTION" text 141)"
e2e_check "the main window's form follows it ($material)" [ "$material" = "Масло ТКп" ]
ui_must find "$ARCHIVE_VIEWER" close sleep 3
e2e_shot form-follows
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\main" || e2e_fail "save dialog after the viewer's amendment"
e2e_check "the main window's save appends nothing more" [ "$(archive_size)" = $((before + ARCHIVE_GROUP)) ]
e2e_check "and keeps the viewer's material" grep -qF "Масло ТКп" <<<"$(protocol_rtf_text "$E2E_RUN/main.rtf")"

# The viewer's version approved, then issued from the viewer: its protocol
# carries the amendment's reason and the date of approval, and the register
# holds the whole road with its chain whole against log.dat.
ui_must find "$E2E_CAPTION" 10 menu 204
ui_must find "$ARCHIVE_VIEWER" 20 sleep 2 click-in "$ARCHIVE_VIEWER" 714 >/dev/null
ui_must find "Утверждение протокола" 10 set-text 1214 "Начальник лаборатории" set-text 1215 "Петров П.П." \
  click 1 >/dev/null
ui_must find "$ARCHIVE_VIEWER" 10 click-in "$ARCHIVE_VIEWER" 176
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\approved" || e2e_fail "save dialog of the approved version"
text="$(protocol_rtf_text "$E2E_RUN/approved.rtf")"
e2e_check "the approved version's protocol names its reason" grep -qF "Причина: уточнена марка масла" <<<"$text"
months=(января февраля марта апреля мая июня июля августа сентября октября ноября декабря)
approved_on="«$(date +%d)» ${months[$((10#$(date +%m) - 1))]} $(date +%Y) г."
e2e_check "and the date of approval ($approved_on)" grep -qF "$approved_on" <<<"$text"
ui_must find "$ARCHIVE_VIEWER" close sleep 1
events="$(cut -d';' -f3 "$E2E_DATA/journal.csv" | tr -d '\r' | tr '\n' ' ')"
e2e_check "the register holds the road ($events)" \
  grep -qE 'series .*amend .*issue .*amend .*approve issue' <<<"$events"
cmake --build "$BUILD/native" --target orla-archive >/dev/null || e2e_fail "no orla-archive"
verify="$("$BUILD/native/bin/orla-archive" verify "$E2E_DATA/log.dat" | grep '^journal:')"
e2e_check "its chain is whole against log.dat ($verify)" grep -q '^journal: Журнал цел: ' <<<"$verify"

# Another archive file is only viewed: its fields take no typing, and its
# documents are made from the version stored there, with nothing written.
aside="log-20261209-064527.dat"
cp "$E2E_DATA/log.dat" "$E2E_DATA/$aside"
ui_must find "$E2E_CAPTION" 10 menu 212 >/dev/null
ui_must find "$(e2e_system_text "Открыть" "Open")" 20 set-text 1148 "$aside" click 1 >/dev/null
OTHER="$ARCHIVE_VIEWER: $aside"
e2e_check "the other file's fields are read-only" [ "$(ui find "$OTHER" 20 sleep 2 child-readonly "$OTHER" 141)" = 1 ]
e2e_shot other-read-only
ui_must find "$OTHER" 10 child-set-text "$OTHER" 141 "Масло Х" click-in "$OTHER" 176
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\aside" || e2e_fail "save dialog of the other file"
e2e_check "nothing written to either file" cmp -s "$E2E_DATA/log.dat" "$E2E_DATA/$aside"
text="$(protocol_rtf_text "$E2E_RUN/aside.rtf")"
e2e_check "its document shows the stored material" bash -c 'grep -qF "Масло ТКп" <<<"$1" && ! grep -qF "Масло Х" <<<"$1"' _ "$text"
ui_must find "$OTHER" close sleep 1

rm -f "$E2E_DATA/template.rtf"
missing="$E2E_RUN/missing.rtf"
ui_must find "$E2E_CAPTION" 10 menu 201
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\missing" || e2e_fail "save dialog without template"
e2e_shot missing-template
ui_must find "$E2E_CAPTION" 30 msgbox "Файл template.rtf не найден." ok 30
e2e_check "no file without a template" test ! -e "$missing"
e2e_check "and no issue registered" bash -c '! grep -qF "missing.rtf" <<<"$1"' _ "$(protocol_issue_lines)"

# A save dialog left open in another folder while a series ends: the series
# still goes into the data folder's log.dat, not into the folder browsed to.
before="$(archive_size)"
ui_must find "$E2E_CAPTION" 10 click 170 >/dev/null
ui_must find "$E2E_CAPTION" 10 menu 201 >/dev/null
ui_must find "$save_title" 20 set-text 1148 "$(e2e_winpath "$E2E_RUN")" click 1 >/dev/null
e2e_check "the series ended with the dialog open went into the data folder" \
  archive_wait_size $((before + ARCHIVE_GROUP)) 120
e2e_check "and not into the folder the dialog shows" test ! -e "$E2E_RUN/log.dat"
ui find "$save_title" 10 click 2 >/dev/null

e2e_end
