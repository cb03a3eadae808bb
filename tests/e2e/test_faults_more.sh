#!/usr/bin/env bash
# Damaged files of the data folder: a service log (.sdat) with a torn tail,
# heads claiming more than six values and garbage, replayed at start and
# appended to after a series; then protocols saved from a template with
# unbalanced braces and from a 10 MB template full of keys. Nothing crashes
# or hangs, the series is archived once and the saves leave log.dat alone.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/archive_lib.sh"
source "$HERE/protocol_lib.sh"
source "$HERE/install_template.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}"
e2e_begin faults_more

sv() { ui find "$E2E_CAPTION" 10 child-text "$E2E_CAPTION" "$1"; }
SDAT="$E2E_DATA/K2V000017.sdat"

# ---- a damaged .sdat: four heads (one whole, one claiming 200 values, one
# of garbage, one claiming 9 values) and 37 bytes of a torn fifth
mkdir -p "$E2E_DATA"
python3 - "$SDAT" <<'EOF'
import random, struct, sys
random.seed(13)
def head(count, volts):
    h = bytearray(64)
    h[1] = 2; h[4] = count
    for i, v in enumerate(volts[:6]): struct.pack_into('<H', h, 8 + 2 * i, v)
    struct.pack_into('<8H', h, 28, 2026, 12, 2, 1, 10, 0, 0, 0)
    return bytes(h)
data = head(2, [452, 470]) + bytes(head(200, [0xFFFF] * 6)[:20]) + bytes(random.randrange(256) for _ in range(44))
data += bytes(random.randrange(256) for _ in range(64)) + head(9, [510, 520, 530, 540, 550, 560])
data += bytes(random.randrange(256) for _ in range(37))
open(sys.argv[1], 'wb').write(data)
EOF
cp "$SDAT" "$E2E_RUN/damaged.sdat"
e2e_check "the damaged file is 4 heads and 37 bytes" [ "$(stat -c %s "$SDAT")" = $((4 * 64 + 37)) ]
e2e_sim_config measurement_count=2 voltages=45.2,47.0
e2e_write_ini "[MainWnd]" "X=0" "Y=0" "W=1270" "H=900" "[Programm]" "FirstRun=0" "ServiceMode=1"
install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
e2e_start
e2e_wait_connected 60 || e2e_abort "no connection"
sleep 1
e2e_check "670 counts the four whole heads: $(sv 670)" [ "$(sv 670)" = "0(4)" ]
rows="$(ui find "$E2E_CAPTION" 10 list-count "$E2E_CAPTION" 601)"
e2e_check "four rows listed ($rows)" [ "$rows" = 4 ]
for id in 660 661; do
  e2e_check "graph $id shown" [ "$(ui find "$E2E_CAPTION" 10 child-visible "$E2E_CAPTION" $id | cut -d' ' -f1)" = 1 ]
done
e2e_shot sdat-loaded
ui_must find "$E2E_CAPTION" 10 click 170 wait-enabled 172 0 20 wait-enabled 172 1 120 >/dev/null
e2e_check "the series archived once" archive_wait_size "$ARCHIVE_GROUP" 10
sleep 1
e2e_check "670 shows 1(5): $(sv 670)" [ "$(sv 670)" = "1(5)" ]
e2e_check "the .sdat cut back to whole heads, then the new one: $(stat -c %s "$SDAT") bytes" \
  [ "$(stat -c %s "$SDAT")" = $((5 * 64)) ]
e2e_check "the four old heads kept as they were" cmp -n 256 "$SDAT" "$E2E_RUN/damaged.sdat"
count=$(od -An -tu1 -j $((4 * 64 + 4)) -N1 "$SDAT" | tr -d ' ')
e2e_check "the new head at the end holds the series' 2 values ($count)" [ "$count" = 2 ]
e2e_shot sdat-after-series

