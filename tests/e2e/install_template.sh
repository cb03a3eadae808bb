#!/usr/bin/env bash
# Puts the shipped protocol template into the program's data folder of a Wine
# prefix. Source it and call install_protocol_template [data-folder], or run
# it with the same optional argument. Without an argument the data folder is
# %APPDATA%\ORLA-K200V of $WINEPREFIX.

protocol_data_folder() {
  [ -n "${E2E_DATA:-}" ] && { echo "$E2E_DATA"; return; }
  local appdata
  appdata="$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')"
  if [ -n "$appdata" ] && [ "$appdata" != "%APPDATA%" ]; then
    echo "$(winepath -u "$appdata" 2>/dev/null)/ORLA-K200V"
  else
    echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/ORLA-K200V"
  fi
}

install_protocol_template() {
  local root folder
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
  folder="${1:-$(protocol_data_folder)}"
  [ -f "$root/protocol/template.rtf" ] || { echo "no protocol/template.rtf" >&2; return 1; }
  mkdir -p "$folder" && cp "$root/protocol/template.rtf" "$folder/template.rtf"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -e
  install_protocol_template "$@"
fi
