#!/usr/bin/env bash
# A Debian 13 root with Wine 10, for running the Windows program and its tests
# under Wine 10 beside the host's Wine 8. Run it as
#   bash scripts/wine10-root.sh make             (make or complete the root)
#   bash scripts/wine10-root.sh run CMD [ARG...] (run a command in it)
# or source it; it defines:
#   wine10_root_make     makes (once) or completes the root under build/debian13
#   wine10_root_run CMD  runs CMD (a bash command line) inside the root, with the
#                        working folder, /tmp (the X sockets) and the repository
#                        visible at their host paths
# The mounts are made in a private mount namespace (unshare): they belong to the
# one command and are gone when it ends, whatever way it ends.

BAYLITH_REPO_DIR="${BAYLITH_REPO_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
WINE10_ROOT="${BAYLITH_WINE10_ROOT:-$BAYLITH_REPO_DIR/build/debian13}"
WINE10_SUITE=trixie
# What the tests need inside: Wine and its recommended X libraries, a virtual
# display, OSMesa for Wine's bitmap pixel formats, CUPS-PDF with poppler for the
# printed page, ctest to run the cases, the locale sources for code page 1251 and
# ImageMagick for the root-window capture.
WINE10_PACKAGES=(
  wine wine64 fonts-wine libosmesa6 libgl1-mesa-dri
  libxcomposite1 libxcursor1 libxi6 libxinerama1 libegl1
  xvfb xauth x11-utils
  cups printer-driver-cups-pdf poppler-utils
  cmake locales imagemagick procps
)

# The Debian mirror that the host's apt uses (the first non-security entry).
wine10_mirror() {
    local uri
    uri=$(grep -hE '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null |
          awk '{print $2}' | grep -v security | grep -E '/debian/?$' | head -n 1)
    if [ -z "$uri" ]; then
        uri=$(grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
              awk '{print $2}' | grep -v security | grep -E '/debian/?$' | head -n 1)
    fi
    echo "${uri:-http://deb.debian.org/debian}"
}

wine10_root_make() {
    local marker="$WINE10_ROOT/.baylith-packages"
    local wanted="${WINE10_PACKAGES[*]}"
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$wanted" ]; then
        return 0
    fi
    if ! command -v debootstrap >/dev/null 2>&1; then
        echo "wine10-root: debootstrap is not installed" >&2
        return 1
    fi
    local mirror
    mirror=$(wine10_mirror)
    if [ ! -x "$WINE10_ROOT/usr/bin/apt-get" ] || [ ! -f "$WINE10_ROOT/.baylith-bootstrapped" ]; then
        echo "wine10-root: debootstrap $WINE10_SUITE from $mirror into $WINE10_ROOT"
        rm -rf "$WINE10_ROOT"
        mkdir -p "$WINE10_ROOT"
        debootstrap --variant=minbase "$WINE10_SUITE" "$WINE10_ROOT" "$mirror" \
            >"$WINE10_ROOT.debootstrap.log" 2>&1 || {
            echo "wine10-root: debootstrap failed; the end of its log:" >&2
            tail -n 20 "$WINE10_ROOT.debootstrap.log" >&2
            return 1
        }
        touch "$WINE10_ROOT/.baylith-bootstrapped"
    fi
    cp /etc/resolv.conf "$WINE10_ROOT/etc/resolv.conf" 2>/dev/null
    # No services start while packages install (cupsd is started by hand).
    printf '#!/bin/sh\nexit 101\n' >"$WINE10_ROOT/usr/sbin/policy-rc.d"
    chmod 755 "$WINE10_ROOT/usr/sbin/policy-rc.d"
    echo "wine10-root: installing ${WINE10_PACKAGES[*]}"
    wine10_root_run "export DEBIAN_FRONTEND=noninteractive;
        apt-get update -qq && apt-get install -y -qq --no-install-recommends ${WINE10_PACKAGES[*]}" \
        >"$WINE10_ROOT.install.log" 2>&1 || {
        echo "wine10-root: installing the packages failed; the end of the log:" >&2
        tail -n 20 "$WINE10_ROOT.install.log" >&2
        return 1
    }
    echo "$wanted" >"$marker"
}

wine10_root_run() {
    local command=$1
    local work
    work=$(pwd)
    # The root starts from a clean environment but for the project's own settings.
    local -a passed=()
    local variable
    while read -r variable; do
        passed+=("$variable=${!variable}")
    done < <(compgen -e | grep -E '^(BAYLITH_|SOAK_|CI$|JOBS$)' | grep -vE '^BAYLITH_(WINEPREFIX|PDF_DIR)$')
    unshare --mount --propagation private bash -c '
        set -e
        root=$1; repo=$2; work=$3; command=$4
        mount --rbind /proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount --rbind /sys "$root/sys"
        mount --bind /tmp "$root/tmp"
        for dir in "$repo" "$work"; do
            mkdir -p "$root$dir"
            mount --bind "$dir" "$root$dir"
        done
        set +e
        exec chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
            HOME=/root LANG=C.UTF-8 TERM=dumb "${@:5}" /bin/bash -c "cd \"$work\" && $command"
    ' wine10-root "$WINE10_ROOT" "$BAYLITH_REPO_DIR" "$work" "$command" "${passed[@]+"${passed[@]}"}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    case "${1:-}" in
        make) wine10_root_make ;;
        run)
            shift
            wine10_root_make >/dev/null || exit 1
            wine10_root_run "$(printf '%q ' "$@")"
            ;;
        *) echo "usage: $0 make | run COMMAND [ARGUMENTS]" >&2; exit 2 ;;
    esac
fi
