#!/usr/bin/env bash
# Runs a system baseline on this machine as CI does, and checks that it is
# sound rather than that the machine is hardened:
#  1. `corehost check` finds nothing in it;
#  2. `corehost eval` writes a JUnit and a JSON report (exit 0 or 1: rules may
#     fail on this machine; 2 is a broken run);
#  3. the JUnit report, read with Python's XML parser, has one testcase per
#     rule and no <error>: a rule that errs is a mistake in the baseline or a
#     fault of a plug-in, never a finding about the machine; the JSON report
#     agrees with it;
#  4. the same again as if no package were installed (an empty dpkg
#     database): the rules about absent services are skipped, none errs;
#  5. the table of README.md beside the baseline lists exactly its rule ids;
#  6. every rule carries exactly one profile tag, `server` or `strict`.
# Prints one summary line (passed/failed/skipped) and the failing rule ids.
#
#   scripts/run-baseline.sh [COREHOST] [BASELINE]
#   (default build/release/bin/corehost and examples/baseline/debian12.json)
set -euo pipefail
cd "$(dirname "$0")/.."
corehost=${1:-build/release/bin/corehost}
baseline=${2:-examples/baseline/debian12.json}
fail() { echo "run-baseline: $*" >&2; exit 1; }
[ -x "$corehost" ] || [ -x "$(command -v "$corehost" 2>/dev/null)" ] || fail "no corehost at $corehost"
[ -r "$baseline" ] || fail "cannot read $baseline"
[ "$(id -u)" = 0 ] ||
    echo "run-baseline: not root: accounts-no-empty-passwords cannot read /etc/shadow and errs" >&2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$corehost" check "$baseline" >"$work/check.txt" 2>&1 ||
    { cat "$work/check.txt" >&2; fail "corehost check finds fault with $baseline"; }

# Evaluates the baseline into junit.xml and report.json under $work/$1, with
# the remaining arguments passed to corehost.
evaluate() {
    local dir=$work/$1
    shift
    mkdir -p "$dir"
    for format in junit json; do
        local status=0
        "$corehost" "$@" eval --format "$format" -o "$dir/report.$format" "$baseline" \
            2>"$dir/stderr.$format" || status=$?
        if [ "$status" -gt 1 ]; then
            cat "$dir/stderr.$format" >&2
            fail "corehost eval --format $format $baseline exited with $status"
        fi
    done
}

# Reads the reports of $work/$1; prints the summary line and the failing ids.
# With "none-applies-to", the rule ids that must have been skipped follow.
read_reports() {
    python3 - "$baseline" "$work/$1" "${@:2}" <<'EOF'
import json, sys
import xml.etree.ElementTree as ET

baseline, directory = sys.argv[1], sys.argv[2]
must_skip = set(sys.argv[3:])
ids = [rule["id"] for rule in json.load(open(baseline, encoding="utf-8"))["rules"]]
cases = ET.parse(directory + "/report.junit").getroot().findall(".//testcase")
names = [case.get("name") for case in cases]
if names != ids:
    sys.exit(f"run-baseline: the JUnit report has {len(names)} testcases for {len(ids)} rules, "
             f"or not in their order: {sorted(set(names) ^ set(ids))}")
errors = [case.get("name") + ": " + case.find("error").get("message", "")
          for case in cases if case.find("error") is not None]
if errors:
    sys.exit("run-baseline: rules that err (a mistake in the baseline or a plug-in fault):\n  "
             + "\n  ".join(errors))
failed = [case.get("name") for case in cases if case.find("failure") is not None]
skipped = [case.get("name") for case in cases if case.find("skipped") is not None]
passed = len(cases) - len(failed) - len(skipped)
lines = [json.loads(line) for line in open(directory + "/report.json", encoding="utf-8")]
summary = lines[-1]["summary"]
if (summary["passed"], summary["failed"], summary["skipped"], summary["errors"]) != \
        (passed, len(failed), len(skipped), 0) or len(lines) != len(ids) + 1:
    sys.exit(f"run-baseline: the JSON report does not agree with the JUnit report: {summary}")
not_skipped = sorted(must_skip - set(skipped))
if not_skipped:
    sys.exit("run-baseline: rules that should not apply here were evaluated: " +
             ", ".join(not_skipped))
print(f"passed {passed}, failed {len(failed)}, skipped {len(skipped)}, errors 0; "
      f"{len(ids)} rules")
if failed:
    print("failing: " + " ".join(failed))
EOF
}

evaluate here
echo "run-baseline: $baseline on this machine:"
read_reports here

# No package installed: an empty dpkg database. Every rule whose onlyIf asks
# for a package (ssh, cron, rsyslog, journald, sudo...) must be skipped.
mkdir -p "$work/dpkg/updates"
: >"$work/dpkg/status"
evaluate no-packages --set "SystemPlugin:dpkgAdminDir=$work/dpkg"
package_rules=$(python3 -c '
import json, sys
def asks(node):
    return node.get("name") == "PackageInstalled" or any(asks(c) for c in node.get("children", []))
for rule in json.load(open(sys.argv[1], encoding="utf-8"))["rules"]:
    if "onlyIf" in rule and asks(rule["onlyIf"]):
        print(rule["id"])' "$baseline")
echo "run-baseline: the same with no package installed:"
# shellcheck disable=SC2086 # one id a word
read_reports no-packages $package_rules

# The README's table lists exactly the rules, each once.
readme=$(dirname "$baseline")/README.md
[ -r "$readme" ] || fail "no $readme beside the baseline"
# The rows of the tables under "## The rules": | `id` | severity | title |
table_ids=$(awk '/^## The rules/ { rules = 1; next } /^## / { rules = 0 }
                 rules && match($0, /^\| `[^`]*` \|/) { print substr($0, 4, RLENGTH - 6) }' "$readme" |
    sort)
rule_ids=$(python3 -c 'import json, sys
for rule in json.load(open(sys.argv[1], encoding="utf-8"))["rules"]: print(rule["id"])' "$baseline" |
    sort)
if [ "$table_ids" != "$rule_ids" ]; then
    diff <(echo "$rule_ids") <(echo "$table_ids") | sed 's/^</  only in the baseline:/; s/^>/  only in README.md:/' |
        grep only >&2 || true
    fail "the table of $readme does not list exactly the baseline's rules"
fi
echo "run-baseline: $readme lists the $(echo "$rule_ids" | wc -l) rules"

# One profile a rule, so that --tag server and --tag strict split the baseline.
unprofiled=$(python3 -c 'import json, sys
for rule in json.load(open(sys.argv[1], encoding="utf-8"))["rules"]:
    tags = rule.get("tags", [])
    if sum(tag in ("server", "strict") for tag in tags) != 1: print(rule["id"])' "$baseline")
[ -z "$unprofiled" ] || fail "rules without exactly one profile tag (server or strict): $(echo $unprofiled)"
