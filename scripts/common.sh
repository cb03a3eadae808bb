# Shared by scripts/test, scripts/run and the e2e tests. Source it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

# Debian packages the builds and tests need; installed only when missing.
PACKAGES=(cmake g++ make libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb
          x11-utils xdotool locales imagemagick fonts-dejavu-core fonts-liberation
          libgl1 libglx-mesa0 libgl1-mesa-dri)  # Mesa's software GL for Wine's opengl32

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Wine takes its ANSI code page (1251) from this locale.
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
    sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

JOBS=$(nproc 2>/dev/null || echo 2)

build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}

build_win64() {
  cmake -S "$ROOT" -B "$BUILD/win64" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$BUILD/win64" -j "$JOBS"
}

# Wine lives in a prefix of its own under build/, never the user's home.
wine_env() {
  export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  wine_map_fonts
}

# The printed protocol asks for "Times New Roman Cyr". Wine knows no such
# face and drew a wide sans, so labels ran into the value column; Liberation
# Serif has Times New Roman's widths. The dialogs' "MS Sans Serif" becomes
# Liberation Sans, whose widths are close to it: with the wider DejaVu Sans
# that Wine chose before, a dialog unit was a quarter wider than on Windows,
# so the main window at its 500 pixels cut off the test-cell picture.
wine_map_fonts() {
  local mark="$WINEPREFIX/.orla-fonts-mapped-4" key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  [ -f "$mark" ] && return 0
  wine reg delete "$key" /v "Times New Roman Cyr,0" /f >/dev/null 2>&1
  local pair
  for pair in "Times New Roman Cyr=Liberation Serif" "Times New Roman=Liberation Serif" \
              "MS Sans Serif=Liberation Sans" "MS Shell Dlg=Liberation Sans"; do
    wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 || return 0
  done
  wineserver -w || true
  touch "$mark"
}
