#!/usr/bin/env python3
"""deb822.py DRIVER [CASES]: KeyValues with syntax deb822 against apt's reading of
.sources files (`apt-get update --print-uris` with the fixture as source parts).

Each case writes generated .sources files (continuations, comments, lines of
blanks, repeated fields, Enabled values, field names in any case) and
compares the repositories apt would fetch with the URIs of the enabled
`deb` stanzas, or apt's refusal (-12029)."""
import os
import re
import subprocess

import differential as d

HOSTS = ["http://a.example/d", "http://b.example/e", "https://c.example/f", "http://d.example/g"]
ENABLED = ["yes", "no", "No", "false", "0", "1", "true", "x", "", "off", "Disable", "without",
           "0x0", "+0", "0a", "00", "2", " 0 ", "nO "]


def stanza(rng):
    fields = [("Types", rng.choice(["deb", "deb", "deb-src", "deb deb-src"])),
              ("URIs", " ".join(rng.sample(HOSTS, rng.randint(1, 2)))),
              ("Suites", rng.choice(["s1", "s2"])), ("Components", "main")]
    if rng.random() < 0.3:
        fields.append(("Enabled", rng.choice(ENABLED)))
    if rng.random() < 0.2:
        fields.append(("URIs", rng.choice(HOSTS)))
    rng.shuffle(fields)
    lines = []
    for name, value in fields:
        name = rng.choice([name, name.lower(), name.upper()]) if rng.random() < 0.2 else name
        if name.lower() == "uris" and " " in value and rng.random() < 0.4:
            value = value.replace(" ", "\n" + rng.choice([" ", "\t", "  "]))
        lines.append(name + ":" + rng.choice([" ", "", "  "]) + value)
        if rng.random() < 0.1:
            lines.append(rng.choice(["# comment", "#URIs: http://z.example/z"]))
    return "\n".join(lines) + "\n"


def content(rng):
    text = ""
    for i in range(rng.randint(1, 3)):
        if i:
            text += rng.choice(["\n", "\n", "\n", " \n", "\t\n", "\n\n"])
        text += stanza(rng)
    if rng.random() < 0.03:
        text += rng.choice(["junk line\n", "\n:x\n"])
    return text


def fetched(output):
    """The repositories of the InRelease files apt would fetch."""
    return sorted(set(re.findall(r"'(\S+)/dists/[^/]+/InRelease'", output)))


def main():
    d.need("apt-get")
    rng, tally, driver, count = d.start("deb822", 20261210)
    with d.workspace() as root:
        os.makedirs(root + "/parts")
        os.makedirs(root + "/lists/partial")
        for _ in range(count):
            for name in os.listdir(root + "/parts"):
                os.unlink(root + "/parts/" + name)
            files = {}
            for name in rng.sample(["a.sources", "b.sources"], rng.randint(1, 2)):
                files[name] = content(rng)
                with open(root + "/parts/" + name, "w") as f:
                    f.write(files[name])
            run = subprocess.run(["apt-get", "update", "--print-uris",
                                  "-o", "Dir::Etc::sourceparts=" + root + "/parts",
                                  "-o", "Dir::Etc::sourcelist=/dev/null",
                                  "-o", "Dir::State::lists=" + root + "/lists",
                                  "-o", "Debug::NoLocking=1"], capture_output=True, text=True)
            code, values = driver.eval("KeyValues", syntax="deb822", key="URIs",
                                       file=root + "/parts/*.sources",
                                       **{"Types.matches": "*deb*"})
            ours = sorted(set(u.rstrip("/") for v in values for u in v.decode().split()))
            what = "%r: apt %r %r; ours %d %r" % (files, fetched(run.stdout), run.stderr, code, ours)
            if run.returncode != 0:
                tally.check(code == -12029, what, code)
            else:
                tally.check(code == 0 and ours == fetched(run.stdout), what, code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
