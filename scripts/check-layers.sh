#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when code outside platform/
# includes SDL or an operating-system header. The layers, lowest first; a layer may include its own
# folder and every folder of the layers below it, never a peer on the same step:
#   platform -> core -> display, sound -> data -> ui -> view3d, script -> world -> screens -> app
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [platform]="platform"
  [core]="platform core"
  [display]="platform core display"
  [sound]="platform core sound"
  [data]="platform core display sound data"
  [ui]="platform core display sound data ui"
  [view3d]="platform core display sound data ui view3d"
  [script]="platform core display sound data ui script"
  [world]="platform core display sound data ui view3d script world"
  [screens]="platform core display sound data ui view3d script world screens"
  [app]="platform core display sound data ui view3d script world screens app"
)

status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z0-9_]+)\/.*/\1/' <<<"$text")
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *) echo "$file:$line: $layer may not include $target/ ($text)"; status=1 ;;
    esac
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include "[a-z0-9_]+/' "$layer" --include='*.h' --include='*.cpp' || true)
  if [ "$layer" != platform ]; then
    while IFS= read -r hit; do
      echo "$hit: only platform/ may include system or SDL headers"; status=1
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include <(SDL|unistd\.h|fcntl\.h|sys/|dirent\.h|pthread\.h|windows\.h|X11/)' \
               "$layer" --include='*.h' --include='*.cpp' || true)
  fi
done
[ $status -eq 0 ] && echo "layers: no upward include"
exit $status
