#!/usr/bin/env bash
# Installs everything the native, Windows and fuzz builds and their tests need:
# Debian packages, the zh_CN.UTF-8 locale, MinGW builds of GoogleTest and
# libpng in a cache outside the source tree, and an initialised Wine prefix.
# Safe to run again: every step checks first and skips what is already there.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
cache=${INKMOSS_CACHE:-/var/cache/inkmoss}
prefix=$cache/mingw
toolchain=$root/cmake/toolchain-mingw.cmake
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build g++ clang llvm libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb openbox x11-utils xdotool imagemagick
  locales fontconfig fonts-wqy-microhei
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1
  libxfixes3 libxxf86vm1
  dpkg-dev
)
src_list=/etc/apt/sources.list.d/inkmoss-deb-src.sources
src_one_line=/etc/apt/sources.list.d/inkmoss-deb-src.list

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

step() { printf '\n== %s\n' "$*"; }

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" = installed ] || echo "$p"
  done
}

# A stamp records what a cached build was made with (a package version, the
# toolchain file); when that changes the build is redone.
stamp_text() { printf '%s\n' "$@" "$(sha256sum "$toolchain" | cut -d' ' -f1)"; }
is_current() { [ -f "$1" ] && [ "$(cat "$1")" = "$(stamp_text "${@:2}")" ]; }

has_source_index() { [ -n "$(apt-cache showsrc libpng1.6 2>/dev/null)" ]; }

# deb-src entries mirroring the machine's own Debian entries, so the archive
# used for sources is whatever this machine is already set up to use.
write_source_entries() {
  local f
  if compgen -G '/etc/apt/sources.list.d/*.sources' >/dev/null; then
    for f in /etc/apt/sources.list.d/*.sources; do
      [ "$f" = "$src_list" ] && continue
      awk '
        function flush() { if (keep) printf "%s\n", stanza; stanza = ""; keep = 0 }
        /^[[:space:]]*$/ { flush(); next }
        /^Types:/ { $0 = "Types: deb-src" }
        /^URIs:/ && /\/debian(-security)?\/?([[:space:]]|$)/ { keep = 1 }
        { stanza = stanza $0 "\n" }
        END { flush() }' "$f"
    done | as_root tee "$src_list" >/dev/null
  fi
  if [ -f /etc/apt/sources.list ]; then
    sed -n -E 's|^[[:space:]]*deb[[:space:]]+(.*/debian(-security)?/?[[:space:]].*)|deb-src \1|p' \
      /etc/apt/sources.list | as_root tee "$src_one_line" >/dev/null
  fi
  [ -s "$src_list" ] || as_root rm -f "$src_list"
  [ -s "$src_one_line" ] || as_root rm -f "$src_one_line"
}

install_packages() {
  local missing need_sources=0
  mapfile -t missing < <(missing_packages)
  if ! is_current "$prefix/.libpng.stamp" libpng1.6 && ! has_source_index; then
    need_sources=1
  fi
  if [ "${#missing[@]}" -eq 0 ] && [ "$need_sources" -eq 0 ]; then
    echo "all packages present"
    return
  fi
  [ "$need_sources" -eq 0 ] || write_source_entries
  as_root apt-get update
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# Newest first. The archive may list a version in its index yet no longer
# serve its files, so each one is a candidate rather than a promise.
libpng_versions() {
  apt-cache showsrc libpng1.6 2>/dev/null | sed -n 's/^Version: //p' | sort -rVu
}

make_locale() {
  if grep -qix 'zh_CN.utf8' < <(locale -a); then
    echo "zh_CN.UTF-8 present"
    return
  fi
  as_root sed -i -E 's/^#[[:space:]]*(zh_CN\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
}

mingw_cmake() {
  local src=$1 build=$2
  shift 2
  cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_INSTALL_MESSAGE=NEVER \
    "$@"
  cmake --build "$build"
  cmake --install "$build"
}

build_googletest() {
  local version stamp=$prefix/.googletest.stamp
  version=$(dpkg-query -W -f='${Version}' googletest)
  if is_current "$stamp" "$version"; then
    echo "GoogleTest $version already built"
    return
  fi
  rm -rf "$cache/build/googletest"
  mingw_cmake /usr/src/googletest "$cache/build/googletest" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
  stamp_text "$version" >"$stamp"
}

build_libpng() {
  local stamp=$prefix/.libpng.stamp version fetched='' src
  if is_current "$stamp" libpng1.6; then
    echo "libpng already built"
    return
  fi
  rm -rf "$cache/src/libpng" "$cache/build/libpng"
  mkdir -p "$cache/src/libpng"
  for version in $(libpng_versions); do
    if (cd "$cache/src/libpng" && apt-get source "libpng1.6=$version"); then
      fetched=$version
      break
    fi
    rm -rf "${cache:?}/src/libpng/"*
  done
  [ -n "$fetched" ] || { echo "could not fetch the source of libpng1.6" >&2; return 1; }
  src=$(find "$cache/src/libpng" -mindepth 1 -maxdepth 1 -type d -name 'libpng1.6-*')
  echo "building libpng $fetched from $src"
  mingw_cmake "$src" "$cache/build/libpng" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_FILES=ON
  stamp_text libpng1.6 >"$stamp"
}

init_wine_prefix() {
  # Sourcing starts a private X server, initialises the prefix when it is
  # new, and leaves it ready; nothing of it needs to outlive this script.
  # shellcheck source=scripts/wine-env.sh
  source "$here/wine-env.sh"
  inkmoss_wine_cleanup
}

step "Debian packages"
install_packages
step "Locale"
make_locale
as_root mkdir -p "$cache"
as_root chown "$(id -u):$(id -g)" "$cache"
mkdir -p "$prefix"
step "GoogleTest for MinGW"
build_googletest
step "libpng for MinGW"
build_libpng
step "Wine prefix"
init_wine_prefix

step "Ready"
cat <<EOF
cache:            $cache
MinGW libraries:  $prefix (include/, lib/, lib/cmake/GTest)
MinGW zlib:       /usr/x86_64-w64-mingw32 (Debian's libz-mingw-w64-dev)
Wine prefix:      $WINEPREFIX
toolchain file:   $toolchain
EOF
