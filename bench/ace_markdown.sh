#!/usr/bin/env bash
# Accessibility of Markdown books, judged by Ace by DAISY: each Markdown file is staged as the
# window stages it, converted by the built converter, and checked; the findings are counted by
# impact. Books with tables, pictures and code must have no critical or serious finding.
#
#   bench/ace_markdown.sh [BIN_DIR] [MARKDOWN FILE...]
#
# BIN_DIR defaults to build/bin; the files default to our own samples in
# tests/convert/markdown. Ace is installed from npm into ACE_HOME (default
# ~/.cache/quillane-ace, outside the repository) without its own browser; it runs Debian's
# chromium, installed with apt-get when missing. Not part of the test command.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-$repo/build/bin}" && pwd)"
shift || true
sources=("$@")
if [ ${#sources[@]} -eq 0 ]; then
  sources=("$repo"/tests/convert/markdown/*.md "$repo"/tests/convert/markdown/*.MD \
           "$repo"/tests/convert/markdown/*.markdown "$repo"/tests/convert/markdown/*.mkd)
fi
ace_home="${ACE_HOME:-$HOME/.cache/quillane-ace}"
ace="$ace_home/node_modules/.bin/ace-cli"

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
if [ ! -x /usr/bin/chromium ]; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 \
    install -y -qq --no-install-recommends chromium
fi
if [ ! -x "$ace" ]; then
  mkdir -p "$ace_home"
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --prefix "$ace_home" @daisy/ace-cli
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
printf '%-28s %8s %8s %8s %8s\n' book critical serious moderate minor
for source in "${sources[@]}"; do
  name="$(basename "$source")"
  book="$work/${name%.*}.epub"
  "$bin/stage_text" "$source" "$work/temp.rtf"
  "$bin/ZOD2UVOV.exe" "$work/temp.rtf" "$book"
  PUPPETEER_EXECUTABLE_PATH=/usr/bin/chromium "$ace" --silent -f -o "$work/${name}.ace" "$book" \
    >"$work/${name}.log" 2>&1 || true
  if [ ! -f "$work/${name}.ace/report.json" ]; then
    echo "$name: Ace made no report:" >&2
    tail -n 5 "$work/${name}.log" >&2
    status=1
    continue
  fi
  # Every failed check, counted by its impact; rules named for the serious ones.
  python3 - "$work/${name}.ace/report.json" "$name" <<'PY' || status=1
import collections, json, sys
counts, rules = collections.Counter(), collections.Counter()
def walk(node):
    if isinstance(node, dict):
        test, result = node.get("earl:test"), node.get("earl:result", {})
        if isinstance(test, dict) and result.get("earl:outcome") == "fail":
            impact = test.get("earl:impact", "unknown")
            counts[impact] += 1
            if impact in ("critical", "serious"):
                rules[test.get("dct:title", "?")] += 1
        for value in node.values():
            walk(value)
    elif isinstance(node, list):
        for value in node:
            walk(value)
walk(json.load(open(sys.argv[1])))
print("%-28s %8d %8d %8d %8d" % (sys.argv[2][:28], counts["critical"], counts["serious"],
                                  counts["moderate"], counts["minor"]))
for rule, n in rules.items():
    print("    %s x%d" % (rule, n))
sys.exit(1 if counts["critical"] or counts["serious"] else 0)
PY
done
exit "$status"
