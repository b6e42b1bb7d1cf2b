#!/usr/bin/env python3
"""systemd.py DRIVER [CASES]: KeyValues with syntax systemd against systemd's own
configuration parser.

journald reads its configuration with the parser every unit file goes
through, and `systemd-analyze verify` shows what that parser makes of a unit:
each assignment of Nice= in [Service] whose value is no number is reported with
the value exactly as parsed ("Failed to parse nice priority 'VALUE'"), in file
order, and a file the parser refuses fails to load. Generated unit files give
only such values; the reports must equal KeyValues(section Service, key Nice),
and a unit that fails to load must be -12029."""
import os
import re
import subprocess
import sys

import differential as d

HEAD = "[Unit]\nDescription=generated\n[Service]\nExecStart=/bin/true\n"
KEYS = ["Nice", "Nice", "Nice", " Nice ", "Nice\t", "\tNice", "nice", "Nice\v", "\vNice", "Nice\f"]
SEPARATORS = ["=", " = ", "=\t", "\t=  "]
VALUES = ["a1", "b 2", "c#3", "d;4", "'e5'", '"f6"', "g=7", "h\\8", "i\v", "\fj", "k\xc3\xa9",
          "l  m", "n\\\\", "#o", ";p", "q\\", "r \\", "s\\\\\\", "[t]", "u\xef\xbb\xbf"]
ENDS = ["\n", "\n", "\n", "\r\n", "\r", "\0", "\n\r", "\r\r", "\n\n"]
SECTIONS = ["[Service]", "[Service]", "[Unit]", "[Install]", "[X-Extra]", "[Other]", " [Service] ",
            "[service]"]
REFUSED = ["[Broken", "[Ser\x01vice]", "[a\"b]", "Nice=v\xff", "Nice=\xed\xa0\x80", "[]x"]
COMMENTS = ["# c", "; c", "  # c \\", "#Nice=z1", ";Nice=z2 \\", "\t# c"]


def line(rng):
    roll = rng.random()
    if roll < 0.08:
        return rng.choice(SECTIONS)
    if roll < 0.16:
        return rng.choice(COMMENTS)
    if roll < 0.2:
        return rng.choice(["", "   ", "NoSeparator", "=nokey", "\xef\xbb\xbfNice=v1"])
    if roll < 0.22:
        return rng.choice(REFUSED)
    return rng.choice(KEYS) + rng.choice(SEPARATORS) + "v" + rng.choice(VALUES)


def unit(rng):
    text = ("\xef\xbb\xbf" if rng.random() < 0.05 else "") + HEAD
    for _ in range(rng.randint(1, 10)):
        text += line(rng) + rng.choice(ENDS)
    if rng.random() < 0.01:
        text += "Nice=v" + "x" * (1 << 20) + "\n"
    return text


REPORT = re.compile(rb"^(.*\.service):\d+: Failed to parse nice priority '(.*)', ignoring: .*$")
FAILED = re.compile(rb"^Unit (\S+\.service) failed to load properly")


def main():
    d.need("systemd-analyze")
    rng, tally, driver, count = d.start("systemd", 20270302)
    with d.workspace() as work:
        paths = []
        for i in range(count):
            path = os.path.join(work, "c%04d.service" % i)
            with open(path, "wb") as f:
                f.write(unit(rng).encode("latin-1"))
            paths.append(path)
        log = b""
        for start in range(0, count, 100):
            log += subprocess.run(["systemd-analyze", "verify", "--man=no",
                                   "--recursive-errors=no", *paths[start:start + 100]],
                                  capture_output=True, cwd=work).stderr
        reported = {path.encode(): [] for path in paths}
        refused = set()
        for entry in log.split(b"\n"):
            found = REPORT.match(entry)
            if found and found.group(1) in reported:
                reported[found.group(1)].append(found.group(2))
            failed = FAILED.match(entry)
            if failed:
                refused.add(os.path.join(work, failed.group(1).decode()).encode())
        for path in paths:
            code, values = driver.eval("KeyValues", syntax="systemd", file=path, section="Service",
                                       key="Nice", dropins="")
            expected = [v.decode("utf-8", "replace").encode() for v in reported[path.encode()]]
            with open(path, "rb") as f:
                text = f.read()
            what = "%s: parser %s %r; ours %d %r" % (
                text[len(HEAD):][:300], "refused" if path.encode() in refused else "read",
                expected, code, values)
            if path.encode() in refused:
                tally.check(code == -12029, what, code=code)
            else:
                tally.check((code, values) == (0, expected), what)
        driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
