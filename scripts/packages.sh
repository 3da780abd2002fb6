# Installs the Debian packages the build needs when any is missing. Sourced by the scripts.
qubset_ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

QUBSET_BUILD_PACKAGES=(cmake make g++ libgtest-dev qt6-base-dev qt6-svg-dev libqt6svg6
                       libgl-dev fonts-dejavu-core pkg-config libxcb1-dev qt6-translations-l10n
                       clang-format nlohmann-json3-dev)
# The Windows build draws its bitmaps and icons from the SVG sources and makes the MSI; its
# tests build googletest from its source.
QUBSET_CROSS_PACKAGES=(g++-mingw-w64-x86-64-posix librsvg2-bin imagemagick icoutils wixl googletest)
# The Windows wizard under Wine in a virtual display, its screenshots, the line relay.
QUBSET_WINE_PACKAGES=(wine64 xvfb xdotool imagemagick python3)
# The benchmarks' start figure on a real X server.
QUBSET_BENCH_PACKAGES=(xvfb)
# The Debian package: building and checking it (scripts/package), and installing and starting
# it in a virtual display (scripts/install-check), with what it depends on at run time.
QUBSET_PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream
                         xvfb xauth xdotool qt6-qpa-plugins)
