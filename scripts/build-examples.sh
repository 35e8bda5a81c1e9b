#!/usr/bin/env bash
# Installs the Windows package of build/PRESET into build/package-PRESET and
# builds examples/ against it as another project would, into
# build/examples-PRESET; with --from-source, builds examples/ with the tree
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
  cmake --install "$root/build/$preset" --prefix "$package" >/dev/null || exit 1
  from=(-DCMAKE_PREFIX_PATH="$package")
fi
rm -rf "$examples"
cmake -S "$root/examples" -B "$examples" -G Ninja -DCMAKE_BUILD_TYPE=Release --toolchain "$toolchain" \
  "${from[@]}" >/dev/null || exit 1
cmake --build "$examples" >/dev/null
