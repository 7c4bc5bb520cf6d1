# The setting both window scripts drive the program in: a private X server, a fresh home, and
# the helpers that wait for and find the program's windows. Sourced, after the script has set
# `work` (a temporary folder), `artifacts`, `screen_w`, `screen_h`, `skipped` and the array
# `pids`, and defined `log`, `fail` and `snap`; then `start_x_session TOOLS...` starts it all.

# Starts the X server (the script ends as skipped when none can start) and points HOME and the
# XDG folders at a fresh home with a desktop folder for the books. TOOLS must be installed.
start_x_session() {
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
