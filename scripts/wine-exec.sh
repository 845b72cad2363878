#!/usr/bin/env bash
# Runs one Windows program under Wine for CTest. Wine's helper processes outlive the program
# and would hold a pipe open for ever, so the output goes through a file.
out="$(mktemp)"
wine "$@" >"$out" 2>&1
status=$?
# The programs print GBK; show it as UTF-8 and keep lines grep would take for binary.
LC_ALL=C grep -a -v -e '^wine: ' -e 'fixme:' -e '^0[0-9a-f]*:err:' "$out" | iconv -f GBK -t UTF-8 -c || true
rm -f "$out"
exit "$status"
