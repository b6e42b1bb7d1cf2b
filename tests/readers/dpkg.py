#!/usr/bin/env python3
"""dpkg.py DRIVER [CASES]: the package expressions against `dpkg-query --admindir`.

Each case is a generated dpkg database (status and updates/); dpkg-query lists
what it reads, or refuses the database (InstalledPackages must then be
-12022). The installed names must be InstalledPackages; each name's
PackageVersion its one version (-12023 for several), and each instance's
PackageVersion with its architecture that instance's version.

Each database also gets file lists (plain and `name:arch` names, either of which
info/format selects), diversions by a package or local, and directories that are
links: PackageFiles of each instance must be what `dpkg-query -L` lists, each
diverted path where the diversion sends it and each directory resolved (by
Python's realpath); PackageFiles of every package their union. Last, the same
over this machine's whole database."""
import os
import subprocess
import sys

import differential as d

NAMES = ["a", "b", "lib", "Lib"]
ARCHES = ["amd64", "amd64", "i386", "all", None]
STATES = ["install ok installed"] * 6 + [
    "deinstall ok installed", "purge ok not-installed", "deinstall ok config-files",
    "install ok half-installed", "install ok unpacked", "hold ok installed",
    "install reinstreq installed"]
VERSIONS = ["1.0", "1.0", "1:2.3-4", "2.0~rc1", "2.0"]
EXTRAS = ["", "", "", "Multi-Arch: same\n", "Multi-Arch: same\n", "Multi-Arch: foreign\n",
          "Description: d\n more\n .\n"]
# What dpkg refuses: (field, value) given instead of a good one, or a line added.
REFUSED = [("Status", "install ok triggers-pending"), ("Status", "bogus ok installed"),
           ("Status", "install ok"), ("Version", ""), ("Version", "1:"), ("Version", None),
           ("Extra", "Triggers-Pending: t\n"), ("Extra", "X-Bad\n"), ("Extra", "Version: 3\n")]


def stanza(rng):
    bad = dict([rng.choice(REFUSED)]) if rng.random() < 0.08 else {}
    fields = [("Package", rng.choice(NAMES)), ("Status", bad.get("Status", rng.choice(STATES)))]
    arch, version = rng.choice(ARCHES), bad.get("Version", rng.choice(VERSIONS))
    if arch is not None:
        fields.append(("Architecture", arch))
    if version is not None:
        fields.append(("Version", version))
    rng.shuffle(fields)
    text = "".join((name.lower() if rng.random() < 0.05 else name) + ": " + value +
                   ("\r" if rng.random() < 0.03 else "") + "\n" for name, value in fields)
    return text + bad.get("Extra", rng.choice(EXTRAS))


PAIR = ("Package: lib\nStatus: install ok installed\nArchitecture: amd64\nVersion: 1\n"
        "Multi-Arch: same\n\nPackage: lib\nStatus: install ok installed\nArchitecture: i386\n"
        "Version: 1\nMulti-Arch: same\n")


def database(rng):
    stanzas = [stanza(rng) for _ in range(rng.randint(1, 4))]
    if rng.random() < 0.15:
        stanzas.insert(0, PAIR)
    status = "\n".join(stanzas) + "\n"
    if rng.random() < 0.03:
        status = status.rstrip("\n")
    updates = {}
    for i in range(rng.choice([0, 0, 0, 1, 2])):
        name = "%04d" % (i + 1) if rng.random() < 0.95 else "12"
        updates[name] = stanza(rng) + "\n"
    return status, updates


def file_pool(work):
    """Paths for the lists: in a real directory, through a link to it, through a
    link to a link, in a directory that does not exist, and the root entry."""
    real = os.path.join(work, "real")
    os.makedirs(real + "/sub", exist_ok=True)
    for link, target in (("link", "real"), ("chain", "link"), ("up", "real/sub")):
        if not os.path.islink(os.path.join(work, link)):
            os.symlink(target, os.path.join(work, link))
    with open(real + "/plain", "w"):
        pass
    names = ["f", "g", "sub", "sub/h", "odd name", "plain"]
    roots = [real, work + "/link", work + "/chain", work + "/up/..", work + "/none", "/bin"]
    return ["/."] + [r + "/" + n for r in roots for n in names] + [work + "/link"]


def write_lists(rng, admin, pool, names):
    """Random lists for `names` (plain and with :arch), diversions and a format."""
    os.makedirs(admin + "/info", exist_ok=True)
    for name in names:
        if rng.random() < 0.85:
            paths = rng.sample(pool, rng.randint(0, 6))
            with open(admin + "/info/" + name + ".list", "w") as f:
                f.write("".join(p + "\n" for p in paths))
    format_text = rng.choice([None, "0\n", "1\n", "1\n", "1", " +1 x\n", "2\n", "\n"])
    if format_text is not None:
        with open(admin + "/info/format", "w") as f:
            f.write(format_text)
    if rng.random() < 0.6:
        owners = [n.split(":")[0] for n in names] + [":", "other"]
        lines = []
        for source in rng.sample(pool[1:], rng.randint(1, 4)):
            lines += [source, source + ".diverted", rng.choice(owners)]
        if rng.random() < 0.05:
            lines.pop()
        with open(admin + "/diversions", "w") as f:
            f.write("".join(line + "\n" for line in lines))