# ---- protocols from damaged templates
GOOD="$HERE/../../protocol/template.rtf"
# Saves a protocol with menu 201 into the run folder; prints the file's path.
save_protocol() {  # <name>
  ui_must find "$E2E_CAPTION" 10 menu 201 >/dev/null
  protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\$1" || e2e_fail "$1: save dialog"
}
# The program answers within a few seconds: no hang, no crash.
responsive() { ui find "$E2E_CAPTION" 10 text status >/dev/null && kill -0 "$E2E_APP_PID" 2>/dev/null; }
error_boxes() { ui count-windows "Ошибка!"; }
archived=$(archive_size)

# Unbalanced braces: two groups opened and never closed, two closed too many;
# every reader would end the document after ORGNAME.
python3 - "$GOOD" "$E2E_DATA/template.rtf" <<'EOF'
import sys
t = open(sys.argv[1], 'rb').read()
t = t.replace(b'\\pard\\qr\\f0\\fs24 DIREKTOR\\par', b'{\\pard\\qr\\f0\\fs24 {\\b DIREKTOR\\par', 1)
t = t.replace(b'ORGNAME\\b0\\par', b'ORGNAME\\b0\\par}}', 1)
open(sys.argv[2], 'wb').write(t)
EOF
save_protocol braces
ui_must find "$E2E_CAPTION" 10 wait-enabled 172 1 5 >/dev/null
deadline=$((SECONDS + 20))
until [ "$(error_boxes)" != 0 ] || ((SECONDS > deadline)); do sleep 0.5; done
e2e_shot braces-told
box="$(ui find "$E2E_CAPTION" 10 msgbox "Файл template.rtf поврежден:" ok 10)"
told=$?
e2e_check "braces: the user is told the template is damaged ($box)" [ "$told" = 0 ]
e2e_check "braces: told which file to delete" grep -q 'ORLA-K200V\\template.rtf.*Удалите этот файл' <<<"$(tr '\n' ' ' <<<"$box")"
e2e_check "braces: no protocol file, so none that readers cut short" test ! -e "$E2E_RUN/braces.rtf"
e2e_check "braces: still answering" responsive

# 10 MB: the template with a comment group of key-laden lines, as a template
# pasted together from many others might carry.
python3 - "$GOOD" "$E2E_DATA/template.rtf" <<'EOF'
import sys
t = open(sys.argv[1], 'rb').read()
line = b'PROTOKOLNUM ULIST USREDNEE USQERROR TISP ORGNAME MATERIALNAME pad pad pad pad\n'
pad = b'{\\*\\orlanotes ' + line * (10 * 1024 * 1024 // len(line)) + b'}\n'
at = t.rindex(b'}')
open(sys.argv[2], 'wb').write(t[:at] + pad + t[at:])
EOF
e2e_log "10 MB template: $(stat -c %s "$E2E_DATA/template.rtf") bytes"
started=$SECONDS
save_protocol big
deadline=$((SECONDS + 60))
until [ -s "$E2E_RUN/big.rtf" ] && [ "$(tail -c 1 "$E2E_RUN/big.rtf" | od -An -tx1 | tr -d ' ')" = 00 ] ||
      ((SECONDS > deadline)); do sleep 0.5; done
e2e_log "10 MB template: saved in about $((SECONDS - started)) s, $(stat -c %s "$E2E_RUN/big.rtf" 2>/dev/null) bytes"
e2e_shot big-saved
e2e_check "10 MB: still answering" responsive
e2e_check "10 MB: no error box" [ "$(error_boxes)" = 0 ]
e2e_check "10 MB: whole document written, closed by its zero byte" \
  [ "$(tail -c 1 "$E2E_RUN/big.rtf" | od -An -tx1 | tr -d ' ')" = 00 ]
e2e_check "10 MB: no key left anywhere in the file" bash -c '! grep -aqE "PROTOKOLNUM|ULIST|USREDNEE|TISP" "$1"' _ "$E2E_RUN/big.rtf"
text="$(protocol_rtf_text "$E2E_RUN/big.rtf")"
e2e_check "10 MB: LibreOffice reads the values" grep -qF "45.2 кВ, 47.0 кВ" <<<"$text"
e2e_check "log.dat untouched by the saves" [ "$(archive_size)" = "$archived" ]

ui find "$E2E_CAPTION" 10 close >/dev/null
e2e_wait_exit 20 || e2e_fail "the program did not end"
e2e_end
