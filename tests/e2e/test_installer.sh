#!/usr/bin/env bash
# The installer as a laboratory would run it: silent install into Program
# Files, the program started from there copies the installed template into a
# fresh data folder and fills a protocol from it; a customised template
# survives the next start; the uninstaller removes the program and leaves
# the user's data; in a 64-bit prefix the 64-bit installer replaces a 32-bit
# installation; on a Windows older than the build's oldest it installs
# nothing. The binaries' formats and version resource are checked too.
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/lib.sh"
source "$HERE/protocol_lib.sh"
ensure_packages "${PROTOCOL_PACKAGES[@]}" icoutils

E2E_DIST="${E2E_DIST:-$ROOT/dist}"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ORLA-K200V'
PRODUCT="ОРЛА-К200В"

e2e_begin installer
[ "$(grep -m1 '^#arch=' "$WINEPREFIX/system.reg")" = "#arch=win32" ] && bits=32 || bits=64
e2e_log "Wine prefix is ${bits}-bit"
# A 32-bit Windows gets the 32-bit installer; the 64-bit one is what a 64-bit
# Wine without Debian's 32-bit loader can run.
((bits == 32)) && setup="$E2E_DIST/ORLA-K200V-setup.exe" || setup="$E2E_DIST/ORLA-K200V-setup-x64.exe"
[ -f "$setup" ] || e2e_abort "$setup is missing (run scripts/package)"

# The binaries this run uses: PE32 for a 32-bit build, PE32+ for a 64-bit one.
for f in ORLA-K200V.exe ftd2xx.dll; do
  kind="$(file -b "$E2E_BIN/$f")"
  case "$kind" in
    "PE32 "*"Intel 80386"*) e2e_log "ok: $f is 32-bit: $kind" ;;
    "PE32+ "*"x86-64"*) e2e_log "ok: $f is 64-bit: $kind" ;;
    *) e2e_fail "$f is neither: $kind" ;;
  esac
done

program_dir="$WINEPREFIX/drive_c/Program Files/ORLA-K200V"
program_win='C:\Program Files\ORLA-K200V'
menu_dir="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$PRODUCT"
desktop_link="$WINEPREFIX/drive_c/users/Public/Desktop/$PRODUCT.lnk"
# What an earlier run of this test left in the prefix.
rm -rf "$program_dir" "$menu_dir" "$desktop_link" "$WINEPREFIX/drive_c/Program Files (x86)/ORLA-K200V"
wine reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1

# Older than either build's oldest Windows (XP SP3, 7 SP1): Windows 2000.
WINE_KEY='HKCU\Software\Wine'
old_version="$(wine reg query "$WINE_KEY" /v Version 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')"
wine reg add "$WINE_KEY" /v Version /d win2k /f >/dev/null 2>&1
timeout 180 wine "$setup" /S; refused=$?
if [ -n "$old_version" ]; then wine reg add "$WINE_KEY" /v Version /d "$old_version" /f >/dev/null 2>&1
else wine reg delete "$WINE_KEY" /v Version /f >/dev/null 2>&1; fi
e2e_check "on Windows 2000 the silent install ends with 2, aborted (got $refused)" [ "$refused" = 2 ]
e2e_check "on Windows 2000 nothing is installed" test ! -e "$program_dir"
e2e_check "on Windows 2000 nothing is listed" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$UNINSTALL_KEY"

e2e_check "silent install ends with 0" timeout 180 wine "$setup" /S
for f in ORLA-K200V.exe template.rtf uninstall.exe; do
  e2e_check "installed $f" test -f "$program_dir/$f"
done
e2e_check "the simulated ftd2xx.dll is not installed" test ! -e "$program_dir/ftd2xx.dll"
e2e_check "installed template is the shipped one" cmp -s "$program_dir/template.rtf" "$ROOT/protocol/template.rtf"
installed_kind="$(file -b "$program_dir/ORLA-K200V.exe")"
if ((bits == 32)); then
  e2e_check "the 32-bit installer installs the 32-bit program ($installed_kind)" grep -q '^PE32 .*80386' <<<"$installed_kind"
