#!/usr/bin/env bash
# Builds the many-family development corpus: Debian's HTML manuals in many languages rendered to
# text by several renderers, Texinfo manuals as the info reader writes them, and the Markdown and
# reStructuredText files of packages' documentation, each beside the structure its source declares.
# The texts are not ours: they are generated here, outside the repository, and never committed.
#
#   scripts/structure-corpus.sh OUTDIR [--jobs N]
#
# OUTDIR receives FAMILY/NAME.txt and FAMILY/NAME.json and families.tsv for
# bench/family_scorecard.py. Only the packages that bench/structure_corpus.py names are read.
set -euo pipefail
out="${1:?usage: $0 OUTDIR [--jobs N]}"
shift
here="$(cd "$(dirname "$0")/.." && pwd)"

# Every package read is installed, so that the corpus is the same on every machine.
mapfile -t packages < <(python3 "$here/bench/structure_corpus.py" --packages)
"$here/scripts/install-missing.sh" "${packages[@]}"

# A fresh folder: a document of an earlier run must not linger in it. Only a folder that is
# empty or holds an earlier corpus is cleared.
if [ -d "$out" ] && [ -n "$(ls -A "$out")" ]; then
  if [ ! -f "$out/families.tsv" ] && [ ! -f "$out/HOWTO.txt" ]; then
    echo "$0: $out holds other files; give an empty folder or an earlier corpus" >&2
    exit 2
  fi
  find "$out" -mindepth 1 -maxdepth 1 ! -name HOWTO.txt ! -name READY -exec rm -rf {} +
fi
mkdir -p "$out"
nice -n 5 python3 "$here/bench/structure_corpus.py" "$out" "$@"
