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

# The wizard and the simulator (scripts/demo); the tests add their framework and the formatter.
QUBSET_DEMO_PACKAGES=(cmake make g++ qt6-base-dev qt6-svg-dev libqt6svg6 libgl-dev
                      fonts-dejavu-core pkg-config libxcb1-dev qt6-translations-l10n
                      nlohmann-json3-dev dpkg-dev)
QUBSET_BUILD_PACKAGES=("${QUBSET_DEMO_PACKAGES[@]}" libgtest-dev clang-format)
# The Windows build draws its bitmaps and icons from the SVG sources and makes the MSI; its
# tests build googletest from its source.
QUBSET_CROSS_PACKAGES=(g++-mingw-w64-x86-64-posix librsvg2-bin imagemagick icoutils wixl googletest)
# The Windows wizard under Wine in a virtual display, its screenshots, the line relay, the
# MSI's tables.
QUBSET_WINE_PACKAGES=(wine64 xvfb xdotool imagemagick python3 msitools)
# The benchmarks' start figure on a real X server.
QUBSET_BENCH_PACKAGES=(xvfb)
# The Debian package: building and checking it (scripts/package), and installing and starting
# it in a virtual display (scripts/install-check), with what it depends on at run time.
QUBSET_PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream
                         xvfb xauth xdotool qt6-qpa-plugins
                         shared-mime-info xdg-utils libglib2.0-bin)

# Configures the shared build folder build/ as the Debian package wants it built: Debian's
# hardening flags (dpkg-buildflags, every hardening feature), so the tested program is the one
# packaged. Further arguments go to cmake.
qubset_configure_build() {
    local cpp c cxx ld
    cpp=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)
    c=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CFLAGS)
    cxx=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)
    ld=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS="$cpp $c" \
          -DCMAKE_CXX_FLAGS="$cpp $cxx" -DCMAKE_EXE_LINKER_FLAGS="$ld" \
          -DCMAKE_SHARED_LINKER_FLAGS="$ld" "$@" >/dev/null
}
