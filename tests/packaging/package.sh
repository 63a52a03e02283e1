#!/bin/sh
# Builds the source package and both binary packages from a copy of the source tree, as a user
# would with dpkg-buildpackage (without the tests, which the main build runs already), then checks
# what each package holds, that kt63-table's dependencies name no Qt library, and that lintian
# finds no error and no warning.
# Usage: package.sh SOURCE OUT
set -eu
source=$1 out=$2

for tool in dpkg-buildpackage dh lintian git; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/deps.sh installs it)"
        exit 77
    fi
done
if ! git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "skipped: $source is not a git checkout, so which of its files make the source is unknown"
    exit 77
fi

# dpkg-buildpackage writes into the tree and beside it, so it builds a copy in OUT: the files
# that git holds or would take, changes not yet committed included.
rm -rf "$out"
tree=$out/kt63ue
mkdir -p "$tree"
(
    cd "$source"
    git ls-files -z --cached --others --exclude-standard |
        xargs -0 sh -c 'for file; do [ -e "$file" ] && printf "%s\0" "$file"; done' sh |
        tar --null -T - -cf -
) | tar -xf - -C "$tree"

# -J with no number of jobs puts a bare "parallel" into DEB_BUILD_OPTIONS, which debhelper reads
# as one job: the number is given.
if ! (cd "$tree" && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -J"$(nproc)" --build-profiles=nocheck) \
    >"$out/build.log" 2>&1; then
    tail -n 60 "$out/build.log"
    exit 1
fi
rm -rf "$tree"

# What each package holds: the program, its manual page and the documents, and nothing else.
contents() {
    dpkg-deb --contents "$out/$1"_*_*.deb | awk '$1 !~ /^d/ {print $6}' | sort
}
expect_contents() {
    package=$1 expected=$2
    files=$(contents "$package")
    if [ "$files" != "$expected" ]; then
        printf '%s holds:\n%s\nexpected:\n%s\n' "$package" "$files" "$expected"
        exit 1
    fi
}
expect_contents kt63ue './usr/bin/kt63ue
./usr/share/doc/kt63ue/README.md.gz
./usr/share/doc/kt63ue/changelog.gz
./usr/share/doc/kt63ue/copyright
./usr/share/man/man1/kt63ue.1.gz'
expect_contents kt63-table './usr/bin/kt63-table
./usr/share/doc/kt63-table/README.md.gz
./usr/share/doc/kt63-table/changelog.gz
./usr/share/doc/kt63-table/copyright
./usr/share/man/man1/kt63-table.1.gz'

for deb in "$out"/kt63ue_*.deb "$out"/kt63-table_*.deb; do
    dpkg-deb --info "$deb"
    # A search path or a file name of the build tree left in a program would not exist on the
    # user's machine.
    if dpkg-deb --fsys-tarfile "$deb" | grep -aqF "$tree"; then
        echo "$deb names the build tree $tree"
        exit 1
    fi
done

# The table tool is for machines without a display: nothing of Qt may come with it.
relations=$(dpkg-deb --field "$out"/kt63-table_*.deb Pre-Depends Depends Recommends)
if printf '%s\n' "$relations" | grep -i qt; then
    echo "kt63-table's dependencies name Qt"
    exit 1
fi

lintian --pedantic --fail-on error,warning "$out"/kt63ue_*.changes
