#!/usr/bin/env bash
# The converter spread over machines by GNU parallel's own remote execution, as the README shows
# it: each text sent to a machine, converted there, its book brought back and the machine's copy
# removed. Run twice on a small tree: with the local login (-S :), and with a second login whose
# "machine" is a folder of this one (a stand-in for ssh), so the sending, the return and the
# clean-up really happen.
#
#   many_machines.sh CONVERTER
set -euo pipefail

converter=$1
command -v parallel >/dev/null || { echo "FAIL: GNU parallel is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
command -v rsync >/dev/null || { echo "FAIL: rsync is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/quillane-machines-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The tree: two folders, a name with spaces and quotes, a text in another script.
make_tree() {
    rm -rf "$work/texts"
    mkdir -p "$work/texts/tales" "$work/texts/notes"
    printf 'The Ferry\n\nThe ferryman counted seven crossings before the fog lifted.\n' \
        >"$work/texts/tales/ferry.txt"
    printf "Field notes\n\nThe heron came back to the mill pond on Tuesday.\n" \
        >"$work/texts/notes/it's a \"pond\" day.txt"
    printf 'Заметки\n\nЦапля вернулась к мельничному пруду во вторник.\n' \
        >"$work/texts/notes/цапля.txt"
}

# Every text has its book beside it, a whole one holding its words, and the text is untouched.
check_books() {
    local how=$1 text book word count=0
    while IFS= read -r -d '' text; do
        book=${text%.*}.epub
        [ -s "$book" ] || fail "$how: no book for ${text#"$work"/}"
        [ "$(unzip -p "$book" mimetype)" = "application/epub+zip" ] || fail "$how: ${book#"$work"/} is no EPUB"
        word=$(sed -n 3p "$text" | awk '{print $NF}')
        unzip -p "$book" '*.xhtml' | grep -qF "${word%.}" || fail "$how: ${book#"$work"/} lacks \"${word%.}\""
        count=$((count + 1))
    done < <(find "$work/texts" -name '*.txt' -print0)
    [ $count -eq 3 ] || fail "$how: $count texts left in the tree, expected 3"
    [ "$(find "$work/texts" -name '*.epub' | wc -l)" -eq 3 ] || fail "$how: not three books"
}

# The README's command line; LOGIN is the --sshlogin, the rest goes to parallel before it.
convert_tree() {
    local login=$1
    shift
    (cd "$work/texts" && find . -name '*.txt' -print0 |
        RSYNC_OLD_ARGS=1 parallel -0 --will-cite "$@" -S "$login" \
            --transferfile {} --return {.}.epub --cleanup \
            "$converter" {} {.}.epub)
}

make_tree
convert_tree : </dev/null 2>"$work/local.log" || fail "the local run failed: $(cat "$work/local.log")"
check_books "local login"
echo "-- local login: three books"

# The other machine: ssh replaced by a command that runs in a home of its own. A login sets SHELL
# to the user's shell, and parallel's worker runs each job with it, so the stand-in sets it too
# rather than pass on whatever the caller had (nothing, under a bare CI environment).
remote=$work/elsewhere
mkdir -p "$remote"
cat >"$work/ssh" <<SSH
#!/bin/sh
while [ \$# -gt 0 ]; do case \$1 in -*) shift ;; *) break ;; esac; done
shift
[ "\$1" = "--" ] && shift
cd "$remote" && HOME="$remote" SHELL=/bin/sh exec sh -c "\$*"
SSH
chmod +x "$work/ssh"
make_tree
convert_tree 2/elsewhere --ssh "$work/ssh" </dev/null 2>"$work/remote.log" ||
    fail "the run on the other login failed: $(cat "$work/remote.log")"
check_books "other login"
left=$(find "$remote" -mindepth 1 ! -path "$remote/.parallel" ! -path "$remote/.parallel/*" -print)
[ -z "$left" ] || fail "the other login kept files after --cleanup: $left"
[ -z "$(find "$remote" -type f)" ] || fail "the other login kept files: $(find "$remote" -type f)"
echo "-- other login: three books sent back, nothing left there"
