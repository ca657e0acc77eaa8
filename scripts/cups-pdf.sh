# A local CUPS with the CUPS-PDF printer "PDF", so that "Print.." has a real printer.
# Source it and call cups_pdf_start / cups_pdf_stop; the PDF files land in
# $BAYLITH_PDF_DIR (default /tmp/baylith-pdf), named after the document.
# Without a printer: cups_pdf_remove_printer (cupsd keeps running, no printer), or
# never start cupsd at all. Run directly, the script takes one command:
#   bash scripts/cups-pdf.sh start|remove-printer|add-printer|page-count FILE

BAYLITH_CUPSD_PID=""
CUPS_PDF_CONF=/etc/cups/cups-pdf.conf
CUPS_PDF_PPD=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

cups_running() {
    lpstat -r 2>/dev/null | grep -q 'is running'
}

cups_pdf_add_printer() {
    lpadmin -p PDF -E -v cups-pdf:/ -m "$CUPS_PDF_PPD" 2>/dev/null || return 1
    lpadmin -d PDF || return 1
    cupsenable PDF 2>/dev/null
    cupsaccept PDF 2>/dev/null
    return 0
}

cups_pdf_remove_printer() {
    if cups_running && lpstat -p PDF >/dev/null 2>&1; then
        lpadmin -x PDF
    fi
    return 0
}

# Starts cupsd (unless one answers already), adds the default printer PDF and
# points CUPS-PDF's output folder at $BAYLITH_PDF_DIR.
cups_pdf_start() {
    export BAYLITH_PDF_DIR="${BAYLITH_PDF_DIR:-/tmp/baylith-pdf}"
    mkdir -p "$BAYLITH_PDF_DIR"
    chmod 1777 "$BAYLITH_PDF_DIR"
    if [ -f "$CUPS_PDF_CONF" ]; then
        sed -i "s|^#\?Out .*|Out $BAYLITH_PDF_DIR|" "$CUPS_PDF_CONF"
        # Root's and anonymous jobs go to the same folder.
        sed -i "s|^#\?AnonDirName .*|AnonDirName $BAYLITH_PDF_DIR|" "$CUPS_PDF_CONF"
    else
        echo "cups_pdf_start: $CUPS_PDF_CONF missing (printer-driver-cups-pdf not installed?)" >&2
        return 1
    fi
    if ! cups_running; then
        /usr/sbin/cupsd -f >/dev/null 2>&1 &
        BAYLITH_CUPSD_PID=$!
        local waited=0
        until cups_running; do
            if [ $waited -ge 100 ] || ! kill -0 "$BAYLITH_CUPSD_PID" 2>/dev/null; then
                echo "cups_pdf_start: cupsd did not start" >&2
                return 1
            fi
            sleep 0.1
            waited=$((waited + 1))
        done
    fi
    cups_pdf_add_printer
}

# Stops the cupsd started by cups_pdf_start (none started: nothing to do). Safe twice.
cups_pdf_stop() {
    if [ -n "$BAYLITH_CUPSD_PID" ]; then
        kill "$BAYLITH_CUPSD_PID" 2>/dev/null
        wait "$BAYLITH_CUPSD_PID" 2>/dev/null
        BAYLITH_CUPSD_PID=""
    fi
    return 0
}

# Prints the number of pages of a PDF file.
cups_pdf_page_count() {
    pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    case "${1:-}" in
        remove-printer) cups_pdf_remove_printer ;;
        add-printer) if cups_running; then cups_pdf_add_printer; fi ;;
        page-count) cups_pdf_page_count "$2" ;;
        *) echo "usage: $0 remove-printer|add-printer|page-count FILE" >&2; exit 2 ;;
    esac
fi
