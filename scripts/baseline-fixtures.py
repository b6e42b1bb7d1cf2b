#!/usr/bin/env python3
"""Runs baseline rules on fixture trees that their programs read weakly or
compliantly, and checks each rule's outcome: "fail" (or "error") on every weak
tree, "pass" on the compliant one. Each tree is put in place in a private mount
and network namespace (tmpfs over the directories the rules read, the running
kernel values of a fresh network namespace), so the rules run unchanged.

  scripts/baseline-fixtures.py [COREHOST] [BASELINE]
  (default build/release/bin/corehost and examples/baseline/debian12.json;
  root and unshare are needed, else it exits 77)"""
import json
import os
import shutil
import subprocess
import sys

# Directories the fixtures replace (each a tmpfs), and files bound over.
DIRECTORIES = ["/run", "/etc/sysctl.d", "/usr/lib/sysctl.d", "/usr/local/lib", "/etc/ssh",
               "/etc/security", "/etc/systemd"]
FILES = ["/etc/login.defs"]
# A dpkg database where the packages the rules ask for are installed.
PACKAGES = "".join("Package: %s\nStatus: install ok installed\nArchitecture: amd64\n"
                   "Version: 1\n\n" % name for name in ["openssh-server", "systemd"])

SYSCTL = "/etc/sysctl.d/60-hardening.conf"
JOURNALD = "/etc/systemd/journald.conf"
SSHD = "/etc/ssh/sshd_config"
PWQUALITY = "/etc/security/pwquality.conf"

# (rule, outcome, files): what systemd-sysctl, journald, useradd, libpwquality
# and sshd then apply is in the comment.
CASES = [
    ("kernel-ip-forward", "pass", {SYSCTL: "net.ipv4.ip_forward = 0\n"}),
    ("kernel-ip-forward", "fail", {SYSCTL: "/net/ipv4/ip_forward = 1\n"}),  # leading '/'
    ("kernel-ip-forward", "fail", {SYSCTL: "net.ipv4.ip_forward. = 1\n"}),  # trailing '.'
    ("kernel-ip-forward", "fail", {SYSCTL: "net/./ipv4/ip_forward = 1\n"}),
    ("kernel-ip-forward", "fail", {SYSCTL: "net.ipv4.ip_forward = 0\rnet.ipv4.ip_forward = 1\n"}),
    ("kernel-ip-forward", "fail",  # a later file's glob overrides an earlier one's
     {"/etc/sysctl.d/10-a.conf": "net.ipv4.ip_f* = 0\n", "/etc/sysctl.d/20-b.conf":
      "net.ipv4.ip_fo* = 1\n"}),
    ("kernel-rp-filter", "pass", {SYSCTL: "net.ipv4.conf.all.rp_filter = 1\n"}),
    ("kernel-rp-filter", "fail",  # a NUL ends a line
     {SYSCTL: "net.ipv4.conf.all.rp_filter = 1\0net.ipv4.conf.all.rp_filter = 0\n"}),
    ("kernel-rp-filter", "fail",  # a later file's glob is written after an earlier one's
     {"/usr/lib/sysctl.d/50-default.conf": "net.ipv4.conf.*.rp_filter = 1\n",
      SYSCTL: "net.ipv4.conf.a*.rp_filter = 0\n"}),
    ("kernel-rp-filter", "pass",  # "-name": globs do not touch it
     {"/usr/lib/sysctl.d/50-default.conf": "net.ipv4.conf.*.rp_filter = 0\n",
      SYSCTL: "-net.ipv4.conf.all.rp_filter\n"}),
    ("logging-journald-persistent", "pass", {JOURNALD: "[Journal]\nStorage=persistent\n"}),
    ("logging-journald-persistent", "fail",  # a comment never continues
     {JOURNALD: "[Journal]\nStorage=persistent\n# see journald.conf(5) \\\nStorage=volatile\n"}),
    ("logging-journald-persistent", "fail",  # a lone CR ends a line
     {JOURNALD: "[Journal]\nStorage=persistent\rStorage=volatile\n"}),
    ("accounts-pass-max-days", "pass", {"/etc/login.defs": "PASS_MAX_DAYS 90\n"}),
    ("accounts-pass-max-days", "fail", {"/etc/login.defs": "PASS_MAX_DAYS -1\n"}),  # never
    ("accounts-pass-max-days", "fail", {"/etc/login.defs": "PASS_MAX_DAYS 0x3e8\n"}),  # 1000
    ("accounts-pass-max-days", "error", {"/etc/login.defs": "PASS_MAX_DAYS 099\n"}),  # unread
    ("accounts-pwquality-minlen", "pass", {PWQUALITY: "minlen = 14\n"}),
    ("accounts-pwquality-minlen", "fail", {PWQUALITY: "minlen 9\n"}),  # no '=' needed
    ("accounts-pwquality-minlen", "fail", {PWQUALITY: "minlen = 14\nMINLEN = 6\n"}),  # any case
    ("accounts-pwquality-minlen", "pass",  # libpwquality reads pwquality.conf.d too
     {PWQUALITY: "", "/etc/security/pwquality.conf.d/.z.conf": "minlen = 15\n"}),
    ("accounts-pwquality-minlen", "error", {PWQUALITY: 'minlen = "20"\n'}),  # refused file
    ("ssh-client-alive", "pass", {SSHD: "ClientAliveInterval 300\nClientAliveCountMax 3\n"}),
    ("ssh-client-alive", "fail",
     {SSHD: "ClientAliveInterval 300\nClientAliveCountMax 3\nMatch User backup\n"
            "ClientAliveCountMax 5\n"}),
    ("ssh-client-alive", "fail",
     {SSHD: "ClientAliveInterval 300\nInclude backup.conf\n",
      "/etc/ssh/backup.conf": "Match User backup\nClientAliveInterval 0\n"}),
    ("ssh-client-alive", "error", {SSHD: "ClientAliveInterval 300\nClientAliveCountMax\n"}),
]


