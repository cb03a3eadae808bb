#!/usr/bin/env bash
# Fails when a Windows program imports a DLL function that its oldest Windows lacks, or names a newer Windows in its PE header.
# Usage: check_imports.sh [32-bit bin folder] [64-bit bin folder]
# (default build/win32/bin and build/win64/bin, as scripts/test builds them).
# A function missing from Windows is not noticed at build time: the program
# just does not start there ("entry point not found"), so every import of
# ORLA-K200V.exe and orla-archive.exe is looked up in the list of what that
# Windows exports (windows-xp-sp3.txt, windows-7-sp1.txt beside this script).
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
export LC_ALL=C  # one sort order for comm
OBJDUMP="${OBJDUMP:-x86_64-w64-mingw32-objdump}"  # reads 32- and 64-bit PE files alike
PROGRAMS=(ORLA-K200V.exe orla-archive.exe)

# "dll function" per import, lower-case DLL names; "dll #ordinal" for an
# import by number, which no list can vouch for.
imports_of() {
  "$OBJDUMP" -p "$1" | awk '
    /^[^ \t]/ { dll = "" }  # the next part of the dump
    /^\tDLL Name: / { dll = tolower($3); next }
    dll != "" && /^\t *[0-9a-f]+[ \t]/ { if (/<none>/) print dll, "#" $2; else print dll, $3 }'
}

# MajorOperatingSystemVersion.Minor and the same for the subsystem.
header_versions() {
  "$OBJDUMP" -p "$1" | awk '
    $1 == "MajorOSystemVersion" { os = $2 } $1 == "MinorOSystemVersion" { os = os "." $2 }
    $1 == "MajorSubsystemVersion" { sub_ = $2 } $1 == "MinorSubsystemVersion" { sub_ = sub_ "." $2 }
    END { print os, sub_ }'
}

failures=0
fail() { echo "MISSING: $*"; failures=$((failures + 1)); }

check_build() {  # label bin-folder list-file windows-name pe-version
  local label="$1" bin="$2" list="$HERE/$3" windows="$4" version="$5" exe known
  known="$(sed 's/#.*//' "$list" | awk 'NF == 2 { print tolower($1), $2 }' | sort -u)"
  for exe in "${PROGRAMS[@]}"; do
    if [ ! -f "$bin/$exe" ]; then
      fail "$bin/$exe ($label) was not built, so it cannot be checked"
      continue
    fi
    local found missing count
    found="$(imports_of "$bin/$exe" | sort -u)"
    count="$(printf '%s\n' "$found" | grep -c .)"
    missing="$(comm -23 <(printf '%s\n' "$found") <(printf '%s\n' "$known"))"
    while read -r dll function; do
      [ -n "$dll" ] || continue
      fail "$exe ($label) imports $dll $function, which is not in tests/imports/$3 (what $windows exports)"
    done <<< "$missing"
    local os subsystem before=$failures
    read -r os subsystem < <(header_versions "$bin/$exe")
    [ "$os" = "$version" ] && [ "$subsystem" = "$version" ] ||
      fail "$exe ($label) names OS $os and subsystem $subsystem in its PE header, not $version ($windows)"
    [ -n "$missing" ] || ((failures > before)) ||
      echo "ok: $exe ($label): $count imports, all in $3; PE header $os/$subsystem"
  done
}

check_build "32-bit build" "${1:-$ROOT/build/win32/bin}" windows-xp-sp3.txt "Windows XP SP3" 5.1
check_build "64-bit build" "${2:-$ROOT/build/win64/bin}" windows-7-sp1.txt "Windows 7 SP1" 6.1
if ((failures)); then
  echo "imports: $failures problem(s); a missing function needs another way on that Windows, or a source that it is there before it goes in the list"
  exit 1
fi
echo "imports: every import of both builds is on their oldest Windows"
