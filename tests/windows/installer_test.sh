#!/usr/bin/env bash
# Runs the Windows installer silently under Wine, on a private Xvfb and in a
# private Wine, checks what it installed and registered, starts the installed
# updater to its welcome page, then runs the uninstaller silently and checks
# that nothing of the installation is left.
#
# Usage: installer_test.sh <installer.exe> <folder for screenshots>
set -uo pipefail

installer="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../../scripts/windows.sh"

# Every file and folder in the Wine's drive C:, but the user's temporary files:
# the uninstaller runs from a copy of itself there, which Windows removes at
# the next restart.
list_drive_c ()
{
    (cd "$WINEPREFIX/drive_c" && find . ! -path "./users/*/Temp/*" ! -path "./users/*/AppData/Local/Temp/*" | sort)
}

# registered <value name> <pattern>: the value of the entry in Apps & features.
registered () { "$VT5150_WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep -Eq "$2"; }

# version_info <name>: what the installed program's Properties show under that name.
version_info () { strings -el "$folder/vt5150-updater.exe" | grep -A 1 -x "$1" | tail -n 1; }

# The installed program's resources hold an icon group (resource type 14).
has_icon () { x86_64-w64-mingw32-objdump -p "$folder/vt5150-updater.exe" | grep -Eq '^[0-9a-f]+   Entry: ID: 0x00000e,'; }

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VT5150FirmwareUpdater'

start_test vt5150_stop_wine
check "Wine starts" vt5150_start_wine || exit 1

folder="$WINEPREFIX/drive_c/Program Files/$VT5150_FACT_PRODUCT"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$VT5150_FACT_PRODUCT.lnk"
list_drive_c >"$WIZARD_TMP/before.txt"

begin_case install
"$VT5150_WINE" "$installer" /S
check "the installer exits with status 0" [ $? -eq 0 ]
vt5150_wait_for_wine
check "the license beside the program" [ -f "$folder/LICENSE.txt" ]
check "the program's icon" has_icon
check "the program names no folder of the build machine" eval '! grep -qF "$VT5150_ROOT" "$folder/vt5150-updater.exe"'
check "its product name" [ "$(version_info ProductName)" = "$VT5150_FACT_PRODUCT" ]
check "its version" [ "$(version_info ProductVersion)" = "$VT5150_FACT_APPLICATION_VERSION" ]
check "its company" [ "$(version_info CompanyName)" = "$VT5150_FACT_COMPANY" ]
check "the Start-menu entry" [ -f "$shortcut" ]
check "the entry in Apps & features" registered DisplayName "REG_SZ +$VT5150_FACT_PRODUCT$"
check "its version" registered DisplayVersion "REG_SZ +${VT5150_FACT_APPLICATION_VERSION//./\\.}$"
check "its publisher" registered Publisher "REG_SZ +$VT5150_FACT_COMPANY$"
check "its icon" registered DisplayIcon 'vt5150-updater\.exe,0$'
check "its uninstaller" registered UninstallString 'Uninstall\.exe"$'

begin_program installed-updater "$VT5150_WINE" "C:\\Program Files\\$VT5150_FACT_PRODUCT\\vt5150-updater.exe"
wizard_shot "$shots/installed-welcome.png"
wizard_click_close
check "the close button ends it with status 0" exited_with_0

begin_case uninstall
"$VT5150_WINE" "$folder/Uninstall.exe" /S
check "the uninstaller exits with status 0" [ $? -eq 0 ]
vt5150_wait_for_wine
check "no entry in Apps & features" eval '! "$VT5150_WINE" reg query "$key" >/dev/null 2>&1'
list_drive_c >"$WIZARD_TMP/after.txt"
check "nothing left on drive C: ($(diff "$WIZARD_TMP/before.txt" "$WIZARD_TMP/after.txt" | grep -c '^[<>]') differences)" \
    diff -q "$WIZARD_TMP/before.txt" "$WIZARD_TMP/after.txt"

finish_checks