def run(*args):
    subprocess.run(args, check=True)


def main():
    corehost = sys.argv[1] if len(sys.argv) > 1 else "build/release/bin/corehost"
    baseline = os.path.abspath(sys.argv[2] if len(sys.argv) > 2
                               else "examples/baseline/debian12.json")
    if os.environ.get("BASELINE_FIXTURES_IN_NAMESPACE") != "1":
        if os.geteuid() != 0 or not shutil.which("unshare"):
            print("SKIPPED: needs root and unshare")
            sys.exit(77)
        env = dict(os.environ, BASELINE_FIXTURES_IN_NAMESPACE="1")
        sys.exit(subprocess.run(["unshare", "-m", "-n", "--propagation", "private",
                                 sys.executable, __file__, os.path.abspath(corehost), baseline],
                                env=env).returncode)
    for directory in DIRECTORIES:
        run("mount", "-t", "tmpfs", "fixtures", directory)
    os.makedirs("/run/dpkg/updates")
    with open("/run/dpkg/status", "w") as f:
        f.write(PACKAGES)
    for path in FILES:
        open("/run/fixture-" + os.path.basename(path), "w").close()
        run("mount", "--bind", "/run/fixture-" + os.path.basename(path), path)
    for parameter, value in (("net/ipv4/ip_forward", "0"), ("net/ipv4/conf/all/rp_filter", "1")):
        with open("/proc/sys/" + parameter, "w") as f:
            f.write(value)
    wrong = []
    for rule, outcome, files in CASES:
        for directory in DIRECTORIES[1:]:
            for name in os.listdir(directory):
                path = os.path.join(directory, name)
                shutil.rmtree(path) if os.path.isdir(path) else os.unlink(path)
        for path in FILES:
            open(path, "w").close()
        for path, text in files.items():
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(text.encode())
        report = subprocess.run([corehost, "--set", "SystemPlugin:dpkgAdminDir=/run/dpkg", "eval",
                                 "--json", "--rule", rule, baseline], capture_output=True)
        status = [json.loads(line).get("status") for line in report.stdout.splitlines()][:1]
        if status != [outcome]:
            wrong.append("%s on %r: %s, not %s" % (rule, files, status, outcome))
    for line in wrong:
        print("baseline-fixtures:", line)
    print("baseline-fixtures: %d cases, %d wrong" % (len(CASES), len(wrong)))
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
