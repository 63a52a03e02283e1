# Sourced by the scripts that build Windows libraries from Debian's source packages.

# `apt-get source` needs a source entry for the suite the machine runs.
ensure_source_entry() {
    local suite sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    if grep -rqsE "^(Types:.*deb-src|deb-src .* $suite )" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    echo "Adding a deb-src entry for $suite"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$suite" | $sudo tee /etc/apt/sources.list.d/kt63-deb-src.sources >/dev/null
    $sudo apt-get update -qq
}
