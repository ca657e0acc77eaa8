#!/usr/bin/env bash
# A Debian 13 root with Wine 10 under build/debian13, beside the host's Wine 8.
#   bash scripts/wine10-root.sh make              makes it (once; debootstrap from the
#                                                 mirror apt uses) or completes it
#   bash scripts/wine10-root.sh run CMD [ARG...]  runs CMD in it, from the current folder
# Making and entering the root need root: a user who is not root goes through sudo.
# CMD runs inside as the caller, so what it writes in the build folder stays the
# caller's. The mounts (/proc, /dev, /sys, /tmp with the X and CUPS sockets, the
# repository and the current folder at their host paths) live in a private mount
# namespace and are gone when CMD ends, whatever way it ends.
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
root="${BAYLITH_WINE10_ROOT:-$repo/build/debian13}"
# Wine and its recommended X libraries, OSMesa for Wine's bitmap pixel formats,
# libcups for its printers, ctest for the cases, poppler and ImageMagick for the
# printed page and the screen capture, the locale sources for code page 1251. The
# display and the printer server are the host's (scripts/wine.sh), but for the
# scaled cases' larger display of their own (wine.sh --own-display), made in here.
packages="wine wine64 fonts-wine libosmesa6 libgl1-mesa-dri libcups2t64
  libxcomposite1 libxcursor1 libxi6 libxinerama1 libegl1 x11-utils xvfb xauth
  poppler-utils cmake locales imagemagick procps"
packages=$(echo $packages)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# run UID:GID CMD...: CMD inside the root as that user, with a clean environment
# but for DISPLAY, CUPS_SERVER and the project's own settings.
run() {
    local user=$1; shift
    local home=/root
    if [ "$user" != 0:0 ]; then
        home="$repo/build/debian13-home"
        mkdir -p "$home"
    fi
    local -a passed=()
    local name
    for name in $(compgen -e | grep -E '^(BAYLITH_|SOAK_|DISPLAY$|CUPS_SERVER$|CI$|JOBS$)' |
                  grep -vx BAYLITH_WINEPREFIX); do
        passed+=("$name=${!name}")
    done
    as_root unshare --mount --propagation private bash -c '
        set -e
        root=$1 repo=$2 work=$3 user=$4; shift 4
        mount --rbind /proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount --rbind /sys "$root/sys"
        mount --bind /tmp "$root/tmp"
        for dir in "$repo" "$work"; do
            mkdir -p "$root$dir"
            mount --bind "$dir" "$root$dir"
        done
        exec chroot --userspec="$user" "$root" /usr/bin/env -i \
            PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 TERM=dumb \
            /bin/bash -c '\''cd "$0" && exec env "$@"'\'' "$work" "$@"
    ' wine10-root "$root" "$repo" "$(pwd)" "$user" HOME="$home" USER="$(id -un)" \
        "${passed[@]+"${passed[@]}"}" "$@"
}

make_root() {
    [ "$(cat "$root/.baylith-packages" 2>/dev/null)" = "$packages" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        mkdir -p "$(dirname "$root")"  # the build folder stays the caller's
        sudo BAYLITH_WINE10_ROOT="$root" bash "${BASH_SOURCE[0]}" make
        return
    fi
    if [ ! -f "$root/.baylith-bootstrapped" ]; then
        # The first Debian mirror that apt uses here.
        local mirror
        mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/* |
                 grep -oE 'https?://[^ ]*/debian/?( |$)' | head -n 1 | tr -d ' ')
        mirror=${mirror:-http://deb.debian.org/debian}
        echo "wine10-root: debootstrap trixie from $mirror into $root"
        rm -rf "$root" && mkdir -p "$root" || return 1
        debootstrap --variant=minbase trixie "$root" $mirror >"$root.debootstrap.log" 2>&1 || {
            echo "wine10-root: debootstrap failed; the end of $root.debootstrap.log:" >&2
            tail -n 20 "$root.debootstrap.log" >&2
            return 1
        }
        touch "$root/.baylith-bootstrapped"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # No services start while packages install.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    echo "wine10-root: installing $packages"
    run 0:0 bash -c "export DEBIAN_FRONTEND=noninteractive; apt-get update -qq &&
        apt-get install -y -qq --no-install-recommends $packages" >"$root.install.log" 2>&1 || {
        echo "wine10-root: installing the packages failed; the end of $root.install.log:" >&2
        tail -n 20 "$root.install.log" >&2
        return 1
    }
    echo "$packages" >"$root/.baylith-packages"
}

case "${1:-}" in
    make) make_root ;;
    run)
        shift
        make_root >/dev/null || exit 1
        run "$(id -u):$(id -g)" "$@"
        ;;
    *) echo "usage: $0 make | run COMMAND [ARG...]" >&2; exit 2 ;;
esac
