#!/usr/bin/env python3
"""dpkg.py DRIVER [CASES]: the package expressions against `dpkg-query --admindir`.

Each case is a generated dpkg database (status and updates/); dpkg-query lists
what it reads, or refuses the database (InstalledPackages must then be
-12022). The installed names must be InstalledPackages; each name's
PackageVersion its one version (-12023 for several), and each instance's
PackageVersion with its architecture that instance's version."""
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


def main():
    d.need("dpkg-query")
    rng, tally, driver, count = d.start("dpkg", 20270307)
    with d.workspace() as work:
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
                 "-f=${Package}\\t${Architecture}\\t${Status}\\t${Version}\\n"],
                capture_output=True)
            driver.set("dpkgAdminDir", admin)
            code, names = driver.eval("InstalledPackages")
            what = "%r %r: dpkg-query %d %r; ours %d %r" % (status, updates, listed.returncode,
                                                            listed.stdout, code, names)
            if listed.returncode != 0:
                tally.check(code == -12022, what, code=code)
                continue
            rows = [r.split(b"\t") for r in listed.stdout.split(b"\n") if r]
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
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
