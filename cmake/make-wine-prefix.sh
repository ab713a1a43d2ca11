#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX for the tests, once, however many
# tests ask for it at the same time.
set -eu
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -e "$WINEPREFIX/.ready" ] && exit 0
# The loader that run-under-wine chose for the build (32- or 64-bit).
wine=${WINELOADER:-wine}

"$wine" wineboot --init
# Debian's Wine does not find the fonts of its fonts-wine package by itself:
# without them Tahoma, the message font, is replaced by another and the
# title bar's buttons lose their symbols (Marlett).
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
# Every window opens in one virtual desktop: without a window manager Wine
# can stall for seconds when a window is hidden.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
# A program that crashes ends its test instead of waiting in a crash dialog.
"$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
# The desktop that booting the prefix opened is not the virtual one: let it
# and the server end, so that the first program opens the virtual desktop.
wineserver --wait
touch "$WINEPREFIX/.ready"
