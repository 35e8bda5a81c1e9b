#!/usr/bin/env bash
# Counts test cases over GoogleTest XML reports: prints "PASSED FAILED".
# A test case that ran and has a <failure> counts as failed; skipped ones do
# not count. Usage: summarise-results.sh report.xml...
awk '
  /<testcase / {
    inCase = 1; failed = 0; ran = ($0 ~ /status="run"/) && ($0 !~ /result="skipped"/)
    if ($0 ~ /\/>[[:space:]]*$/) { if (ran) passed++; inCase = 0 }
    next
  }
  inCase && /<failure/ { failed = 1 }
  inCase && /<\/testcase>/ { if (ran) { if (failed) failures++; else passed++ } inCase = 0 }
  END { printf "%d %d\n", passed + 0, failures + 0 }
' "$@" /dev/null
