#!/usr/bin/env bash
# Builds the Debian package into <build>/package and checks its control data:
# the computed library dependencies plus what the program loads or runs.
source "$(dirname "$0")/common.sh"

out=$build_dir/package
rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
debs=("$out"/movarin_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { ls -l "$out"; exit 1; }
deb=${debs[0]}
dpkg-deb --info "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
expect_equal "Package" "$(field Package)" movarin
expect_equal "Section" "$(field Section)" video
depends=$(field Depends)
for needed in ffmpeg mplayer libsqlite3-0 libmediainfo0v5 qt6-qpa-plugins libqt6svg6 xdg-utils libqt6widgets6 libqt6dbus6 libc6; do
    printf '%s\n' "$depends" | tr ',' '\n' | grep -qE "^ *$needed( |$)" || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb --contents "$deb")
expect_contains "licence in the package" "$contents" "./usr/share/doc/movarin/copyright"
expect_contains "licence named" "$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/movarin/copyright)" \
    "License: GPL-3+"
dpkg-deb --extract "$deb" "$scratch/extracted"
for binary in movarin movarin-save-output-dir movarin-renew-catalogue; do
    if file "$scratch/extracted/usr/lib/movarin/$binary" | grep -q "not stripped"; then
        fail "the packaged $binary is not stripped"
    fi
done
finish
