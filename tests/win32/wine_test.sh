#!/usr/bin/env bash
# The Windows build under Wine, on an Xvfb server of its own:
#  - cross build of the library and the viewers (cmake/mingw-w64.cmake);
#  - each viewer on its bundled element files: the title while it draws and
#    at the end, the last frame on the screen (the same pixels as the Linux
#    viewer's window), the right button ending it with status 0, warnings
#    and protocol on standard output;
#  - the probe program: PostScript bytes equal to the Linux build's, PNG pixels
#    (date and time masked, line ends CR LF in the text file);
#  - the line protocol of winini in a message box;
#  - the Close item of the window, greyed and ignored until korfin;
#  - the window fonts measured and drawn, straight and turned;
#  - the installation directory from the registry, with and without a value.
# Wine's server and Xvfb are started here and stopped at the end.
# Usage: wine_test.sh <source dir> <work dir> <Linux probe> <Linux viewers dir>
set -uo pipefail
mkdir -p "$2"
src=$(realpath "$1") work=$(realpath "$2") probe=$(realpath "$3") linux=$(realpath "$4")

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; failed=1; }
failed=0

cross=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++) ||
  skip "no mingw-w64 compiler (g++-mingw-w64-x86-64)"
crosscc=$(command -v x86_64-w64-mingw32-gcc-posix || command -v x86_64-w64-mingw32-gcc)
[ -e /usr/x86_64-w64-mingw32/include/zlib.h ] || skip "no zlib for mingw-w64 (libz-mingw-w64-dev)"
wine=$(command -v wine64 || command -v wine || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; }) ||
  skip "no Wine (wine64)"
wineserver=$(command -v wineserver || { [ -x /usr/lib/wine/wineserver64 ] && echo /usr/lib/wine/wineserver64; }) ||
  skip "no wineserver"
for tool in Xvfb xdotool xwd convert compare; do
  command -v $tool >/dev/null || skip "no $tool"
done

