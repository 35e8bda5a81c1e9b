#!/usr/bin/env bash
# The apt sources the virtual machine's image is built from: each row is a
# source file (its name gives its format), the release asked for, and the
# "URI SUITE" lines expected.
#   apt_sources_test.sh path/to/apt-sources.sh
set -u
script=${1:?usage: apt_sources_test.sh path/to/apt-sources.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME FILE RELEASE EXPECTED CONTENT
check() {
  local name=$1 file=$2 release=$3 expected=$4 content=$5 got
  printf '%s' "$content" >"$work/$file"
  got=$("$script" "$release" "$work/$file")
  if [ "$got" != "$expected" ]; then
    printf 'FAILED %s\n  expected: %s\n  got:      %s\n' "$name" "$expected" "$got"
    failures=$((failures + 1))
  fi
  rm -f "$work/$file"
}

check "one-line, options and other releases" a.list bookworm $'http://m/debian bookworm\nhttp://m/debian bookworm-updates' \
'# deb http://old/debian bookworm main
deb [arch=amd64 signed-by=/k.gpg] http://m/debian bookworm main contrib
deb-src http://m/debian bookworm main
deb http://m/debian bookworm-updates main
deb http://m/debian trixie main
deb http://m/debian bookwormish main
'
check "deb822, several URIs and suites" a.sources bookworm \
  $'http://a/debian bookworm\nhttp://a/debian bookworm-updates\nhttp://b/debian bookworm\nhttp://b/debian bookworm-updates' \
'Types: deb deb-src
URIs: http://a/debian http://b/debian
Suites: bookworm bookworm-updates
Components: main
'
check "deb822, disabled, source-only and foreign stanzas" a.sources bookworm 'http://s/debian-security bookworm-security' \
'Types: deb
URIs: http://off/debian
Suites: bookworm
Enabled: no

Types: deb-src
URIs: http://src/debian
Suites: bookworm

# a comment between stanzas
Types: deb
URIs: https://vendor/apt
Suites: nodistro

types: deb
uris: http://s/debian-security
suites: bookworm-security
'
check "deb822, a field continued on the next line" a.sources bookworm $'http://a/debian bookworm\nhttp://a/debian bookworm-updates' \
'Types: deb
URIs: http://a/debian
Suites: bookworm
 bookworm-updates
Components: main
'
check "the same entry twice is printed once" a.list bookworm 'http://m/debian bookworm' \
'deb http://m/debian bookworm main
deb http://m/debian bookworm contrib
'
[ "$failures" = 0 ] && echo "all rows passed"
[ "$failures" = 0 ]
