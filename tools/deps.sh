# Sourced by tools/run and tools/check: installs the Debian packages given as
# arguments when any of them is missing.
install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev libfontconfig-dev fonts-wqy-microhei librsvg2-bin)

# What the arm64 cross build needs beside that: Debian's cross compiler,
# qemu-user for its tests, and the arm64 libraries (multiarch).
ARM64_PACKAGES=(g++-aarch64-linux-gnu qemu-user qt6-base-dev:arm64 libgl-dev:arm64 libxcb1-dev:arm64
                libfontconfig-dev:arm64 libgtest-dev:arm64)
add_arm64() {
    dpkg --print-foreign-architectures | grep -qx arm64 && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" dpkg --add-architecture arm64
}
