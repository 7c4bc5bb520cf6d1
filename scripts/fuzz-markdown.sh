#!/usr/bin/env bash
# Fuzzes Markdown's whole path, the window's and the converter's, from a source's bytes to its
# book: scripts/fuzz-markdown.sh [SECONDS] [LOG] (see scripts/fuzz-run.sh).
exec "$(dirname "$0")/fuzz-run.sh" markdown_path "$@"
