#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when code outside platform/
# includes SDL or an operating-system header. The layers and the layers right below each are read from
# the VANTREL_LAYERS list of the top-level CMakeLists.txt, the one place they are written; a layer may
# include its own folder and every folder of the layers below it, never a peer on the same step:
#   platform -> core -> display, sound -> data -> ui -> view3d, script -> world -> screens -> app
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A lower=([platform]="")
while read -r layer below; do
  lower[$layer]="$below"
done < <(sed -n '/^set(VANTREL_LAYERS/,/)/p' CMakeLists.txt | sed -nE 's/^[[:space:]]*"([a-z0-9_]+):[[:space:]]*([a-z0-9_ ]*)".*/\1 \2/p')
if [ "${#lower[@]}" -lt 2 ]; then
  echo "check-layers: no VANTREL_LAYERS list in CMakeLists.txt" >&2
  exit 2
fi

# A layer's own folder and everything below it, transitively.
reach() {
  local out="$1" next
  for next in ${lower[$1]}; do out="$out $(reach "$next")"; done
  echo "$out"
}
declare -A allowed
for layer in "${!lower[@]}"; do
  allowed[$layer]=$(reach "$layer" | tr ' ' '\n' | sort -u | tr '\n' ' ')
done

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
