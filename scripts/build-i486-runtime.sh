#!/usr/bin/env bash
# Builds what every Windows program of this project is linked with, for the 486: the C run-time
# (crt2.o, libmingw32, libmingwex, libmsvcrt and the import libraries), libgcc, libgcc_eh,
# GCC's crtbegin.o/crtend.o and libstdc++, all compiled with -march=i486; and NSIS (makensis,
# its stubs and plugins), the plugins and stubs compiled the same way and linked with that
# run-time.
#
# Debian's i686 MinGW-w64 compilers default to the Pentium Pro (-march=pentiumpro), and so were
# their run-time libraries and Debian's NSIS stubs and plugins built: they hold cmov, fcomi and
# the like, which a 486 or a Pentium cannot run. The compilers themselves are fine (they compile
# for whatever -march says), so only the target libraries are rebuilt here, with the stock
# compiler, from Debian's own sources:
#   - GCC's libgcc and libstdc++-v3 from the gcc-12-source package (the sources the installed
#     cross compiler was built from; its headers are used as they are);
#   - the mingw-w64 source package, the version of the installed mingw-w64-i686-dev;
#   - the nsis source package of the next Debian release (the archive serves no 3.08 tarball
#     for Debian 12), makensis built from the same source as the stubs it writes.
#
# The result goes to a cache folder outside the work tree,
#   ${VELTRIM_I486_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/veltrim-i486}/<versions>
# and "current" beside it points at it. The folder is made in a temporary folder and renamed
# into place only when complete, so a cut-off build is never reused; it is reused as long as
# the source package versions (and this script's RECIPE) stay the same. First build: about
# 20 minutes on two cores.
#
# Usage: scripts/build-i486-runtime.sh        (prints the cache folder as its last line)
# The packages it needs are installed by scripts/install-deps.sh.
set -euo pipefail

# Raise when the way the cache is built changes, so that older builds are not reused.
RECIPE=1
TARGET=i686-w64-mingw32
root=${VELTRIM_I486_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/veltrim-i486}
jobs=$(nproc)
mkdir -p "$root"

log() { echo "build-i486-runtime: $*" >&2; }

installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true; }

gcc_version=$(installed_version gcc-12-source)
mingw_version=$(installed_version mingw-w64-i686-dev)
cross_version=$(installed_version gcc-mingw-w64-i686-win32)
if [ -z "$gcc_version" ] || [ -z "$mingw_version" ] || [ -z "$cross_version" ]; then
  log "gcc-12-source, mingw-w64-i686-dev and gcc-mingw-w64-i686-win32 must be installed" \
    "(scripts/install-deps.sh)"
  exit 1
fi
case "$cross_version" in
  "$gcc_version"+*) ;;
  *) log "warning: the cross compiler ($cross_version) was not built from gcc-12-source" \
       "$gcc_version" ;;
esac

# A private apt configuration with deb-src lines for the archive the machine already uses:
# the system's own apt configuration and lists stay untouched.
apt_dir=$root/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/lists-next/partial" "$apt_dir/cache/archives/partial"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
  awk -v c="$codename" '$2 == c || index($2, c "-") == 1 { print "deb-src " $0 }' |
  sort -u >"$apt_dir/sources.list.new"
archive=$(awk -v c="$codename" '$3 == c { print $2; exit }' "$apt_dir/sources.list.new")
if [ -z "$archive" ]; then
  log "no Debian archive for $codename in the machine's apt sources"
  exit 1
fi
mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
# NSIS comes from the next release (trixie for bookworm) on the same archive.
case "$codename" in
  bookworm) next=trixie ;;
  *) next=$codename ;;
esac
echo "deb-src $archive $next main" >"$apt_dir/next.list"
apt_mine=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)")
apt_next=(-o "Dir::Etc::SourceList=$apt_dir/next.list" -o "Dir::Etc::SourceParts=/dev/null"
  -o "Dir::State::Lists=$apt_dir/lists-next" -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)")
