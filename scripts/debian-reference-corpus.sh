#!/usr/bin/env bash
# Builds a development corpus of real documentation texts from the Debian Reference, which
# Debian ships as plain text in eleven languages, plus copies of some of them in the legacy
# encodings people still have on disk. The texts are not ours: they are generated here, into a
# folder of the build, and never committed.
#
#   scripts/debian-reference-corpus.sh OUTDIR
#
# OUTDIR receives the texts and corpus.tsv (file, encoding, language) for the scorecard.
set -euo pipefail
out="${1:?usage: $0 OUTDIR}"
langs=(en de es fr id it ja pt pt-br zh-cn zh-tw)

"$(dirname "$0")/install-missing.sh" "${langs[@]/#/debian-reference-}"

mkdir -p "$out"
manifest="$out/corpus.tsv"
: >"$manifest"
for l in "${langs[@]}"; do
  zcat "/usr/share/debian-reference/debian-reference.$l.txt.gz" >"$out/reference-$l.txt"
  printf 'reference-%s.txt\tUTF-8\t%s\n' "$l" "$l" >>"$manifest"
done

# Legacy copies: characters a code page lacks are transliterated by iconv, so each copy is a
# faithful text in its own right; the scorecard judges it against its own decoding.
legacy() {  # language, iconv encoding, file suffix
  local l="$1" enc="$2" suffix="$3"
  iconv -f UTF-8 -t "$enc//TRANSLIT" "$out/reference-$l.txt" >"$out/reference-$l-$suffix.txt" 2>/dev/null || true
  printf 'reference-%s-%s.txt\t%s\t%s\n' "$l" "$suffix" "$enc" "$l" >>"$manifest"
}
legacy ja SHIFT_JIS sjis
legacy ja EUC-JP eucjp
legacy zh-cn GB18030 gb18030
legacy zh-tw BIG5 big5
legacy de WINDOWS-1252 cp1252
legacy fr ISO-8859-15 latin9
legacy es WINDOWS-1252 cp1252
echo "corpus: $(wc -l <"$manifest") texts in $out"
