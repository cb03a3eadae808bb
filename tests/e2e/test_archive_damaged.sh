#!/usr/bin/env bash
# A log.dat that is not a whole number of record groups asks "Исправить
# ошибки?", saying what is wrong and what "Да" does; Yes cuts a short tail
# back, restores a last series with two whole copies and writes back the
# groups whose copies disagree; a record whose crc fails is named once by
# its row, which the list marks.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/archive_lib.sh"
e2e_begin archive_damaged
archive_write_ini
archive_make_log 2 "$E2E_DATA" || e2e_abort "could not write log.dat"
head -c 100 "$E2E_DATA/log.dat" >> "$E2E_DATA/log.dat.tail"
cat "$E2E_DATA/log.dat.tail" >> "$E2E_DATA/log.dat" && rm -f "$E2E_DATA/log.dat.tail"
e2e_check "log.dat damaged" [ "$(archive_size)" = $((2 * ARCHIVE_GROUP + 100)) ]
e2e_start
ui_must find "$E2E_CAPTION" 60 menu 204
ui_must msgbox "Исправить ошибки?" yes 20
e2e_check "tail cut back" archive_wait_size $((2 * ARCHIVE_GROUP)) 20
ui_must find "$ARCHIVE_VIEWER" 20 sleep 1
rows="$(ui find "$ARCHIVE_VIEWER" list-count "$ARCHIVE_VIEWER" 701)"
e2e_check "two rows listed (got $rows)" [ "$rows" = 2 ]
number="$(ui find "$ARCHIVE_VIEWER" child-text "$ARCHIVE_VIEWER" 140)"
e2e_check "last record shown (got '$number')" [ "$number" = 2 ]
ui_must find "$ARCHIVE_VIEWER" 10 key escape >/dev/null

# Four series: copy B of the first differs, the second fails its crc (the
# same bit in two copies), the fourth lost part of its copy C.
scratch="$E2E_RUN/four"
archive_make_log 4 "$scratch" || e2e_abort "could not write the four series"
python3 - "$scratch/log.dat" "$E2E_DATA/log.dat" $ARCHIVE_GROUP <<'PY'
import sys
data, group = bytearray(open(sys.argv[1], "rb").read()), int(sys.argv[3])
copy = group // 3
data[copy + 2000] ^= 0x04                     # group 0, copy B
for c in (0, 1):
    data[group + c * copy + 64 + 5 * 256] ^= 0x20  # group 1, copies A and B, a protocol text
open(sys.argv[2], "wb").write(bytes(data[:3 * group + 2 * copy + 1]))
PY
copies_agree() {  # <group>: the three copies of a group are alike
  python3 - "$E2E_DATA/log.dat" $ARCHIVE_GROUP "$1" <<'PY'
import sys
data, group, k = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3])
g = data[k * group:(k + 1) * group]
sys.exit(0 if g[:group // 3] == g[group // 3:2 * group // 3] == g[2 * group // 3:] else 1)
PY
}
copies_differ() { ! copies_agree "$1"; }
e2e_check "copy B of the first series differs" copies_differ 0
ui_must find "$E2E_CAPTION" 10 menu 204 sleep 3 >/dev/null
e2e_shot question
question="$(ui_must msgbox "Исправить ошибки?" yes 20)"
e2e_log "question: $question"
for part in "Последняя серия записана не полностью (в файле 6833 байт из 10248 ее записи)." \
            "Записей с несовпадающими копиями: 1." \
            "«Да»: последняя серия будет восстановлена по ее уцелевшим копиям; записи с несовпадающими копиями (1)" \
            "«Нет»: файл останется как есть"; do
  e2e_check "the question says: $part" grep -qF -- "$part" <<<"$question"
done
e2e_check "the last series completed" archive_wait_size $((4 * ARCHIVE_GROUP)) 20
e2e_check "the first series written back with agreeing copies" copies_agree 0
ui_must msgbox "Записей архива с несовпадающей контрольной суммой: 1 (строка 2)." ok 20
sleep 1
e2e_check "the warning comes once" ui find "$ARCHIVE_VIEWER" 10 no-msgbox
numbers="$(ui find "$ARCHIVE_VIEWER" 10 list-rows "$ARCHIVE_VIEWER" 701 | cut -d'|' -f1 | paste -sd,)"
e2e_check "four rows, the damaged one marked where it stands (got $numbers)" [ "$numbers" = "1,! 2,3,4" ]
e2e_shot marked
e2e_end
