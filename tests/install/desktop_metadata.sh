#!/usr/bin/env bash
# The menu entry and the software-centre data, as installed, pass the
# freedesktop and AppStream validators and point at the installed icon and
# launcher.
source "$(dirname "$0")/common.sh"

stage "$scratch/root"
share=$scratch/root/usr/share
desktop=$share/applications/org.example.movarin.desktop
metainfo=$share/metainfo/org.example.movarin.metainfo.xml

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net --pedantic --explain "$metainfo" || fail "appstreamcli rejects the metainfo file"
appstreamcli validate-tree --no-net "$scratch/root" || fail "appstreamcli rejects the installed tree"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ -f "$share/icons/hicolor/scalable/apps/$(entry Icon).svg" ] || fail "no icon named $(entry Icon) is installed"
exec_line=$(entry Exec)
[ -x "$scratch/root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
expect_equal "Exec passes no file arguments" "$exec_line" movarin
expect_equal "GenericName" "$(entry GenericName)" "Video Converter"
expect_equal "Categories" "$(entry Categories)" "AudioVideo;Video;AudioVideoEditing;"
[ -z "$(entry MimeType)" ] || fail "the entry offers to open files the program cannot take"
finish
