#!/usr/bin/env python3
"""sudoers.py DRIVER [CASES]: KeyValue(s) with syntax sudoers against `cvtsudoers -f json`.

Each case writes a generated main file with Defaults lines, comments,
continuations and includes (files and a directory, root-owned, mode 0440)
and compares, per option, the last unscoped value sudo's parser reports, a
scoped setting (-12028) and sudo's refusal of the file (-12029)."""
import json
import os
import shutil
import subprocess

import differential as d

KEYS = ["use_pty", "logfile", "passwd_tries", "lecture"]
ENTRIES = ["use_pty", "!use_pty", "!!use_pty", "! use_pty", "logfile=/var/log/s", "logfile = /l",
           "logfile=\"/a b\"", "logfile=/a#b", "logfile=\"/a\\\"q\"", "!logfile", "lecture=always",
           "lecture = never", "passwd_tries=5", "passwd_tries = 7", "env_reset", "!requiretty",
           "logfile=/a\\,b"]
JUNK = ["", "logfile=/a b", "logfile=\"/open"]
SCOPES = ["", "", "", "", ":root", "@host", ">root", "!/bin/ls", ":#0"]


def line(rng, root):
    roll = rng.random()
    if roll < 0.08:
        return rng.choice(["@include", "#include"]) + " " + rng.choice(
            [root + "/inc", "inc", "\"%s/inc\"" % root])
    if roll < 0.12:
        return rng.choice(["@includedir", "#includedir"]) + " " + rng.choice(
            [root + "/d", root + "/nowhere"])
    if roll < 0.18:
        return rng.choice(["# Defaults use_pty", "#Defaults logfile=/c", "", "root ALL=(ALL) ALL"])
    entries = [rng.choice(JUNK) if rng.random() < 0.02 else rng.choice(ENTRIES)
               for _ in range(rng.randint(1, 3))]
    text = "Defaults" + rng.choice(SCOPES) + rng.choice([" ", "\t", "  "]) + rng.choice(
        [",", ", ", " , "]).join(entries)
    # (a '#' before it would leave the continued line alone: a line that is
    # no Defaults entry, whose syntax only sudo's full grammar judges)
    if rng.random() < 0.1 and "#" not in text:
        text = text.replace(" ", " \\\n", 1)
    return text + rng.choice(["", "", " # c"])


def write(path, text):
    with open(path, "w") as f:
        f.write(text)
    os.chmod(path, 0o440)


def write_case(rng, root):
    subprocess.run(["rm", "-rf", root + "/d"])
    os.mkdir(root + "/d")
    files = {}
    for name in ["sudoers", "inc", "d/a", "d/b.x", "d/c~", "d/Z"]:
        files[name] = "\n".join(line(rng, root) if name == "sudoers" or rng.random() < 0.1 else
                                line(rng, root).replace("@include", "#include").replace("#include", "#xinclude")
                                for _ in range(rng.randint(1, 4))) + "\n"
        write(root + "/" + name, files[name])
    return files


def options(report):
    """The last unscoped value of each option, and the scoped options."""
    values, scoped = {}, set()
    for entry in report.get("Defaults", []):
        for option in entry["Options"]:
            for name, value in option.items():
                if name == "operation":
                    continue
                if "Binding" in entry:
                    scoped.add(name)
                else:
                    values[name] = ("true" if value else "false") if isinstance(value, bool) \
                        else value
    return values, scoped


def included_files(rng, tally, driver, root):
    """sudo itself (`sudo -n -l` with the case bind-mounted on /etc/sudoers)
    on included files it skips: world-writable, not owned by uid 0, or
    group-writable with a group other than 0."""
    for _ in range(24):
        mode, uid, gid = rng.choice([0o440, 0o640, 0o660, 0o666, 0o644]), rng.choice(
            [0, 0, 1000]), rng.choice([0, 0, 1000])
        write(root + "/main", "Defaults env_reset\nroot ALL=(ALL) ALL\n@include %s/inc\n" % root)
        write(root + "/inc", "Defaults passwd_tries=7\n")
        os.chmod(root + "/inc", mode)
        os.chown(root + "/inc", uid, gid)
        listed = subprocess.run(["unshare", "-m", "--propagation", "private", "sh", "-c",
                                 "mount --bind %s/main /etc/sudoers && sudo -n -l" % root],
                                capture_output=True, text=True).stdout
        code, value = driver.eval("KeyValue", syntax="sudoers", key="passwd_tries",
                                  file=root + "/main", default="unset")
        tally.check(code == 0 and (value[0] == b"7") == ("passwd_tries=7" in listed),
                    "inc mode %o uid %d gid %d: sudo %r; ours %d %r" % (mode, uid, gid, listed,
                                                                      code, value), code)


def main():
    d.need("cvtsudoers")
    rng, tally, driver, count = d.start("sudoers", 20261209)
    with d.workspace() as root:
        for _ in range(count):
            files = write_case(rng, root)
            try:
                run = subprocess.run(["cvtsudoers", "-f", "json", root + "/sudoers"],
                                     capture_output=True, text=True, timeout=10)
            except subprocess.TimeoutExpired:  # includes fanning out
                for key in KEYS:
                    code, _ = driver.eval("KeyValue", syntax="sudoers", key=key,
                                          file=root + "/sudoers")
                    tally.check(code in (-12012, -12029), "%r: sudo spins; ours %d" % (files, code))
                continue
            refused = run.returncode != 0 or run.stderr != ""
            values, scoped = options(json.loads(run.stdout or "{}")) if not refused else ({}, set())
            for key in KEYS:
                code, value = driver.eval("KeyValue", syntax="sudoers", key=key,
                                          file=root + "/sudoers")
                what = "%r %s: sudo %r %r %r; ours %d %r" % (files, key, run.stderr, values.get(key),
                                                          sorted(scoped), code, value)
                if refused:
                    tally.check(code == -12029, what, code)
                elif key in scoped:
                    tally.check(code == -12028, what, code)
                elif key not in values:
                    tally.check(code == -12014, what, code)
                else:
                    tally.check(code == 0 and value[0].decode() == values[key], what, code)
        if os.geteuid() == 0 and shutil.which("sudo") and shutil.which("unshare"):
            included_files(rng, tally, driver, root)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