mkdir -p "$work"
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset KORVAN
xvfb=
cleanup() {
  "$wineserver" -k >/dev/null 2>&1
  "$wineserver" -w >/dev/null 2>&1
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT

# -- the cross build
echo "== cross build"
cmake -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j"$(nproc)" --target orbview2 orbview3 orbview4 >"$work/build.log" 2>&1 ||
  { tail -50 "$work/build.log"; exit 1; }
if grep -q 'warning:' "$work/build.log"; then grep 'warning:' "$work/build.log"; fail "warnings in the cross build"; fi
"$cross" -std=c++20 -O2 -Wall -Wextra -I"$src/include" -I"$src/plotlib" "$src/tests/win32/win32_probe.cpp" \
  "$work/build/plotlib/libkorvan.a" -lz -lgdi32 -luser32 -static -static-libgcc -static-libstdc++ \
  -o "$work/win32_probe.exe" || exit 1

# -- the installed package: a C caller linked through pkg-config and through
# find_package, as a user of the Windows package links it
echo "== installed package ($SECONDS s)"
pkg=$work/package
rm -rf "$pkg" && mkdir -p "$pkg"
cmake --install "$work/build" --prefix "$pkg/prefix" >"$pkg/install.log" 2>&1 || { cat "$pkg/install.log"; exit 1; }
if command -v pkg-config >/dev/null; then
  flags=$(PKG_CONFIG_LIBDIR="$pkg/prefix/lib/pkgconfig" pkg-config --cflags --libs --static korvan) ||
    fail "pkg-config does not find the Windows package"
  # shellcheck disable=SC2086
  "$crosscc" "$src/examples/callers/caller.c" $flags -static -o "$pkg/caller_pc.exe" \
    >"$pkg/pc.log" 2>&1 || { cat "$pkg/pc.log"; fail "the pkg-config link of the Windows package"; }
  # An installed program that needs the fonts of its own prefix.
  # shellcheck disable=SC2086
  "$crosscc" "$src/tests/packaging/data_dir.c" $flags -static -o "$pkg/prefix/bin/data_dir.exe" \
    >"$pkg/data.log" 2>&1 || { cat "$pkg/data.log"; fail "the link of data_dir.exe"; }
fi
cmake -S "$src/examples/callers" -B "$pkg/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -Dkorvan_DIR="$pkg/prefix/lib/cmake/korvan" -DCMAKE_Fortran_COMPILER=CMAKE_Fortran_COMPILER-NOTFOUND \
  >"$pkg/configure.log" 2>&1 || { cat "$pkg/configure.log"; fail "find_package of the Windows package"; }
grep -i 'warning' "$pkg/configure.log" && fail "warnings when the Windows package is found"
cmake --build "$pkg/build" --target caller_c >"$pkg/build.log" 2>&1 ||
  { tail -30 "$pkg/build.log"; fail "the find_package link of the Windows package"; }

# -- Xvfb on a display of its own, and Wine's prefix
for n in $(seq $((400 + $$ % 300)) $((430 + $$ % 300))); do
  [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    DISPLAY=:$n xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
  done
  if DISPLAY=:$n xdotool getdisplaygeometry >/dev/null 2>&1; then export DISPLAY=:$n; break; fi
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; xvfb=
done
[ -n "$xvfb" ] || { echo "FAIL: Xvfb does not start"; exit 1; }
echo "== Wine prefix ($SECONDS s)"
[ -e "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1
"$wine" cmd /c exit >/dev/null 2>&1  # starts the server now, not in the first timed run
for exe in "$pkg/caller_pc.exe" "$pkg/build/caller_c.exe"; do
  [ -e "$exe" ] || continue
  rm -rf "$pkg/run" && mkdir -p "$pkg/run"
  (cd "$pkg/run" && "$wine" "$exe" >out.txt 2>&1) || fail "$exe ends with an error"
  [ -s "$pkg/run/korvan.ps" ] || fail "$exe writes no korvan.ps"
done
if [ -e "$pkg/prefix/bin/data_dir.exe" ]; then
  rm -rf "$pkg/run" && mkdir -p "$pkg/run"
  (cd "$pkg/run" && "$wine" "$pkg/prefix/bin/data_dir.exe" >out.txt 2>&1)
  grep -q '<<<< Warning' "$pkg/run/out.txt" && fail "the installed program does not find the fonts of its prefix"
fi

# -- the viewers
window() {  # window id of the title (regular expression), waiting up to $2 s
  local end=$((SECONDS + $2)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
shot() {  # the window's pixels as a PNG
  xwd -silent -id "$1" | convert xwd:- "$2"
}
run() {  # run <dir> <program...>: starts it in <dir>, pid in $pid
  local dir=$1; shift
  (cd "$dir" && exec "$@" >out.txt 2>err.txt) &
  pid=$!
}
finish() {  # the right button over the window; the exit status in $status
  local id=$1
  status=
  xdotool mousemove --window "$id" 50 50 click 1 >/dev/null 2>&1
  sleep 0.5
  if ! kill -0 "$pid" 2>/dev/null; then status="ended by the left button"; return; fi
  for _ in 1 2 3; do
    xdotool mousemove --window "$id" 50 50 click 3 >/dev/null 2>&1
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null || break
  done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; status="still running"; return; fi
  wait "$pid"
  status=$?
}

end_title='^KORVAN 1 / Click MB2 to continue \.\.\.$'
for v in orbview2 orbview3 orbview4; do
  echo "== $v ($SECONDS s)"
  for side in linux win; do
    d=$work/$v-$side
    rm -rf "$d" && mkdir -p "$d" && cp "$src/examples/$v"/elm*.dat "$d/"
  done
  # The Linux viewer's window: the pixels the Windows one must show.
  # A connection to the X server is refused now and then right after
  # another client left; the viewer then draws off screen and ends.
  id=
  for _ in 1 2 3; do
    run "$work/$v-linux" "$linux/$v"
    id=$(window "$end_title" 60) && break
    wait "$pid" 2>/dev/null
    grep -q "no display could be opened" "$work/$v-linux/err.txt" || break
  done
  if [ -n "$id" ]; then
    shot "$id" "$work/$v-linux.png"
    finish "$id"
    [ "$status" = 0 ] || fail "$v (Linux): $status"
  else
    fail "$v (Linux) does not wait at the end"; kill "$pid" 2>/dev/null
  fi

  echo "   Linux done ($SECONDS s)"
  run "$work/$v-win" "$wine" "$work/build/viewers/$v.exe"
  window '^KORVAN 1 / Working$' 60 >/dev/null || fail "$v: no window titled \"KORVAN 1 / Working\" while drawing"
  if ! id=$(window "$end_title" 180); then
    fail "$v does not wait at the end: $(cat "$work/$v-win/out.txt" "$work/$v-win/err.txt")"
    kill "$pid" 2>/dev/null
    continue
  fi
  shot "$id" "$work/$v-win.png"
  if [ -e "$work/$v-linux.png" ]; then
    diff=$(compare -metric AE "$work/$v-linux.png" "$work/$v-win.png" null: 2>&1)
    [ "$diff" = 0 ] || fail "$v: the last frame differs from the Linux one in $diff pixels"
  fi
  # The page is black, the star in the middle yellow.
  convert "$work/$v-win.png" -crop 7x7+504+355 -format %c histogram:info: | grep -q '(255,255,0)' ||
    fail "$v: no yellow star at the page centre"
  corner=$(convert "$work/$v-win.png" -format '%[pixel:p{20,20}]' info:)
  case "$corner" in *'(0,0,0)'|black) ;; *) fail "$v: page pixel is $corner";; esac
  finish "$id"
  [ "$status" = 0 ] || fail "$v: exit status $status"
  out=$(tr -d '\r' <"$work/$v-win/out.txt")
  version="8.3  "; [ $v = orbview3 ] && version="8.1 A"
  for want in "Warning   3: Incorrect level in pagorg!   (   0)" \
              "Warning   3: Incorrect level in xaxgit!   (   1)" \
              "END OF KORVAN / VERSION  $version" "Warnings: 1 " "Fileformat: CONS" "Metafile:   "; do
    grep -qF -- "$want" <<<"$out" || fail "$v: \"$want\" not on standard output: $out"
  done
done

# -- PostScript and PNG files
echo "== files ($SECONDS s)"
for side in linux win; do rm -rf "$work/files-$side" && mkdir -p "$work/files-$side"; done
(cd "$work/files-linux" && "$probe" files >out.txt) || fail "probe (Linux)"
(cd "$work/files-win" && "$wine" "$work/win32_probe.exe" files >out.txt) || fail "probe (Windows)"
# Linux compresses with libdeflate, the Windows build with zlib: the same
# image, in other deflate bytes.
pngcheck -q "$work/files-win/korvan.png" >/dev/null || fail "the Windows PNG does not pass pngcheck"
ae=$(compare -metric AE "$work/files-linux/korvan.png" "$work/files-win/korvan.png" null: 2>&1)
[ "$ae" = "0" ] || fail "the PNG files differ in $ae pixels"
mask() { sed -e 's/[0-9][0-9]\.[0-9][0-9]\.[0-9]\{4\}/DD.MM.YYYY/g' -e 's/[0-9][0-9]:[0-9][0-9]:[0-9][0-9]/HH:MM:SS/g' "$@"; }
lf=$(tr -cd '\n' <"$work/files-win/korvan.ps" | wc -c)
crlf=$(grep -c $'\r$' "$work/files-win/korvan.ps")
[ "$lf" -gt 0 ] && [ "$lf" = "$crlf" ] || fail "the Windows PostScript file has $lf lines, $crlf ending in CR LF"
if ! cmp -s <(mask "$work/files-linux/korvan.ps") <(tr -d '\r' <"$work/files-win/korvan.ps" | mask); then
  diff <(mask "$work/files-linux/korvan.ps") <(tr -d '\r' <"$work/files-win/korvan.ps" | mask) | head -20
  fail "the PostScript files differ"
fi

# -- the line protocol of winini in a message box titled "korfin"
rm -rf "$work/gui" && mkdir -p "$work/gui"
run "$work/gui" "$wine" "$work/win32_probe.exe" gui
if id=$(window '^korfin$' 60); then
  for _ in 1 2 3; do
    xdotool key Return >/dev/null 2>&1
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null || break
    xdotool mousemove --window "$id" 131 145 click 1 >/dev/null 2>&1  # its OK button
    sleep 1
  done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fail "the message box does not end"; else
    wait "$pid" || fail "probe gui: exit status $?"
  fi
  grep -q "END OF KORVAN" "$work/gui/out.txt" && fail "the line protocol went to standard output"
  [ -s "$work/gui/korvan.ps" ] || fail "probe gui: no korvan.ps"
else
  fail "no message box \"korfin\": $(cat "$work/gui/out.txt")"; kill "$pid" 2>/dev/null
fi

# -- the Close item of the screen window: greyed and ignored until korfin
rm -rf "$work/close" && mkdir -p "$work/close"
got=$(cd "$work/close" && timeout 60 "$wine" "$work/win32_probe.exe" close 2>&1 | tr -d '\r' | grep -E '^(ok|bad):')
[ "${got%%:*}" = ok ] || fail "Close guard: $got"

# -- the window fonts (GDI)
got=$("$wine" "$work/win32_probe.exe" font 2>&1 | tr -d '\r')
[ "${got%%:*}" = ok ] || fail "window fonts: $got"

# -- the installation directory
echo "== registry ($SECONDS s)"
dir() { "$wine" "$work/win32_probe.exe" dir 2>/dev/null | tr -d '\r'; }
"$wine" reg delete 'HKLM\SOFTWARE\Korvan' /f >/dev/null 2>&1
got=$(dir); [ "$got" = 'c:\korvan' ] || fail "without a registry value: \"$got\""
"$wine" reg add 'HKLM\SOFTWARE\Korvan' /v Path /t REG_SZ /d 'D:\Programs\Korvan' /f >/dev/null 2>&1 ||
  fail "reg add"
got=$(dir); [ "$got" = 'D:\Programs\Korvan' ] || fail "with the registry value: \"$got\""
got=$(KORVAN='E:\env' dir); [ "$got" = 'E:\env' ] || fail "with KORVAN set: \"$got\""
"$wine" reg delete 'HKLM\SOFTWARE\Korvan' /f >/dev/null 2>&1

[ $failed = 0 ] && echo "all passed ($SECONDS s)"
exit $failed
