#!/usr/bin/env python3
"""apt.py DRIVER [CASES]: KeyValue with syntax apt against `apt-config dump`.

Each case writes generated apt.conf.d parts, apt.conf and included files
below a scratch root that APT_CONFIG points apt at (Dir::Etc), and compares
the value apt holds for a few keys, or apt's refusal (-12029)."""
import os
import subprocess

import differential as d

KEYS = ["X", "X::Y", "Y", "Z::W::V"]
TAGS = ["X", "x", "X::Y", "x::y", "Y", "Z::W::V", "Z::w", "\"X\"", "X::", "Q"]
VALUES = ["\"1\"", "\"a b\"", "\"a\" \"b\"", "1", "\"a\"b", "a\"b c\"d", "\"a;b\"",
          "\"a\\\"b\"", "\"a//b\"", "\"\"", "\"%41\"", "\"a#b\"", "\"2\"", "\"3\""]
# What apt refuses, now and then.
REFUSED = ["\"open", "a b", "\"a\" b", "a \"b\"", ""]
NAMES = ["10a", "20b.conf", "30c.bak", ".d", "40d.", "50 e", "60:f", "70-g_h.conf", "80i.d.conf"]


def statement(rng, depth, inc):
    roll = rng.random()
    if roll < 0.1 and depth < 2:
        body = " ".join(statement(rng, depth + 1, inc) for _ in range(rng.randint(0, 3)))
        return rng.choice(["X", "Z", "z::W", "\"X\""]) + rng.choice([" { ", "{", "\n{\n"]) + body \
            + rng.choice([" };", "}", "};", ""])
    if roll < 0.18 and depth == 0:
        return "#include " + rng.choice(inc) + rng.choice([";", ""])
    if roll < 0.2:
        return rng.choice(["// X \"9\";", "# Y \"9\";", "/* X \"9\"; */", "/* \nY \"8\";\n */",
                           "#clear Y;", "#clear z;", "#clear X::Y;", ";", "}", "#clear;"][
                               :9 if depth else 10])
    value = rng.choice(REFUSED) if rng.random() < 0.03 else rng.choice(VALUES)
    text = rng.choice(TAGS) + rng.choice([" ", "\t", "  ", "\n"]) + value
    return text + rng.choice([";", ";", ";", " ;", "\n;", " // c;", " /* c */;"] * 4 + [""])


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


def write_case(rng, root):
    etc = root + "/etc"
    subprocess.run(["rm", "-rf", etc])
    os.makedirs(etc + "/apt.conf.d")
    os.makedirs(etc + "/inc.d")
    inc = [etc + "/inc"] * 6 + [etc + "/inc.d/"] * 6 + [etc + "/chain0"] * 16 + [etc + "/inc.d", "inc", etc + "/nowhere",
                                                        etc + "/apt.conf"]
    files = {}
    write(etc + "/apt.conf", "")
    write(etc + "/inc", "Y \"inc\";\n")
    write(etc + "/inc.d/a", "X::Y \"incd\";\n")
    # a chain of includes around apt's depth limit
    depth = rng.choice([0, 0, 0, 9, 10, 11])
    for i in range(depth):
        write(etc + "/chain%d" % i, "#include %s/chain%d;\n" % (etc, i + 1))
    write(etc + "/chain%d" % depth, "Y \"chain\";\n")
    for _ in range(rng.randint(1, 4)):
        name = rng.choice(["apt.conf.d/" + rng.choice(NAMES), "apt.conf", "inc",
                           "inc.d/" + rng.choice(NAMES)])
        files[name] = rng.choice(["\n", " ", "\n\n"]).join(
            statement(rng, 0, inc) for _ in range(rng.randint(1, 5))) + rng.choice(["\n", ""])
        write(etc + "/" + name, files[name])
    return files


def dump_values(text):
    values = {}
    for line in text.splitlines():
        key, _, rest = line.partition(" ")
        if rest.endswith(";") and rest.startswith("\""):
            values.setdefault(key.lower(), rest[1:-2])
    return values


def main():
    d.need("apt-config")
    rng, tally, driver, count = d.start("apt", 20261208)
    with d.workspace() as root:
        write(root + "/root.conf", "Dir::Etc \"%s/etc/\";\n" % root)
        env = dict(os.environ, APT_CONFIG=root + "/root.conf")
        for case in range(count):
            files = write_case(rng, root)
            if case < 4:  # a clean chain of 8 to 11 includes below apt.conf: apt's depth limit
                files = {"apt.conf": "#include %s/etc/chain0;\n" % root}
                for i in range(8 + case):
                    write(root + "/etc/chain%d" % i, "#include %s/etc/chain%d;\n" % (root, i + 1))
                write(root + "/etc/chain%d" % (8 + case), "Y \"chain\";\n")
                for name in os.listdir(root + "/etc/apt.conf.d"):
                    os.unlink(root + "/etc/apt.conf.d/" + name)
                write(root + "/etc/apt.conf", files["apt.conf"])
            try:
                run = subprocess.run(["apt-config", "dump"], env=env, capture_output=True,
                                     text=True, errors="replace", timeout=5)
                refused = run.returncode != 0
                values = dump_values(run.stdout)
            except subprocess.TimeoutExpired:
                refused, values = True, {}
            for key in KEYS:
                code, value = driver.eval("KeyValue", syntax="apt", key=key,
                                          file=root + "/etc/apt.conf.d/;" + root + "/etc/apt.conf")
                what = "%r %s: apt %r; ours %d %r" % (files, key, values.get(key.lower()), code,
                                                      value)
                if refused:
                    tally.check(code == -12029, what, code)
                elif code == -12014 or code == -12010:
                    tally.check(values.get(key.lower(), "") == "", what, code)
                else:
                    tally.check(code == 0 and value[0].decode() == values.get(key.lower()), what,
                                code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