else
  e2e_check "the 64-bit installer installs the 64-bit program ($installed_kind)" grep -q '^PE32+ .*x86-64' <<<"$installed_kind"
fi
version="$(wrestool -x --raw -t16 "$program_dir/ORLA-K200V.exe" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr '\0' '\n')"
for want in "ProductName" "$PRODUCT" "ProductVersion" "5.00" "испытание трансформаторного масла"; do
  e2e_check "version resource holds \"$want\"" grep -qF -- "$want" <<<"$version"
done
e2e_check "Start-menu shortcut" test -f "$menu_dir/$PRODUCT.lnk"
e2e_check "Start-menu uninstall shortcut" test -f "$menu_dir/Удалить $PRODUCT.lnk"
e2e_check "desktop shortcut" test -f "$desktop_link"
# reg.exe writes to a pipe in the OEM code page.
registry="$(wine reg query "$UNINSTALL_KEY" 2>/dev/null | tr -d '\r' | iconv -f CP866 -t UTF-8)"
for want in "DisplayName    REG_SZ    $PRODUCT" "DisplayVersion    REG_SZ    5.00" \
            'Publisher    REG_SZ    ООО "Научно-производственное предприятие Пример"' \
            "UninstallString    REG_SZ    \"$program_win\\uninstall.exe\""; do
  e2e_check "Programs and Features: $want" grep -qF -- "$want" <<<"$registry"
done

# The vendor's driver comes with its own setup; the test puts the simulated
# one where Windows would find it for this program.
cp "$E2E_BIN/ftd2xx.dll" "$program_dir/"
start_installed() {
  (cd "$program_dir" && exec wine "$program_win\\ORLA-K200V.exe" >"$E2E_RUN/program.out" 2>&1) &
  E2E_APP_PID=$!
  e2e_log "installed program started (pid $E2E_APP_PID)"
}

# First start on a fresh data folder that has settings but no template.
number=314
e2e_sim_config measurement_count=3 voltages=45.2,47.0,120 max_voltage=1000
e2e_write_ini "[Programm]" "FirstRun=0" "OrganisationName=Лаборатория масел" \
  "PriborSerialNumber=K2V000042" "String0=$number" "String1=Масло ГК" "String12=Петров П.П."
e2e_check "fresh data folder has no template" test ! -e "$E2E_DATA/template.rtf"
start_installed
ui_must find "$E2E_CAPTION" 60 wait-text status "Проведено измерений" 60 >/dev/null
e2e_check "first start copied the installed template" cmp -s "$E2E_DATA/template.rtf" "$ROOT/protocol/template.rtf"
ui_must find "$E2E_CAPTION" 10 sleep 2 click 170 wait-text status "Проведено измерений 3" 180 \
  wait-enabled 172 1 60 sleep 3 wait-enabled 172 1 30 >/dev/null
e2e_shot series-done
# A fresh data folder has no register yet: the first series begins it, and
# the user is told once.
told="$(ui msgbox "journal.csv" ok 20)"
e2e_check "the first series begins the register, told ($told)" grep -qF "начат заново" <<<"$told"
saved="$E2E_RUN/protokol$number.rtf"
# "Сохранить протокол" is the first item of the first menu. ui_driver's menu
# probe cannot yet be loaded into a 32-bit program under Wine: there the
# keyboard opens the menu, as a user without a mouse would.
if ((bits == 32)); then
  w="$(xdotool search --onlyvisible --name "^$E2E_CAPTION\$" | head -1)"
  xdotool windowfocus --sync "$w" 2>/dev/null; sleep 0.5
  xdotool key F10; sleep 0.5; xdotool key Down; sleep 0.5; xdotool key Return
else
  ui_must find "$E2E_CAPTION" 10 menu 201
