#!/usr/bin/env bash
# Checks that every include of src/ goes to the file's own folder or a folder below it, in
# the order that docs/architecture.md lists the layers.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t layers < <(sed -nE 's/^[0-9]+\. `([a-z_0-9]+)\/`.*/\1/p' docs/architecture.md)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
audit_may_include="text base platform audit"
status=0
while IFS= read -r file; do
  folder=$(basename "$(dirname "$file")")
  [ "$folder" = src ] && continue  # main.cpp stands on top
  if [ -z "${rank[$folder]+x}" ]; then
    echo "$file: folder $folder is not listed in docs/architecture.md"
    status=1
    continue
  fi
  while IFS= read -r target; do
    # The release check stands apart from the code that writes a release: it may read only
    # the folders below that every layer shares.
    if [ "$folder" = audit ] && [[ ! " $audit_may_include " =~ " $target " ]]; then
      echo "$file: includes $target/; audit/ includes only $audit_may_include"
      status=1
      continue
    fi
    if [ -z "${rank[$target]+x}" ] || [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
      echo "$file: includes $target/, which does not stand below $folder/"
      status=1
    fi
  done < <(sed -nE 's/^#include "([a-z_0-9]+)\/.*/\1/p' "$file" | sort -u)
done < <(find src -name '*.h' -o -name '*.cpp' | sort)
[ "$status" -eq 0 ] && echo "Schichten: ${#layers[@]} Ordner, alle Includes in Ordnung"
exit "$status"
