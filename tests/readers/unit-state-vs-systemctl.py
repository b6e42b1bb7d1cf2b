#!/usr/bin/env python3
"""unit-state-vs-systemctl.py DRIVER [TREES]: UnitFileState (through DRIVER) against
`systemctl --root=DIR is-enabled UNIT` on generated unit trees: unit files in every directory of
the search path and outside it, aliases, linked files, masks, .wants/.requires links, drop-ins,
[Install] sections with odd syntax, templates and instances, loops, FIFOs and SysV scripts."""
import concurrent.futures
import os
import random
import shutil
import stat
import subprocess
import sys
import tempfile

rng = random.Random(20261207)
STATES = {"enabled", "enabled-runtime", "linked", "linked-runtime", "alias", "masked",
          "masked-runtime", "static", "indirect", "disabled", "generated", "transient"}
DIRS = ["etc/systemd/system.control", "run/systemd/system.control", "run/systemd/transient",
        "run/systemd/generator.early", "etc/systemd/system", "etc/systemd/system.attached",
        "run/systemd/system", "run/systemd/system.attached", "run/systemd/generator",
        "usr/local/lib/systemd/system", "lib/systemd/system", "usr/lib/systemd/system",
        "run/systemd/generator.late"]
# Where files go, weighted towards the usual places; "opt" is outside the search path.
PLACES = DIRS + ["usr/lib/systemd/system"] * 6 + ["etc/systemd/system"] * 4 + ["opt"] * 3
NAMES = ["a.service", "b.service", "c.socket", "d.timer", "t@.service", "t@x.service",
         "t@y.service", "m.mount", "e.target", "f.path"]
# Values and lines for [Install] sections, the odd ones among them.
VALUES = ["x.target", "multi-user.target", "e.target"] * 4 + [
    "", '""', '"a b"', "'x.target", "a \"b", "%n", "x!y.service", "\xff", "\xc3\xa9.target"]
LINES = ["# comment", "; comment", "[Unit]", "[Service]", "[X-Ours]", "[install]", "[Install",
         "[In\"stall]", "[ Install ]", "Description=x", "WantedBy", "=x", "WantedBy=a \\",
         "\ufeff[Install]", "[Install]\r", "UpheldBy=x.target", "Alias=m.mount"]


def install_lines(name):
    out = []
    for _ in range(rng.randint(0, 4)):
        roll = rng.random()
        if roll < 0.15:
            out.append("[Install]")
        elif roll < 0.25:
            out.append(rng.choice(LINES))
        elif roll < 0.55:
            out.append("WantedBy=" + rng.choice(VALUES))
        elif roll < 0.65:
            out.append("RequiredBy=" + rng.choice(VALUES))
        elif roll < 0.78:
            out.append("Alias=" + rng.choice(NAMES + ["z.service", "t@z.service", ""]))
        elif roll < 0.9:
            out.append("Also=" + rng.choice(NAMES * 2 + ["%p.socket", "%i.service", "%j.service",
                                                         "%z.service", "x!y", "", "a\\",
                                                         "%N.timer"]))
        else:
            out.append("DefaultInstance=" + rng.choice(["x", "", "a b", "%i", "z", "%z"]))
    if rng.random() < 0.7:
        out.insert(0, "[Install]")
    return out


def write_unit(path, name):
    lines = install_lines(name)
    text = rng.choice(["\n", "\r\n", "\n", "\r"]).join(lines)
    data = text.encode("utf-8", "surrogateescape").replace(b"\xc3\xbf", b"\xff")
    if rng.random() < 0.9 and data:
        data += b"\n"
    if rng.random() < 0.05:
        data = b""  # an empty file masks
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def place(root, name):
    return os.path.join(root, rng.choice(PLACES), name)


