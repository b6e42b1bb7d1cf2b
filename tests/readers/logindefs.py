#!/usr/bin/env python3
"""logindefs.py DRIVER [CASES]: KeyValue with syntax logindefs (integer true)
against shadow's own reading: `useradd --prefix ROOT` with a generated
ROOT/etc/login.defs writes the ageing fields of the new account from
PASS_MIN_DAYS, PASS_MAX_DAYS and PASS_WARN_AGE (empty for -1, the default), or
says "cannot parse" and takes the default."""
import os
import subprocess
import sys
import tempfile

import differential as d

KEYS = {"PASS_MIN_DAYS": 3, "PASS_MAX_DAYS": 4, "PASS_WARN_AGE": 5}  # field of /etc/shadow
NUMBERS = ["0", "7", "365", "099", "0x1f", "0X10", "010", "-1", "-2", "+40", "2147483647",
           "2147483648", "-2147483649", "", "5x", "1e3", " 7", "08", "0x", "1 2", "3\v", "4\f"]
BLANKS = [" ", "\t", "  \t ", "\v"]
ENDS = ["\n", "\n", "\r\n", "\r", " \n", "\t\n"]


def line(rng):
    key = rng.choice(list(KEYS))
    roll = rng.random()
    if roll < 0.06:
        key = key.lower()
    elif roll < 0.12:
        return rng.choice(["#", " #", "\t# "]) + key + " 1"
    elif roll < 0.15:
        return key  # a name alone
    value = rng.choice(NUMBERS)
    quote = rng.choice(["", "", '"', ' "', '""'])
    after = rng.choice(["", "", '"', '" x', " # c"])
    text = rng.choice(["", " ", "\t"]) + key + rng.choice(BLANKS) + quote + value + after
    if rng.random() < 0.04:
        text = text[:rng.randint(0, len(text))] + "\0" + text
    if rng.random() < 0.04:
        text = "#" + "x" * rng.choice([1000, 1021, 1022, 1023]) + text
    return text


def prefix_root(work, text):
    root = tempfile.mkdtemp(dir=work)
    os.makedirs(root + "/etc/default")
    files = {"passwd": "root:x:0:0::/root:/bin/sh\n", "group": "root:x:0:\nusers:x:100:\n",
             "shadow": "root:*:1::::::\n", "gshadow": "root:*::\n"}
    for name, content in files.items():
        with open(root + "/etc/" + name, "w") as f:
            f.write(content)
    with open(root + "/etc/login.defs", "wb") as f:
        f.write(text.encode("latin-1"))
    return root


def main():
    d.need("useradd")
    if os.geteuid() != 0:
        d.skip("useradd --prefix needs root")
    rng, tally, driver, count = d.start("logindefs", 20270304)
    with d.workspace() as work:
        for _ in range(count):
            text = "".join(line(rng) + rng.choice(ENDS) for _ in range(rng.randint(1, 5)))
            root = prefix_root(work, text)
            result = subprocess.run(["useradd", "--prefix", root, "bob"], capture_output=True)
            record = [r for r in open(root + "/etc/shadow", "rb").read().split(b"\n")
                      if r.startswith(b"bob:")]
            fields = record[0].split(b":") if record else None
            for key, field in KEYS.items():
                code, values = driver.eval("KeyValue", syntax="logindefs", key=key, integer="true",
                                           file=root + "/etc/login.defs")
                complained = ("cannot parse " + key + " ").encode() in result.stderr
                what = "%s in %r: useradd %r %r; ours %d %r" % (key, text, fields and fields[field],
                                                               result.stderr, code, values)
                if fields is None or complained:
                    tally.check(code == -12025, what, code=code)
                elif code == 0:
                    tally.check(fields[field] == (b"" if values == [b"-1"] else values[0]), what)
                else:
                    tally.check(code == -12014 and fields[field] == b"", what, code=code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