fi
protocol_answer_save_dialog "$(e2e_winpath "$E2E_RUN")\\protokol$number" || e2e_fail "save dialog"
sleep 1
e2e_shot saved
e2e_check "no error box after saving" bash -c '! xdotool search --onlyvisible --name "^Ошибка!$" >/dev/null'
text="$(protocol_rtf_text "$saved")"
for want in "ПРОТОКОЛ № $number" "Лаборатория масел" "Масло ГК" "ОРЛА-К200В заводской номер K2V000042" \
            "45.2 кВ, 47.0 кВ, >100 кВ" "Петров П.П."; do
  e2e_check "saved protocol shows \"$want\"" grep -qF -- "$want" <<<"$text"
done
ui_must find "$E2E_CAPTION" close wait-exit 20 >/dev/null
e2e_wait_exit 20 || e2e_fail "program still running after close"
e2e_check "archive written" test -s "$E2E_DATA/log.dat"

# A template the laboratory edited is kept at the next start.
custom='{\rtf1\ansi Our own protocol PROTOKOLNUM\par}'
printf '%s' "$custom" > "$E2E_DATA/template.rtf"
start_installed
ui_must find "$E2E_CAPTION" 60 wait-text status "Проведено измерений" 60 >/dev/null
e2e_shot restarted
e2e_check "customised template not replaced at the next start" \
  [ "$(cat "$E2E_DATA/template.rtf")" = "$custom" ]
ui_must find "$E2E_CAPTION" close wait-exit 20 >/dev/null
e2e_wait_exit 20 || e2e_fail "program still running after the second close"

# The uninstaller copies itself elsewhere and returns at once; wait for it.
e2e_check "silent uninstall starts" timeout 60 wine "$program_win\\uninstall.exe" /S
deadline=$((SECONDS + 60))
while [ -e "$program_dir/uninstall.exe" ] && ((SECONDS < deadline)); do sleep 0.5; done
for f in ORLA-K200V.exe template.rtf uninstall.exe; do
  e2e_check "uninstalled $f" test ! -e "$program_dir/$f"
done
e2e_check "a file the installer did not put there stays" test -f "$program_dir/ftd2xx.dll"
e2e_check "Start-menu folder removed" test ! -e "$menu_dir"
e2e_check "desktop shortcut removed" test ! -e "$desktop_link"
e2e_check "Programs and Features entry removed" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$UNINSTALL_KEY"
e2e_check "archive log.dat kept" test -s "$E2E_DATA/log.dat"
e2e_check "settings file kept" test -s "$E2E_INI"
e2e_check "user's template kept" [ "$(cat "$E2E_DATA/template.rtf")" = "$custom" ]
rm -rf "$program_dir"

# The 64-bit installer over the 32-bit build's installation replaces it.
# Wine keeps both builds' entries in one key; a 64-bit prefix runs 32-bit
# programs only when made after wine32 was installed (filled syswow64).
if ((bits == 64)) && [ -n "$(ls "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]; then
  program32_dir="$WINEPREFIX/drive_c/Program Files (x86)/ORLA-K200V"
  location() { wine reg query "$UNINSTALL_KEY" /v InstallLocation 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
  e2e_check "32-bit silent install" timeout 180 wine "$E2E_DIST/ORLA-K200V-setup.exe" /S
  e2e_check "64-bit silent install over it" timeout 180 wine "$setup" /S
  e2e_check "one entry, the 64-bit build's ($(location))" [ "$(location)" = "$program_win" ]
  e2e_check "the 32-bit program is removed" test ! -e "$program32_dir/ORLA-K200V.exe"
  e2e_check "desktop shortcut kept, aimed at the 64-bit program" bash -c 'test -f "$1" && ! grep -aq "(x86)" "$1"' _ "$desktop_link"
  wine "$program_win\\uninstall.exe" /S
  deadline=$((SECONDS + 60))
  while [ -e "$program_dir/uninstall.exe" ] && ((SECONDS < deadline)); do sleep 0.5; done
  rm -rf "$program_dir" "$program32_dir"
else
  e2e_log "the 32-bit installer cannot run in this prefix: the other-build check is left out"
fi

e2e_end
