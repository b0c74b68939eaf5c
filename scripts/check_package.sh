#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what it installs:
# the desktop entry, the AppStream file, the survey MIME type (a renamed
# survey is still known by its magic) and the dependencies. As root it also
# installs the package, runs the installed window offscreen against the
# simulated instruments, and removes the package again.
# Usage: check_package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

echo "== package"
rm -f "$build"/orb_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orb_*.deb)
info=$(dpkg-deb --info "$deb")
echo "$info" | grep -E '^ (Package|Version|Depends|Recommends):'
for dep in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n; do
  echo "$info" | grep -q "^ Depends:.*\b$dep\b" || { echo "package does not depend on $dep" >&2; exit 1; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
for f in usr/bin/orb usr/bin/orb-cli usr/bin/orb-devsim \
         usr/share/icons/hicolor/scalable/apps/org.orbsurvey.Orb.svg \
         usr/share/icons/hicolor/48x48/apps/org.orbsurvey.Orb.png \
         usr/share/icons/hicolor/48x48/mimetypes/application-x-orb-survey.png; do
  [ -e "$root/$f" ] || { echo "missing from the package: $f" >&2; exit 1; }
done
desktop-file-validate "$share/applications/org.orbsurvey.Orb.desktop"
appstreamcli validate --no-net "$share/metainfo/org.orbsurvey.Orb.metainfo.xml"

# The MIME type: a survey under another name is recognised by "KVORB" at offset 0,
# and *.TLM by its name in either case.
update-mime-database "$share/mime" >/dev/null 2>&1
printf 'KVORB\0\0\0' >"$root/renamed-survey.dat"
: >"$root/EMPTY.TLM"
for f in renamed-survey.dat EMPTY.TLM; do
  type=$(XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" mimetype --brief "$root/$f")
  echo "$f: $type"
  [ "$type" = application/x-orb-survey ] || { echo "MIME type not recognised for $f" >&2; exit 1; }
done

if [ "$(id -u)" -eq 0 ]; then
  echo "== install the package and run it"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  shot=$(mktemp --suffix=.png)
  QT_QPA_PLATFORM=offscreen timeout 60 /usr/bin/orb --simulate --screenshot "$shot"
  [ -s "$shot" ] || { echo "the installed orb wrote no screenshot" >&2; exit 1; }
  rm -f "$shot"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orb >/dev/null
  echo "installed package ran"
fi
echo "package checks passed"
