# Shared by the scripts: package installation and the build.

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Installs the Debian packages among the arguments that are not installed yet: with apt-get as
# root, through sudo otherwise.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local run=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "error: these packages are missing and sudo is not available: ${missing[*]}" >&2
            return 1
        fi
        run=(sudo)
    fi
    "${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building needs.
build_packages=(cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-dev-tools
                libgl-dev qt6-tools-dev qt6-tools-dev-tools libqt6opengl6-dev
                libfontconfig-dev fonts-dejavu-core fonts-liberation2)
# Qt 6.4 (Debian 12) names the Wayland display only in a private header.
if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ]; then
    build_packages+=(qt6-base-private-dev)
fi

# Configures and builds into the given folder with the given build type and extra options.
build_tree() {
    local dir="$1" type="$2"
    shift 2
    cmake -S "$repo_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir"
}
