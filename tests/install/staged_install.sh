#!/usr/bin/env bash
# A staged install holds exactly the expected files, with the expected
# permissions and link targets, even when installed under a strict umask.
source "$(dirname "$0")/common.sh"
expected_list=$2

umask 077
stage "$scratch/root"
listing=$(cd "$scratch/root" &&
    find . -mindepth 1 \( -type l -printf '%P -> %l\n' \) -o -printf '%P %y %m\n' | LC_ALL=C sort)
if ! diff -u "$expected_list" <(printf '%s\n' "$listing"); then
    fail "the staged install differs from $(basename "$expected_list") (lines with - are expected, + are installed)"
fi

# The links must reach the real tools once installed under /usr.
for tool in ffmpeg mplayer; do
    link=$(readlink "$scratch/root/usr/lib/movarin/bin/$tool")
    resolved=$(realpath -m "/usr/lib/movarin/bin/$link")
    expect_equal "bin/$tool once installed" "$resolved" "/usr/bin/$tool"
done

# A folder that was there before keeps the mode its owner gave it.
mkdir -p "$scratch/kept/usr/share"
chmod 0750 "$scratch/kept/usr/share"
stage "$scratch/kept"
expect_equal "mode of a folder that existed" "$(stat -c %a "$scratch/kept/usr/share")" 750
expect_equal "mode of a folder the install made" "$(stat -c %a "$scratch/kept/usr/share/movarin")" 755
finish
