#!/usr/bin/env bash
# The installed launcher on fresh and used home folders. The staged program
# is replaced by a probe built from the same start-up code that prints the
# folder it started in and the output folder its window shows, then quits;
# one case starts the real staged program.
source "$(dirname "$0")/common.sh"
probe=$2

stage "$scratch/root"
real_program=$scratch/movarin
mv "$scratch/root/usr/lib/movarin/movarin" "$real_program"
cp "$probe" "$scratch/root/usr/lib/movarin/movarin"
launcher=$scratch/root/usr/bin/movarin

# A home with a blank and a quote in its name, as paths of real users may have
# (and without an @, which the cases below use for it).
runtime=$scratch/runtime
mkdir -m 0700 "$runtime"

new_home() {
    local home="$scratch/home $1/it's mine"
    mkdir -p "$home"
    printf '%s\n' "$home"
}

# run_launcher HOME [VAR=VALUE ...] [-- ARGUMENTS]: a clean environment, as
# a desktop session gives; sets status and output.
run_launcher() {
    local home=$1
    shift
    local settings=()
    while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
        settings+=("$1")
        shift
    done
    [ "$#" -eq 0 ] || shift
    status=0
    output=$(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="$runtime" ${settings[@]+"${settings[@]}"} "$launcher" "$@" 2>&1) || status=$?
}

saved_output_dir() {
    sqlite3 "$1" "select dir_name from savedir_videofile where dir_numb = '001'"
}

# First start: working folder, catalogue and output folder are made, and the
# program starts in the working folder showing the new output folder.
home=$(new_home first)
run_launcher "$home"
work=$home/.local/share/movarin
expect_equal "first start status" "$status" 0
expect_contains "first start: program folder" "$output" "folder: $work"
expect_contains "first start: output folder shown" "$output" "output: $home/Videos/Movarin"
expect_equal "saved output folder" "$(saved_output_dir "$work/LibFFmpeg.Dat")" "$home/Videos/Movarin"
expect_equal "catalogue mode" "$(stat -c %a "$work/LibFFmpeg.Dat")" 644
[ -d "$home/Videos/Movarin" ] || fail "the output folder was not created"
expect_equal "working folder holds only the catalogue" "$(ls -A "$work")" LibFFmpeg.Dat
cmp -s <(sqlite3 "$work/LibFFmpeg.Dat" "select * from cmbex_vdocodec") \
    <(sqlite3 "$scratch/root/usr/share/movarin/LibFFmpeg.Dat" "select * from cmbex_vdocodec") ||
    fail "the seeded catalogue does not carry the shipped options"

# Later start: the user's choice stays.
sqlite3 "$work/LibFFmpeg.Dat" "update savedir_videofile set dir_name = '/srv/clips' where dir_numb = '001'"
run_launcher "$home"
expect_equal "second start status" "$status" 0
expect_contains "second start keeps the chosen folder" "$output" "output: /srv/clips"
expect_equal "second start keeps the saved folder" "$(saved_output_dir "$work/LibFFmpeg.Dat")" /srv/clips

# A catalogue of an earlier generation is renewed: the shipped entries come
# in, the output folder and the choices whose entries kept their names stay,
# a choice whose entry is gone goes back to the shipped one, and the earlier
# file is kept beside it.
sqlite3 "$work/LibFFmpeg.Dat" "pragma user_version = 0;
    update cmbex_adobitrate set cmbex_name = 'renamed since' where cmbex_index = 0;
    update cmbex_itemindex set cmbex_index = 3 where cmbex_tag = 8;
    update cmbex_itemindex set cmbex_index = 0 where cmbex_tag = 7;
    delete from cmbex_vdocodec where cmbex_index > 1"
run_launcher "$home"
expect_equal "renewing start status" "$status" 0
expect_contains "renewal is reported" "$output" "kept as LibFFmpeg.Dat.old"
expect_equal "renewed generation" "$(sqlite3 "$work/LibFFmpeg.Dat" "pragma user_version")" \
    "$(sqlite3 "$scratch/root/usr/share/movarin/LibFFmpeg.Dat" "pragma user_version")"
cmp -s <(sqlite3 "$work/LibFFmpeg.Dat" "select * from cmbex_vdocodec") \
    <(sqlite3 "$scratch/root/usr/share/movarin/LibFFmpeg.Dat" "select * from cmbex_vdocodec") ||
    fail "the renewed catalogue does not carry the shipped options"
expect_equal "renewal keeps the output folder" "$(saved_output_dir "$work/LibFFmpeg.Dat")" /srv/clips
expect_equal "renewal keeps a choice by name" \
    "$(sqlite3 "$work/LibFFmpeg.Dat" "select cmbex_index from cmbex_itemindex where cmbex_tag = 8")" 3
expect_equal "a choice whose entry is gone goes back to the shipped one" \
    "$(sqlite3 "$work/LibFFmpeg.Dat" "select cmbex_index from cmbex_itemindex where cmbex_tag = 7")" \
    "$(sqlite3 "$scratch/root/usr/share/movarin/LibFFmpeg.Dat" "select cmbex_index from cmbex_itemindex where cmbex_tag = 7")"
expect_equal "the earlier catalogue is kept" \
    "$(sqlite3 "$work/LibFFmpeg.Dat.old" "select cmbex_name from cmbex_adobitrate where cmbex_index = 0")" "renamed since"
