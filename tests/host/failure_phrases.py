#!/usr/bin/env python3
"""Rules of the baseline pointed at generated files, each made to fail: the
text report's FAIL line of each must hold the value that the program owning
the file reads (stat, sysctl, dpkg-query, grep, awk) and the value expected,
without --explain; JUnit (xml.etree) and TAP (prove) carry the same phrase;
an erring rule's line names the path and the system's reason.

usage: failure_phrases.py COREHOST SOURCE_DIR
"""
import copy
import errno
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

corehost, source = sys.argv[1], sys.argv[2]
baseline = {r["id"]: r for r in json.load(open(os.path.join(source, "examples/baseline/debian12.json")))["rules"]}
sh = lambda cmd: subprocess.run(cmd, shell=True, capture_output=True, text=True).stdout.strip()
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def rule(base, new_id, replace):
    text = json.dumps(baseline[base])
    for old, new in replace.items():
        text = text.replace(json.dumps(old)[1:-1], json.dumps(new)[1:-1])
    r = json.loads(text)
    r["id"] = new_id
    r.pop("onlyIf", None)
    return r


with tempfile.TemporaryDirectory() as tmp:
    at = lambda name: os.path.join(tmp, name)
    open(at("passwd"), "w").write("root:x:0:0::/root:/bin/sh\ntoor:x:0:0::/root:/bin/sh\nbin:x:2:2::/:/usr/sbin/nologin\n")
    os.chmod(at("passwd"), 0o666)
    open(at("owned"), "w").write("x\n")
    os.chmod(at("owned"), 0o644)
    os.chown(at("owned"), 65534, 65534)
    open(at("login.defs"), "w").write("PASS_MAX_DAYS\t99999\n")
    open(at("rsyslog.conf"), "w").write("$FileCreateMode 0644\n")
    kptr = sh("sysctl -n kernel.kptr_restrict")
    grep = re.search(r'"pattern": "((?:[^"\\]|\\.)*)"', json.dumps(baseline["logging-rsyslog-file-mode"])).group(1)
    pattern = json.loads('"%s"' % grep)
    rules = [
        rule("files-passwd-permissions", "mode", {"/etc/passwd": at("passwd")}),
        rule("files-passwd-permissions", "owner", {"/etc/passwd": at("owned")}),
        rule("accounts-pass-max-days", "key", {"/etc/login.defs": at("login.defs")}),
        rule("kernel-kptr-restrict-running", "kernel", {'"value": "1"': '"value": "%d"' % (int(kptr) + 1)}),
        rule("packages-apparmor", "package", {"apparmor": "corehost-no-such-package"}),
        rule("logging-rsyslog-file-mode", "count", {"/etc/rsyslog.conf;/etc/rsyslog.d/*.conf": at("rsyslog.conf")}),
        rule("accounts-uid0-only-root", "list", {"/etc/passwd": at("passwd")}),
        rule("files-passwd-permissions", "erring", {"/etc/passwd": at("missing")}),
    ]
    json.dump({"rules": rules}, open(at("rules.json"), "w"))
    # What the owning programs read, and what each rule expects.
    q = lambda text: json.dumps(text)
    expected = {
        "mode": (q("%04o" % int(sh("stat -c %a " + at("passwd")), 8)), q("0644")),
        "owner": (q(sh("stat -c %U " + at("owned"))), q("root")),
        "key": (q(sh("awk '$1 == \"PASS_MAX_DAYS\" {print $2}' " + at("login.defs"))), q("365")),
        "kernel": (q(kptr), q(str(int(kptr) + 1))),
        "package": (q("false" if sh("dpkg-query -W -f '${db:Status-Status}' corehost-no-such-package") != "installed" else "true"), q("true")),
        "count": (q(sh("grep -c -P %s %s" % (json.dumps(pattern).replace("$", "\\$"), at("rsyslog.conf")))), q("1")),
        "list": ("[%s]" % ", ".join(q(n) for n in sh("awk -F: '$3 == 0 {print $1}' " + at("passwd")).split()), '["root"]'),
    }
    run = lambda *fmt: subprocess.run([corehost, "eval", *fmt, at("rules.json")], capture_output=True, text=True)
    text = run()
    check(text.returncode == 1, "exit status %d" % text.returncode)
    phrases = dict(re.findall(r"^\[(\w+)\] FAIL: (.*)$", text.stdout, re.M))
    for rule_id, (found, wanted) in expected.items():
        phrase = phrases.get(rule_id, "")
        check(found in phrase and wanted in phrase and phrase.index(found) < phrase.rindex(wanted),
              "%s: %r lacks the found %s before the expected %s" % (rule_id, phrase, found, wanted))
    reason = "%s: errno=%d (%s)" % (at("missing"), errno.ENOENT, os.strerror(errno.ENOENT))
    check(re.search(r"^\[erring\] ERROR: -\d+ \([^)]*\): .*" + re.escape(reason) + "$", text.stdout, re.M),
          "erring rule without its reason:\n" + text.stdout)
    junit = ET.fromstring(run("--format", "junit").stdout)
    for case in junit.iter("testcase"):
        failure, error = case.find("failure"), case.find("error")
        if case.get("name") in expected:
            check(failure is not None and failure.get("message") == phrases.get(case.get("name")),
                  "junit %s: %s" % (case.get("name"), failure is not None and failure.get("message")))
        if case.get("name") == "erring":
            check(error is not None and reason in error.get("message") and reason in error.text, "junit erring")
    with open(at("report.tap"), "w") as tap:
        tap.write(run("--format", "tap").stdout)
    prove = subprocess.run(["prove", "-v", "-e", "cat", at("report.tap")], capture_output=True, text=True)
    check("Parse errors" not in prove.stdout and "Failed 8/8 subtests" in prove.stdout, "prove:\n" + prove.stdout)
    for rule_id, phrase in phrases.items():
        check("  message: %s" % json.dumps(phrase) in prove.stdout, "tap message of " + rule_id)
print("\n".join(failures) or "every failure says what was found")
sys.exit(1 if failures else 0)
