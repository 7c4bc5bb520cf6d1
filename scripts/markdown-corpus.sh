#!/usr/bin/env bash
# Builds a development corpus of real Markdown written by others: the READMEs, change logs and
# guides that Debian packages install under /usr/share/doc, decompressed, with the pictures that
# lie beside them. The files are not ours: they are generated here, into a folder outside the
# repository, and never committed. Only the packages of the allow-list below are taken.
#
#   scripts/markdown-corpus.sh OUTDIR [MAX-FILES-PER-PACKAGE]    (default 12)
#
# OUTDIR receives PACKAGE/PATH for each file and corpus.tsv (file, package) for the scorecard.
set -euo pipefail
out="${1:?usage: $0 OUTDIR [MAX-FILES-PER-PACKAGE]}"
per_package="${2:-12}"
allowed=(
  git libbenchmark-dev libffi8 libglib2.0-0 libgnutls30 libgtk-3-0 libidn2-0 libjpeg62-turbo-dev
  libjsoncpp25 libnss-mdns libsodium23 libtasn1-6 libxml2 libxmlsec1 nodejs openssl pandoc
  pkgconf-bin polkitd postgresql-common procps psmisc python3-httplib2 python3-pip python3-yaml
  python3-xmltodict rsync shared-mime-info sysstat systemd t1utils tcl8.6 zstd
)
mkdir -p "$out"
manifest="$out/corpus.tsv"
: >"$manifest"
for package in "${allowed[@]}"; do
  doc="/usr/share/doc/$package"
  [ -d "$doc" ] || continue
  count=0
  while IFS= read -r -d '' file; do
    [ "$count" -lt "$per_package" ] || break
    relative="${file#"$doc"/}"
    target="$out/$package/${relative%.gz}"
    mkdir -p "$(dirname "$target")"
    if [[ "$file" == *.gz ]]; then zcat "$file" >"$target"; else cp "$file" "$target"; fi
    # Pictures beside the file, which the book may carry.
    find "$(dirname "$file")" -maxdepth 1 -type f \
      \( -iname '*.png' -o -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.gif' -o -iname '*.svg' \) \
      -exec cp -n {} "$(dirname "$target")/" \;
    printf '%s\t%s\n' "$package/${relative%.gz}" "$package" >>"$manifest"
    count=$((count + 1))
  done < <(find -L "$doc" -type f \( -iname '*.md' -o -iname '*.md.gz' -o -iname '*.markdown' \
             -o -iname '*.markdown.gz' -o -iname '*.mkd' -o -iname '*.mdown' \) -print0 | sort -z)
done
echo "$(wc -l <"$manifest") Markdown files in $out"
