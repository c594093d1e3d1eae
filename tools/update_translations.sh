#!/usr/bin/env bash
# Brings translations/ravinel_en.ts up to date with the texts of src/: those of tr() and
# translate() and the core's RAVINEL_TRANSLATABLE marks. New texts come in unfinished, for
# a translator to fill in (with Qt Linguist or by hand); texts no longer used are dropped.
# With a path, writes there instead, starting from a copy of the committed file.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
committed=translations/ravinel_en.ts
out=${1:-$committed}
if [ "$out" != "$committed" ]; then
  cp "$committed" "$out"
fi
"$lupdate" -silent -locations none -no-obsolete \
  -tr-function-alias QT_TRANSLATE_NOOP+=RAVINEL_TRANSLATABLE \
  -source-language ja -target-language en src -ts "$out"
