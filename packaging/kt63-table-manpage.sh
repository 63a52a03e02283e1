#!/bin/sh
# Writes kt63-table's manual page from the program's own help texts. help2man reads one help
# text, but kt63-table has one for itself and one for each command it lists; so help2man runs
# this script in the program's place, and the script joins them: every command's usage line
# goes under the program's own (the synopsis), then a Commands section holds each command's
# description, arguments and options.
# Usage: kt63-table-manpage.sh PROGRAM VERSION INCLUDE OUTPUT
set -eu

if [ $# -eq 1 ] && [ "$1" = --help ]; then
    table=$KT63_TABLE
    main=$("$table" --help)
    commands=$(printf '%s\n' "$main" | sed -n '/^Subcommands:$/,/^$/s/^  \([^ ][^ ]*\).*/\1/p')
    if [ -z "$commands" ]; then
        echo "$0: $table --help lists no commands under \"Subcommands:\"" >&2
        exit 1
    fi
    printf '%s\n' "$main" | sed '/^Subcommands:$/,$d' | while IFS= read -r line; do
        printf '%s\n' "$line"
        case $line in
        Usage:*)
            for command in $commands; do
                "$table" "$command" --help | sed -n 's/^Usage: /   or: /p'
            done
            ;;
        esac
    done
    # "*Commands*" starts a section of that name; "dump:" over an indented line, a subsection.
    # The "Positionals:" and "Options:" headings go: the latter would start the OPTIONS section.
    echo '*Commands*'
    for command in $commands; do
        printf '\n%s:\n' "$command"
        "$table" "$command" --help |
            sed -e '/^Usage: /d' -e '/^[A-Z][a-z]*:$/d' -e '/^$/d' -e '1s/^/ /'
    done
    exit 0
fi

if [ $# -ne 4 ]; then
    echo "usage: $0 PROGRAM VERSION INCLUDE OUTPUT" >&2
    exit 2
fi
KT63_TABLE=$1 help2man --no-info --section=1 --version-string="kt63-table $2" \
    --name="dump, compare, check and patch the weapon tables of a game's data file" \
    --include="$3" --output="$4.help2man" "$0"
# A command's description is a plain paragraph under its subsection, not an indented one.
sed '/^\.SS /{n;s/^\.IP$/.PP/;}' "$4.help2man" >"$4"
rm "$4.help2man"
