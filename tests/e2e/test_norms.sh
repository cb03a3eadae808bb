#!/usr/bin/env bash
# The norms dialog: opened from "Настройки", it lists the shipped examples
# with their whole names (and so does the main window's norm list),
# refuses a wrong minimum with a box, takes a norm with a Cyrillic name and a
# decimal minimum and an own method, removes a norm after asking; ОК writes
# norms.ini, which the dialog shows again; a failed write keeps the dialog
# open with the change, and Esc drops it. Renaming the own method the main
# window has chosen keeps it chosen with its norm and renames the standard.
source "$(dirname "$0")/lib.sh"
e2e_begin norms

DIALOG="Нормы испытаний"
NAME="Масло ТК-1, входной контроль"
FIRST="IEC 60422:2024 табл. 5, масло в эксплуатации, категория A (выше 170 кВ)"
# The dialog's boxes bear its caption: a box is looked for from the main window.
rows() { ui find "$DIALOG" 10 list-rows "$DIALOG" "$1"; }
norms_file() { tr -d '\r' <"$E2E_DATA/norms.ini" | iconv -f CP1251 -t UTF-8; }
open_dialog() { ui_must find "$E2E_CAPTION" 10 menu 211 find "$DIALOG" 10 >/dev/null; }

CHOSEN="IEC 60422:2024 табл. 5, масло в эксплуатации, категория C (до 72,5 кВ)"
e2e_write_ini "[Programm]" "FirstRun=0" "Method=IEC 60156" "Norm=$CHOSEN"
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection"
# The main window's norm list: names that begin alike are told apart.
read -r open widest <<<"$(ui find "$E2E_CAPTION" 10 combo-widths "$E2E_CAPTION" 175)"
e2e_check "the open norm list is as wide as its longest name ($open >= $widest)" [ "${open:-0}" -ge "${widest:-1}" ]
e2e_check "the closed norm list's tip holds the whole name" \
  [ "$(ui find "$E2E_CAPTION" 10 tooltip "$E2E_CAPTION" 175)" = "$CHOSEN" ]
e2e_check "the item follows Настройки программы" [ "$(ui find "$E2E_CAPTION" menu-items 211)" = "206 207 211" ]
open_dialog
e2e_check "the ten examples are listed" [ "$(rows 1111 | wc -l)" = 10 ]
# A cut name ends in "…" some 12 pixels before its column's edge.
for column in 0 1; do
  read -r width widest <<<"$(ui find "$DIALOG" 10 column-widths "$DIALOG" 1111 $column)"
  e2e_check "column $column of the norms shows whole names ($width >= $widest + 12)" \
    [ "${width:-0}" -ge $((${widest:-0} + 12)) ]
done
ui_must find "$DIALOG" set-text 1112 "$NAME" combo-select 1113 1 set-text 1114 "0" click 1116 >/dev/null
sleep 1; e2e_shot wrong-minimum
e2e_check "a wrong minimum is refused with a box" \
  ui find "$E2E_CAPTION" msgbox "Минимум нормы должен быть числом киловольт от 0,1 до 100." ok 10
ui_must find "$DIALOG" set-text 1114 "52,5" click 1116 >/dev/null
e2e_check "the norm is added" [ "$(rows 1111 | tail -n 1)" = "$NAME|IEC 60156|52.5|" ]
ui_must find "$DIALOG" set-text 1132 "Своя, 3 пробоя" combo-select 1133 2 combo-select 1137 2 set-text 1138 10 \
  click 1139 >/dev/null
e2e_check "the own method is added and offered for norms" [ "$(rows 1131)" = \
  "Своя, 3 пробоя|3|2 кВ/с|5 мин|есть|КВ не более 10 %" -a "$(ui list-count "$DIALOG" 1113)" = 5 ]
ui_must find "$DIALOG" list-key "$DIALOG" 1111 0x24 >/dev/null  # Home selects the first row
e2e_check "the selected row fills the fields" [ "$(ui find "$DIALOG" text 1112 text 1114 text 1115 | tr '\n' '|')" = \
  "$FIRST|50|60|" ]
e2e_shot filled
ui_must find "$DIALOG" click 1118 find "$E2E_CAPTION" msgbox "Удалить норму «$FIRST» для методики «IEC 60156»?" yes 10 >/dev/null
ui_must find "$DIALOG" click 1 >/dev/null
sleep 1
e2e_check "ОК closed the dialog" [ "$(ui find "$E2E_CAPTION" shown "$DIALOG")" = 0 ]
e2e_check "norms.ini holds the new norm" grep -qxF "Name=$NAME" <<<"$(norms_file)"
e2e_check "norms.ini holds its minimum" grep -qxF "Minimum=52.5" <<<"$(norms_file)"
e2e_check "norms.ini holds the own method" grep -qxF "Percent=10" <<<"$(norms_file)"
e2e_check "norms.ini lost the removed norm" [ "$(norms_file | grep -cF "категория A")" = 0 ]

open_dialog
listed="$(rows 1111)"
e2e_check "reopened, the dialog shows the saved book" [ "$(wc -l <<<"$listed")" = 10 -a \
  "$(tail -n 1 <<<"$listed")" = "$NAME|IEC 60156|52.5|" ]
e2e_shot reopened
ui_must find "$DIALOG" list-key "$DIALOG" 1111 0x24 click 1118 find "$E2E_CAPTION" msgbox "Удалить норму" yes 10 \
  >/dev/null
# A file that cannot be written keeps the dialog open with the change in it.
mkdir "$E2E_DATA/norms.ini.tmp"
ui_must find "$DIALOG" click 1 find "$E2E_CAPTION" msgbox "Не удалось записать файл" ok 10 >/dev/null
e2e_check "after a failed write the change is still there" [ "$(rows 1111 | wc -l)" = 9 ]
rmdir "$E2E_DATA/norms.ini.tmp"
ui_must find "$DIALOG" key escape >/dev/null
open_dialog
e2e_check "Esc dropped the removal" [ "$(rows 1111 | wc -l)" = 10 ]
ui_must find "$DIALOG" key escape >/dev/null

OWN="Своя, 3 пробоя"
ui_must find "$E2E_CAPTION" 5 close >/dev/null && e2e_wait_exit 20
printf '\r\n[Norm90]\r\nName=Норма ТК\r\nMethod=%s\r\nMinimum=45\r\nGood=0\r\n' "$OWN" |
  iconv -f UTF-8 -t CP1251 >>"$E2E_DATA/norms.ini"
e2e_write_ini "[Programm]" "FirstRun=0" "Method=$OWN" "Norm=Норма ТК" "String2=$OWN"
e2e_start
e2e_wait_connected 30 || e2e_abort "no connection after the restart"
chosen() { ui find "$E2E_CAPTION" 10 text 138 text 175 text 142 | sed 's/ (параметры другие)$//' | tr '\n' '|'; }
ui_must find "$E2E_CAPTION" 10 menu 211 find "$DIALOG" 10 list-key "$DIALOG" 1131 0x24 set-text 1132 "МИ-02" \
  click 1140 click 1 >/dev/null && sleep 1
e2e_check "renamed, it stays chosen with its norm and names the standard ($(chosen))" \
  [ "$(chosen)" = "Методика: МИ-02|Норма ТК|МИ-02|" -a "$(e2e_ini_value Programm Method)" = "МИ-02" ]
e2e_shot renamed
e2e_end
