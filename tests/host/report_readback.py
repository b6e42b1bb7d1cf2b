#!/usr/bin/env python3
"""Reads corehost's reports of a hostile document back the way their readers
do: text with str.splitlines, JSON lines with Python's json, JUnit with
xml.etree, TAP with Perl's TAP::Parser. Every reader must see each rule once,
with the values it was given (or, in TAP, cut with their length stated), and
nothing a value holds may pass for another line, header or test. Also: a
report written with --output stays valid when the input is not, and colour
appears only on a terminal without NO_COLOR.

usage: report_readback.py COREHOST FAKE_PLUGIN
"""
import json
import os
import pty
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LONG = "y" * 70000
SEPARATORS = "a\u2028b\u2029c\u0085d\x0be\x0cf\x1cg\x1dh\x1ei\r\nj"
RULES = [
    # id, expect, value
    ("plain", None, "x\n[firewall-on] pass"),
    ("forged] pass\n[other", "x", "y"),
    ("line\u2028separators", SEPARATORS, SEPARATORS),
    ("long", "short", LONG),
    ("two lines", "one", "first\nsecond"),
    ("after the long one", "z", "z"),
]
TAGS = ["t\u2029ag", "x\ny"]

PERL = r"""
use strict; use warnings; use TAP::Parser; use JSON::PP;
my $tap = do { local $/; <STDIN> };
my $parser = TAP::Parser->new({ tap => $tap });
my @tests;
while (my $r = $parser->next) {
    push @tests, { ok => $r->is_ok ? 1 : 0, skip => $r->has_skip ? 1 : 0, name => $r->description } if $r->is_test;
    $tests[-1]{yaml} = $r->data if $r->is_yaml && @tests;
}
print JSON::PP->new->utf8->canonical->encode({ planned => $parser->tests_planned + 0,
    errors => [$parser->parse_errors], tests => \@tests });
"""


def document():
    rules = []
    for rule_id, expect, value in RULES:
        rule = {"id": rule_id, "tags": TAGS, "tree": {"name": "Value", "properties": {"value": value}}}
        if expect is not None:
            rule["expect"] = expect
        rules.append(rule)
    return {"rules": rules}


def corehost(args, **kwargs):
    return subprocess.run(args, capture_output=True, check=False, **kwargs)


def check(condition, what):
    if not condition:
        print("FAIL:", what)
        sys.exit(1)


def main():
    base = sys.argv[1:3]
    base = [base[0], "--plugin", base[1], "eval"]
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "hostile.json")
        with open(path, "w", encoding="utf-8") as f:
            json.dump(document(), f)
        reports = {fmt: corehost(base + ["--format", fmt, path]) for fmt in ("text", "json", "junit", "tap")}
        for fmt, run in reports.items():
            check(run.returncode == 1, f"{fmt}: exit status {run.returncode}")
        outputs(base, tmp)
    read_text(reports["text"].stdout.decode("utf-8"))
    read_json(reports["json"].stdout.decode("utf-8"))
    read_junit(reports["junit"].stdout)
    read_tap(reports["tap"].stdout)
    colour(base)
    print("text, json, junit and tap reports read back")


def read_text(out):
    lines = out.split("\n")[:-1]
    check(out.splitlines() == lines, "text: a value holds a Unicode line break")
    headers = [line for line in lines if line.startswith("[")]
    check(len(headers) == len(RULES), f"text: {len(headers)} header lines for {len(RULES)} rules: {headers}")
    check(all(line.startswith("  ") for line in lines if not line.startswith("[")), "text: a line outside a rule")
    check(headers[1].startswith("[forged\\] pass\\n[other] FAIL"), f"text: header {headers[1]!r}")


def read_json(out):
    lines = out.split("\n")[:-1]
    check(out.splitlines() == lines, "json: a line holds a Unicode line break")
    objects = [json.loads(line) for line in lines]
    summary = objects.pop()["summary"]
    check({k: summary.get(k) for k in ("passed", "failed", "errors", "withoutExpectation", "skipped", "rules")} == {"passed": 2, "failed": 3, "errors": 0, "withoutExpectation": 1, "skipped": 0, "rules": 6}, summary)
    check(summary["bySection"] == {TAGS[0]: {"passed": 2, "failed": 3, "errors": 0, "withoutExpectation": 1, "skipped": 0}}, summary)
    for got, (rule_id, expect, value) in zip(objects, RULES):
        check((got["id"], got["result"], got.get("expected"), got["tags"]) == (rule_id, value, expect, TAGS),
              f"json: {rule_id!r} does not read back as given")


