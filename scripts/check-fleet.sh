#!/usr/bin/env bash
# Runs examples/fleet/site.yml for real, on this machine (as root; CI runs it),
# against an inventory of two aliases of localhost (web1, web2, connection
# local), so that every check below holds per host:
#  1. the play installs the .deb, evaluates two documents (the packaged rule
#     pack and examples/fleet/test/always-fails.json, whose one rule fails) and
#     succeeds, coreplugin_fail_on being unset; each host folder holds a
#     report.xml that xml.etree reads with one testsuite per document and as
#     many test cases as the JSON report has rules (suites and classes named
#     after the host), and a report.json that json reads line by line, ending
#     with the summary;
#  1b. with the default document, the packaged baseline: no rule errs;
#  2. again with coreplugin_fail_on=high and coreplugin_rules selecting the
#     failing rule: the play fails for that rule on both hosts, the reports
#     are fetched, and nothing is changed on the hosts (idempotent);
#  3. in check mode with a document that does not exist: corehost's exit 2
#     fails both hosts, and the JSON report fetched says why;
#  4. no report directory is left on the host; the package is purged (trap).
#
#   scripts/check-fleet.sh [DEB_DIR]   (DEB_DIR: use packages built already)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
fail() { echo "check-fleet: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "run as root: the play installs and purges the package"
command -v ansible-playbook >/dev/null || fail "ansible-playbook is missing (scripts/install-deps.sh --all)"
if dpkg-query -W -f='${Status}' coreplugin 2>/dev/null | grep -q "ok installed"; then
    fail "coreplugin is installed already; purge it first"
fi
work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq coreplugin >/dev/null 2>&1 || true
    rm -rf /var/cache/coreplugin "$work"
}
trap cleanup EXIT

debs=${1:-}
if [ -z "$debs" ]; then
    debs=$work/debs
    bash scripts/build-packages.sh "$debs" >/dev/null
fi
deb=$(cd "$debs" && ls "$(pwd)"/coreplugin_*.deb)

cat >"$work/inventory.ini" <<EOF
web1
web2

[all:vars]
ansible_connection=local
ansible_python_interpreter=/usr/bin/python3
# Root already, and no sudo here.
ansible_become=false
EOF
reports=$work/reports
always_fails=$root/examples/fleet/test/always-fails.json
# play NAME EXTRA-VARS-JSON [OPTIONS]: runs the playbook, its output in
# $work/NAME.log; the exit status is the playbook's.
play() {
    local name=$1 vars=$2
    shift 2
    ANSIBLE_CONFIG=$root/examples/fleet/ansible.cfg ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0 \
        ansible-playbook -i "$work/inventory.ini" "$root/examples/fleet/site.yml" "$@" \
        -e "{\"coreplugin_deb\": \"$deb\", \"coreplugin_reports_dir\": \"$reports\"${vars:+, $vars}}" \
        >"$work/$name.log" 2>&1
}
# recap NAME HOST: the PLAY RECAP line of HOST.
recap() { grep -E "^$2 +: ok=" "$work/$1.log" || fail "$1: no recap line for $2"; }
# reports RULES DOCUMENTS FAILED: both hosts' reports read back.
check_reports() {
    python3 - "$reports" "$@" <<'EOF' || fail "the reports are not what the play should have fetched"
import json, sys, xml.etree.ElementTree as ET
folder, rules, documents, failed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
for host in ("web1", "web2"):
    lines = [json.loads(line) for line in open(f"{folder}/{host}/report.json", encoding="utf-8")]
    summary = lines[-1]["summary"]
    assert len(lines) - 1 == summary["rules"] == rules, (host, summary)
    assert summary["failed"] == failed, (host, summary)
    root = ET.parse(f"{folder}/{host}/report.xml").getroot()
    suites = root.findall("testsuite")
    assert root.tag == "testsuites" and len(suites) == documents, (host, len(suites))
    cases = [case.get("name") for case in root.iter("testcase")]
    assert cases == [line["id"] for line in lines[:-1]], (host, cases)
    assert int(root.get("failures")) == failed, (host, root.attrib)
    named = suites + list(root.iter("testcase"))
    assert all((e.get("name") if e.tag == "testsuite" else e.get("classname")).startswith(host + ": ")
               for e in named), (host, "suites and classes not named after the host")
EOF
}

