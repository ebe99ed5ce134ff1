#!/usr/bin/env bash
# Fails when a file of one layer includes a header of a layer above it, or when a layer below
# the platform includes Qt. The libraries enforce the order at link time for functions; this
# catches headers (types, inline code) as well.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(core settings render plot shell)
status=0
for i in "${!layers[@]}"; do
  layer=${layers[$i]}
  above=("${layers[@]:$((i + 1))}" platform ui app)
  for upper in "${above[@]}"; do
    if grep -Hn "#include \"$upper/" "$layer"/*.h "$layer"/*.cpp 2>/dev/null; then status=1; fi
  done
  if grep -HnE '#include <Q' "$layer"/*.h "$layer"/*.cpp 2>/dev/null; then status=1; fi
done
for upper in plot shell ui app; do
  if grep -Hn "#include \"$upper/" platform/*.h platform/*.cpp 2>/dev/null; then status=1; fi
done
[ $status -eq 0 ] && echo "layers in order"
exit $status
