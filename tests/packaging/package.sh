#!/bin/sh
# Builds the Debian package from a finished build tree into OUT, checks that it holds exactly
# the programs, their manual pages and the documents, and nothing of the build tree, and that
# lintian finds no error and no warning.
# Usage: package.sh CPACK BUILD OUT
set -eu
cpack=$1 build=$2 out=$3

for tool in dpkg-deb dpkg-shlibdeps lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/deps.sh installs it)"
        exit 77
    fi
done

rm -rf "$out"
mkdir -p "$out"
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
deb=$(echo "$out"/kt63ue_*.deb)
dpkg-deb --info "$deb"

files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
expected='./usr/bin/kt63-table
./usr/bin/kt63ue
./usr/share/doc/kt63ue/README.md
./usr/share/doc/kt63ue/changelog.gz
./usr/share/doc/kt63ue/copyright
./usr/share/man/man1/kt63-table.1.gz
./usr/share/man/man1/kt63ue.1.gz'
if [ "$files" != "$expected" ]; then
    printf 'The package holds:\n%s\nexpected:\n%s\n' "$files" "$expected"
    exit 1
fi
# A search path or a file name of the build tree left in a program would not exist on the
# user's machine.
if dpkg-deb --fsys-tarfile "$deb" | grep -aqF "$build"; then
    echo "The package names the build tree $build"
    exit 1
fi

# The changelog's latest entry must be this version: lintian does not compare them.
version=$(dpkg-deb --field "$deb" Version)
latest=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/kt63ue/changelog.gz | gzip -dc |
    head -n 1)
case $latest in
"kt63ue ($version) "*) ;;
*)
    echo "packaging/changelog begins with \"$latest\", not with version $version"
    exit 1
    ;;
esac

lintian --fail-on error,warning "$deb"
