# shellcheck shell=bash
# The program's version, read from where the program takes it: project(VERSION)
# in CMakeLists.txt, from which the build makes the version that the program
# shows, sends with the update check and carries in its version information.
# The one place that knows where the version lives.
program_version() {
    local root=${1:-.} version
    version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
    if ! [[ $version =~ ^[0-9]+(\.[0-9]+){3}$ ]]; then
        echo "program_version: no four-part version in project() of CMakeLists.txt" >&2
        return 1
    fi
    printf '%s\n' "$version"
}
