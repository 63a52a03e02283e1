#!/bin/sh
# Unpacks the packages that package.sh built in OUT into a temporary root, as dpkg would install
# them, then runs kt63-table from there and renders both manual pages, which must cover every
# command that the program lists, give no warning and name the packages' version.
# Usage: unpacked.sh OUT
set -eu
if ! command -v man >/dev/null; then
    echo "skipped: man is not installed (scripts/deps.sh installs man-db)"
    exit 77
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "$1"/kt63ue_*.deb "$1"/kt63-table_*.deb; do
    dpkg -x "$deb" "$root"
done

help=$("$root/usr/bin/kt63-table" --help)
printf '%s\n' "$help" | grep -q '^Usage: kt63-table '

# kt63ue's page names the window's Japanese menu items: render in UTF-8, as lintian does.
export LC_ALL=C.UTF-8 MANWIDTH=80
# The pages take their version from the build, the packages from debian/changelog.
version=$(dpkg-deb --field "$1"/kt63ue_*.deb Version)
for page in kt63ue kt63-table; do
    file=$root/usr/share/man/man1/$page.1.gz
    warnings=$(man -l --warnings "$file" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        printf '%s.1:\n%s\n' "$page" "$warnings"
        exit 1
    fi
    if ! gzip -dc "$file" | grep -q "^\.TH .*\"$page $version\""; then
        echo "$page.1 does not name version $version of debian/changelog"
        exit 1
    fi
done
table_page=$(man -l "$root/usr/share/man/man1/kt63-table.1.gz")
commands=$(printf '%s\n' "$help" | sed -n '/^Subcommands:$/,/^$/s/^  \([^ ][^ ]*\).*/\1/p')
if [ -z "$commands" ]; then
    echo "kt63-table --help lists no commands: the manual page cannot be checked against them"
    exit 1
fi
for command in $commands; do
    if ! printf '%s\n' "$table_page" | grep -q "^   $command:\$"; then
        echo "kt63-table.1 has no section for the command $command"
        exit 1
    fi
done
echo "kt63-table runs and both manual pages render from $root"
