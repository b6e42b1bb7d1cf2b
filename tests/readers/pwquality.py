#!/usr/bin/env python3
"""pwquality.py DRIVER [CASES]: KeyValue with syntax pwquality (key minlen,
integer true) against libpwquality's `pwscore`.

Each case writes pwquality.conf and pwquality.conf.d/ into /etc/security (a
tmpfs in a private mount namespace) and scores a two-letter password: pwscore
says "shorter than N characters" with the minlen it read (raised to 6 when
lower; 8 when unset), or "Error:" for a configuration it refuses."""
import os
import re
import shutil
import subprocess
import sys

import differential as d

DIR = "/etc/security"
MINLEN = ["9", "14", "020", "+19", "-3", "4", "7\v", "08", "11 ", " 12"]
OTHERS = [("difok", "5"), ("dcredit", "1"), ("minclass", "3"), ("maxrepeat", "0"),
          ("enforcing", "020"), ("enforce_for_root", ""), ("local_users_only", "1"),
          ("badwords", "a b"), ("dictpath", ""), ("usersubstr", "-1")]
# What libpwquality refuses: values that are no integer, unknown names.
REFUSED = [("minlen", v) for v in ["0x14", '"20"', "20x", "", "2147483648", "17 18"]] + [
    ("retry", "x"), ("dictcheck", ""), ("minlength", "9"), (";minlen", "30")]
SEPARATORS = [" = ", "=", " ", "\t", "\v=\v", "==", " = = ", "\t=\t"]
NAMES = ["10-a.conf", ".h.conf", "b.txt", "z.conf", "-.conf", ".conf", "a.conf~", "Z.conf"]


def line(rng):
    roll = rng.random()
    if roll < 0.08:
        return rng.choice(["# minlen 30", "  #minlen=31", "", "   "])
    if roll < 0.12:
        key, value = rng.choice(REFUSED)
    elif roll < 0.35:
        key, value = rng.choice(OTHERS)
    else:
        key, value = rng.choice(["minlen", "MINLEN", "MinLen"]), rng.choice(MINLEN)
    text = rng.choice(["", " ", "\t"]) + key + rng.choice(SEPARATORS) + value
    text += rng.choice(["", "", " # c", "#c", " "])
    if rng.random() < 0.03:
        text = "#" + "x" * rng.choice([1019, 1020, 1021, 1022]) + "\n" + text
    if rng.random() < 0.02:
        text += "\0tail"
    return text


def content(rng):
    ends = rng.choice(["\n", "\r\n"])
    return ends.join(line(rng) for _ in range(rng.randint(1, 3))) + rng.choice([ends, ""])


def write_case(rng):
    """Writes the files of one case; {name: text} (a link or a directory: None)."""
    for name in os.listdir(DIR):
        path = os.path.join(DIR, name)
        shutil.rmtree(path) if os.path.isdir(path) and not os.path.islink(path) else os.unlink(path)
    files = {}
    if rng.random() < 0.95:
        files["pwquality.conf"] = content(rng)
    if rng.random() < 0.5:
        os.mkdir(DIR + "/pwquality.conf.d")
        for _ in range(rng.randint(1, 3)):
            files["pwquality.conf.d/" + rng.choice(NAMES)] = rng.choice(
                [None] + [content(rng)] * 8)
    for name, text in files.items():
        path = DIR + "/" + name
        if text is not None:
            with open(path, "wb") as f:
                f.write(text.encode("latin-1"))
        elif rng.random() < 0.5:
            os.symlink(DIR + "/nowhere", path)
        else:
            os.mkdir(path)
    return files


SHORTER = re.compile(rb"shorter than (\d+) characters")


def main():
    d.need("pwscore")
    d.in_namespace("-m")
    d.mount_tmpfs(DIR)
    rng, tally, driver, count = d.start("pwquality", 20270305)
    for _ in range(count):
        files = write_case(rng)
        scored = subprocess.run(["pwscore"], input=b"Qz\n", capture_output=True)
        said = scored.stdout + scored.stderr
        code, values = driver.eval("KeyValue", syntax="pwquality", file=DIR + "/pwquality.conf",
                                   key="minlen", integer="true")
        shorter = SHORTER.search(said)
        what = "%r: pwscore %r; ours %d %r" % (files, said, code, values)
        if not any(text is not None and name.endswith(".conf") for name, text in files.items()):
            tally.check(code == -12010 and shorter.group(1) == b"8", what, code=code)
        elif not shorter:
            tally.check(b"Error:" in said and code == -12029, what, code=code)
        elif code == -12014:
            tally.check(shorter.group(1) == b"8", what, code=code)
        else:
            tally.check(code == 0 and max(6, int(values[0])) == int(shorter.group(1)), what,
                        code=code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
