#!/bin/sh
# Starts Movarin from the user's own working folder.
#
# The program opens LibFFmpeg.Dat in its current folder and writes the
# user's choices into it, but an installed program folder belongs to root.
# So every user gets a working folder of their own, seeded on the first start
# with a copy of the shipped catalogue whose saved output folder is the
# user's videos folder. Later starts change into it; a catalogue the user
# already has is renewed only when the shipped one is of a later generation
# (keeping the user's folder and choices), never replaced otherwise, even a
# damaged one, so the program can say what is wrong with it.
set -eu

fail() {
    status=$1
    shift
    printf 'movarin: %s\n' "$*" >&2
    exit "$status"
}

if [ "$#" -ne 0 ]; then
    fail 64 "takes no arguments; add files in its window (see movarin(1))"
fi

# Found beside the launcher, so a staged or relocated install works as well.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
program_dir="$prefix/lib/movarin"
shipped_catalogue="$prefix/share/movarin/LibFFmpeg.Dat"

[ -n "${HOME:-}" ] || fail 78 "HOME is not set"
# A relative or empty XDG_DATA_HOME (and XDG_CONFIG_HOME below) is to be
# ignored, as the base directory rules say.
case "${XDG_DATA_HOME:-}" in
    /*) data_home=$XDG_DATA_HOME ;;
    *) data_home=$HOME/.local/share ;;
esac
work_dir=$data_home/movarin
catalogue=$work_dir/LibFFmpeg.Dat

# The videos folder as user-dirs.dirs names it: "$HOME/..." or an absolute
# path in double quotes. The file is read, not run, as xdg-user-dir would:
# that tool sources it through an unquoted path and fails for a home folder
# with a blank in its name.
videos_folder() {
    case "${XDG_CONFIG_HOME:-}" in
        /*) config=$XDG_CONFIG_HOME/user-dirs.dirs ;;
        *) config=$HOME/.config/user-dirs.dirs ;;
    esac
    videos=
    if [ -r "$config" ]; then
        videos=$(sed -n 's/^[[:space:]]*XDG_VIDEOS_DIR="\(.*\)"[[:space:]]*$/\1/p' "$config" |
            tail -n 1 | sed 's/\\\(.\)/\1/g')
    fi
    case "$videos" in
        '$HOME'/*) videos=$HOME/${videos#'$HOME/'} ;;
        /*) ;;
        # Unset, or set to the home folder itself, which means "not set up".
        *) videos=$HOME/Videos ;;
    esac
    case "$videos" in
        "$HOME" | "$HOME/") videos=$HOME/Videos ;;
    esac
    printf '%s/Movarin\n' "${videos%/}"
}

seed_working_folder() {
    [ -f "$shipped_catalogue" ] && [ -r "$shipped_catalogue" ] ||
        fail 66 "cannot read the shipped option catalogue $shipped_catalogue; reinstall movarin"
    mkdir -p "$work_dir" 2>/dev/null || fail 73 "cannot create the working folder $work_dir"
    # Prepared in a folder of its own and moved into place only when
    # complete: an interrupted first start leaves no half-seeded catalogue,
    # and a second launcher racing this one cannot overwrite its result.
    seed_dir=$(mktemp -d "$work_dir/.first-start.XXXXXX" 2>/dev/null) ||
        fail 73 "cannot write in the working folder $work_dir"
    trap 'rm -rf "$seed_dir"' EXIT
    cp "$shipped_catalogue" "$seed_dir/LibFFmpeg.Dat" ||
        fail 66 "cannot copy the shipped option catalogue $shipped_catalogue"
    chmod 0644 "$seed_dir/LibFFmpeg.Dat"
    output=$(videos_folder)
    mkdir -p "$output" 2>/dev/null || fail 73 "cannot create the output folder $output"
    (cd "$seed_dir" && "$program_dir/movarin-save-output-dir" "$output") ||
        fail 65 "cannot save the output folder in the shipped option catalogue; reinstall movarin"
    mv -n "$seed_dir/LibFFmpeg.Dat" "$catalogue"
    rm -rf "$seed_dir"
    trap - EXIT
}

if [ ! -e "$catalogue" ] && [ ! -L "$catalogue" ]; then
    seed_working_folder
fi

cd "$work_dir" || fail 73 "cannot enter the working folder $work_dir"
# A catalogue of an earlier generation is renewed, keeping the user's output
# folder and choices; when that cannot be done the program still starts with
# the catalogue the user has.
"$program_dir/movarin-renew-catalogue" "$shipped_catalogue" >&2 ||
    printf 'movarin: the option catalogue could not be renewed\n' >&2
exec "$program_dir/movarin"
