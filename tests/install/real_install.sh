#!/usr/bin/env bash
# Installs the built package with apt-get, starts it from its menu entry's
# Exec line as a new user on a fresh X display, removes it, and checks that
# nothing it installed is left while the user's working folder stays.
# The machine is changed only while the test runs: the package, and anything
# apt pulled in for it, is removed again whatever happens.
source "$(dirname "$0")/common.sh"

[ -r /etc/debian_version ] && command -v apt-get >/dev/null || skip "not a Debian system"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if dpkg-query -W -f='${Status}' movarin 2>/dev/null | grep -q " installed"; then
    skip "movarin is installed on this machine already; it is left alone"
fi
debs=("$build_dir"/package/movarin_*.deb)
[ -f "${debs[0]}" ] || { echo "no package: run package_build first"; exit 1; }
deb=$(realpath "${debs[0]}")

apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"
}
installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q " installed"
}

# What apt would add besides the package, so that exactly that goes again.
pulled=$(apt-get -s install "$deb" | sed -n 's/^Inst \([^ ]*\) .*/\1/p' | grep -vx movarin || true)
session=
xvfb=
cleanup() {
    [ -z "$session" ] || kill -- "-$session" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    if installed movarin; then
        apt_get remove movarin >/dev/null || true
    fi
    for package in $pulled; do
        if installed "$package"; then
            apt_get purge "$package" >/dev/null || true
        fi
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

# A new user's home, run as the unprivileged user nobody.
home=$scratch/home
runtime=$scratch/runtime
mkdir -p "$home" "$runtime"
chown nobody:nogroup "$home" "$runtime"
chmod 0700 "$runtime"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
display=:$(head -n1 "$scratch/display")

started=$(date +%s.%N)
apt_get install "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
installed_at=$(date +%s.%N)

desktop=/usr/share/applications/org.example.movarin.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
setsid setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" \
    sh -c "$exec_line" >"$scratch/program.log" 2>&1 &
session=$!
# The window must carry the class the menu entry names, or docks and task
# bars cannot tell it belongs to the entry.
if window=$(DISPLAY=$display timeout 60 xdotool search --sync --onlyvisible --class "^$wm_class\$" 2>/dev/null); then
    expect_equal "window title" "$(DISPLAY=$display xdotool getwindowname "${window%%$'\n'*}")" Movarin
else
    fail "no window of class '$wm_class' within 60 s: $(cat "$scratch/program.log")"
fi
shown_at=$(date +%s.%N)

work=$home/.local/share/movarin
[ -f "$work/LibFFmpeg.Dat" ] || fail "the first start made no working catalogue"
expect_equal "working catalogue owner" "$(stat -c %U "$work/LibFFmpeg.Dat")" nobody
[ -d "$home/Videos/Movarin" ] || fail "the first start made no output folder"
for tool in ffmpeg mplayer; do
    [ -x "/usr/lib/movarin/bin/$tool" ] || fail "bin/$tool does not reach an installed $tool"
done
kill -- "-$session" 2>/dev/null || true
wait "$session" 2>/dev/null || true
session=

files=$(dpkg -L movarin)
apt_get remove movarin >"$scratch/apt-remove.log" 2>&1 || { cat "$scratch/apt-remove.log"; fail "apt-get remove failed"; }
while IFS= read -r path; do
    [ -n "$path" ] && [ "$path" != /. ] || continue
    if [ -L "$path" ] || [ -f "$path" ]; then
        fail "left behind: $path"
    elif [ -d "$path" ] && ! dpkg -S "$path" >/dev/null 2>&1; then
        fail "folder left behind: $path"
    fi
done <<<"$files"
installed movarin && fail "movarin is still installed"
[ -f "$work/LibFFmpeg.Dat" ] || fail "removing the package took the user's working folder"

printf 'package size: %s bytes\n' "$(stat -c %s "$deb")"
printf 'installed size: %s KiB\n' "$(dpkg-deb --field "$deb" Installed-Size)"
awk -v start="$started" -v installed="$installed_at" -v shown="$shown_at" 'BEGIN {
    printf "apt-get install: %.2f s; apt-get install to first window: %.2f s\n", installed - start, shown - start
}'

finish
