#!/usr/bin/env bash
# Makes the Windows package of build/PRESET (a .zip), unpacks it into
# build/package-PRESET and builds examples/ against it as another project
# would, into build/examples-PRESET; with --from-source, builds examples/ with the tree
# as its subproject instead, into build/examples-PRESET-subproject.
#   scripts/build-examples.sh win32|win64 [--from-source]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-}
case $preset in
  win32) toolchain=$root/cmake/mingw-i686.cmake ;;
  win64) toolchain=$root/cmake/mingw-x86_64.cmake ;;
  *) echo "usage: scripts/build-examples.sh win32|win64 [--from-source]" >&2; exit 2 ;;
esac
if [ "${2:-}" = --from-source ]; then
  examples=$root/build/examples-$preset-subproject
  from=(-DFORMREEL_EXAMPLES_FROM_SOURCE=ON)
else
  package=$root/build/package-$preset
  examples=$root/build/examples-$preset
  rm -rf "$package"
  # The .zip a user unpacks: cpack makes it from the build, and the examples
  # build against what it holds, which must be all a user needs.
  (cd "$root/build/$preset" && rm -f formreel-*.zip && cpack -G ZIP >/dev/null) || exit 1
  zip=$(ls "$root/build/$preset"/formreel-*.zip) || exit 1
  mkdir -p "$package" && (cd "$package" && cmake -E tar xf "$zip") || exit 1
  package=$(ls -d "$package"/formreel-*)
  for file in bin/formreel.exe bin/SAMPLE.AVI bin/formentry.exe include/formreel/forms.h include/formreel/form.h \
              lib/libformreel_forms.a lib/cmake/formreel/formreelConfig.cmake share/doc/formreel/forms.md; do
    [ -f "$package/$file" ] || { echo "the .zip lacks $file" >&2; exit 1; }
  done
  from=(-DCMAKE_PREFIX_PATH="$package")
fi
rm -rf "$examples"
cmake -S "$root/examples" -B "$examples" -G Ninja -DCMAKE_BUILD_TYPE=Release --toolchain "$toolchain" \
  "${from[@]}" >/dev/null || exit 1
cmake --build "$examples" >/dev/null
