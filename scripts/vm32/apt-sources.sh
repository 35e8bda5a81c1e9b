#!/usr/bin/env bash
# Prints "URI SUITE", once each, for every enabled binary ("deb") entry of
# apt source files whose suite is RELEASE or RELEASE-something: one-line
# files (*.list) and deb822 files (*.sources). Without files, reads this
# machine's own apt set-up.
#   scripts/vm32/apt-sources.sh RELEASE [FILE...]
set -u
release=${1:?usage: scripts/vm32/apt-sources.sh RELEASE [FILE...]}
shift
[ $# -gt 0 ] || set -- /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
for file in "$@"; do
  [ -f "$file" ] || continue
  case $file in
    *.sources)
      awk -v rel="$release" '
        function flush(   u, s, nu, ns, us, ss) {
          if (types ~ /(^| )deb( |$)/ && enabled !~ /^[[:space:]]*no[[:space:]]*$/) {
            nu = split(uris, us, " "); ns = split(suites, ss, " ")
            for (u = 1; u <= nu; u++) for (s = 1; s <= ns; s++)
              if (ss[s] ~ "^" rel "($|-)") print us[u], ss[s]
          }
          types = uris = suites = enabled = ""
        }
        /^[[:space:]]*#/ { next }
        /^[[:space:]]*$/ { flush(); next }
        # A field is "Name: value", continued on lines that start with a blank.
        /^[^[:space:]]/ { key = tolower($1); value = $0; sub(/^[^:]*:[[:space:]]*/, "", value) }
        /^[[:space:]]/ { value = $0 }
        key == "types:" { types = types " " value } key == "uris:" { uris = uris " " value }
        key == "suites:" { suites = suites " " value } key == "enabled:" { enabled = tolower(value) }
        END { flush() }' "$file" ;;
    *)
      # deb [options] URI SUITE COMPONENT...
      awk -v rel="$release" '$1 == "deb" {
          i = 2; if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
          if ($(i + 1) ~ "^" rel "($|-)") print $i, $(i + 1) }' "$file" ;;
  esac
done | awk '!seen[$0]++'
