#!/usr/bin/env bash
# Fails when a text the windows show lacks its English translation: the committed .ts must
# be what tools/update_translations.sh makes of the sources now (no text added, changed
# or dropped since), every message in it translated, and no Japanese literal of the
# windows' code outside tr(), translate() or RAVINEL_TRANSLATABLE.
# Usage: translations_test.sh LUPDATE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

LUPDATE=$1 "$root/tools/update_translations.sh" "$work/ravinel_en.ts"
if ! diff -u "$root/translations/ravinel_en.ts" "$work/ravinel_en.ts" >"$work/diff"; then
  echo "translations/ravinel_en.ts is not up to date with the sources; run" \
    "tools/update_translations.sh and translate what it marks unfinished:"
  cat "$work/diff"
  failed=1
fi

if grep -n -B2 -e 'type="unfinished"' -e 'type="vanished"' -e 'type="obsolete"' \
  -e '<translation></translation>' "$root/translations/ravinel_en.ts"; then
  echo "translations/ravinel_en.ts: the messages above have no finished translation"
  failed=1
fi

mapfile -t sources < <(find "$root/src/ui" -name '*.cpp' -o -name '*.h' | sort)
untranslated=$(perl "$root/tests/translations/untranslated_literals.pl" "${sources[@]}")
if [ -n "$untranslated" ]; then
  echo "Japanese texts outside tr():"
  echo "$untranslated"
  failed=1
fi

[ "$failed" -eq 0 ] && echo "every text has its translation"
exit "$failed"
