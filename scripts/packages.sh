# Installs the Debian/Ubuntu packages that the build needs, when missing,
# with any more packages given as arguments. Sourced by run.sh and test.sh.
# The Python packages build and test the package halovane.

# For the Windows build and its tests: the MinGW-w64 cross compiler (its
# posix thread model gives std::thread), GoogleTest's sources to build for
# it, and Wine to run the .exe files.
halovane_windows_packages=(g++-mingw-w64-x86-64-posix googletest wine wine64)

halovane_install_packages() {
    local wanted=(build-essential cmake pkg-config libgtest-dev qt6-base-dev qt6-svg-dev libgl-dev
                  libxkbcommon-dev fonts-dejavu-core xvfb xauth xdotool libx11-dev
                  python3-dev python3-pybind11 python3-numpy python3-pandas python3-pytest python3-distributed
                  python3-setuptools python3-pip python3-venv "$@")
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