# Refreshed on every run (a second or two); without the network the lists already here serve.
apt-get "${apt_mine[@]}" -qq update >/dev/null 2>&1 || log "warning: could not refresh the source lists"
apt-get "${apt_next[@]}" -qq update >/dev/null 2>&1 || true
nsis_version=$(apt-cache "${apt_next[@]}" showsrc nsis 2>/dev/null |
  awk '/^Version:/ { print $2 }' | sort -V | tail -n 1)
if [ -z "$nsis_version" ]; then
  log "the nsis source package is not listed in $archive $next"
  exit 1
fi

key="gcc-$gcc_version+mingw-w64-$mingw_version+nsis-$nsis_version+r$RECIPE"
key=$(echo "$key" | tr -c 'A-Za-z0-9.+_\n-' '_')
dest=$root/$key
if [ -f "$dest/VERSIONS" ]; then
  ln -sfn "$key" "$root/current.new" && mv -T "$root/current.new" "$root/current"
  echo "$dest"
  exit 0
fi

log "building the 486 run-time and NSIS into $dest (about 20 minutes the first time)"
start=$(date +%s)
work=$(mktemp -d "$root/.build.XXXXXX")
trap 'rm -rf "$work"' EXIT
out=$work/out
mkdir -p "$out/lib" "$work/src"
cd "$work"

# --- Sources -------------------------------------------------------------------------------
(cd src && apt-get "${apt_mine[@]}" -qq source --download-only --tar-only \
  "mingw-w64=$mingw_version" >/dev/null)
(cd src && apt-get "${apt_next[@]}" -qq source --download-only --tar-only \
  "nsis=$nsis_version" >/dev/null)
gcc_tarball=$(ls /usr/src/gcc-12/gcc-*.tar.*)
# The front ends and libraries other than C, C++ and libgcc, and the test suites, are not needed.
tar -xf "$gcc_tarball" -C src --exclude='*/gcc/testsuite' --exclude=libgo --exclude=ada \
  --exclude=libphobos --exclude=libgfortran --exclude=libsanitizer
tar -xf src/mingw-w64_*.orig.tar.* -C src
tar -xf src/nsis_*.orig.tar.* -C src
gcc_src=$(echo "$work"/src/gcc-*/)
gcc_src=${gcc_src%/}
mingw_src=$(echo "$work"/src/mingw-w64-v*/)
mingw_src=${mingw_src%/}
nsis_src=$(echo "$work"/src/nsis-*/)
nsis_src=${nsis_src%/}

# Debian built its cross compiler from the release sources (its libstdc++ headers carry the
# release's date stamp, not the later branch updates of gcc-12-source): so are the libraries.
cross_include=$(dirname "$("$TARGET-gcc-win32" -print-libgcc-file-name)")/include/c++
release_stamp=$(cat "$gcc_src/gcc/DATESTAMP")
if ! grep -q "define __GLIBCXX__ $release_stamp\$" "$cross_include/$TARGET/bits/c++config.h"; then
  log "the cross compiler's libstdc++ headers are not those of $gcc_tarball"
  exit 1
fi

opt='-O2 -march=i486'
cc="$TARGET-gcc-win32"
cxx="$TARGET-g++-win32"

# --- The C run-time (mingw-w64-crt) --------------------------------------------------------
build_crt() {
  mkdir -p "$work/crt" && cd "$work/crt"
  "$mingw_src/mingw-w64-crt/configure" --host=$TARGET --prefix="$work/crt-inst" \
    --disable-lib64 --enable-lib32 CC="$cc" CFLAGS="$opt" >configure.log 2>&1
  make -j"$jobs" >make.log 2>&1
  make install >install.log 2>&1
}

# --- libstdc++, configured on its own with the stock compiler ------------------------------
# The options are those Debian's cross compiler was configured with (g++ -v); the generated
# c++config.h is checked below against the compiler's own.
build_libstdcxx() {
  mkdir -p "$work/libstdc++" && cd "$work/libstdc++"
  "$gcc_src/libstdc++-v3/configure" --build=x86_64-linux-gnu --host=$TARGET --target=$TARGET \
    --prefix="$work/unused" --disable-multilib --enable-static --disable-shared \
    --enable-threads=win32 --enable-libstdcxx-time=yes --enable-fully-dynamic-string \
    --enable-libstdcxx-filesystem-ts=yes --enable-version-specific-runtime-libs \
    --disable-sjlj-exceptions --with-dwarf2 --enable-symvers=gnu --disable-nls \
    --disable-libstdcxx-pch CC="$cc" CXX="$cxx -nostdinc++" CFLAGS="$opt" CXXFLAGS="$opt" \
    >configure.log 2>&1
  make -j"$jobs" >make.log 2>&1
}