def read_junit(out):
    root = ET.fromstring(out)
    cases = root.findall("testsuite/testcase")
    check(len(cases) == len(RULES), f"junit: {len(cases)} test cases")
    check([root.get(k) for k in ("tests", "failures", "errors", "skipped")] == ["6", "3", "0", "1"], root.attrib)
    check(cases[0].find("skipped") is not None and cases[0].find("failure") is None, "junit: no skipped rule")
    for case in cases:
        for text in [case.get("name")] + [e.get("message") or "" for e in case] + [e.text or "" for e in case]:
            check(not any(c in text for c in "\u2028\u2029\u0085"), f"junit: a line separator in {text[:60]!r}")


def read_tap(out):
    run = subprocess.run(["perl", "-e", PERL], input=out, capture_output=True, check=True)
    tap = json.loads(run.stdout)
    tests = tap["tests"]
    check(tap["planned"] == len(tests) == len(RULES) and not tap["errors"], f"tap: {tap['planned']}, {tap['errors']}")
    check([t["ok"] for t in tests] == [1, 0, 1, 0, 0, 1] and tests[0]["skip"] == 1, "tap: statuses")
    for test in tests:
        check(test["yaml"]["tags"] == ["t\\u2029ag", "x\ny\n"], f"tap: tags {test['yaml'].get('tags')}")
    actual = tests[3]["yaml"]["actual"]
    check(actual.startswith("y" * 4096) and actual.endswith("... (70000 characters)") and len(actual) < 5000,
          f"tap: the long value is not cut with its length: {actual[-40:]!r}")
    check(tests[4]["yaml"]["actual"] == "first\nsecond\n", f"tap: block scalar {tests[4]['yaml']['actual']!r}")
    check(tests[5]["name"] == "- after the long one", f"tap: {tests[5]['name']!r}")


def outputs(base, tmp):
    report = os.path.join(tmp, "report")
    for fmt, parse in (("junit", ET.fromstring), ("json", json.loads), ("tap", None)):
        run = corehost(base + ["--format", fmt, "--output", report, "-e", '{"rules": [}'])
        check(run.returncode == 2 and not run.stdout, f"--output {fmt}: exit {run.returncode}")
        with open(report, "rb") as f:
            written = f.read()
        if fmt == "junit":
            error = parse(written).find("testsuite/testcase/error")
            check(error is not None and "invalid JSON" in error.get("message"), f"--output junit: {written!r}")
        elif fmt == "json":
            check("invalid JSON" in parse(written)["error"], f"--output json: {written!r}")
        else:
            tap = json.loads(subprocess.run(["perl", "-e", PERL], input=written, capture_output=True).stdout)
            check(tap["planned"] == 1 and tap["tests"][0]["ok"] == 0, f"--output tap: {written!r}")
    run = corehost(base + ["--output", report, "-e", '{"name": "Value", "properties": {"value": "v"}}'])
    with open(report, encoding="utf-8") as f:
        check(run.returncode == 0 and not run.stdout and f.read() == "v\n", "--output: the report is not in the file")


def colour(base):
    tree = '{"rules": [{"id": "a", "expect": "v", "tree": {"name": "Value", "properties": {"value": "v"}}}]}'
    for no_colour, painted in (("", True), ("1", False)):
        leader, follower = pty.openpty()
        env = dict(os.environ, NO_COLOR=no_colour)
        run = subprocess.run(base + ["-e", tree], stdout=follower, stderr=subprocess.DEVNULL, env=env, check=False)
        os.close(follower)
        out = os.read(leader, 4096).decode()
        os.close(leader)
        check(("\x1b[32mpass\x1b[0m" in out) == painted and run.returncode == 0, f"colour, NO_COLOR={no_colour!r}: {out!r}")
    check(b"\x1b" not in corehost(base + ["-e", tree]).stdout, "colour in a pipe")


if __name__ == "__main__":
    main()