run_launcher "$home"
expect_equal "a renewed catalogue is not renewed again" "$(ls -A "$work" | tr '\n' ' ')" "LibFFmpeg.Dat LibFFmpeg.Dat.old "

# The videos folder named in user-dirs.dirs, and the data folder named by
# XDG_DATA_HOME; relative XDG_DATA_HOME and XDG_CONFIG_HOME are ignored.
home=$(new_home configured)
while IFS='|' read -r configured expected; do
    rm -rf "$home/.config" "$home/data"
    mkdir -p "$home/.config"
    printf '# written by xdg-user-dirs-update\nXDG_VIDEOS_DIR="%s"\n' "${configured//@/$home}" \
        >"$home/.config/user-dirs.dirs"
    run_launcher "$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME=.config
    expected=${expected//@/$home}
    expect_contains "videos folder for XDG_VIDEOS_DIR=$configured" "$output" "output: $expected"
    [ -d "$expected" ] || fail "no folder $expected"
done <<'CASES'
$HOME/My Films|@/My Films/Movarin
$HOME/Films \"old\"/|@/Films "old"/Movarin
@/absolute|@/absolute/Movarin
@|@/Videos/Movarin
$HOME|@/Videos/Movarin
$HOME/|@/Videos/Movarin
|@/Videos/Movarin
CASES
expect_contains "working folder under XDG_DATA_HOME" "$output" "folder: $home/data/movarin"
home=$(new_home relative)
(cd "$home" && run_launcher "$home" XDG_DATA_HOME=data && printf '%s' "$output") >"$scratch/relative.out"
expect_contains "relative XDG_DATA_HOME ignored" "$(cat "$scratch/relative.out")" \
    "folder: $home/.local/share/movarin"

# A damaged catalogue of the user's is left as it is for the program to report.
home=$(new_home damaged)
work=$home/.local/share/movarin
mkdir -p "$work"
printf 'not a database, but the user may want it back\n' >"$work/LibFFmpeg.Dat"
cp "$work/LibFFmpeg.Dat" "$scratch/damaged.copy"
run_launcher "$home"
expect_contains "damaged catalogue: the program's message" "$output" "message: file is not a database"
cmp -s "$work/LibFFmpeg.Dat" "$scratch/damaged.copy" || fail "the damaged catalogue was changed"

# Arguments are refused; the program never sees any.
run_launcher "$(new_home arguments)" -- clip.avi
expect_equal "arguments status" "$status" 64
expect_contains "arguments message" "$output" "takes no arguments"

# Without the shipped catalogue: a clear message and status, nothing seeded.
shipped=$scratch/root/usr/share/movarin/LibFFmpeg.Dat
mv "$shipped" "$scratch/shipped.Dat"
home=$(new_home missing)
run_launcher "$home"
expect_equal "missing catalogue status" "$status" 66
expect_contains "missing catalogue message" "$output" "cannot read the shipped option catalogue $shipped"
[ ! -e "$home/.local/share/movarin/LibFFmpeg.Dat" ] || fail "a catalogue was seeded from nothing"
mv "$scratch/shipped.Dat" "$shipped"

# A shipped catalogue without the output folder row cannot be seeded: the
# first start stops with a clear status and leaves no catalogue, so the next
# start tries again instead of running with half a setup.
cp "$shipped" "$scratch/shipped.Dat"
sqlite3 "$shipped" "delete from savedir_videofile"
home=$(new_home rowless)
run_launcher "$home"
expect_equal "catalogue without output folder row: status" "$status" 65
expect_contains "catalogue without output folder row: message" "$output" "no output folder row"
expect_equal "catalogue without output folder row: working folder left empty" \
    "$(ls -A "$home/.local/share/movarin")" ""
mv "$scratch/shipped.Dat" "$shipped"

# Permission cases need an unprivileged user: root reads and writes anything.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run_unprivileged() {
    local home=$1
    status=0
    output=$(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
        ${as_user[@]+"${as_user[@]}"} "$launcher" 2>&1) || status=$?
}
chmod -R a+rX "$scratch"

home=$(new_home unreadable)
chmod 0777 "$home"
chmod 0000 "$shipped"
run_unprivileged "$home"
chmod 0644 "$shipped"
expect_equal "unreadable catalogue status" "$status" 66
expect_contains "unreadable catalogue message" "$output" "cannot read the shipped option catalogue"

home=$(new_home read-only)
chmod 0555 "$home"
run_unprivileged "$home"
expect_equal "read-only home status" "$status" 73
expect_contains "read-only home message" "$output" "cannot create the working folder $home/.local/share/movarin"

# The real program, started by the launcher, comes up and keeps running.
cp "$real_program" "$scratch/root/usr/lib/movarin/movarin"
home=$(new_home real)
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" \
    "$launcher" >"$scratch/real.log" 2>&1 &
program=$!
for _ in $(seq 50); do
    [ -e "$home/.local/share/movarin/LibFFmpeg.Dat" ] && break
    sleep 0.1
done
sleep 2
if kill -0 "$program" 2>/dev/null; then
    expect_equal "the launcher became the program" "$(readlink "/proc/$program/exe")" \
        "$scratch/root/usr/lib/movarin/movarin"
    kill "$program"
    wait "$program" || true
else
    status=0
    wait "$program" || status=$?
    fail "the installed program ended with status $status: $(cat "$scratch/real.log")"
fi
finish