# --- libgcc --------------------------------------------------------------------------------
# libgcc's makefile takes its target macros from a configured GCC tree: only the small part
# of gcc/ that produces them is built (no compiler proper). The stock compiler, which has the
# C run-time's headers, compiles libgcc as Debian's build did (so not "inhibit_libc").
build_libgcc() {
  mkdir -p "$work/gcc" && cd "$work/gcc"
  "$gcc_src/configure" --build=x86_64-linux-gnu --host=x86_64-linux-gnu --target=$TARGET \
    --prefix="$work/unused" --enable-languages=c,c++ --disable-multilib --enable-shared \
    --enable-static --enable-threads=win32 --disable-sjlj-exceptions --with-dwarf2 \
    --with-tune=generic --disable-nls --disable-lto --disable-bootstrap --disable-plugin \
    --without-zstd --with-system-zlib --with-as=/usr/bin/$TARGET-as \
    --with-ld=/usr/bin/$TARGET-ld >configure.log 2>&1
  make configure-gcc >configure-gcc.log 2>&1
  make -j"$jobs" all-build-libiberty all-build-libcpp all-libiberty all-libcpp \
    all-libdecnumber all-libbacktrace >host-libraries.log 2>&1
  # No fixincludes: that would need the compiler proper, and the stock compiler has its own.
  make -j"$jobs" -C gcc libgcc-support STMP_FIXINC= >libgcc-support.log 2>&1
  mkdir -p "$TARGET/libgcc" && cd "$TARGET/libgcc"
  "$gcc_src/libgcc/configure" --srcdir="$gcc_src/libgcc" --build=x86_64-linux-gnu \
    --host=$TARGET --target=$TARGET --prefix="$work/unused" --enable-shared \
    --enable-version-specific-runtime-libs CC="$cc" CFLAGS="$opt" >configure.log 2>&1
  make -j"$jobs" libgcc.a libgcc_eh.a crtbegin.o crtend.o INHIBIT_LIBC_CFLAGS= >make.log 2>&1
}

# The three are independent: run them side by side, each with its own log.
pids=()
for part in crt libstdcxx libgcc; do
  (set -e; "build_$part") >"$work/$part.out" 2>&1 &
  pids+=($!)
done
failed=0
for i in 0 1 2; do
  wait "${pids[$i]}" || failed=1
