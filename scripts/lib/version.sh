# shellcheck shell=bash
# The program's version, read from where the program takes it: the version that
# it shows and sends with the update check (src/app/Product.h), which must agree
# with the version information compiled into Kavrolt.exe (resources/Version.rc).
# The one place that knows where the version lives.
program_version() {
    local root=${1:-.} shown compiled
    shown=$(sed -n 's/.*kProgramVersion = u"\([^"]*\)";.*/\1/p' "$root/src/app/Product.h")
    compiled=$(sed -n 's/^[[:space:]]*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$root/resources/Version.rc")
    if ! [[ $shown =~ ^[0-9]+(\.[0-9]+){1,3}$ ]]; then
        echo "program_version: no version found in src/app/Product.h" >&2
        return 1
    fi
    if [[ $shown != "$compiled" ]]; then
        echo "program_version: src/app/Product.h has $shown, resources/Version.rc has ${compiled:-none}" >&2
        return 1
    fi
    printf '%s\n' "$shown"
}
