#!/usr/bin/env python3
"""Rules with "onlyIf" through every report, read back by the reports' own
readers: JSON lines with Python's json, JUnit with xml.etree, TAP with Perl's
TAP::Parser, text by its lines. A condition that gives "true" lets the rule
run; "false", or a list, skips it; a failing condition is the rule's error.

usage: only_if_readback.py COREHOST DOCUMENT
"""
import json
import subprocess
import sys
import xml.etree.ElementTree as ET

TAP = r"""
use strict; use warnings; use TAP::Parser; use JSON::PP;
my $parser = TAP::Parser->new({ tap => do { local $/; <STDIN> } });
my @tests;
while (my $r = $parser->next) {
    push @tests, [$r->description, $r->is_ok ? 1 : 0, $r->has_skip ? 1 : 0] if $r->is_test;
}
print encode_json({ planned => $parser->tests_planned + 0, tests => \@tests });
"""
# id: (status in JSON, JUnit child element, TAP ok, TAP skip)
EXPECTED = {
    "applies": ("pass", None, 1, 0),
    "does-not-apply": ("skip", "skipped", 1, 1),
    "condition-fails": ("error", "error", 0, 0),
    "vector-is-not-true": ("skip", "skipped", 1, 1),
}


def corehost(*args):
    run = subprocess.run([sys.argv[1], "eval", "--no-check", *args, sys.argv[2]], capture_output=True, text=True)
    assert run.returncode == 1, (args, run.returncode, run.stderr)
    assert run.stderr.count("rules[2].onlyIf.children[0].children[0] failed with -12010") == 1, run.stderr
    assert "errors 1, without expectation 0, skipped 2; 4 rules" in run.stderr, run.stderr
    return run.stdout


def main():
    lines = [json.loads(line) for line in corehost("--format", "json").splitlines()]
    assert {k: v for k, v in lines[-1]["summary"].items() if not k.startswith("by")} == {"passed": 1, "failed": 0, "errors": 1, "withoutExpectation": 0,
                                    "skipped": 2, "rules": 4}, lines[-1]
    assert {l["id"]: l["status"] for l in lines[:-1]} == {k: v[0] for k, v in EXPECTED.items()}
    assert lines[1]["result"] is None and lines[1]["skipped"] == 'onlyIf gave "false"', lines[1]
    assert lines[3]["skipped"] == 'onlyIf gave ["true"]', lines[3]

    suite = ET.fromstring(corehost("--format", "junit")).find("testsuite")
    assert (suite.get("tests"), suite.get("errors"), suite.get("skipped")) == ("4", "1", "2")
    for case in suite.findall("testcase"):
        kinds = [child.tag for child in case if child.tag != "system-out"]
        expected = EXPECTED[case.get("name")][1]
        assert kinds == ([expected] if expected else []), (case.get("name"), kinds)
        if expected == "skipped":
            assert "result:" not in (case.find("system-out").text or ""), case.get("name")

    run = subprocess.run(["perl", "-e", TAP], input=corehost("--format", "tap"), capture_output=True,
                         text=True, check=True)
    tap = json.loads(run.stdout)
    assert tap["planned"] == 4, tap
    assert [t[1:] for t in tap["tests"]] == [list(v[2:]) for v in EXPECTED.values()], tap

    text = corehost().splitlines()
    assert '[does-not-apply] skipped: onlyIf gave "false"' in text, text
    assert "  = y" not in text and "  = v" not in text, text  # skipped trees are not evaluated


main()
