#!/usr/bin/env bash
# Updates translations/orb_en.ts from every source below src/ and says how
# many entries still need an English text. The Chinese texts of the sources
# are the source texts; orb-cli (tools/) is not translated.
#
#   scripts/update_translations.sh          update the .ts files in place
#   scripts/update_translations.sh --check  change nothing; fail when lupdate
#       would change a .ts file (new, changed or vanished texts) or when an
#       entry is unfinished (the test suite runs this)
#
# Texts of the plain C++ modules are marked ORB_TEXT("core", "...")
# (core/ui_text.h), which lupdate reads as QT_TRANSLATE_NOOP. Translate the
# new entries with Qt Linguist (linguist6) or in a text editor: fill in
# <translation> and remove type="unfinished".
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate6 || command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
[ -x "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
check=false
[ "${1:-}" = "--check" ] && check=true

mapfile -t sources < <(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
status=0
for ts in translations/orb_en.ts; do
  target=$ts
  if $check; then
    target=$(mktemp --suffix=.ts)
    cp "$ts" "$target"
  fi
  "$lupdate" -silent -no-obsolete -I src -locations none -source-language zh_CN -target-language en \
    -tr-function-alias QT_TRANSLATE_NOOP+=ORB_TEXT "${sources[@]}" -ts "$target"
  entries=$(grep -c '<message' "$target" || true)
  unfinished=$(grep -c 'type="unfinished"' "$target" || true)
  echo "$ts: $entries entries, $unfinished unfinished"
  if $check; then
    if ! cmp -s "$ts" "$target"; then
      echo "$ts is out of date: run scripts/update_translations.sh" >&2
      diff -u "$ts" "$target" | head -40 >&2 || true
      status=1
    fi
    rm -f "$target"
  fi
  if [ "$unfinished" -gt 0 ]; then
    $check && status=1
    grep -B2 'type="unfinished"' "$ts" | grep '<source>' | head -20 >&2 || true
  fi
done
exit $status
