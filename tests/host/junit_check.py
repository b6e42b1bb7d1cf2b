#!/usr/bin/env python3
"""Runs corehost with a JUnit report and reads the report with Python's XML
parser: it must be well-formed, its counts must agree with its test cases,
and its totals and corehost's exit status with the expected ones.

usage: junit_check.py TESTS FAILURES ERRORS COREHOST ARGS...
"""
import subprocess
import sys
import xml.etree.ElementTree as ET


def counts(element, cases):
    return [len(cases)] + [sum(c.find(kind) is not None for c in cases) for kind in ("failure", "error")]


def main():
    expected = [int(n) for n in sys.argv[1:4]]
    run = subprocess.run(sys.argv[4:], stdout=subprocess.PIPE, check=False)
    root = ET.fromstring(run.stdout)
    assert root.tag == "testsuites", root.tag
    totals = [0, 0, 0]
    for suite in root.findall("testsuite"):
        found = counts(suite, suite.findall("testcase"))
        stated = [int(suite.get(key)) for key in ("tests", "failures", "errors")]
        assert found == stated, (suite.get("name"), found, stated)
        assert float(suite.get("time")) >= 0
        totals = [a + b for a, b in zip(totals, found)]
    stated = [int(root.get(key)) for key in ("tests", "failures", "errors")]
    assert stated == totals == expected, (stated, totals, expected)
    status = 1 if expected[1] + expected[2] else 0
    assert run.returncode == status, (run.returncode, status)
    print(f"{stated[0]} test cases, {stated[1]} failures, {stated[2]} errors")


if __name__ == "__main__":
    main()
