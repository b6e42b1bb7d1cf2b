#!/usr/bin/env bash
# Checks the units of examples/systemd: systemd-analyze verify accepts them
# without a warning, and the service's own command line, run as systemd would
# run it (its Environment=, $$ and %% unescaped, STATE_DIRECTORY set), writes
# the day's report and its diff against the previous one, keeps its exit
# status, and keeps only the last COREPLUGIN_KEEP_REPORTS reports.
#
#   check-units.sh UNIT_DIR COREHOST WORK_DIR DOCUMENT
# COREHOST replaces /usr/bin/corehost, WORK_DIR the unit's WorkingDirectory,
# and DOCUMENT (relative to WORK_DIR; all its rules pass) the baseline.
set -euo pipefail
unit_dir=$1 corehost=$2 work_dir=$3 document=$4
service=$unit_dir/coreplugin-baseline.service
fail() { echo "check-units: $*" >&2; exit 1; }

warnings=$(systemd-analyze verify --man=no "$service" "$unit_dir/coreplugin-baseline.timer" 2>&1) ||
    fail "systemd-analyze verify refused the units: $warnings"
[ -z "$warnings" ] || fail "systemd-analyze verify warned: $warnings"

state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
command=$(sed -n 's/^ExecStart=//p' "$service" | sed 's/\$\$/$/g; s/%%/%/g')
command=${command//\/usr\/bin\/corehost/$corehost}
grep -q '^Environment=COREPLUGIN_KEEP_REPORTS=[0-9]' "$service" ||
    fail "no COREPLUGIN_KEEP_REPORTS in $service"
keep=3
run() { # DOCUMENT -> the command's exit status
    (cd "$work_dir" && STATE_DIRECTORY=$state COREPLUGIN_BASELINE=$1 COREPLUGIN_KEEP_REPORTS=$keep \
        eval "$command") 2>/dev/null
}

today=$state/baseline-$(date +%F).json
# Three earlier reports without rules: today every rule is new in the diff.
for day in 01 02 03; do echo '{"summary": {}}' >"$state/baseline-2000-01-$day.json"; done
echo '{"summary": {}}' >"$state/baseline-2000-01-01.diff"
cp "$state/baseline-2000-01-01.json" "$state/other.json"
run "$document" || fail "the service failed on $document"
[ -s "$today" ] || fail "no report $today"
rules=$(grep -c '"id"' "$today")
passed=$(grep -c '"status":"pass"' "$today" || true)
[ "$rules" -gt 0 ] && [ "$rules" = "$passed" ] || fail "report: $passed of $rules rules pass"
[ ! -e "$state/baseline-2000-01-01.json" ] && [ ! -e "$state/baseline-2000-01-01.diff" ] ||
    fail "more than the last $keep reports (or an old diff) were kept"
[ -e "$state/baseline-2000-01-02.json" ] && [ -e "$state/other.json" ] ||
    fail "a recent report or another file was deleted"
[ "$(grep -c ' -> pass' "${today%.json}.diff")" = "$rules" ] ||
    fail "the diff against the previous report does not list the $rules new rules"

# A failing rule fails the unit, and its report is still kept whole.
echo '{"rules": [{"id": "no", "expect": "true", "tree": {"name": "ValueOf", "properties": {"value": "false"}}}]}' \
    >"$state/failing.json"
status=0
run "$state/failing.json" || status=$?
[ "$status" = 1 ] || fail "a failing rule ended the service with $status, not 1"
grep -q '"status":"fail"' "$today" || fail "the failing run's report is not the day's report"
[ -z "$(find "$state" -name '*.part')" ] || fail "a partial report was left"
echo "check-units: the units verify, the service writes, keeps and prunes its reports"
