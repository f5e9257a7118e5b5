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

# A layer's own folder and everything below it, transitively (in the shell itself: a process per
# step is slow on a loaded machine).
declare -A allowed
for layer in "${!lower[@]}"; do
  seen=" $layer " todo="$layer"
  while [ -n "$todo" ]; do
    read -r next todo <<<"$todo"
    for below in ${lower[$next]}; do
      case "$seen" in *" $below "*) ;; *) seen="$seen$below "; todo="$todo $below" ;; esac
    done
  done
  allowed[$layer]="$seen"
done

# One pass over every include of every layer, and one over the system headers outside platform/ (a
# process per file or per include is slow on a loaded machine).
dirs=() map="" others=()
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  dirs+=("$layer") map="$map$layer:${allowed[$layer]};"
  [ "$layer" = platform ] || others+=("$layer")
done

status=0
grep -rnE '^[[:space:]]*#[[:space:]]*include "[a-z0-9_]+/' "${dirs[@]}" --include='*.h' --include='*.cpp' |
  awk -v map="$map" '
    BEGIN { n = split(map, entries, ";")
            for (i = 1; i <= n; ++i) { split(entries[i], kv, ":"); allowed[kv[1]] = " " kv[2] " " } }
    { text = $0; sub(/^[^:]*:[^:]*:/, "", text)
      layer = $0; sub(/\/.*/, "", layer)
      target = text; sub(/^[^"]*"/, "", target); sub(/\/.*/, "", target)
      if (index(allowed[layer], " " target " ") == 0) {
        split($0, at, ":"); print at[1] ":" at[2] ": " layer " may not include " target "/ (" text ")"; bad = 1 } }
    END { exit bad }' || status=1
if grep -rnE '^[[:space:]]*#[[:space:]]*include <(SDL|unistd\.h|fcntl\.h|sys/|dirent\.h|pthread\.h|windows\.h|X11/)' \
     "${others[@]}" --include='*.h' --include='*.cpp' | sed 's/$/: only platform\/ may include system or SDL headers/'; then
  status=1
fi
[ $status -eq 0 ] && echo "layers: no upward include"
exit $status
