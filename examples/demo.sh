#!/bin/sh
# Runs cmdrunner on examples/make-folder.xml: makes a folder, sets its mode,
# then lists a folder that is not there, so the run ends with the report.
set -u
cmdrunner=${1:?usage: demo.sh PATH-TO-CMDRUNNER}
here=$(dirname "$0")
document="$here/make-folder.xml"

# The document's own texts need no inner encoding here (no "%" in them);
# the whole document is percent-encoded once to travel as one word.
word=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.stdin.read(), safe=""), end="")' < "$document")

rm -rf /tmp/cmdrunner-demo
echo "== The command document ($document):"
cat "$document"
echo
echo "== The word passed to cmdrunner (first 120 characters of ${#word}):"
echo "$(printf '%s' "$word" | cut -c1-120)..."
echo
echo "== cmdrunner's standard output:"
"$cmdrunner" "$word"
status=$?
echo
echo
echo "== Exit status as the shell sees it: $status"
echo "== What the first two commands did:"
ls -ld /tmp/cmdrunner-demo/reports
