# Shared by the installation tests: a scratch folder removed on exit, a
# settings and mailbox folder inside it, and failure reporting.
set -eu
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
export XDG_CONFIG_HOME="$SCRATCH/config" XDG_RUNTIME_DIR="$SCRATCH/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY LD_LIBRARY_PATH

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The text of a processed script without what changes from run to run: the
# run time and the input file line of its header.
stable_output() {
    sed -e 's#[0-9][0-9]/[0-9][0-9]/[0-9]\{4\} - [0-9:]\{8\}#DD/MM/YYYY - hh:mm:ss#' \
        -e "/^'Input file: /d" "$1"
}
