#!/usr/bin/env bash
# Fails when a source file reaches upward: the folders form layers, each of
# which may include only itself and the layers below it. The core (files
# directly in a folder) links QtCore only, so it includes no widget code and
# no Qt header outside QtCore; a widgets/ folder may include the core and the
# widgets of its own layer and the layers below. Forward declarations of the
# program's own types follow the same rules as includes.
set -uo pipefail
cd "$(dirname "$0")/../src"

# Lowest first.
layers=(platform workarea base settings display search edit template app)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

qtcore=$(find /usr/include -maxdepth 4 -type d -name QtCore -path '*qt6*' 2>/dev/null | head -n1)
# Where each of the program's types lives: the header that defines it.
declare -A home
while IFS= read -r header; do
  home[$(basename "$header" .h)]=$header
  while IFS= read -r name; do
    home[$name]=$header
  done < <(sed -n 's/^\(class\|struct\)[[:space:]]\+\([A-Za-z_][A-Za-z0-9_]*\)[[:space:]]*\([:{].*\)\?$/\2/p' "$header")
done < <(find . -name '*.h' | sed 's|^\./||')

status=0
complain() { echo "layer check: $1" >&2; status=1; }

while IFS= read -r file; do
  folder=${file%%/*}
  [ -n "${rank[$folder]+x}" ] || { complain "$file: folder '$folder' has no layer"; continue; }
  own=${rank[$folder]}
  widget=0
  [[ $file == */widgets/* ]] && widget=1
  while IFS= read -r inc; do
    if [[ $inc =~ ^\"([^/\"]+)/(widgets/)?[^\"]*\"$ ]]; then
      target=${BASH_REMATCH[1]}
      [ -n "${rank[$target]+x}" ] || continue
      if [ "${rank[$target]}" -gt "$own" ]; then
        complain "$file includes $inc from the higher layer '$target'"
      elif [ $widget -eq 0 ] && [ -n "${BASH_REMATCH[2]}" ]; then
        complain "$file is core and includes the widget header $inc"
      fi
    elif [ $widget -eq 0 ] && [[ $inc =~ ^\<(Qt[A-Za-z]+/)?(Q[A-Za-z]+)\>$ ]]; then
      module=${BASH_REMATCH[1]%/}
      header=${BASH_REMATCH[2]}
      if [ -n "$module" ] && [ "$module" != QtCore ]; then
        complain "$file is core and includes $inc"
      elif [ -z "$module" ] && [ -n "$qtcore" ] && [ ! -e "$qtcore/$header" ]; then
        complain "$file is core and includes $inc, which is not in QtCore"
      fi
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\([<"][^>"]*[>"]\).*/\1/p' "$file")
  # A forward declaration names a type as surely as an include does: one of
  # a higher layer (or, in the core, of a widget) is the same dependency.
  while IFS= read -r name; do
    where=${home[$name]-}
    [ -n "$where" ] || continue
    target=${where%%/*}
    if [ "${rank[$target]}" -gt "$own" ]; then
      complain "$file declares $name of the higher layer '$target'"
    elif [ $widget -eq 0 ] && [[ $where == */widgets/* ]]; then
      complain "$file is core and declares the widget $name"
    fi
  done < <(sed -n 's/^[[:space:]]*\(class\|struct\)[[:space:]]\+\([A-Za-z_][A-Za-z0-9_]*\)[[:space:]]*;.*/\2/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' -o -name '*.inc' | sed 's|^\./||' | sort)

[ $status -eq 0 ] && echo "layer check: every include points down or sideways within its layer"
exit $status
