#!/bin/sh
# Builds the Debian package, checks the files and fields it holds, then uses
# the unpacked files as an installed system would: both programs, the man
# pages, and the client library from an outside C++ program.
#   package_test.sh BUILD_DIR SOURCE_DIR LIBDIR CXX
set -eu
build=$1 source=$2 libdir=$3 cxx=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
set -- "$work"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb, found: $*"
deb=$1

# Exactly these files, no test helpers.
dpkg-deb -c "$deb" >"$work/listing"
awk '{print $6}' "$work/listing" | grep -v '/$' | sort >"$work/actual"
{
  echo ./usr/bin/cmdrunner
  echo ./usr/bin/cmdrunner-doc
  echo ./usr/include/cmdrunner/client.h
  echo "./usr/$libdir/libcmdrunner-client.a"
  echo "./usr/$libdir/pkgconfig/cmdrunner-client.pc"
  echo ./usr/share/doc/cmdrunner/README.md
  for f in "$source"/examples/*.xml "$source"/examples/*.cpp; do
    echo "./usr/share/doc/cmdrunner/examples/${f##*/}"
  done
  echo ./usr/share/man/man1/cmdrunner.1.gz
  echo ./usr/share/man/man1/cmdrunner-doc.1.gz
} | sort >"$work/expected"
diff -u "$work/expected" "$work/actual" >&2 || fail "the package's files differ from the list above"
for program in cmdrunner cmdrunner-doc; do
  grep -q "^-rwxr-xr-x root/root .* ./usr/bin/$program\$" "$work/listing" || fail "$program is not 0755 root:root"
done

[ "$(dpkg-deb -f "$deb" Package)" = cmdrunner ] || fail "wrong Package field"
dpkg-deb -f "$deb" Depends | grep -q 'libxml2' || fail "Depends lacks libxml2: $(dpkg-deb -f "$deb" Depends)"
version=$(dpkg-deb -f "$deb" Version)

root=$work/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin

# The programs.
[ "$("$bin/cmdrunner-doc" --version)" = "cmdrunner-doc $version" ] || fail "cmdrunner-doc --version"
word=$("$bin/cmdrunner-doc" encode <<EOF
<job><commands><command>
  <tool_path>/bin/sh</tool_path>
  <arguments>
    <argument><value>-c</value></argument>
    <argument><value>printf '%s' "\$1" > "\$2"</value></argument>
    <argument><value>sh</value></argument>
    <argument><value>ran &amp; done</value></argument>
    <argument><value>$work/ran</value></argument>
  </arguments>
  <fail_on_error>true</fail_on_error>
</command></commands></job>
EOF
)
out=$("$bin/cmdrunner" "$word") || fail "cmdrunner exited with $?: $out"
[ -z "$out" ] || fail "cmdrunner wrote: $out"
[ "$(cat "$work/ran")" = "ran & done" ] || fail "the tool did not get its arguments"

# The man pages, as man finds them compressed.
for page in cmdrunner cmdrunner-doc; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1.gz: $warnings"
done

# The client library, from outside this tree.
flags=$(PKG_CONFIG_PATH="$root/usr/$libdir/pkgconfig" pkg-config --cflags --libs cmdrunner-client) ||
  fail "pkg-config cannot find cmdrunner-client"
"$cxx" -std=c++20 "$source/examples/client_example.cpp" $flags -o "$work/client_example" || fail "client_example does not build"
"$work/client_example" "$bin/cmdrunner" "$work/my folder" >/dev/null || fail "client_example failed"
[ "$(stat -c %a "$work/my folder")" = 750 ] || fail "client_example did not set the folder's mode"
echo "package_test: $(basename "$deb") holds $(wc -l <"$work/actual") files and works unpacked"
