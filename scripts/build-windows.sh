#!/usr/bin/env bash
# Cross-builds Vorlith for 64-bit Windows on Debian 12 with mingw-w64.
# Usage: bash scripts/build-windows.sh [--deps-only | --no-package]
#
# Builds vorlith.exe into ${VORLITH_WINDOWS_BUILD:-build-windows} (in the clone), SDL2.dll,
# the data and the fonts beside it, then packages it there (unless --no-package):
#   vorlith-VERSION-win64.zip    a folder of the same name: the exe (stripped), SDL2.dll,
#                                model/, sound/, game.ico, fonts/ with their licence, README.txt
#   vorlith-VERSION-setup.exe    the same files installed by NSIS (dist/windows/vorlith.nsi)
#
# Installs the cross tools (install-deps.sh --windows), fetches the Debian source packages of
# the libraries the game links with and cross-builds them once into a cache outside the clone:
#   ${XDG_CACHE_HOME:-~/.cache}/vorlith-windows/sources/  the downloaded source packages
#   ${XDG_CACHE_HOME:-~/.cache}/vorlith-windows/KEY/      prefix/ (bin/SDL2.dll, include/, lib/)
# KEY is a hash of the source packages' file names (name and version), of the functions below
# that build the libraries and of the toolchain file: a new version or a changed recipe builds a
# new prefix, an unchanged one is reused as is (other keys' directories are left alone). Each
# library's build time is printed, and kept in KEY/stamps/; its log stays in KEY/work/.
# VORLITH_WINDOWS_JOBS (default 2) sets the parallel jobs.
# The prefix is not relocatable (its .pc and CMake files hold its absolute path).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
deps_only=0
package=1
case "${1:-}" in
  "") ;;
  --deps-only) deps_only=1 ;;
  --no-package) package=0 ;;
  *) echo "usage: build-windows.sh [--deps-only | --no-package]" >&2; exit 2 ;;
esac

triple=x86_64-w64-mingw32
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs="${VORLITH_WINDOWS_JOBS:-2}"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/vorlith-windows"
sources="$cache/sources"
started=$SECONDS

log() { echo "[build-windows $(date +%H:%M:%S)] $*"; }
die() { echo "build-windows: $*" >&2; exit 1; }

# ---- sources ---------------------------------------------------------------------------------

# Every version apt knows of each source package named: "NAME VERSION" lines into $versions.
declare -A versions
load_versions() {
  local name version
  while read -r name version; do
    versions[$name]+="$version "
  done < <(apt-cache showsrc --only-source "$@" |
    awk '/^Package: / { p = $2 } /^Version: / { print p, $2 }')
}

# Newest first, the versions of source package $1.
source_versions() {
  printf '%s\n' ${versions[$1]} | sort -u | sort -rV
}

# Downloads the newest version of source package $1 the mirror serves (a security update's
# files may be missing from it) into $sources; prints the .dsc's path. With $2 = orig-only a
# version counts once its upstream tarball is there (the Debian part may be missing). A version
# found missing is tried again only after apt's indexes change.
fetch_source() {
  local name="$1" mode="${2:-}" version dsc
  for version in $(source_versions "$name"); do
    dsc="$sources/${name}_${version#*:}.dsc"
    if [ ! -e "$dsc.ok" ]; then
      [ "$dsc.missing" -nt /var/lib/apt/lists ] && continue
      if ! (cd "$sources" && apt-get source --download-only -qq "$name=$version") >/dev/null 2>&1
      then
        if [ "$mode" != orig-only ] || ! compgen -G "${dsc%-*}.orig.tar.*" >/dev/null; then
          touch "$dsc.missing"
          continue
        fi
      fi
      touch "$dsc.ok"
    fi
    echo "$dsc"
    return 0
  done
  die "no version of the source package $name could be downloaded"
}

# Downloads binary package $1, built from source package $2, in that package's newest version
# into $sources (for its headers only); prints the .deb's path.
fetch_deb() {
  local version pattern
  version="$(source_versions "$2" | head -n 1)"
  pattern="$sources/${1}_${version#*:}_*.deb"
  compgen -G "$pattern" >/dev/null || (cd "$sources" && apt-get download -qq "$1=$version") \
    >/dev/null 2>&1 || die "cannot download $1"
  compgen -G "$pattern" | head -n 1
}

