#!/usr/bin/env bash
# Checks that third_party/expat/ is the Expat tree third_party/expat-origin.txt records: the
# sum over its sorted file list and contents (how it is made is written there) must be the
# recorded tree-sha256. A changed, added or removed file fails the check, naming both sums.
#
# Usage: scripts/expat-tree.sh
set -euo pipefail
cd "$(dirname "$0")/../third_party"
recorded=$(sed -n 's/^tree-sha256: *\([0-9a-f]\{64\}\)$/\1/p' expat-origin.txt)
[ -n "$recorded" ] || { echo "expat-tree: no tree-sha256 in third_party/expat-origin.txt" >&2; exit 1; }
actual=$(cd expat && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum | sha256sum)
actual=${actual%% *}
if [ "$actual" != "$recorded" ]; then
  echo "expat-tree: third_party/expat/ sums to $actual, not the recorded $recorded" >&2
  exit 1
fi
echo "expat-tree: third_party/expat/ is Expat $(sed -n 's/^commit: *\([0-9a-f]*\).*/\1/p' expat-origin.txt) ($recorded)"
