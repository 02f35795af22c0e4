#!/bin/sh
# Runs cmdrunner on examples/make-folder.xml: makes a folder, sets its mode,
# then lists a folder that is not there, so the run ends with the report.
set -u
cmdrunner=${1:?usage: demo.sh PATH-TO-CMDRUNNER [PATH-TO-CMDRUNNER-DOC]}
cmdrunner_doc=${2:-cmdrunner-doc}
here=$(dirname "$0")
document="$here/make-folder.xml"

# cmdrunner-doc percent-encodes the texts of tool_path and value, then the
# whole document, so that it travels as one word.
word=$("$cmdrunner_doc" encode "$document") || exit 1

rm -rf /tmp/cmdrunner-demo
echo "== The command document ($document):"
cat "$document"
echo
echo "== The word passed to cmdrunner (first 120 characters of ${#word}):"
echo "$(printf '%s' "$word" | cut -c1-120)..."
echo
echo "== What cmdrunner-doc explain says it will do (nothing is run):"
"$cmdrunner_doc" explain "$word"
echo
echo "== cmdrunner's standard output:"
"$cmdrunner" "$word"
status=$?
echo
echo
echo "== Exit status as the shell sees it: $status"
echo "== What the first two commands did:"
ls -ld /tmp/cmdrunner-demo/reports
