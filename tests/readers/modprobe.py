#!/usr/bin/env python3
"""modprobe.py DRIVER [CASES]: KeyValue(s) with syntax modprobe against `modprobe -c`.

Each case writes generated files into the four modprobe.d directories (tmpfs
in a private mount namespace; same names in several, links to /dev/null,
dot files, other extensions) and compares, per module, the install command
modprobe keeps, whether it is blacklisted and its options lines."""
import os
import shutil
import subprocess

import differential as d

ROOTS = ["/etc/modprobe.d", "/run/modprobe.d", "/usr/local/lib/modprobe.d", "/lib/modprobe.d"]
MODULES = ["cramfs", "usb-storage", "usb_storage", "hfs-plus", "zz"]
COMMANDS = ["install", "blacklist", "options", "remove", "alias", "softdep", "bogus", "Install"]
ARGS = ["/bin/false", "/bin/true", "  /bin/true  ", "\t/bin/false x", "a=1 b=2", "", " ", "x\\",
        "y # z"]
LEADS = ["", "", "", " ", "\t", "#", " #"]
NAMES = ["a.conf", "b.conf", "b.conf", ".h.conf", "c.txt", "z.conf", "a.conf~"]


def line(rng):
    text = rng.choice(LEADS) + rng.choice(COMMANDS) + rng.choice([" ", "\t", "  "])
    text += rng.choice(MODULES) + rng.choice([" ", "\t", ""]) + rng.choice(ARGS)
    if rng.random() < 0.1:
        text = text.replace(" ", " \\\n", 1)
    return text


def write_case(rng):
    for root in ROOTS:
        for name in os.listdir(root):
            path = os.path.join(root, name)
            shutil.rmtree(path) if os.path.isdir(path) and not os.path.islink(path) else os.unlink(path)
    files = {}
    for _ in range(rng.randint(1, 5)):
        path = rng.choice(ROOTS) + "/" + rng.choice(NAMES)
        roll = rng.random()
        if roll < 0.08:
            os.symlink("/dev/null", path) if not os.path.lexists(path) else None
            files[path] = "/dev/null"
            continue
        text = "\n".join(line(rng) for _ in range(rng.randint(1, 6))) + rng.choice(["\n", ""])
        if text.endswith("\\"):  # libkmod reads past the end of such a file
            text += "\n"
        with open(path, "w") as f:
            f.write(text)
        files[path] = text
    return files


def expected(dump, module):
    """install, blacklist, options of `module` as modprobe -c prints them."""
    name = module.replace("-", "_")
    install, blacklist, options = None, False, []
    for entry in dump.splitlines():
        words = entry.split(" ", 2)
        if len(words) >= 2 and words[1] == name:
            if words[0] == "install" and install is None:
                install = words[2].strip(" \t")
            elif words[0] == "blacklist":
                blacklist = True
            elif words[0] == "options":
                options.append(words[2].strip(" \t"))
    return install, blacklist, options


def main():
    d.need("modprobe")
    d.in_namespace("-m")
    for root in ROOTS:
        d.mount_tmpfs(root)
    rng, tally, driver, count = d.start("modprobe", 20261207)
    for _ in range(count):
        files = write_case(rng)
        dump = subprocess.run(["modprobe", "-c"], capture_output=True, text=True,
                              errors="replace").stdout
        dump = dump.split("# End of configuration files")[0]
        for module in MODULES[:4]:
            install, blacklist, options = expected(dump, module)
            what = "%r %s: modprobe %r; " % (files, module, (install, blacklist, options))
            code, value = driver.eval("KeyValue", syntax="modprobe", key="install " + module)
            tally.check((code, value) == ((0, [install.encode()]) if install is not None
                                          else (-12014, [])), what + "install %r" % (value,), code)
            code, value = driver.eval("KeyValue", syntax="modprobe", key="blacklist " + module,
                                      default="no")
            tally.check(code == 0 and (value[0] == b"true") == blacklist, what + "%r" % value,
                        code)
            code, value = driver.eval("KeyValues", syntax="modprobe", key="options " + module)
            tally.check(code == 0 and [v.decode() for v in value] == options,
                        what + "options %r" % value, code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
