#!/usr/bin/env bash
# Debian's package checker finds no error in the package. Its remaining
# remarks are printed for the record.
source "$(dirname "$0")/common.sh"

debs=("$build_dir"/package/movarin_*.deb)
[ -f "${debs[0]}" ] || { echo "no package: run package_build first"; exit 1; }
lintian --info --display-info --fail-on error "${debs[0]}" || fail "lintian reports errors"
finish
