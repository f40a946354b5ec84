# Shared by scripts/run and scripts/test: install what is missing, then build.
# Everything the program and its tests need comes from Debian packages.

QUELVARA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
  libjpeg-dev libbenchmark-dev
  # the font the print version embeds
  fonts-dejavu-core
)

# The checks beyond the test suite (fuzzing, the sanitizer build) need clang,
# its sanitizer and libFuzzer runtimes, and llvm-symbolizer for readable reports.
QUELVARA_CHECK_PACKAGES=(clang libclang-rt-dev llvm)

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUELVARA_BUILD_DIR:-$root_dir/build}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the named Debian packages that are not installed yet.
install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Instalando pacotes: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Configures $build_dir once.
configure_build() {
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    local launcher=()
    # A compiler cache, where one is installed, makes rebuilds of other checkouts cheap.
    if command -v ccache >/dev/null 2>&1; then
      launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$root_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
  fi
}

# Configures (once) and builds everything in $build_dir.
build_all() {
  configure_build
  cmake --build "$build_dir" --parallel "$(nproc)"
}

# Configures (once) and builds the program alone in $build_dir.
build_program() {
  configure_build
  cmake --build "$build_dir" --parallel "$(nproc)" --target quelvara
}

# Configures (once) and builds the targets named after the options, in a build
# directory of its own, with clang.
build_with_clang() {
  local dir=$1
  shift
  local targets=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    targets+=(--target "$1")
    shift
  done
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
      launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    CXX=clang++ cmake -S "$root_dir" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUELVARA_BUILD_BENCH=OFF "${launcher[@]}" "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
}
