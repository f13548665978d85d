#!/usr/bin/env bash
# The installed tree runs from anywhere, for any user: `cmake --install`
# into a temporary prefix, the tree moved elsewhere, the folder of the
# ImageMagick it was built with hidden (a private mount over it), run as the
# unprivileged user nobody with an empty home. Its images, log and exit
# status must equal the build tree's binary's. Then the same for the Debian
# package that `cpack -G DEB` makes, unpacked into a folder.
#   install_test.sh BUILD_DIR SOURCE_DIR MAGICK_PREFIX
set -euo pipefail
build=$1
source=$2
magick=$3

if [ "$(id -u)" != 0 ]; then
  echo "skipped: needs root, to run as the user nobody and to hide $magick"
  exit 77
fi
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# A folder the build's ImageMagick lives in, unless it is the system's.
hidden=
case "$magick" in
  /usr | /usr/*) ;;
  *) hidden=$(dirname "$magick") ;;
esac
# Runs "$@" with $hidden replaced by an empty folder, seen by nothing else.
hiding() {
  if [ -z "$hidden" ]; then
    "$@"
  else
    unshare -m -- bash -c 'mount -t tmpfs none "$0" && exec "$@"' \
      "$hidden" "$@"
  fi
}
if [ -n "$hidden" ] && ! hiding true 2>/dev/null; then
  echo "skipped: cannot make a private mount over $hidden (unshare -m)"
  exit 77
fi

# Two jobs: the bundled example, and canvases whose log comes from
# ImageMagick's message files (a shadow past its size limit) and colour names.
cp "$source/examples/fonts.json" "$source/examples/job.json" "$work/"
cat >"$work/limits.json" <<'JOB'
[{"size": [16384, 10], "output": "wide.png", "ui": {"default": "A",
   "font": "sans", "size": 8, "fill": "red", "shadow": "black", "s_size": 10,
   "s_alpha": 0.5}},
 {"size": [90, 40], "output": "named.png", "ui": {"default": "Ab",
   "font": "serif", "size": 24, "area": [4, 4, 82, 32], "fill": "goldenrod",
   "stroke": "DarkSlateGray", "width": 2, "shadow": "navy", "s_size": 2,
   "s_dist": 3, "s_angle": 45, "s_alpha": 0.5}}]
JOB
chmod 644 "$work"/*.json

# Runs binary $2 in folder $1 on both jobs; keeps the messages (the log
# without time and pid) and the exit statuses in $1/log.
render() {
  local folder=$1 binary=$2
  shift 2
  : >"$folder/log"
  for job in job limits; do
    local status=0
    (cd "$folder" && "$@" "$binary" "$work/fonts.json" "$work/$job.json") \
      >"$folder/$job.out" || status=$?
    cut -d' ' -f4- "$folder/$job.out" >>"$folder/log"
    echo "exit $status" >>"$folder/log"
  done
}
mkdir -p "$work/built/out/example"
render "$work/built" "$build/Quillmark"

as_nobody=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups
  env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache")
# The tree at $1 (with bin/Quillmark) renders as the build tree does.
check_tree() {
  local tree=$1 name=$2
  local binary=$tree/bin/Quillmark
  local runpath
  runpath=$(readelf -d "$binary" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]$/\1/p')
  [ "$runpath" = '$ORIGIN/../lib/quillmark' ] || fail "$name: run path '$runpath'"
  if [ -n "$hidden" ]; then
    for library in "$tree"/lib/quillmark/*.so*; do
      ! readelf -d "$library" | grep -E '\((RUN)?PATH\)' | grep -v '\[\$ORIGIN\]' ||
        fail "$name: $library keeps a run path of the build"
    done
  fi
  local libraries
  libraries=$(hiding ldd "$binary")
  ! grep -q 'not found' <<<"$libraries" || fail "$name: $libraries"
  if [ -n "$hidden" ]; then
    ! grep -qF "$hidden" <<<"$libraries" || fail "$name: $libraries"
    grep -q "libMagickWand.* => $tree/bin/../lib/quillmark/" <<<"$libraries" ||
      fail "$name: MagickWand not from the tree: $libraries"
  fi
  mkdir -p "$work/home" "$work/$name/out/example"
  chown -R nobody "$work/home" "$work/$name"
  render "$work/$name" "$binary" hiding "${as_nobody[@]}"
  diff "$work/built/log" "$work/$name/log" || fail "$name: the log differs"
  local images=0
  for image in $(cd "$work/built" && find . -name '*.png'); do
    cmp "$work/built/$image" "$work/$name/$image" || fail "$name: $image differs"
    images=$((images + 1))
  done
  [ "$images" = 4 ] || fail "$name: $images images instead of 4"
  [ "$(stat -c %U "$work/$name/named.png")" = nobody ] || fail "$name: not run as nobody"
  echo "$name: the same log and $images images as the build tree, run as nobody"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
mv "$work/prefix" "$work/moved"
check_tree "$work/moved" installed

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
package=$(ls "$work"/deb/*.deb)
depends=$(dpkg-deb -f "$package" Depends)
for needed in libc6 libfreetype6 libharfbuzz0b libicu libpng16-16 libjpeg62-turbo; do
  grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
dpkg-deb -x "$package" "$work/unpacked"
check_tree "$work/unpacked/usr" package
echo "package $(basename "$package"): Depends: $depends"
