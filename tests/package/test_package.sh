#!/usr/bin/env bash
# test_package.sh BUILD SOURCE [CFLAGS]: install runtime + dev into a temporary root with cmake --install,
# and the Debian packages (cpack) into another; in each, build the README example with pkg-config and with
# find_package(SarvikSDK) and run it against a virtual camera on loopback.
set -euo pipefail
build=$1
src=$2
cflags=${3:-}
tmp=$(mktemp -d)
vcam_pid=
cleanup() {
    [ -n "$vcam_pid" ] && kill "$vcam_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
root=$tmp/root

for component in runtime dev; do
    cmake --install "$build" --prefix "$root" --component "$component" >/dev/null
done
for f in include/SarvikSDK.h lib/libSarvikSDK.so lib/libSarvikFfmpeg.so lib/pkgconfig/sarvik-sdk.pc \
         lib/cmake/SarvikSDK/SarvikSDKConfig.cmake lib/cmake/SarvikSDK/SarvikSDKConfigVersion.cmake; do
    [ -e "$root/$f" ] || { echo "FAIL: $f not installed"; exit 1; }
done

# The Debian packages of the same build, unpacked into a root of their own.
(cd "$build" && cpack -G DEB -B "$tmp/debs" >/dev/null)
for d in "$tmp"/debs/libsarviksdk_*.deb "$tmp"/debs/libsarviksdk-dev_*.deb; do
    dpkg-deb -x "$d" "$tmp/debroot"
done
[ -e "$tmp/debroot/usr/include/SarvikSDK.h" ] || { echo "FAIL: the -dev package holds no header"; exit 1; }

version=$(sed -n 's/^project(Sarvik VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
cp "$src/examples/readme_example.c" "$tmp/"
cat >"$tmp/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.18)
project(readme_example C)
find_package(SarvikSDK 0.1 REQUIRED)
add_executable(example readme_example.c)
target_link_libraries(example PRIVATE Sarvik::SDK)
CM
examples=()
for prefix in "$root" "$tmp/debroot/usr"; do
    n=${#examples[@]}
    # pkg-config, from wherever the root was put.
    [ "$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --modversion sarvik-sdk)" = "$version" ] ||
        { echo "FAIL: pkg-config version under $prefix"; exit 1; }
    # shellcheck disable=SC2046,SC2086
    cc $cflags "$tmp/readme_example.c" $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs sarvik-sdk) \
        -o "$tmp/example-pc-$n"
    # find_package, in a project of its own.
    cmake -S "$tmp" -B "$tmp/build-$n" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_FLAGS="$cflags" \
          -DCMAKE_EXE_LINKER_FLAGS="$cflags" >/dev/null
    cmake --build "$tmp/build-$n" >/dev/null
    examples+=("$prefix:$tmp/example-pc-$n" "$prefix:$tmp/build-$n/example")
done

# Both run against the installed library (not the build's) and a virtual camera.
ip=127.0.0.120
"$build/bin/sarvik-vcam" --ip "$ip" --size 160x120 --fps 25 --lifetime 30 >/dev/null 2>&1 &
vcam_pid=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/$ip/55502") 2>/dev/null && break
    sleep 0.1
done
for entry in "${examples[@]}"; do
    prefix=${entry%%:*}
    exe=${entry#*:}
    # Read whole before searching: grep -q would end the pipe early and fail ldd under pipefail.
    deps=$(LD_LIBRARY_PATH=$prefix/lib ldd "$exe")
    grep -q "$prefix/lib/libSarvikSDK.so" <<<"$deps" ||
        { echo "FAIL: $exe does not load the installed library:"; echo "$deps"; exit 1; }
    out=$(LD_LIBRARY_PATH=$prefix/lib timeout 30 "$exe" "$ip")
    [ "$out" = "160x120@25Hz" ] || { echo "FAIL: $exe printed '$out'"; exit 1; }
done
echo "installed SDK (cmake --install and the packages): pkg-config and find_package builds ran: $out"
