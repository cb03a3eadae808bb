# Shared by scripts/test, scripts/run and the e2e tests. Source it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

# The product's folders, bottom layer first: the table "Layers" of
# docs/architecture.md ("| 3 | `results/` | ..." rows), read by the layers
# check and the fuzz build so that neither keeps a list of its own.
product_layers() {
  sed -n 's/^| *[0-9][0-9]* *| *`\([a-z0-9_]*\)\/` *|.*/\1/p' "$ROOT/docs/architecture.md"
}

# Debian packages the builds and tests need; installed only when missing.
PACKAGES=(cmake g++ make libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb
          x11-utils xdotool locales imagemagick fonts-dejavu-core fonts-liberation
          libgl1 libglx-mesa0 libgl1-mesa-dri  # Mesa's software GL for Wine's opengl32
          g++-mingw-w64-i686-win32 nsis icoutils  # 32-bit build, installer, its checks
          nettle-dev)  # SHA-256 of the native build (the register's chain)

# The packages given that are not installed yet, in one apt call.
_apt_install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq &&
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_packages() {
  _apt_install_missing "${PACKAGES[@]}" "$@" || return 1
  # Wine takes its ANSI code page from the locale: 1251 from the Russian one,
  # 1252 from the English one of the language runs.
  local l generate=0
  for l in ru_RU en_US; do
    locale -a 2>/dev/null | grep -qi "^$l\.utf8\$" && continue
    sed -i "s/^# *$l.UTF-8 UTF-8/$l.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" >> /etc/locale.gen
    generate=1
  done
  if ((generate)); then locale-gen >/dev/null; fi
}

JOBS=$(nproc 2>/dev/null || echo 2)

build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}

# The unit tests under sanitizers: build/native-asan with AddressSanitizer
# and UndefinedBehaviorSanitizer (any finding aborts), build/native-tsan with
# ThreadSanitizer for the tests that run the worker beside other threads.
# Only the test binary is built.
SANITIZER_FLAGS_asan="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
SANITIZER_FLAGS_tsan="-fsanitize=thread"
build_native_sanitized() {  # asan | tsan
  local flags="SANITIZER_FLAGS_$1"
  cmake -S "$ROOT" -B "$BUILD/native-$1" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="${!flags}" >/dev/null
  cmake --build "$BUILD/native-$1" -j "$JOBS" --target orla_tests
}

# Runs the unit tests built by build_native_sanitized; a finding fails the run.
run_native_sanitized() {  # asan | tsan
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
    "$BUILD/native-$1/bin/orla_tests" --gtest_brief=1
}

build_win64() {
  cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$BUILD/win64" -j "$JOBS"
}

# For the old 32-bit Windows PCs of many laboratories (Windows XP SP3 on).
# A build folder made with the posix-thread compiler of earlier versions
# would keep it: CMake never looks for the compiler again by itself.
build_win32() {
  local fresh=()
  grep -qs 'i686-w64-mingw32-.*-posix' "$BUILD/win32/CMakeCache.txt" && fresh=(--fresh)
  cmake "${fresh[@]}" -S "$ROOT" -B "$BUILD/win32" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w32.cmake" >/dev/null
  cmake --build "$BUILD/win32" -j "$JOBS"
}

# Debian's 32-bit Wine loader (multiarch), to run the 32-bit build, and
# 32-bit Mesa for ORLA_OPENGL=1, in one apt call with ensure_packages' and
# the packages given. False when they cannot be installed; callers then
# leave the 32-bit runs out. Once wine32 is installed, `wine` is the 32-bit
# loader for every prefix (see wine_env).
WINE32_PACKAGES=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)
ensure_wine32_with() {  # [package ...]
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 || return 1
  ensure_packages "${WINE32_PACKAGES[@]}" "$@"
}

# The laboratory databases of the tests (tests/e2e/db_lib.sh): a private
# PostgreSQL cluster and SQLite files, reached from Wine through unixODBC,
# which Wine's odbc32 hands every call to. The 32-bit loader's odbc32 needs
# the i386 libodbc and drivers; both in one apt call, since the Multi-Arch
# "same" libpq5 of the two architectures must be of one version.
DB_PACKAGES=(unixodbc odbc-postgresql libsqliteodbc postgresql sqlite3)
DB32_PACKAGES=(libodbc2:i386 odbc-postgresql:i386 libsqliteodbc:i386)
ensure_databases() {
  local wanted=("${DB_PACKAGES[@]}")
  if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    wanted+=("${DB32_PACKAGES[@]}")
  fi
  ensure_packages "${wanted[@]}"
}

