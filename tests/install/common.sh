# Shared by the install tests (sourced): a scratch folder removed at exit,
# a staged install of the build, and checks that count failures.
set -euo pipefail

build_dir=$1
scratch=$(mktemp -d)
chmod 0755 "$scratch"
trap 'chmod -R u+rwX "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
failures=0

# Installs the build under ROOT with the prefix the package uses.
stage() {
    DESTDIR="$1" cmake --install "$build_dir" --prefix /usr >/dev/null
}

fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

# expect_equal WHAT ACTUAL EXPECTED
expect_equal() {
    [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# expect_contains WHAT TEXT PART
expect_contains() {
    case "$2" in
        *"$3"*) ;;
        *) fail "$1: '$3' not in: $2" ;;
    esac
}

finish() {
    if [ "$failures" -ne 0 ]; then
        printf '%d check(s) failed\n' "$failures"
        exit 1
    fi
    echo "all checks passed"
}

# ctest reports this status as skipped.
skip() {
    printf 'SKIPPED: %s\n' "$*"
    exit 77
}