def listed_files(admin, package):
    """What `dpkg-query -L` lists for one package, diverted and with its
    directories resolved; None when dpkg-query refuses."""
    shown = subprocess.run(["dpkg-query", "--admindir=" + admin, "-L", package],
                           capture_output=True)
    if shown.returncode != 0:
        return None
    return resolve_listing(shown.stdout)


def resolve_listing(text):
    """The paths of `dpkg-query -L` output (one package or many)."""
    paths = []
    for line in text.split(b"\n"):
        if line.startswith(b"diverted by ") or line.startswith(b"locally diverted to: "):
            paths[-1] = line.split(b" to: ", 1)[1]
        elif line.startswith(b"/") and line != b"/.":
            paths.append(line)
    resolved = set()
    for path in paths:
        directory, name = os.path.split(path)
        real = os.path.realpath(directory) if os.path.isdir(directory) else directory
        resolved.add(real.rstrip(b"/") + b"/" + name)
    return sorted(resolved)


def check_files(tally, driver, admin, instances):
    """PackageFiles against dpkg-query -L, each instance and all together."""
    union, refused = set(), False
    for package in instances:
        want = listed_files(admin, package)
        got = driver.eval("PackageFiles", package=package)
        if want is None:
            refused = True
            tally.check(got[0] == -12022, "%s: %r, dpkg-query refuses" % (package, got),
                        code=got[0])
            continue
        union.update(want)
        tally.check(got == (0, want), "%s %s: %r want %r" % (admin, package, got, want),
                    code=got[0])
    got = driver.eval("PackageFiles")
    if refused:
        tally.check(got[0] == -12022, "all: %r, dpkg-query refuses" % (got,), code=got[0])
    else:
        tally.check(got == (0, sorted(union)), "all: %r want %r" % (got, sorted(union)),
                    code=got[0])


def check_this_machine(tally, driver):
    """PackageFiles of every package against `dpkg-query -L` of them all."""
    names = subprocess.run(["dpkg-query", "-W", "-f=${binary:Package} ${db:Status-Status}\\n"],
                           capture_output=True, check=True).stdout.split()
    installed = [n.decode() for n, s in zip(names[::2], names[1::2])
                 if s not in (b"not-installed", b"config-files")]
    shown = subprocess.run(["dpkg-query", "-L"] + installed, capture_output=True)
    want = resolve_listing(shown.stdout)
    driver.set("dpkgAdminDir", "/var/lib/dpkg")
    code, got = driver.eval("PackageFiles")
    missing, extra = set(want) - set(got), set(got) - set(want)
    tally.check(code == 0 and not missing and not extra,
                "this machine: %d paths want %d; missing %r; extra %r" %
                (len(got), len(want), sorted(missing)[:5], sorted(extra)[:5]), code=code)


def main():
    d.need("dpkg-query")
    rng, tally, driver, count = d.start("dpkg", 20270307)
    with d.workspace() as work:
        pool = file_pool(work)
        for i in range(count):
            status, updates = database(rng)
            admin = os.path.join(work, str(i))
            os.makedirs(admin + "/updates")
            with open(admin + "/status", "w") as f:
                f.write(status)
            for name, text in updates.items():
                with open(admin + "/updates/" + name, "w") as f:
                    f.write(text)
            listed = subprocess.run(
                ["dpkg-query", "--admindir=" + admin, "-W",
                 "-f=${Package}\\t${Architecture}\\t${Status}\\t${Version}\\t"
                 "${binary:Package}\\n"],
                capture_output=True)
            rows = [r.split(b"\t") for r in listed.stdout.split(b"\n") if r]
            names = sorted({r[0].decode() for r in rows} | {r[4].decode() for r in rows})
            write_lists(rng, admin, pool, names)
            driver.set("dpkgAdminDir", admin)
            code, names = driver.eval("InstalledPackages")
            what = "%r %r: dpkg-query %d %r; ours %d %r" % (status, updates, listed.returncode,
                                                            listed.stdout, code, names)
            if listed.returncode != 0:
                tally.check(code == -12022, what, code=code)
                continue
            installed = [r for r in rows if r[2].split()[2] not in (b"not-installed",
                                                                    b"config-files")]
            expected = sorted({r[0] for r in installed})
            tally.check(code == 0 and names == expected, what, code=code)
            for name in expected:
                versions = {r[3] for r in installed if r[0] == name}
                got = driver.eval("PackageVersion", package=name)
                want = (0, list(versions)) if len(versions) == 1 else (-12023, [])
                tally.check(got == want, "%s: %r want %r" % (name, got, want), code=got[0])
            for row in (r for r in installed if r[1]):
                got = driver.eval("PackageVersion", package=row[0], architecture=row[1])
                tally.check(got == (0, [row[3]]), "%r: %r" % (row, got), code=got[0])
            check_files(tally, driver, admin, sorted({r[4].decode() for r in installed}))
        check_this_machine(tally, driver)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
