#!/usr/bin/env bash
# Installs a built Quorvex into a temporary prefix, makes the prefix read-only, runs the installed
# game headless through its start-up and checks that it wrote only into the player's data folder;
# validates the desktop entries and the AppStream metadata. With --deb it also builds the .deb
# (cpack), shows its control data and contents, and lets apt check that it would install here.
# Usage: check-install.sh <build folder> [--deb]
set -euo pipefail
build="$(cd "$1" && pwd)"
deb="${2:-}"
work="$(mktemp -d)"
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

prefix="$work/prefix/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in games/quorvex games/quorvex-editor share/quorvex/tausta.bmp share/quorvex/playlist.txt \
         share/applications/org.quorvex.quorvex.desktop share/applications/org.quorvex.editor.desktop \
         share/metainfo/org.quorvex.quorvex.metainfo.xml share/man/man6/quorvex.6.gz \
         share/man/man6/quorvex-editor.6.gz share/doc/quorvex/copyright share/doc/quorvex/changelog.gz; do
  [ -e "$prefix/$f" ] || fail "missing after install: $f"
done
ls "$prefix"/share/quorvex/*.shp >/dev/null 2>&1 || fail "no stock ships installed"
ls "$prefix"/share/quorvex/*.cfg >/dev/null 2>&1 && fail "settings files must not be installed"
for size in 16 24 32 48 64 128 256; do
  for name in quorvex quorvex-editor; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$name.png"
    [ -s "$icon" ] || fail "missing icon $icon"
    file "$icon" | grep -q "$size x $size, 8-bit/color RGBA" || fail "not a ${size}px RGBA PNG: $icon"
  done
done

desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/org.quorvex.quorvex.metainfo.xml" >/dev/null

# The installed game, its folder read-only, started as a player would be (a home of its own).
chmod -R a-w "$work/prefix"
snapshot() { (cd "$work/prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
before="$(snapshot)"
home="$work/home"
mkdir -p "$home" "$work/runtime" && chmod 700 "$work/runtime"
log="$work/game.log"
env -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" QUORVEX_START_GAME=1 \
    QT_QPA_PLATFORM=offscreen SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
    SDL_DISKAUDIODELAY=0 "$prefix/games/quorvex" >"$log" 2>&1 &
game=$!
user="$home/.local/share/quorvex"
# Start-up has read (and so made) the settings files; give it time to load the pictures and sounds
# and open its window, then close the window the way the window system does (SDL turns SIGTERM
# into a quit event).
for _ in $(seq 1 300); do
  [ -e "$user/keys.cfg" ] && break
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
# (SIGTERM: a background job of a script ignores SIGINT, and SDL then leaves it ignored.)
sleep 3
kill -TERM "$game" 2>/dev/null || true
for _ in $(seq 1 300); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
  kill -KILL "$game"
  fail "the installed game did not end when its window was closed"
fi
status=0
wait "$game" || status=$?
[ "$status" -eq 0 ] || { cat "$log" >&2; fail "the installed game ended with status $status"; }
for f in options.cfg keys.cfg device.cfg; do
  [ -s "$user/$f" ] || { cat "$log" >&2; fail "start-up did not write $f into $user"; }
done
[ "$before" = "$(snapshot)" ] || fail "the installed game changed its read-only install"
echo "check-install: installed, validated, started read-only; player files in $user"

if [ "$deb" = "--deb" ]; then
  (cd "$build" && cpack -G DEB >/dev/null)
  package="$(ls -t "$build"/quorvex_*.deb | head -n1)"
  dpkg-deb --info "$package"
  dpkg-deb --contents "$package"
  dpkg-deb --field "$package" Depends | grep -q libsdl2 || fail "the package does not declare libsdl2"
  apt-get install --simulate "$package"
fi
