#!/usr/bin/env bash
# Builds the Debian package termika_<version>_<arch>.deb into the top folder
# from a Release build of its own (build/package), with its library
# dependencies computed by dpkg-shlibdeps. JOBS=N limits the build's jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build=build/package
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DTERMIKA_BUILD_TESTS=OFF -DTERMIKA_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" --parallel "${JOBS:-$(nproc)}"
rm -f "$build"/termika_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/termika_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package: cpack made no single termika_*.deb in $build" >&2
  exit 1
fi
rm -f termika_*.deb
mv "${debs[0]}" .
echo "package: $(basename "${debs[0]}")"
dpkg-deb --field "$(basename "${debs[0]}")" Package Version Architecture Depends Recommends
