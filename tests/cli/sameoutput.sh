#!/usr/bin/env bash
# sameoutput.sh LINUX_BUILD WINDOWS_PROGRAM RUNNER...
# Writes a sample data file and name list into a folder with a Japanese name, runs the same
# commands there with the Linux kt63-table and with the Windows one (through RUNNER, Wine), and
# compares their exit statuses, standard output and error, and the files they wrote, byte for
# byte. Exit status 77 (skipped) when the Linux programs are not built or there is no runner.
set -euo pipefail
linux_build=$(realpath "$1")
windows_program=$(realpath "$2")
shift 2
runner=("$@")
linux_program=$linux_build/src/cli/kt63-table
sample_program=$linux_build/tools/sample/kt63-sample

for program in "$linux_program" "$sample_program"; do
    if [ ! -x "$program" ]; then
        echo "skipped: $program is not built (cmake --build build --target kt63-table kt63-sample)"
        exit 77
    fi
done
if [ ${#runner[@]} -eq 0 ]; then
    echo "skipped: nothing here runs Windows programs (Wine is not installed)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/兵器データ
mkdir -p "$folder/linux" "$folder/windows"
"$sample_program" "$folder" 1 >/dev/null
cd "$folder"

linux() { "$linux_program" "$@"; }
windows() { "${runner[@]}" "$windows_program" "$@"; }

failures=0

# The sample data file by an absolute path, as each system writes one: on Wine's drive Z:, which
# is the Linux root, for Windows.
absolute_linux=$folder/Qelvint.dll
absolute_windows=Z:$(printf '%s' "$folder/Qelvint.dll" | tr / '\\')

# Runs one command with both programs, each in its own folder under the sample's, and compares
# everything they gave and wrote. The argument ABSOLUTE stands for the sample data file's
# absolute path.
same() {
    local name=$1 system status argument
    shift
    for system in linux windows; do
        local arguments=()
        for argument in "$@"; do
            if [ "$argument" = ABSOLUTE ]; then
                local absolute=absolute_$system
                argument=${!absolute}
            fi
            arguments+=("$argument")
        done
        mkdir -p "$system/$name"
        status=0
        (cd "$system/$name" && "$system" "${arguments[@]}" >../"$name.out" 2>../"$name.err") ||
            status=$?
        echo "$status" >"$system/$name.status"
    done
    if ! diff -r linux windows >"$work/differences"; then
        echo "FAIL $name: the Windows program differs"
        head -n 20 "$work/differences"
        failures=$((failures + 1))
    else
        echo "same $name (exit status $(cat "linux/$name.status"))"
    fi
}

same dump_csv_folder dump ../../Qelvint.dll --names ../../WN.dat --out 表
same dump_json dump ../../Qelvint.dll --names ../../WN.dat --format json
same dump_one_table dump ../../Qelvint.dll --names ../../WN.dat --table weapons --out 兵器.csv
same check check ../../Qelvint.dll
same check_json check ../../Qelvint.dll --json
linux check Qelvint.dll --json >fix.json || true
cp Qelvint.dll linux/copy.dll
cp Qelvint.dll windows/copy.dll
same apply_dry_run apply --dry-run ../copy.dll ../../fix.json
same apply apply ../copy.dll ../../fix.json
same diff diff ../../Qelvint.dll ../copy.dll
same diff_json diff ../../Qelvint.dll ../copy.dll --json
same missing_file dump ../../なし.dll
same bad_option dump ../../Qelvint.dll --format xml
same absolute_path check ABSOLUTE

exit $((failures > 0))
