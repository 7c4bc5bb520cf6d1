#!/usr/bin/env bash
# Fuzzes the RTF reader: scripts/fuzz-rtf.sh [SECONDS] [LOG] (see scripts/fuzz-run.sh).
exec "$(dirname "$0")/fuzz-run.sh" rtf_reader "$@"