declare -A src
fetch_all() {
  mkdir -p "$sources"
  local name
  load_versions libsdl2 zlib libpng1.6 freetype libsdl2-ttf libsdl2-image assimp libepoxy utfcpp
  for name in libsdl2 zlib libpng1.6 freetype libsdl2-ttf libsdl2-image assimp; do
    src[$name]="$(fetch_source "$name")"
  done
  src[libepoxy]="$(fetch_source libepoxy orig-only)"
  src[libutfcpp-dev]="$(fetch_deb libutfcpp-dev utfcpp)"
}

# The sources' file names (names and versions) and the recipe: the functions below that build
# the libraries, and the toolchain file.
cache_key() {
  {
    printf '%s\n' "${src[@]##*/}" | sort
    declare -f unpack unpack_orig cmake_build install_sdl_pc \
      $(compgen -A function build_ | grep -vx build_game)
    cat "$toolchain"
  } | sha256sum | cut -c1-16
}

# Unpacks the source package $1 (a .dsc, Debian's patches applied) into ./src.
unpack() {
  dpkg-source --no-check -x "$1" src >/dev/null
}

# Unpacks only the upstream tarball of the source package $1 into ./src.
unpack_orig() {
  local tarball
  tarball="$(compgen -G "${1%-*}.orig.tar.*" | head -n 1)"
  mkdir src && tar -xf "$tarball" -C src --strip-components=1
}

# Configures, builds and installs the CMake project in ./src with the toolchain file.
cmake_build() {
  cmake -S src -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVORLITH_WINDOWS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build build -j "$jobs"
  cmake --install build
}

# Installs the pkg-config file of SDL library $1 (SDL2_ttf, SDL2_image) from src/$1.pc.in,
# which the libraries install only when built shared; $2 names its own dependencies' modules.
install_sdl_pc() {
  local major minor micro sdl
  read -r major minor micro sdl < <(for v in MAJOR_VERSION MINOR_VERSION MICRO_VERSION \
    SDL_REQUIRED_VERSION; do sed -n "s/^set($v \\(.*\\))/\\1/p" src/CMakeLists.txt; done | xargs)
  sed -e "s|@prefix@|$prefix|; s|@exec_prefix@|\${prefix}|; s|@libdir@|\${prefix}/lib|" \
    -e "s|@includedir@|\${prefix}/include|; s|@PACKAGE@|$1|; s|@VERSION@|$major.$minor.$micro|" \
    -e "s|@SDL_VERSION@|$sdl|; s|@PC_REQUIRES@|$2|; s|@PC_LIBS@||" \
    "src/$1.pc.in" >"$prefix/lib/pkgconfig/$1.pc"
}

# ---- the libraries, each built in its own empty directory -----------------------------------

build_zlib() {
  unpack "${src[zlib]}"
  cd src
  CHOST="$triple" CC="$triple-gcc-posix" AR="$triple-ar" RANLIB="$triple-ranlib" \
    ./configure --static --prefix="$prefix"
  make -j "$jobs" libz.a
  make install
}

build_libpng() {
  unpack "${src[libpng1.6]}"
  cmake_build -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
}

build_freetype() {
  unpack "${src[freetype]}"
  cmake_build -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_HARFBUZZ=ON
}

build_sdl2() {
  unpack "${src[libsdl2]}"
  cmake_build -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  "$triple-strip" "$prefix/bin/SDL2.dll"
}

build_sdl2_ttf() {
  unpack "${src[libsdl2-ttf]}"
  cmake_build -DBUILD_SHARED_LIBS=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2TTF_SAMPLES=OFF
  install_sdl_pc SDL2_ttf freetype2
}

# PNG through libpng (as on Linux, so that saved PNGs match), BMP for game.ico, TGA.
build_sdl2_image() {
  unpack "${src[libsdl2-image]}"
  cmake_build -DBUILD_SHARED_LIBS=OFF -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
    -DSDL2IMAGE_BACKEND_STB=OFF -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=ON -DSDL2IMAGE_GIF=OFF \
    -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF \
    -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=ON \
    -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF \
    -DSDL2IMAGE_XV=OFF
  install_sdl_pc SDL2_image libpng
}

