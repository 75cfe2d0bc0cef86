#!/usr/bin/env bash
# Debian's package checker finds no error or warning in the package; its
# remaining remarks are printed for the record.
source "$(dirname "$0")/common.sh"

debs=("$build_dir"/package/movarin_*.deb)
[ -f "${debs[0]}" ] || { echo "no package: run package_build first"; exit 1; }
lintian --info --display-info --fail-on error,warning "${debs[0]}" || fail "lintian reports errors or warnings"
finish