# The installers from the cross builds (or the bin folders given), with the
# version and maker taken from the sources: dist/ORLA-K200V-setup.exe (32-bit,
# Windows XP SP3 and later) and dist/ORLA-K200V-setup-x64.exe (64-bit, Windows
# 7 SP1 and later).
build_installer() {  # [bin64] [bin32] [output folder]
  local bin64="${1:-$BUILD/win64/bin}" bin32="${2:-$BUILD/win32/bin}"
  local dist="${3:-$ROOT/dist}" defines="$BUILD/installer/defines.nsh" f
  for f in "$bin64/ORLA-K200V.exe" "$bin32/ORLA-K200V.exe" "$ROOT/protocol/template.rtf"; do
    [ -f "$f" ] || { echo "build_installer: $f is missing" >&2; return 1; }
  done
  mkdir -p "$(dirname "$defines")" "$dist"
  _header_text() { sed -n "s/^#define $2 \"\(.*\)\"\$/\1/p" "$ROOT/$1" | sed 's/\\"/"/g'; }
  local version numbers
  version="$(_header_text common/version_info.h ORLA_VERSION_TEXT)"
  numbers="$(sed -n 's/^#define ORLA_VERSION_NUMBERS //p' "$ROOT/common/version_info.h" | tr -d ' ' | tr , .)"
  # UTF-8 with a byte-order mark, as Unicode NSIS wants its includes.
  {
    printf '\xef\xbb\xbf'
    echo "!define VERSION \"$version\""
    echo "!define VERSION_NUMBERS \"$numbers\""
    echo "!define PRODUCT \"$(_header_text common/version_info.h ORLA_PRODUCT_NAME)\""
    echo "!define DESCRIPTION \"$(_header_text common/version_info.h ORLA_FILE_DESCRIPTION)\""
    echo "!define PUBLISHER \`$(_header_text common/maker_info.h MAKER_NAME_LINE1) $(_header_text common/maker_info.h MAKER_NAME_LINE2)\`"
    echo "!define BIN64 \"$bin64\""
    echo "!define BIN32 \"$bin32\""
    echo "!define TEMPLATE \"$ROOT/protocol/template.rtf\""
    echo "!define ICON \"$ROOT/app/win32/icons/main.ico\""
  } > "$defines"
  local nsi="$ROOT/app/win32/installer/ORLA-K200V.nsi"
  makensis -V2 -INPUTCHARSET UTF8 -DDEFINES="$defines" -DOUTFILE="$dist/ORLA-K200V-setup.exe" "$nsi" &&
    makensis -V2 -INPUTCHARSET UTF8 -DDEFINES="$defines" -DOUTFILE="$dist/ORLA-K200V-setup-x64.exe" -DX64 "$nsi" &&
    echo "Installers: $dist/ORLA-K200V-setup.exe $dist/ORLA-K200V-setup-x64.exe"
}

# Wine lives in a prefix of its own under build/, never the user's home.
wine_env() {
  export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
  export WINEDEBUG="${ORLA_WINEDEBUG:--all}"  # ORLA_WINEDEBUG=+wgl and the like, to look inside
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # E2E_LANG=en_US.UTF-8 makes it an English Windows (code page 1252).
  export LANG="${E2E_LANG:-ru_RU.UTF-8}" LC_ALL="${E2E_LANG:-ru_RU.UTF-8}"
  # Once Debian's 32-bit loader is installed (the 32-bit runs of scripts/test
  # install it), `wine` and the tools that call `wine-stable` start every
  # program through it, and in a 64-bit prefix nothing starts ("could not
  # load kernel32.dll"). The 64-bit prefixes keep the 64-bit loader.
  if [ "${WINEARCH:-}" != win32 ] && [ -x /usr/lib/wine/wine ] && [ -x /usr/lib/wine/wine64 ]; then
    local shim="$BUILD/wine64-loader" name
    mkdir -p "$shim"
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$shim/$name"
      chmod +x "$shim/$name"
    done
    case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  wine_map_fonts
}

# The screen's DPI that Wine gives every program of the prefix (Windows'
# "scale and layout", 96 = 100 %, 120 = 125 %, 144 = 150 %); a prefix keeps
# the last one set. Programs started after it see it.
wine_set_dpi() {  # <dpi>
  local mark="$WINEPREFIX/.orla-dpi-$1"
  [ -f "$mark" ] && return 0
  rm -f "$WINEPREFIX"/.orla-dpi-*
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || return 1
  wineserver -w || true
  touch "$mark"
}

# The printed protocol asks for "Times New Roman Cyr". Wine knows no such
# face and drew a wide sans, so labels ran into the value column; Liberation
# Serif has Times New Roman's widths. The dialogs' "MS Sans Serif" becomes
# Liberation Sans, whose widths are close to it: with the wider DejaVu Sans
# that Wine chose before, a dialog unit was a quarter wider than on Windows,
# so the main window at its 500 pixels cut off the test-cell picture.
# The dialogs ask for "MS Shell Dlg" with DS_SHELLFONT, which means
# "MS Shell Dlg 2" (Wine's own choice for it is Tahoma): the same face too.
wine_map_fonts() {
  local mark="$WINEPREFIX/.orla-fonts-mapped-5" key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  [ -f "$mark" ] && return 0
  wine reg delete "$key" /v "Times New Roman Cyr,0" /f >/dev/null 2>&1
  local pair
  for pair in "Times New Roman Cyr=Liberation Serif" "Times New Roman=Liberation Serif" \
              "MS Sans Serif=Liberation Sans" "MS Shell Dlg=Liberation Sans" "MS Shell Dlg 2=Liberation Sans"; do
    wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 || return 0
  done
  wineserver -w || true
  touch "$mark"
}
