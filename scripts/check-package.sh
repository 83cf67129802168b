#!/usr/bin/env bash
# Installs the package scripts/package.sh built (./termika_*.deb) into this
# machine, runs the installed termika-cli (--version, stats on the sample
# file), and removes the package and whatever its installation added again,
# also when a step fails. A machine that has termika installed already is
# left alone.
set -euo pipefail
cd "$(dirname "$0")/.."

debs=(termika_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "check-package: expected one termika_*.deb here; run scripts/package.sh first" >&2
  exit 1
fi
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if dpkg-query -W -f='${Status}' termika 2>/dev/null | grep -q 'install ok installed'; then
  echo "check-package: termika is installed on this machine already; not touching it" >&2
  exit 1
fi

installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 ~ /^.i/ {print $2}' | sort; }
before=$(mktemp)
installed >"$before"
cleanup() {
  local added
  added=$(comm -13 "$before" <(installed) | tr '\n' ' ')
  echo "check-package: removing ${added:-termika}"
  # shellcheck disable=SC2086  # one word per package
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq termika $added ||
    echo "check-package: the removal failed; remove termika by hand" >&2
  rm -f "$before"
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y "./${debs[0]}"

version=$(dpkg-query -W -f='${Version}' termika)
said=$(/usr/bin/termika-cli --version)
echo "$said"
if [ "$said" != "termika-cli $version" ]; then
  echo "check-package: expected \"termika-cli $version\"" >&2
  exit 1
fi
stats=$(/usr/bin/termika-cli stats packaging/sample-three-blocks.csv)
echo "$stats"
grep -qx 'count: 204' <<<"$stats" || { echo "check-package: stats did not count 204 points" >&2; exit 1; }
for f in /usr/bin/termika /usr/bin/termika-sim /usr/share/man/man1/termika-cli.1.gz \
  /usr/share/man/man1/termika-sim.1.gz /usr/share/applications/termika.desktop \
  /usr/share/icons/hicolor/scalable/apps/termika.svg /usr/lib/udev/rules.d/70-termika-ftdi.rules \
  /usr/share/termika/help/index.html /usr/share/termika/scenarios/demo.json; do
  [ -e "$f" ] || { echo "check-package: $f is missing" >&2; exit 1; }
done
echo "check-package: the installed programs run"
