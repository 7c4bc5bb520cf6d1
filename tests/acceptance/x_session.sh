# The setting both window scripts drive the program in: a private X server, a fresh home, and
# the helpers that log, fail, take screenshots and wait for and find the program's windows.
# Sourced, after the script has set `grab` (the screen grabber), `artifacts`, `screen_w`,
# `screen_h` and `skipped`; then `start_x_session NAME TOOLS...` starts it all.

log() { echo "-- [${SECONDS}s] $*"; }
fail() {
    echo "FAIL: $*" >&2
    [ -n "${main_window:-}" ] && "$grab" "$main_window" "$artifacts/failure.png" 2>/dev/null
    exit 1
}
snap() { "$grab" "$1" "$artifacts/$2.png" || fail "cannot take the screenshot $2"; }

# Every process in `pids` is stopped and the temporary folder `work` removed when the script ends.
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}

# Makes a temporary folder (`work`, named after NAME) and an empty artifact folder, starts the X
# server (the script ends as skipped when none can start) and points HOME and the XDG folders at
# a fresh home with a desktop folder for the books. TOOLS must be installed.
start_x_session() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/quillane-$1-XXXXXX")
    shift
    pids=()
    trap cleanup EXIT
    rm -rf "$artifacts"
    mkdir -p "$artifacts"
    if ! command -v Xvfb >/dev/null; then
        echo "SKIP: Xvfb is not installed, so no X server can be started"
        exit "$skipped"
    fi
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
    done
    # -displayfd picks a free display and tells its number, so parallel runs never collide.
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
        3>"$work/display" 2>"$artifacts/xvfb.log" &
    pids+=($!)
    local server=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    if ! [ -s "$work/display" ]; then
        echo "SKIP: no X server could be started (see $artifacts/xvfb.log)"
        exit "$skipped"
    fi
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
    log "X server on $DISPLAY"

    export HOME="$work/home"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/runtime"
    export TEMP="$work/temp" TMPDIR="$work/temp"
    mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME/Kelvardy" "$TEMP" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING
    desktop="$HOME/Desktop"
}

# Polls a command until it succeeds or the seconds run out.
wait_until() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

visible_windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null; }

# The first visible window of the program ($program_pid) that is not $main_window: a dialog.
dialog_window() {
    local w
    for w in $(visible_windows_of "$program_pid"); do
        [ "$w" != "$main_window" ] && { echo "$w"; return 0; }
    done
    return 1
}
has_dialog() { dialog_window >/dev/null; }
has_no_dialog() { ! dialog_window >/dev/null; }