# Debian's source package keeps only the upstream tarball here (its own part is not served).
build_libepoxy() {
  unpack_orig "${src[libepoxy]}"
  cat >cross.txt <<EOF
[binaries]
c = '$triple-gcc-posix'
ar = '$triple-ar'
strip = '$triple-strip'
windres = '$triple-windres'
pkg-config = 'pkg-config'

[properties]
pkg_config_libdir = '$prefix/lib/pkgconfig'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
  meson setup build src --cross-file cross.txt --prefix "$prefix" --libdir lib \
    --buildtype release -Ddefault_library=static -Dtests=false -Ddocs=false \
    -Dglx=no -Degl=no -Dx11=false
  ninja -C build -j "$jobs" install
}

# Only the .x importer, static. Debian's package links draco, minizip and utf8cpp from the
# system: draco is not needed, minizip's sources come from zlib's package and utf8cpp's
# headers from its Debian package.
build_assimp() {
  unpack "${src[assimp]}"
  patch -R -p1 -d src <src/debian/patches/use-system-libdraco.patch
  mkdir -p src/contrib/unzip sysroot
  tar -xf "$(compgen -G "${src[zlib]%-*}.orig.tar.*")" --strip-components=3 \
    -C src/contrib/unzip --wildcards '*/contrib/minizip/ioapi.[ch]' \
    '*/contrib/minizip/unzip.[ch]' '*/contrib/minizip/crypt.h'
  : >src/contrib/unzip/crypt.c  # minizip keeps its decryption in crypt.h
  dpkg-deb -x "${src[libutfcpp-dev]}" sysroot
  cmake_build -DBUILD_SHARED_LIBS=OFF -DASSIMP_BUILD_ZLIB=OFF \
    -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_X_IMPORTER=ON \
    -DASSIMP_NO_EXPORT=ON -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
    -DASSIMP_BUILD_SAMPLES=OFF -DASSIMP_INSTALL_PDB=OFF -DASSIMP_WARNINGS_AS_ERRORS=OFF \
    -DCMAKE_CXX_FLAGS="-isystem $PWD/sysroot/usr/include/utf8cpp"
}

# Runs build_$1 once per cache key in an empty directory, its output in a log; prints its time.
step() {
  local name="$1" t0=$SECONDS dir="$work/$1"
  [ -e "$stamps/$name" ] && return 0
  log "$name: building (log: $dir.log)"
  rm -rf "$dir" && mkdir -p "$dir"
  # Not in a condition, so that errexit holds inside the build function.
  set +e
  (set -e; cd "$dir"; "build_$name") >"$dir.log" 2>&1
  local status=$?
  set -e
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$dir.log" >&2
    die "$name failed; its log: $dir.log"
  fi
  rm -rf "$dir"
  echo "$((SECONDS - t0))" >"$stamps/$name"
  log "$name: built in $((SECONDS - t0)) s"
}

build_dependencies() {
  local name
  mkdir -p "$stamps" "$work" "$prefix"
  for name in zlib libpng freetype sdl2 sdl2_ttf sdl2_image libepoxy assimp; do
    step "$name"
  done
  touch "$key_dir/complete"
}

# ---- the game ---------------------------------------------------------------------------------

# Builds vorlith.exe against $prefix with the toolchain file into $build (with SDL2.dll and
# the fonts beside it) and checks that it imports no DLL of the compiler's runtime (libgcc,
# libstdc++, winpthread). Not part of the cache key.
build_game() {
  local imports
  log "game: building into $build"
  mkdir -p "$build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVORLITH_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1 ||
    { tail -n 40 "$build/configure.log" >&2; die "configuring the game failed"; }
  cmake --build "$build" -j "$jobs" --target vorlith
  imports="$("$triple-objdump" -p "$build/vorlith.exe" | sed -n 's/^\s*DLL Name: //p')"
  if grep -Eiq 'libgcc|libstdc|winpthread' <<<"$imports"; then
    die "vorlith.exe needs the compiler's runtime DLLs: $(echo $imports)"
  fi
  log "game: $build/vorlith.exe ($(stat -c %s "$build/vorlith.exe") bytes), imports: $(echo $imports)"
}

