#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack` make of a finished build.
#
#   check_install.sh consumer BUILD_DIR SOURCE_DIR CC CXX
#     Installs into a temporary prefix and moves the tree elsewhere (it must be
#     relocatable), checks that every file of BUILD_DIR/install-expected.txt is there and
#     that no installed file names the source or build folder, then builds and runs the
#     C++ example host through find_package(Kelvane) and the C example host through
#     pkg-config (each a UTM round trip), and runs the installed `kelvane --version`.
#     CFLAGS, CXXFLAGS and LDFLAGS from the environment reach both host builds.
#
#   check_install.sh package BUILD_DIR SOURCE_DIR
#     Builds the .tar.gz and the .deb with cpack and checks that each holds every
#     expected file, and that the program unpacked from the .deb runs.
#
# BUILD_DIR is the project's own build folder; the version expected everywhere is the
# one its generated version header carries. Everything is written below
# BUILD_DIR/install-check.
set -euo pipefail

mode=$1 build=$(cd "$2" && pwd) src=$(cd "$3" && pwd)
version=$(sed -n 's/^#define KELVANE_VERSION "\(.*\)"$/\1/p' "$build/include/kelvane/version.h")
[ -n "$version" ] || { echo "install check: no version in $build/include/kelvane/version.h" >&2; exit 2; }
work=$build/install-check/$mode
expected=$build/install-expected.txt
rm -rf "$work" && mkdir -p "$work"
failed=0
fail() { echo "install check: $*" >&2; failed=1; }

# Every expected file must appear in the listing on stdin, below the prefix $1.
check_listing() {
    local listing
    listing=$(cat)
    while read -r f; do
        [ -n "$f" ] || continue
        grep -qxF "$1$f" <<<"$listing" || fail "missing from the $2: $f"
    done <"$expected"
}

expected_path() { grep -m1 -E "$1" "$expected"; }
program=$(expected_path '/kelvane$' || true)

if [ "$mode" = consumer ]; then
    cc=$4 cxx=$5
    cmake --install "$build" --prefix "$work/staged" >"$work/install.log"
    mv "$work/staged" "$work/prefix"
    prefix=$work/prefix
    (cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||') | check_listing "" "installed tree"
    # Text files must not name the source or build folder, nor the binaries' search paths
    # (debug information may: it says where the sources were compiled).
    if grep -rlIF -e "$src" -e "$build" "$prefix" >"$work/paths.txt"; then
        fail "installed files naming the source or build folder: $(tr '\n' ' ' <"$work/paths.txt")"
    fi
    while IFS= read -r f; do
        if readelf -d "$f" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF -e "$src" -e "$build"; then
            fail "$f searches the build tree for libraries"
        fi
    done < <(find "$prefix" -type f)

    lib=$(expected_path "libkelvane\\.so\\.${version%%.*}$")
    soname=$(readelf -d "$prefix/$lib" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
    [ "$soname" = "$(basename "$lib")" ] || fail "SONAME is '$soname', expected $(basename "$lib")"

    grep -qF "set(PACKAGE_VERSION \"$version\")" "$prefix/$(expected_path 'KelvaneConfigVersion\.cmake$')" ||
        fail "KelvaneConfigVersion.cmake does not give version $version"

    # A C++ host through the CMake package.
    if ! CXXFLAGS="-Wall -Wextra -Werror ${CXXFLAGS:-}" cmake -S "$src/examples/find_package" -B "$work/cxx-host" \
            -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >"$work/cxx-host.log" 2>&1 ||
       ! cmake --build "$work/cxx-host" >>"$work/cxx-host.log" 2>&1; then
        cat "$work/cxx-host.log" >&2
        fail "the find_package host did not build"
    elif ! "$work/cxx-host/kelvane_host"; then
        fail "the find_package host failed"
    fi

    # A C host through pkg-config.
    pcdir=$prefix/$(dirname "$(expected_path '/kelvane\.pc$')")
    pcversion=$(PKG_CONFIG_PATH=$pcdir pkg-config --modversion kelvane)
    [ "$pcversion" = "$version" ] || fail "pkg-config says version '$pcversion', expected $version"
    # The host is compiled as C; under the sanitizers it is linked by the C++ driver, which
    # brings the C++ parts of their runtime (clang keeps them apart from the C parts).
    linker=$cc
    case "${CFLAGS:-}" in *-fsanitize*) linker=$cxx ;; esac
    # shellcheck disable=SC2046,SC2086
    if ! "$cc" -std=c99 -Wall -Wextra -Wpedantic -Werror ${CFLAGS:-} -c "$src/examples/host_example.c" \
            $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags kelvane) -o "$work/c-host.o" ||
       ! "$linker" ${CFLAGS:-} "$work/c-host.o" $(PKG_CONFIG_PATH=$pcdir pkg-config --libs kelvane) -lm ${LDFLAGS:-} \
            -o "$work/c-host"; then
        fail "the pkg-config host did not build"
    elif ! LD_LIBRARY_PATH=$(dirname "$prefix/$lib") "$work/c-host"; then
        fail "the pkg-config host failed"
    fi

    # The program finds its library relative to itself.
    if [ -n "$program" ]; then
        out=$("$prefix/$program" --version) || fail "the installed kelvane --version failed"
        [ "$out" = "kelvane $version" ] || fail "kelvane --version printed '$out'"
    fi
    manpage=$(expected_path '/kelvane\.1$' || true)
    if [ -n "$manpage" ] && command -v man >/dev/null; then
        MANWIDTH=80 man -l "$prefix/$manpage" >/dev/null || fail "the manual page does not render"
    fi
elif [ "$mode" = package ]; then
    (cd "$build" && cpack -G "TGZ;DEB" -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
    deb=$(ls "$work"/*.deb) tgz=$(ls "$work"/*.tar.gz)
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | check_listing "usr/" ".deb"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail ".deb version is not $version"
    top=$(basename "$tgz" .tar.gz)
    tar tzf "$tgz" | check_listing "$top/" ".tar.gz"
    if [ -n "$program" ]; then
        dpkg-deb -x "$deb" "$work/unpacked"
        "$work/unpacked/usr/$program" --version >/dev/null || fail "the program from the .deb does not run"
    fi
    echo "packages: $(basename "$deb") ($(dpkg-deb -c "$deb" | grep -vc '/$') files), $(basename "$tgz")"
else
    echo "usage: check_install.sh consumer|package BUILD_DIR SOURCE_DIR [CC CXX]" >&2
    exit 2
fi
exit $failed
