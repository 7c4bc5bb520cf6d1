#!/usr/bin/env bash
# Fuzzes the whole text path, from a source's bytes to its book:
# scripts/fuzz-text.sh [SECONDS] [LOG] (see scripts/fuzz-run.sh).
exec "$(dirname "$0")/fuzz-run.sh" text_path "$@"