# --- 1. Install, evaluate, succeed although a rule fails.
status=0
play first "\"coreplugin_baseline\": [\"/usr/share/coreplugin/examples/rule-pack.json\", \"$always_fails\"]" || status=$?
[ "$status" = 0 ] || { cat "$work/first.log"; fail "the play failed without coreplugin_fail_on (exit $status)"; }
[ "$(dpkg-query -W -f='${Status}' coreplugin)" = "install ok installed" ] || fail "the play did not install coreplugin"
check_reports 8 2 1
for host in web1 web2; do
    grep -q "\"msg\": \"$host: passed 7, failed 1, .*; 8 rules; corehost exit 1; failed: fleet-always-fails (coreplugin_fail_on unset: not failing the host)\"" \
        "$work/first.log" || { cat "$work/first.log"; fail "no summary line for $host"; }
done
echo "check-fleet: installed and evaluated on web1 and web2; a failing rule did not fail the play; reports read back"

# --- 1b. The default document: the packaged Debian 12 baseline. Its rules may
# fail on this machine, but none errs and every rule is in both hosts' reports.
status=0
play baseline "" || status=$?
[ "$status" = 0 ] || { cat "$work/baseline.log"; fail "the play failed on the default baseline (exit $status)"; }
python3 - "$reports" "$root/examples/baseline/debian12.json" <<'EOF' || fail "the baseline's reports are not whole"
import json, sys, xml.etree.ElementTree as ET
rules = len(json.load(open(sys.argv[2], encoding="utf-8"))["rules"])
for host in ("web1", "web2"):
    summary = [json.loads(line) for line in open(f"{sys.argv[1]}/{host}/report.json")][-1]["summary"]
    root = ET.parse(f"{sys.argv[1]}/{host}/report.xml").getroot()
    assert summary["rules"] == len(list(root.iter("testcase"))) == rules, (host, summary)
    assert summary["errors"] == 0 and root.find(".//error") is None, (host, summary)
EOF
echo "check-fleet: the default baseline ran on web1 and web2, no rule erred"

# --- 2. coreplugin_fail_on: the failing rule fails both hosts; nothing changes.
status=0
play fail-on "\"coreplugin_baseline\": [\"examples/rule-pack.json\", \"$always_fails\"], \"coreplugin_fail_on\": \"high\",
    \"coreplugin_rules\": [\"fleet-always-fails\"]" || status=$?
[ "$status" = 2 ] || { cat "$work/fail-on.log"; fail "the play did not fail with coreplugin_fail_on=high (exit $status)"; }
for host in web1 web2; do
    grep -q "^fatal: \[$host\]: FAILED! .*rules of severity high or above failed on $host (coreplugin_fail_on=high): fleet-always-fails\"" \
        "$work/fail-on.log" || { cat "$work/fail-on.log"; fail "$host did not fail for fleet-always-fails"; }
    [[ "$(recap fail-on $host)" == *" changed=0 "*" failed=1 "* ]] ||
        fail "second run on $host: $(recap fail-on $host) (expected nothing changed, one failure)"
done
check_reports 1 2 1
echo "check-fleet: coreplugin_fail_on=high failed both hosts for the failing rule, changing nothing"

# --- 3. Exit status 2 fails the host, in check mode too, after fetching the report.
status=0
play cannot-run "\"coreplugin_baseline\": \"/nonexistent/baseline.json\"" --check || status=$?
[ "$status" = 2 ] || { cat "$work/cannot-run.log"; fail "the play did not fail on a missing baseline (exit $status)"; }
for host in web1 web2; do
    grep -q "^fatal: \[$host\]: FAILED! .*(exit 2): cannot read /nonexistent/baseline.json: No such file or directory\"" \
        "$work/cannot-run.log" || { cat "$work/cannot-run.log"; fail "$host did not fail for the missing baseline"; }
    python3 -c 'import json, sys; assert "cannot read" in json.load(open(sys.argv[1]))["error"]' \
        "$reports/$host/report.json" || fail "$host: the JSON report of the failed run does not say why"
done
echo "check-fleet: corehost's exit 2 failed both hosts, the reports say why"

# --- 4. Nothing of the runs stays on the host.
left=$(find /tmp -maxdepth 1 -name '*.coreplugin-fleet' | head -3)
[ -z "$left" ] || fail "report directories left on the host: $left"
