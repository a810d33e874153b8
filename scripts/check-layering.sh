#!/usr/bin/env bash
# Fails when a source file reaches above its layer: a folder of src/ includes
# only folders below it in the order below (its own included), and nothing
# outside src/app includes a Qt widget header.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(common link devices base operations exchange server sim cli app)
widgets=/usr/include/x86_64-linux-gnu/qt6/QtWidgets
[ -d "$widgets" ] || { echo "check-layering: $widgets is missing (qt6-base-dev)" >&2; exit 2; }

rank() { local i; for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }

bad=0
for dir in "${order[@]}"; do
  mine=$(rank "$dir")
  while IFS=: read -r file line text; do
    used=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ "$used" = "$dir" ] && continue
    theirs=$(rank "$used")
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$mine" ]; then
      echo "$file:$line: src/$dir reaches src/$used: $text"
      bad=1
    fi
  done < <(grep -rnE '^#include "[a-z_]+/' "src/$dir" --include='*.h' --include='*.cpp' || true)
done

# Every header QtWidgets installs, e.g. <QWidget>, <QtWidgets/QDialog>, <qdialog.h>.
names=$(ls "$widgets" | grep -vE '\.(pri|cmake)$' | paste -sd'|')
while IFS= read -r hit; do
  echo "$hit: a Qt widget header outside src/app"
  bad=1
done < <(grep -rnE "^#include <(QtWidgets/)?($names)>" src --include='*.h' --include='*.cpp' | grep -v '^src/app/' || true)

[ "$bad" -eq 0 ] && echo "layering: ok"
exit "$bad"
