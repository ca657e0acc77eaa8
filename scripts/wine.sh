#!/usr/bin/env bash
# Runs a command under Wine 8 (the host's) or Wine 10 (in the Debian 13 root of
# scripts/wine10-root.sh) in a session of its own: a private Xvfb display, a
# private CUPS server with one CUPS-PDF printer, and the prefix of that Wine
# (build/wineprefix-VERSION) with its wineserver running. What it starts it stops
# when the command ends; the exit status is the command's.
#   bash scripts/wine.sh 8|10 COMMAND [ARG...]
#   bash scripts/wine.sh 8|10 --desktop COMMAND [ARG...]   the caller's display and printers
#   bash scripts/wine.sh --own-display 8|10 COMMAND [ARG...]  inside a session, in the
#                                        Wine it runs: a display of its own, the session's printer
# The command sees DISPLAY, WINEPREFIX, CUPS_SERVER, BAYLITH_PDF_DIR (where the
# printed pages land) and LANG=C.UTF-8. BAYLITH_XVFB_SCREEN sets the screen (default 1280x1024x24),
# BAYLITH_WINEPREFIX another prefix (one session at a time in a prefix).
# Works as root or as a user with sudo (the printer server runs as root: CUPS-PDF
# writes as the printing user), with no terminal and no window manager.
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
as_root=()
[ "$(id -u)" = 0 ] || as_root=(sudo)
xvfb_pid="" cupsd_pid="" cups_dir="" cups_pdf_conf=""

# Xvfb on the first free display number from 90 up.
start_display() {
    local number=90 attempts waited
    for attempts in 1 2 3 4 5 6 7 8 9 10; do
        while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
            number=$((number + 1))
        done
        Xvfb ":$number" -screen 0 "${BAYLITH_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for waited in $(seq 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break  # lost a race for this number
            if DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$number"
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
        number=$((number + 1))
    done
    echo "wine.sh: no Xvfb display could be started" >&2
    return 1
}

# A cupsd of this run's own, listening only on a socket in a scratch folder that
# CUPS_SERVER points Wine's libcups at, with one CUPS-PDF printer as its default:
# the system's CUPS server and default printer are left alone, and sessions side
# by side do not meet. The CUPS-PDF backend reads /etc/cups/cups-pdf-NAME.conf for
# the printer NAME: the session writes that file and removes it at the end.
start_printer() {
    cups_dir=$(mktemp -d /tmp/baylith-cups.XXXXXX) || return 1
    local name="PDF_${cups_dir##*.}"
    # The filters run as the lp user: the folders they read must be open to it.
    chmod 755 "$cups_dir"
    mkdir -p "$cups_dir/etc/ppd" "$cups_dir/spool/tmp" "$cups_dir/cache" "$cups_dir/state" \
             "$cups_dir/log" "$cups_dir/pdf-spool" "$cups_dir/pdf"
    chmod 1777 "$cups_dir/pdf"
    export BAYLITH_PDF_DIR="$cups_dir/pdf"
    cat >"$cups_dir/cupsd.conf" <<EOF
Listen $cups_dir/cups.sock
LogLevel warn
WebInterface No
Browsing Off
# Only this session reaches the socket: no one needs to authenticate.
DefaultPolicy open
<Policy open>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
<Location />
  Order deny,allow
</Location>
EOF
    cat >"$cups_dir/cups-files.conf" <<EOF
ServerRoot $cups_dir/etc
RequestRoot $cups_dir/spool
TempDir $cups_dir/spool/tmp
CacheDir $cups_dir/cache
StateDir $cups_dir/state
ErrorLog $cups_dir/log/error_log
AccessLog $cups_dir/log/access_log
PageLog $cups_dir/log/page_log
EOF
    cups_pdf_conf="/etc/cups/cups-pdf-$name.conf"
    "${as_root[@]}" tee "$cups_pdf_conf" >/dev/null <<EOF
Out $BAYLITH_PDF_DIR
AnonDirName $BAYLITH_PDF_DIR
Spool $cups_dir/pdf-spool
Log $cups_dir/log
DecodeHexStrings 1
EOF
    # Its pid (or sudo's, which passes the signal on) stops it at the end.
    "${as_root[@]}" /usr/sbin/cupsd -f -c "$cups_dir/cupsd.conf" -s "$cups_dir/cups-files.conf" \
        >"$cups_dir/log/cupsd.out" 2>&1 &
    cupsd_pid=$!
    local waited
    for waited in $(seq 100); do
        lpstat -h "$cups_dir/cups.sock" -r 2>/dev/null | grep -q 'is running' && break
        if [ "$waited" = 100 ] || ! kill -0 "$cupsd_pid" 2>/dev/null; then
            echo "wine.sh: cupsd did not start:" >&2
            cat "$cups_dir/log/cupsd.out" "$cups_dir/log/error_log" 2>/dev/null | tail -n 5 >&2
            return 1
        fi
        sleep 0.1
    done
    export CUPS_SERVER="$cups_dir/cups.sock"
    /usr/sbin/lpadmin -p "$name" -E -v "cups-pdf:/$name" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null &&
        /usr/sbin/lpadmin -d "$name" && /usr/sbin/cupsenable "$name" && /usr/sbin/cupsaccept "$name" || {
        echo "wine.sh: the CUPS-PDF printer could not be added" >&2
        return 1
    }
}