done
if [ "$failed" -ne 0 ]; then
  tail -n 20 "$work"/*.out "$work"/*/*.log "$work"/gcc/$TARGET/libgcc/*.log >&2 2>/dev/null || true
  log "the run-time did not build (the last lines of its logs are above)"
  exit 1
fi

# --- Check and collect ---------------------------------------------------------------------
cd "$work"
if ! cmp -s "libstdc++/include/$TARGET/bits/c++config.h" "$cross_include/$TARGET/bits/c++config.h"; then
  log "libstdc++ was configured differently from the cross compiler (c++config.h differs)"
  diff "libstdc++/include/$TARGET/bits/c++config.h" "$cross_include/$TARGET/bits/c++config.h" >&2 || true
  exit 1
fi
stock_libgcc=$(dirname "$("$cc" -print-libgcc-file-name)")
libgcc=gcc/$TARGET/libgcc
defined() { "$TARGET-nm" -g --defined-only "$1" 2>/dev/null | awk 'NF == 3 { print $3 }' | sort -u; }
for lib in libgcc.a libgcc_eh.a; do
  if ! diff <(defined "$stock_libgcc/$lib") <(defined "$libgcc/$lib") >/dev/null; then
    log "$lib does not define the functions of the cross compiler's own"
    diff <(defined "$stock_libgcc/$lib") <(defined "$libgcc/$lib") >&2 || true
    exit 1
  fi
done

cp -a crt-inst/lib/. "$out/lib/"
# The C run-time installs placeholder crtbegin.o/crtend.o; GCC's real ones register the
# exception tables (a program linked with the placeholders aborts at its first throw).
cp "$libgcc/libgcc.a" "$libgcc/libgcc_eh.a" "$libgcc/crtbegin.o" "$libgcc/crtend.o" "$out/lib/"
cp libstdc++/src/.libs/libstdc++.a libstdc++/libsupc++/.libs/libsupc++.a "$out/lib/"

# --- NSIS ----------------------------------------------------------------------------------
# The Windows parts are compiled through wrappers that add -march=i486 and link the run-time
# above; makensis itself is a native program.
mkdir -p "$work/wrap"
for tool in gcc g++; do
  printf '#!/bin/sh\nexec %s-%s-win32 -march=i486 -B%s/lib/ -L%s/lib "$@"\n' \
    "$TARGET" "$tool" "$out" "$out" >"$work/wrap/$TARGET-$tool"
  chmod +x "$work/wrap/$TARGET-$tool"
done
for tool in ar ranlib windres strip as ld nm objcopy dlltool; do
  ln -s "/usr/bin/$TARGET-$tool" "$work/wrap/$TARGET-$tool"
done
nsis_upstream=${nsis_version%-*}
nsis_upstream=${nsis_upstream#*:}
(cd "$nsis_src" && scons -j"$jobs" XGCC_W32_PREFIX="$work/wrap/$TARGET-" PREFIX="$out/nsis" \
  NSIS_CONFIG_CONST_DATA_PATH=no VERSION="$nsis_upstream" VER_MAJOR="${nsis_upstream%%.*}" \
  VER_MINOR="${nsis_upstream#*.}" SKIPDOC=all STRIP_CP=no \
  SKIPUTILS='Library/RegTool,MakeLangId,Makensisw,NSIS Menu,SubStart,VPatch/Source/GenPat,zip2exe' \
  install-compiler install-stubs install-plugins install-data install-utils) >nsis.log 2>&1 || {
  tail -n 40 nsis.log >&2
  log "NSIS did not build (the last lines of its log are above)"
  exit 1
}
# Built with NSIS_CONFIG_CONST_DATA_PATH=no, makensis finds its stubs, plugins and headers
# from its own place in Bin/.
mkdir -p "$out/nsis/Bin"
mv "$out/nsis/makensis" "$out/nsis/Bin/makensis"
# The linker maps of the stubs and plugins, beside them: the test that reads the instructions
# of the shipped files tells their code from their data with them.
for map in "$nsis_src"/build/urelease/stub_*-x86-*/*.map; do
  stub=$(basename "$(dirname "$map")")
  cp "$map" "$out/nsis/Stubs/${stub#stub_}.map"
done
for map in "$nsis_src"/build/urelease/*/x86-*/*.map "$nsis_src"/build/urelease/*/*/*/x86-*/*.map \
  "$nsis_src"/build/urelease/*/*/x86-*/*.map; do
  [ -f "$map" ] || continue
  variant=$(basename "$(dirname "$map")")
  name=$(basename "$map" .map)
  [ -f "$out/nsis/Plugins/$variant/$name.dll" ] && cp "$map" "$out/nsis/Plugins/$variant/$name.map"
done

cat >"$out/VERSIONS" <<EOF
Built by scripts/build-i486-runtime.sh (recipe $RECIPE) in $(($(date +%s) - start)) s.
gcc-12-source $gcc_version ($(basename "$gcc_tarball"), libgcc and libstdc++-v3)
mingw-w64 $mingw_version (mingw-w64-crt), for the cross compiler $cross_version
nsis $nsis_version ($archive $next)
Compiled with $("$cc" --version | head -n 1) and $opt.
EOF

mv -T "$out" "$dest"
ln -sfn "$key" "$root/current.new" && mv -T "$root/current.new" "$root/current"
# Older builds are of no further use.
for old in "$root"/gcc-*; do
  [ "$old" = "$dest" ] || rm -rf "$old"
done
log "done in $(($(date +%s) - start)) s"
echo "$dest"
