#!/usr/bin/env bash
# Drives the real main window under a virtual X server, as a user does with pointer and keys:
# loads the example files, answers the question, converts them, empties the list, drops a
# folder on the list from a real drag source, converts again, and checks every book with the
# EPUB checker. Then starts the window at 200% and checks that it fits the screen.
#
#   window_acceptance.sh PROGRAM DRAG-SOURCE WINDOW-GRAB SOURCE-DIR ARTIFACT-DIR
#
# With QUILLANE_WINDOW_SAMPLES_ONLY=1 it ends once the example files are converted and checked.
# Screenshots of every step land in ARTIFACT-DIR. With QUILLANE_UPDATE_SCREENSHOT=1 the
# picture of the filled window also replaces SOURCE-DIR/docs/screenshot.png (the README's).
# Ends with 77 (skipped) only when no X server can be started.
set -uo pipefail

program=$1 drag_source=$2 grab=$3 source_dir=$4 artifacts=$5
readonly skipped=77 screen_w=1600 screen_h=1200
# The window's geometry in twips, 15 twips to the pixel at 100%.
readonly client_w=$((8040 / 15)) client_h=$((6690 / 15))

# --- the X server and a fresh home ---------------------------------------------------------
# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
start_x_session window xdotool xprop java

# --- window helpers -----------------------------------------------------------------------
# Clicks at a point given in twips from the main window's client origin.
click_twips() {
    local x=$(($1 / 15)) y=$(($2 / 15))
    xdotool mousemove --sync --window "$main_window" "$x" "$y"
    sleep 0.2
    xdotool click 1
}
# A push button's centre, from its Left, Top, Width, Height in twips.
press_button() { click_twips $(($1 + $3 / 2)) $(($2 + $4 / 2)); }
press_load_samples() { press_button 4080 3260 3840 405; }
press_start_converting() { press_button 120 5640 7800 405; }
press_clear_list() { press_button 120 3260 3840 405; }

# Answers the message box on screen with a key and waits until it has gone.
answer_dialog() {
    local key=$1 dialog
    dialog=$(dialog_window) || return 1
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    sleep 0.2
    xdotool key --clearmodifiers "$key"
    wait_until 10 has_no_dialog || fail "the message box \"$(xdotool getwindowname "$dialog")\" did not close on $key"
}

# Waits for the message boxes that follow a click, photographs each, records its title and
# closes it with Enter; ends when none has come for three seconds after the last one.
dialog_titles=()
collect_dialogs() {
    local name=$2 end=$((SECONDS + $1)) quiet_since=
    dialog_titles=()
    while :; do
        if has_dialog; then
            local dialog
            dialog=$(dialog_window)
            dialog_titles+=("$(xdotool getwindowname "$dialog")")
            sleep 0.3
            snap "$dialog" "$name-${#dialog_titles[@]}"
            answer_dialog Return
            quiet_since=$SECONDS
        elif [ -n "$quiet_since" ] && [ $((SECONDS - quiet_since)) -ge 3 ]; then
            return 0
        elif [ -z "$quiet_since" ] && [ $SECONDS -ge $end ]; then
            return 1
        fi
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended during $name"
        sleep 0.2
    done
}

