#!/bin/sh
# Renders a man page as man(1) does and fails on any warning, or when the
# rendered page lacks a section every page of ours has.
set -eu
page=$1
export LC_ALL=C.UTF-8 MANWIDTH=80
warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  printf '%s\n' "$warnings" >&2
  exit 1
fi
rendered=$(man -l "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" EXAMPLES "SEE ALSO"; do
  if ! printf '%s\n' "$rendered" | grep -qx "$section"; then
    echo "$page: no $section section when rendered" >&2
    exit 1
  fi
done
