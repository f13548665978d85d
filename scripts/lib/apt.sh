# Installing Debian packages from the scripts: sourced by scripts/bootstrap
# and scripts/bench. Uses apt with the machine's own sources; runs as root,
# or through sudo when there is one. Every message goes to standard error.

say() { echo "${0##*/}: $*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else say "need root to run: $*"; exit 1
  fi
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

apt_updated=0
apt_update_once() {
  if [ "$apt_updated" = 0 ]; then
    say "apt-get update"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >&2
    apt_updated=1
  fi
}

# Installs those of the named packages that are missing.
ensure_packages() {
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} = 0 ] && return 0
  apt_update_once
  say "installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

apt_offers() {
  local candidate
  candidate=$(apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ {print $2}')
  [ -n "$candidate" ] && [ "$candidate" != "(none)" ]
}