def link(target, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if not os.path.lexists(path):
        os.symlink(target, path)


def as_target(root, path):
    """An absolute target taken from the root, or a relative one."""
    inside = "/" + os.path.relpath(path, root)
    return inside if rng.random() < 0.6 else os.path.relpath(path, os.path.dirname(path))


def make_tree(root):
    for d in DIRS + ["opt", "etc/init.d"]:
        if not d.startswith("lib/"):
            os.makedirs(os.path.join(root, d), exist_ok=True)
    if rng.random() < 0.5:
        os.symlink("usr/lib", os.path.join(root, "lib"))
    files = []
    for name in rng.sample(NAMES, rng.randint(2, 7)):
        for _ in range(rng.choice([1, 1, 1, 2])):
            path = place(root, name)
            write_unit(path, name)
            files.append(path)
    for _ in range(rng.randint(0, 7)):
        name, roll = rng.choice(NAMES), rng.random()
        here = os.path.join(root, rng.choice(DIRS))
        if roll < 0.25 and files:  # enabled as `systemctl enable` would, or nearly
            target = rng.choice(files)
            name = os.path.basename(target).replace("@.", "@" + rng.choice(["x", "z", ""]) + ".")
            here = os.path.join(root, rng.choice(["etc/systemd/system"] * 3 + [
                "run/systemd/system", "usr/lib/systemd/system", "etc/systemd/system.control"]))
            sub = rng.choice(["multi-user.target.wants", "x.target.wants", "e.target.requires"])
            link("/" + os.path.relpath(target, root), os.path.join(here, sub, name))
        elif roll < 0.35:  # a file outside the search path, linked in by its name
            path = os.path.join(root, "opt", name)
            if not os.path.exists(path):
                write_unit(path, name)
            here = os.path.join(root, rng.choice(["etc/systemd/system", "run/systemd/system"]))
            link(as_target(root, path), os.path.join(here, name))
        elif roll < 0.5 and files:  # an alias, or a linked file
            target = rng.choice(files)
            source = os.path.join(here, name)
            link(as_target(root, target) if rng.random() < 0.8 else "/" +
                 os.path.relpath(target, root) + "x", source)
        elif roll < 0.65:  # .wants/.requires links, whatever they point to
            sub = rng.choice(["multi-user.target.wants", "x.target.requires", "e.target.wants",
                              "odd.wants", "plain"])
            target = "/" + os.path.relpath(rng.choice(files), root) if files else "/nowhere"
            link(target, os.path.join(here, sub, name))
        elif roll < 0.72:
            link("/dev/null", os.path.join(here, name))
        elif roll < 0.77:  # a loop, or a link to itself
            other = rng.choice(NAMES)
            link(name if rng.random() < 0.3 else other, os.path.join(here, name))
            link(name, os.path.join(here, other))
        else:  # drop-ins
            d = os.path.join(here, name + ".d")
            conf = os.path.join(d, rng.choice(["a.conf", "b.conf", ".h.conf", "c.txt"]))
            if rng.random() < 0.15:
                link("/dev/null", conf)
            else:
                write_unit(conf, name)
    if rng.random() < 0.08:
        os.makedirs(os.path.join(root, "usr/lib/systemd/system"), exist_ok=True)
        fifo = os.path.join(root, rng.choice(["usr/lib/systemd/system/q.service",
                                              "usr/lib/systemd/system/q.service.d/a.conf"]))
        os.makedirs(os.path.dirname(fifo), exist_ok=True)
        os.mkfifo(fifo)
        if fifo.endswith(".conf"):
            write_unit(os.path.join(root, "usr/lib/systemd/system/q.service"), "q.service")
    if rng.random() < 0.02:  # a line longer than systemd reads (1 MiB)
        with open(os.path.join(root, "usr/lib/systemd/system/l.service"), "w") as f:
            f.write("[Install]\nWantedBy=" + "x" * (1 << 20) + "\n")
    if rng.random() < 0.1:
        with open(os.path.join(root, "etc/init.d", "s"), "w") as f:
            f.write("#!/bin/sh\n")


def peer(root, name):
    try:
        run = subprocess.run(["systemctl", "--root=" + root, "is-enabled", name],
                             capture_output=True, timeout=2)
    except subprocess.TimeoutExpired:
        return "refused"  # it waits on a FIFO
    if b"is not a native service" in run.stdout + run.stderr:
        return "sysv"
    words = run.stdout.split()
    return words[-1].decode() if words and words[-1].decode() in STATES else "refused"


def agrees(ours, theirs):
    if theirs == "refused":
        return ours.startswith("code ")
    if theirs == "sysv":
        return ours == "code -12026"
    return ours == theirs


def main():
    if not shutil.which("systemctl"):
        print("systemctl missing: skipped")
        return 77
    trees = int(sys.argv[2]) if len(sys.argv) > 2 else 250
    base = tempfile.mkdtemp(prefix="unit-trees-")
    try:
        cases = []
        for i in range(trees):
            root = os.path.join(base, str(i))
            make_tree(root)
            present = sorted(n for n in NAMES + ["q.service", "l.service"] if any(
                n in files for _, _, files in os.walk(root)))
            names = set(present) | {rng.choice(NAMES + ["s.service", "nothing.service"])}
            cases += [(root, name) for name in sorted(names)]
        feed = "".join(root + "\t" + name + "\n" for root, name in cases).encode()
        ours = subprocess.run([sys.argv[1]], input=feed, capture_output=True,
                              check=True).stdout.decode().splitlines()
        with concurrent.futures.ThreadPoolExecutor(8) as pool:
            theirs = list(pool.map(lambda case: peer(*case), cases))
    finally:
        if not os.environ.get("UNIT_TREES_KEEP"):
            shutil.rmtree(base, ignore_errors=True)
    bad = [(c, o, t) for c, o, t in zip(cases, ours, theirs) if not agrees(o, t)]
    tally = {}
    for t in theirs:
        tally[t] = tally.get(t, 0) + 1
    print("UnitFileState: %d cases, %d disagreements" % (len(cases), len(bad)), tally)
    for (root, name), o, t in bad[:25]:
        print("DISAGREE %s %s ours=%s systemctl=%s" % (root, name, o, t))
    return 1 if bad or len(ours) != len(cases) else 0


if __name__ == "__main__":
    sys.exit(main())