# ---- the packages -----------------------------------------------------------------------------

# Text files for Windows: CRLF line ends.
crlf() { sed 's/\r*$/\r/' "$@"; }

# The zip's folder, $stage, from the build; and $stage.files.nsh / $stage.remove.nsh, the
# installer's lines for each of its files.
stage_files() {
  local font_doc=/usr/share/doc/fonts-ipafont-gothic path dir win
  rm -rf "$stage" && mkdir -p "$stage/model" "$stage/sound" "$stage/fonts"
  "$triple-strip" -o "$stage/vorlith.exe" "$build/vorlith.exe"
  cp "$build/SDL2.dll" "$build/game.ico" "$stage/"
  cp "$root"/data/model/*.x "$stage/model/"
  cp "$root"/data/sound/*.wav "$stage/sound/"
  cp "$build"/fonts/ipag.ttf "$build"/fonts/ipagp.ttf "$stage/fonts/"
  {
    echo "ipag.ttf and ipagp.ttf are IPAGothic and IPAPGothic, version 003.03, unchanged, as"
    echo "Debian's package fonts-ipafont-gothic ships them; its copyright file follows, with the"
    echo "IPA Font License Agreement v1.0 under which they are licensed."
    echo
    cat "$font_doc/copyright"
  } | crlf >"$stage/fonts/LICENCE.txt"
  sed "s/VERSION/$version/" "$root/dist/windows/README.txt" | crlf >"$stage/README.txt"
  find "$stage" -exec touch -d @"$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)" {} +
  : >"$stage.files.nsh"
  : >"$stage.remove.nsh"
  while read -r path; do
    dir="$(dirname "$path")" win="${path//\//\\}"
    [ "$dir" = . ] && dir="" || dir="\\${dir//\//\\}"
    echo "SetOutPath \"\$INSTDIR$dir\"" >>"$stage.files.nsh"
    echo "File \"$stage/$path\"" >>"$stage.files.nsh"
    echo "Delete \"\$INSTDIR\\$win\"" >>"$stage.remove.nsh"
  done < <(cd "$stage" && find . -type f -printf '%P\n' | sort)
  (cd "$stage" && find . -mindepth 1 -type d -printf '%P\n' | sort -r) |
    sed 's|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|' >>"$stage.remove.nsh"
}

# The zip and the installer from $stage.
package_game() {
  local name="vorlith-$version-win64" size_kb
  stage="$build/package/$name"
  log "packages: staging $stage"
  stage_files
  rm -f "$build/$name.zip"
  (cd "$build/package" && zip -q -r -X -9 "$build/$name.zip" "$name")
  size_kb="$(du -sk --apparent-size "$stage" | cut -f1)"
  makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DSIZE_KB="$size_kb" \
    -DOUTFILE="$build/vorlith-$version-setup.exe" "$root/dist/windows/vorlith.nsi" >&2
  log "packages: $build/$name.zip ($(stat -c %s "$build/$name.zip") bytes)," \
    "$build/vorlith-$version-setup.exe ($(stat -c %s "$build/vorlith-$version-setup.exe") bytes)"
}

# ---- main -------------------------------------------------------------------------------------

bash "$root/scripts/install-deps.sh" --windows
fetch_all
key="$(cache_key)"
build="${VORLITH_WINDOWS_BUILD:-$root/build-windows}"
key_dir="$cache/$key"
prefix="$key_dir/prefix"
stamps="$key_dir/stamps"
work="$key_dir/work"
if [ -e "$key_dir/complete" ]; then
  log "dependencies from the cache: $prefix"
else
  log "building the dependencies into $prefix"
  build_dependencies
fi
log "dependencies ready after $((SECONDS - started)) s"
[ "$deps_only" -eq 1 ] && exit 0
build_game
version="$(sed -n 's/^project(vorlith VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ "$package" -eq 0 ] || package_game
