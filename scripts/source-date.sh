#!/usr/bin/env bash
# Prints the time the release files carry, in seconds since the epoch: SOURCE_DATE_EPOCH when
# it is set; in a tree unpacked from a source release, the commit time git archive wrote into
# this script (export-subst in .gitattributes); in a git work tree, the commit's time. Never
# the clock, so two builds of one commit carry the same dates.
#
# Usage: scripts/source-date.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2016  # git archive writes the time here; no shell expansion wanted
recorded='$Format:%ct$'
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  echo "$SOURCE_DATE_EPOCH"
elif [[ $recorded =~ ^[0-9]+$ ]]; then
  echo "$recorded"
elif [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
  git log -1 --format=%ct
else
  echo "source-date: no SOURCE_DATE_EPOCH, no recorded commit time and no git here" >&2
  exit 1
fi
