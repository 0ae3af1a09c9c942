# Debian 12 packages the build, the tests and the demo need. Installed only when missing.
QX_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libpugixml-dev libzip-dev zipcmp zipmerge ziptool zlib1g-dev libgcrypt20-dev libelf-dev
    libgtest-dev libgmock-dev libcrypto++-dev libxml2-utils
    util-linux fonts-dejavu-core
)

qx_install_dependencies()
{
    local missing=()
    local pkg
    for pkg in "${QX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing missing packages: ${missing[*]}"
        local sudo=()
        [[ $(id -u) -eq 0 ]] || sudo=(sudo)
        "${sudo[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}