stop_session() {
    if [ -n "$cupsd_pid" ]; then
        "${as_root[@]}" kill "$cupsd_pid" 2>/dev/null
        wait "$cupsd_pid" 2>/dev/null
    fi
    [ -n "$cups_pdf_conf" ] && "${as_root[@]}" rm -f "$cups_pdf_conf"
    [ -n "$cups_dir" ] && "${as_root[@]}" rm -rf "$cups_dir"
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    return 0
}

# In the Wine that runs it (the host's, or the root's): the prefix of that Wine,
# made once, with a persistent wineserver so that each start is fast, then the
# command.
with_prefix() {
    local version=$1; shift
    local found
    found=$(wine --version 2>/dev/null)
    case "$found" in
        "wine-$version."*) ;;
        *) echo "wine.sh: Wine $version wanted, '$found' found" >&2; return 1 ;;
    esac
    found=${found#wine-}
    export WINEPREFIX="${BAYLITH_WINEPREFIX:-$repo/build/wineprefix-${found%% *}}"
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || { echo "wine.sh: wineboot failed" >&2; return 1; }
        wineserver -w
    fi
    # Debian's Wine looks for its own fonts in the wrong folder.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    # Without a window manager every top-level DestroyWindow takes ~2 s; unmanaged
    # windows avoid that and get Windows-style frames.
    if ! grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    wineserver -p60 >/dev/null 2>&1 &
    # Wine's own services start now, with no terminal or pipe of ours: started by
    # a test they would inherit its output pipes, and ctest would wait for them.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    echo "wine.sh: $(wine --version), display $DISPLAY"
    "$@"
    local status=$?
    wineserver -k >/dev/null 2>&1
    return $status
}

if [ "${1:-}" = --prefix ]; then  # inside the Debian 13 root
    shift
    with_prefix "$@"
    exit
fi
if [ "${1:-}" = --own-display ]; then  # inside a session: a display of its own, its printer
    shift
    trap stop_session EXIT
    start_display || exit 1
    with_prefix "$@"
    exit
fi
version=${1:-}
shift
case "$version" in
    8|10) ;;
    *) echo "usage: $0 8|10 [--desktop] COMMAND [ARG...]" >&2; exit 2 ;;
esac
trap stop_session EXIT
trap 'exit 130' INT TERM
# Wine takes its ANSI code page and the encoding of Unix file names from the
# locale: C.UTF-8 gives code page 1252 and any name, whatever the caller's locale.
unset LC_ALL LC_CTYPE LANGUAGE
export LANG=C.UTF-8
if [ "${1:-}" = --desktop ]; then
    shift
else
    start_display && start_printer || exit 1
fi
if [ "$version" = 8 ]; then
    with_prefix 8 "$@"
else
    bash "$repo/scripts/wine10-root.sh" run bash "$repo/scripts/wine.sh" --prefix 10 "$@"
fi
