#!/usr/bin/env bash
# A private print scheduler for the printing tests: its own configuration, spool, logs and socket in one
# folder, never the machine's scheduler or port 631. Two PDF queues write into folders of that folder; a
# third queue is stopped.
#   scheduler.sh start FOLDER    starts it (fails, saying why, when it cannot)
#   scheduler.sh stop FOLDER     stops it by its process id and removes what it put outside FOLDER
set -uo pipefail
export PATH="$PATH:/usr/sbin:/sbin"

fail() { echo "print scheduler for the tests: $*" >&2; exit 1; }

action=${1:-}
dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || fail "usage: scheduler.sh start|stop FOLDER"
mkdir -p "$dir" || fail "cannot create $dir"
dir=$(cd "$dir" && pwd)
# The PDF backend reads a configuration per instance from /etc/cups only; the instance names are unique to
# this folder so that two build trees never share one.
instance="ombrelle-test-$(printf '%s' "$dir" | md5sum | cut -c1-12)"
pdf_conf() { echo "/etc/cups/cups-pdf-$instance-$1.conf"; }

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null
        fi
        rm -f "$dir/cupsd.pid"
    fi
    if [ -f "$dir/tempdir" ]; then
        rm -rf "$(cat "$dir/tempdir")"
        rm -f "$dir/tempdir"
    fi
    rm -f "$(pdf_conf a)" "$(pdf_conf b)"
}

case "$action" in
stop)
    stop
    exit 0
    ;;
start) ;;
*) fail "unknown action $action" ;;
esac

stop
[ "$(id -u)" -eq 0 ] || fail "must run as root: the PDF backend takes its output folder from /etc/cups"
for tool in cupsd lpadmin lpstat cupsdisable; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh --tests installs cups and cups-client)"
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -x /usr/lib/cups/backend/cups-pdf ] && [ -f "$ppd" ] ||
    fail "the cups-pdf backend is not installed (scripts/install-deps.sh --tests installs printer-driver-cups-pdf)"

rm -rf "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" "$dir/ppd" "$dir/pdf-a" "$dir/pdf-b"
mkdir -p "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdf-a" "$dir/pdf-b"
# Filters run as the unprivileged print user and write their temporary files here, so it must be reachable
# by that user wherever the build folder is.
tmp=$(mktemp -d /tmp/ombrelle-print-XXXXXX) || fail "cannot create a temporary folder in /tmp"
chmod 1777 "$tmp"
echo "$tmp" >"$dir/tempdir"
sock="$dir/cups.sock"
cat >"$dir/cupsd.conf" <<CONF
Listen $sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
ErrorPolicy abort-job
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
SystemGroup root
CONF
for q in a b; do
    printf 'Out %s\nLabel 2\nTitlePref 1\nUserUMask 0022\nGrp root\n' "$dir/pdf-$q" >"$(pdf_conf $q)" ||
        fail "cannot write $(pdf_conf $q)"
done

rm -f "$sock"
setsid cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"
export CUPS_SERVER="$sock"
for _ in $(seq 1 100); do
    lpstat -r >/dev/null 2>&1 && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || { stop; fail "cupsd ended at start: $(tail -3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null)"; }
    sleep 0.1
done
lpstat -r >/dev/null 2>&1 || { stop; fail "cupsd did not answer on $sock within 10 s"; }

add_queue() {
    local out
    for _ in 1 2 3; do
        out=$(lpadmin -p "$1" -E -v "cups-pdf:/$instance-$2" -P "$ppd" 2>&1) && return 0
        sleep 0.5
    done
    stop
    fail "cannot add the queue $1: $out"
}
add_queue OmbrellePDF a
add_queue OmbrelleOther b
add_queue OmbrelleStopped a
lpadmin -d OmbrellePDF >/dev/null 2>&1 || { stop; fail "cannot make OmbrellePDF the default queue"; }
cupsdisable OmbrelleStopped || { stop; fail "cannot stop the queue OmbrelleStopped"; }
echo "print scheduler for the tests on $sock (pid $(cat "$dir/cupsd.pid"))"
