# Shared by scripts/test, scripts/run and the e2e tests. Source it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

# Debian packages the builds and tests need; installed only when missing.
PACKAGES=(cmake g++ make libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb
          x11-utils xdotool locales imagemagick fonts-dejavu-core)

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
}