# Exactly one message box (the closing "Done.") and no error report.
expect_one_closing_box() {
    local what=$1 title
    for title in "${dialog_titles[@]}"; do
        [ "$title" = "Application Error" ] && fail "$what showed an error report (see $artifacts)"
    done
    [ ${#dialog_titles[@]} -eq 1 ] ||
        fail "$what showed ${#dialog_titles[@]} message boxes, expected only \"Done.\" (see $artifacts)"
}

# Drops FOLDER on the middle of the list from a real drag source, moving the pointer there in
# small steps as a hand moves; the source's output goes to ARTIFACT-DIR/LOG-NAME.log. Needs the
# window's place (check_geometry).
drop_folder_on_list() {
    local folder=$1 source_log="$artifacts/$2.log" step
    local list_x=$((window_x + (120 + 7800 / 2) / 15)) list_y=$((window_y + (120 + 2535 / 2) / 15))
    "$drag_source" "$folder" >"$source_log" 2>&1 &
    drag_pid=$!
    pids+=("$drag_pid")
    find_source() { [ -n "$(visible_windows_of "$drag_pid")" ]; }
    drag_done() { ! kill -0 "$drag_pid" 2>/dev/null; }
    wait_until 30 find_source || fail "the drag source window did not appear"
    sleep 0.5
    xdotool mousemove --sync 80 60
    sleep 0.2
    xdotool mousedown 1
    sleep 0.5
    for step in $(seq 1 20); do
        xdotool mousemove --sync $((80 + (list_x - 80) * step / 20)) $((60 + (list_y - 60) * step / 20))
        sleep 0.05
    done
    sleep 0.5
    xdotool mousemove --sync $((list_x + 3)) $((list_y + 3))
    sleep 0.5
    xdotool mouseup 1
    wait_until 20 drag_done || fail "the drag did not end"
    wait "$drag_pid" || fail "the list refused the dropped folder ($(cat "$source_log"))"
}

# Books that the EPUB checker passes without errors or warnings, all in one run of the checker
# (its start costs more than the books); each book's verdict is framed separately.
check_books() {
    local book verdicts status clean
    for book in "$@"; do [ -s "$book" ] || fail "no book $book"; done
    verdicts=$(printf '%s\n' "$@" | LC_ALL=C.UTF-8 java -XX:TieredStopAtLevel=1 -XX:+UseSerialGC \
        -cp /usr/share/java/epubcheck.jar \
        "$source_dir/tests/support/EpubcheckBatch.java" 2>&1)
    status=$?
    clean=$(grep -c '^@@verdict [0-9]* fatals=0 errors=0 warnings=0$' <<<"$verdicts")
    if [ $status -ne 0 ] || [ "$clean" -ne $# ]; then
        echo "$verdicts" >&2
        fail "the EPUB checker rejects $(($# - clean)) of $# books (verdicts above)"
    fi
}

# The books in the desktop folder, one name a line, sorted.
books_on_desktop() { (cd "$desktop" && find . -maxdepth 1 -name '*.epub' -printf '%f\n' | sort); }

# The book name of a source: its last extension replaced (a leading dot is no extension).
book_name() {
    local name=$1 stem=${1%.*}
    [ -z "$stem" ] || [ "$stem" = "$name" ] && stem=$name
    echo "$stem.epub"
}

find_main() {
    main_window=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Quillane$' \
        2>/dev/null | head -n1)
    [ -n "$main_window" ]
}

start_program() {
    "$program" >"$artifacts/$1.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    main_window=
    wait_until 60 find_main || fail "no window titled \"Quillane\" appeared (see $artifacts/$1.log)"
    sleep 1
}

stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
}

# Checks size and place: the client area at the given scale, centred on the screen.
check_geometry() {
    # shellcheck disable=SC2034  # WINDOW and SCREEN come with the geometry and are not needed
    local scale=$1 X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$main_window")"
    local want_w=$((client_w * scale)) want_h=$((client_h * scale))
    [ "$WIDTH" -eq "$want_w" ] && [ "$HEIGHT" -eq "$want_h" ] ||
        fail "at ${scale}00% the window is ${WIDTH}x${HEIGHT}, expected ${want_w}x${want_h}"
    local dx=$((X - (screen_w - WIDTH) / 2)) dy=$((Y - (screen_h - HEIGHT) / 2))
    [ ${dx#-} -le 16 ] && [ ${dy#-} -le 16 ] ||
        fail "at ${scale}00% the window stands at $X,$Y, not centred on the screen"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le $screen_w ] &&
        [ $((Y + HEIGHT)) -le $screen_h ] || fail "at ${scale}00% the window leaves the screen"
    window_x=$X window_y=$Y
}

# --- 1. first start, the example files ----------------------------------------------------
samples_dir="$(dirname "$program")/Samples"
sample_books=()
while IFS= read -r name; do
    sample_books+=("$(book_name "$name")")
done < <(cd "$samples_dir" 2>/dev/null && find . -maxdepth 1 -type f -printf '%f\n' | sort)
[ ${#sample_books[@]} -gt 0 ] || fail "no example files beside the program in $samples_dir"
log "${#sample_books[@]} example files in $samples_dir"

start_program first-start
check_geometry 1
# Pinning a running window to the menu entry goes by its class.
wm_class=$(grep '^StartupWMClass=' "$source_dir/packaging/example.kelvardy.Quillane.desktop" | cut -d= -f2)
xprop -id "$main_window" WM_CLASS | grep -q "\"$wm_class\"" ||
    fail "the window's class ($(xprop -id "$main_window" WM_CLASS)) is not the menu entry's \"$wm_class\""
has_no_dialog || fail "a message box is open at start-up"
snap "$main_window" 01-started

log "Load Sample/Example Files"
press_load_samples
wait_until 30 has_dialog || fail "no question after \"Load Sample/Example Files\""
question=$(dialog_window)
[ "$(xdotool getwindowname "$question")" != "Application Error" ] ||
    fail "\"Load Sample/Example Files\" showed an error report"
snap "$question" 02-question
# Escape answers No: the samples folder must not open in a file manager.
answer_dialog Escape
sleep 0.5
snap "$main_window" 03-samples-listed
if [ "${QUILLANE_UPDATE_SCREENSHOT:-}" = 1 ]; then
    mkdir -p "$source_dir/docs"
    cp "$artifacts/03-samples-listed.png" "$source_dir/docs/screenshot.png"
    log "README screenshot written to $source_dir/docs/screenshot.png"
fi

log "Start Converting (examples)"
press_start_converting
collect_dialogs 300 04-samples-converted || fail "no \"Done.\" after converting the examples"
expect_one_closing_box "converting the examples"
expected=$(printf '%s\n' "${sample_books[@]}" | sort -u)
[ "$(books_on_desktop)" = "$expected" ] ||
    fail "books on the desktop: $(books_on_desktop | tr '\n' ' '); expected: $(tr '\n' ' ' <<<"$expected")"
check_books "${sample_books[@]/#/$desktop/}"
log "every example became a valid book"
if [ "${QUILLANE_WINDOW_SAMPLES_ONLY:-}" = 1 ]; then
    stop_program
    log "the example files converted; the rest is left to the full window run"
    exit 0
fi

# --- 2. a folder dropped on the list --------------------------------------------------------
log "Clear List"
press_clear_list
sleep 1
has_no_dialog || fail "\"Clear List\" showed a message box"
rm -f "$desktop"/*.epub

dropped="$HOME/Dropped"
mkdir -p "$dropped/Second Shelf"
printf 'The Lamplighter\n\nEvery evening the lamplighter walked the length of the quay.\nHe counted the lamps as he went, and never once lost count.\n' >"$dropped/Lamplighter.txt"
printf 'A Note on Tides\n\nThe water rose twice a day, and the boats rose with it.\n' >"$dropped/Second Shelf/Tides.text"
# A name beginning with "~" inside a dropped folder is an editor's scrap and is left out.
printf 'scrap\n' >"$dropped/~Scrap.txt"

drop_folder_on_list "$dropped" drag-source
sleep 0.5
has_no_dialog || fail "the drop showed a message box"
snap "$main_window" 05-folder-dropped

log "Start Converting (dropped folder)"
press_start_converting
collect_dialogs 300 06-dropped-converted || fail "no \"Done.\" after converting the dropped files"
expect_one_closing_box "converting the dropped files"
[ "$(books_on_desktop)" = "$(printf '%s\n' Lamplighter.epub Tides.epub)" ] ||
    fail "books after the drop: $(books_on_desktop | tr '\n' ' '); expected Lamplighter.epub Tides.epub"
check_books "$desktop/Lamplighter.epub" "$desktop/Tides.epub"
log "the dropped folder's files, and only they, became valid books"

# --- 2b. a crashed build log and a picture named as text ------------------------------------
# Zero bytes and colour escapes leave a text a text, with all its words; a picture renamed
# ".txt" is still refused and makes no book.
log "Clear List, then a crashed build log and a picture named as text"
press_clear_list
sleep 1
rm -f "$desktop"/*.epub
oddities="$HOME/Oddities"
mkdir -p "$oddities"
{
    printf 'Nightly build of the lighthouse keeper\n\033[1;31merror:\033[0m beacon.c: missing semicolon\n'
    head -c 512 /dev/zero
    printf 'The keeper restarted the build after the crash\n'
} >"$oddities/crashed.txt"
cp "$source_dir/resources/images/quillane-32.png" "$oddities/picture.txt"
drop_folder_on_list "$oddities" drag-source-2
sleep 0.5
log "Start Converting (log and picture)"
press_start_converting
# The picture is named in a message of its own just before "Done.": each box must be gone
# before the next one is looked for.
box_titles=()
while wait_until 300 has_dialog; do
    sleep 0.3
    box=$(dialog_window) || continue
    box_titles+=("$(xdotool getwindowname "$box" 2>/dev/null)")
    snap "$box" "06b-oddities-converted-${#box_titles[@]}"
    xdotool windowfocus --sync "$box" 2>/dev/null
    sleep 0.2
    xdotool key --clearmodifiers Return
    box_gone() { ! visible_windows_of "$program_pid" | grep -qx "$box"; }
    wait_until 10 box_gone || fail "a message box did not close on Return (see $artifacts)"
    sleep 3
    has_dialog || break
done
[ ${#box_titles[@]} -eq 2 ] ||
    fail "converting the log and the picture showed ${#box_titles[@]} message boxes, expected the failed file and \"Done.\""
for title in "${box_titles[@]}"; do
    [ "$title" = "Application Error" ] && fail "converting the log and the picture showed an error report"
done
[ "$(books_on_desktop)" = "crashed.epub" ] ||
    fail "books from the log and the picture: $(books_on_desktop | tr '\n' ' '); expected crashed.epub"
check_books "$desktop/crashed.epub"
for words in "Nightly build of the lighthouse keeper" "beacon.c: missing semicolon" \
    "The keeper restarted the build after the crash"; do
    unzip -p "$desktop/crashed.epub" '*.xhtml' | grep -qF "$words" || fail "the log's book lacks \"$words\""
done
log "the log became a book with all its words; the picture made none"
stop_program

# --- 2c. a relative output folder ---------------------------------------------------------
# The folder box holds "Books", typed by hand; the program was started in a folder that has one.
log "a relative output folder: \"Books\" from the folder the program started in"
work_folder="$HOME/Started Here"
mkdir -p "$work_folder/Books"
pushd "$work_folder" >/dev/null || fail "cannot enter $work_folder"
start_program relative-folder
popd >/dev/null || fail "cannot leave $work_folder"
press_load_samples
wait_until 30 has_dialog || fail "no question after \"Load Sample/Example Files\""
answer_dialog Escape
# The folder box: Frame1 at 120,3700, Frame4 at 480,510 in it, Text1 at 240,270 in that.
click_twips $((120 + 480 + 240 + 5670 / 2)) $((3700 + 510 + 270 + 345 / 2))
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 "Books"
sleep 0.5
snap "$main_window" 06b-relative-folder
press_start_converting
collect_dialogs 300 06c-relative-converted || fail "no \"Done.\" after converting into \"Books\""
expect_one_closing_box "converting into \"Books\""
[ "$(cd "$work_folder/Books" && find . -maxdepth 1 -name '*.epub' -printf '%f\n' | sort)" = "$expected" ] ||
    fail "books in \"Books\": $(ls "$work_folder/Books" | tr '\n' ' '); expected: $(tr '\n' ' ' <<<"$expected")"
for book in "${sample_books[@]}"; do
    [ -s "$work_folder/Books/$book" ] || fail "the book $book in \"Books\" is empty"
done
log "the relative output folder received every book"
stop_program

# --- 3. the window at 200% ----------------------------------------------------------------
log "start at 200%"
export QT_SCALE_FACTOR=2
start_program scaled-start
check_geometry 2
snap "$main_window" 07-scaled-200
stop_program
unset QT_SCALE_FACTOR

log "all window checks passed; screenshots in $artifacts"
exit 0
