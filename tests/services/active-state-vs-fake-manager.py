#!/usr/bin/env python3
"""active-state-vs-fake-manager.py COREHOST FAKE: UnitActiveState through corehost against a fake
service manager (FAKE) on a private dbus-daemon and on the private socket, in a mount namespace
with a tmpfs /run; answers checked against `systemctl is-active` where the manager answers.
Exit 77 (skipped) without root or dbus-daemon."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

BUS = "/run/dbus/system_bus_socket"
CONFIG = """<busconfig><type>system</type><listen>unix:path=%s</listen><auth>EXTERNAL</auth>
<policy context="default"><allow user="*"/><allow own="*"/><allow send_destination="*"/>
<allow receive_sender="*"/></policy></busconfig>""" % BUS
STATES = ["cron.service=active", "ssh.service=failed", "x@y.service=activating", "t.timer=reloading"]
UNITS = ["cron", "ssh.service", "x@y.service", "t.timer", "nothing.service"]
ANSWERED = ["active", "failed", "activating", "reloading", -12010]
# (what runs, the mode of the fake, whether /run/systemd/system exists, expected answers)
CASES = [
    ("bus", "answer", True, ANSWERED),
    ("private", "answer", True, ANSWERED),
    ("bus-without-manager", None, True, [-12026] * 5),
    ("nothing", None, True, [-12026] * 5),
    ("bus", "error", True, [-12026] * 5),
    ("bus", "answer", False, [-12026] * 5),
    ("bus", "silent", True, [-12027] * 5),
    ("private", "silent", True, [-12027] * 5),
    ("bus", "slow", True, [-12027] * 5),
]


def wait_ready(process):
    assert process.stdout.readline().strip() == b"ready", "the fake manager did not start"


def run_case(corehost, fake, how, mode, booted, document):
    subprocess.run(["mount", "-t", "tmpfs", "tmpfs", "/run"], check=True)
    children, bus_pid = [], None
    try:
        os.makedirs("/run/dbus")
        if booted:
            os.makedirs("/run/systemd/system")
        if how.startswith("bus"):
            with open("/run/dbus/bus.conf", "w") as f:
                f.write(CONFIG)
            daemon = subprocess.run(["dbus-daemon", "--config-file=/run/dbus/bus.conf", "--fork",
                                     "--print-pid"], check=True, capture_output=True)
            bus_pid = int(daemon.stdout.split()[0])
        if mode:
            private = ["--private", "/run/systemd/private"] if how == "private" else []
            children.append(subprocess.Popen([fake] + private + [mode] + STATES,
                                             stdout=subprocess.PIPE))
            wait_ready(children[-1])
        out = subprocess.run([corehost, "eval", "--json", document],
                             capture_output=True).stdout.decode().splitlines()
        ours = [(r["result"] if r["code"] == 0 else r["code"]) for r in map(json.loads, out)
                if "id" in r]
        theirs = None
        if mode == "answer" and booted:
            run = subprocess.run(["systemctl", "is-active"] + UNITS[:4], capture_output=True)
            theirs = run.stdout.decode().split()
        return ours, theirs
    finally:
        for child in children:
            child.kill()
            child.wait()
        if bus_pid:
            os.kill(bus_pid, 15)
        subprocess.run(["pkill", "-x", "-n", "dbus-daemon"], capture_output=True) if False else None
        subprocess.run(["umount", "-l", "/run"], check=True)


def main():
    if os.geteuid() != 0 or not shutil.which("dbus-daemon"):
        print("UnitActiveState: needs root and dbus-daemon: skipped")
        return 77
    if os.environ.get("IN_PRIVATE_MOUNTS") != "1":
        env = dict(os.environ, IN_PRIVATE_MOUNTS="1", DBUS_SYSTEM_BUS_ADDRESS="unix:path=" + BUS)
        return subprocess.run(["unshare", "-m", "--propagation", "private", sys.executable] +
                              sys.argv, env=env).returncode
    corehost, fake = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp()
    document = os.path.join(folder, "rules.json")
    with open(document, "w") as f:
        json.dump({"rules": [{"id": u, "tree": {"name": "UnitActiveState",
                                                "properties": {"unit": u}}} for u in UNITS]}, f)
    bad = 0
    for how, mode, booted, expected in CASES:
        ours, theirs = run_case(corehost, fake, how, mode, booted, document)
        agree = ours == expected and (theirs is None or theirs == ours[:4])
        bad += not agree
        print("%s %-20s %-7s booted=%-5s ours=%s systemctl=%s" % (
            "ok      " if agree else "DISAGREE", how, mode, booted, ours, theirs))
    shutil.rmtree(folder)
    print("UnitActiveState: %d cases, %d disagreements" % (len(CASES) * len(UNITS), bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
