# A private CUPS server with one CUPS-PDF printer "PDF", so that "Print.." has a
# real printer. Source it; it defines cups_pdf_start, cups_pdf_stop and
# cups_pdf_page_count FILE.
#
# cups_pdf_start runs a cupsd of this run's own: its configuration, spool and
# logs in a scratch folder, listening only on a socket there, which CUPS_SERVER
# points Wine's libcups at. The system's cupsd, its printers and its default
# printer are not touched, and runs side by side do not meet. The CUPS-PDF
# backend reads its settings from /etc/cups/cups-pdf-NAME.conf for the printer
# NAME: the run's printer has a name of its own (PDF_ and the run's suffix), and
# the run writes that file and removes it at the stop. The pages land in $BAYLITH_PDF_DIR (default: a folder
# of the run, removed at the stop), named after the document.

BAYLITH_CUPS_DIR=""
BAYLITH_CUPSD_PID=""
BAYLITH_CUPS_PDF_CONF=""
CUPS_PDF_PPD=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

cups_pdf_running() {
    lpstat -h "$BAYLITH_CUPS_DIR/cups.sock" -r 2>/dev/null | grep -q 'is running'
}

# A private cupsd with one CUPS-PDF printer, made the default; exports
# CUPS_SERVER and BAYLITH_PDF_DIR.
cups_pdf_start() {
    if [ ! -x /usr/lib/cups/backend/cups-pdf ] || [ ! -x /usr/sbin/cupsd ]; then
        echo "cups_pdf_start: cups or printer-driver-cups-pdf is not installed" >&2
        return 1
    fi
    BAYLITH_CUPS_DIR=$(mktemp -d /tmp/baylith-cups.XXXXXX) || return 1
    local dir=$BAYLITH_CUPS_DIR
    local name="PDF_${dir##*.}"
    # The filters run as the lp user: the folders they read must be open to it.
    chmod 755 "$dir"
    mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdf-spool"
    export BAYLITH_PDF_DIR="${BAYLITH_PDF_DIR:-$dir/pdf}"
    mkdir -p "$BAYLITH_PDF_DIR"
    chmod 1777 "$BAYLITH_PDF_DIR"
    cat >"$dir/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
WebInterface No
Browsing Off
# Only this run reaches the socket: no one needs to authenticate.
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
    cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
EOF
    BAYLITH_CUPS_PDF_CONF="/etc/cups/cups-pdf-$name.conf"
    cat >"$BAYLITH_CUPS_PDF_CONF" <<EOF
Out $BAYLITH_PDF_DIR
AnonDirName $BAYLITH_PDF_DIR
Spool $dir/pdf-spool
Log $dir/log
DecodeHexStrings 1
EOF
    /usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
    BAYLITH_CUPSD_PID=$!
    local waited=0
    until cups_pdf_running; do
        if [ $waited -ge 100 ] || ! kill -0 "$BAYLITH_CUPSD_PID" 2>/dev/null; then
            echo "cups_pdf_start: cupsd did not start:" >&2
            cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tail -n 5 >&2
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export CUPS_SERVER="$dir/cups.sock"
    lpadmin -p "$name" -E -v "cups-pdf:/$name" -m "$CUPS_PDF_PPD" 2>/dev/null &&
        lpadmin -d "$name" && cupsenable "$name" && cupsaccept "$name" || {
        echo "cups_pdf_start: the PDF printer could not be added" >&2
        return 1
    }
}

# Stops the private cupsd and removes what the run made. Safe to call twice.
cups_pdf_stop() {
    if [ -n "$BAYLITH_CUPSD_PID" ]; then
        kill "$BAYLITH_CUPSD_PID" 2>/dev/null
        wait "$BAYLITH_CUPSD_PID" 2>/dev/null
        BAYLITH_CUPSD_PID=""
    fi
    if [ -n "$BAYLITH_CUPS_PDF_CONF" ]; then
        rm -f "$BAYLITH_CUPS_PDF_CONF"
        BAYLITH_CUPS_PDF_CONF=""
    fi
    if [ -n "$BAYLITH_CUPS_DIR" ]; then
        rm -rf "$BAYLITH_CUPS_DIR"
        BAYLITH_CUPS_DIR=""
    fi
    return 0
}

# Prints the number of pages of a PDF file.
cups_pdf_page_count() {
    pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'
}
