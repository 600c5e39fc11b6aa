# Shared by run.sh and test.sh: install what is missing, then build.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_packages [LIST]: the packages of LIST (default scripts/packages.txt) not installed yet.
install_packages() {
    local list=${1:-$top/scripts/packages.txt} missing=() package
    while read -r package; do
        dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed \
            || missing+=("$package")
    done < "$list"
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# The number tests run once under a German locale, which writes "20,5" for 20.5.
ensure_german_locale() {
    if locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
        return
    fi
    as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    as_root locale-gen
}

# build <folder> [cmake options...]
build() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        ${KELVARA_WERROR:+-DKELVARA_WERROR=$KELVARA_WERROR} "$@"
    cmake --build "$dir" -j "$(nproc)"
}
