#!/usr/bin/env python3
"""sysctl.py DRIVER [CASES]: KeyValue(s) with syntax sysctl against systemd-sysctl.

Each case writes a few generated files into the sysctl.d directories (tmpfs in
a private mount and network namespace), runs systemd-sysctl with debug logging
and compares, per parameter, the writes it logs with KeyValues and the value
the kernel then holds with KeyValue(integer true)."""
import os
import re
import subprocess
import sys

import differential as d

TOOL = "/lib/systemd/systemd-sysctl"
ROOTS = ["/etc/sysctl.d", "/run/sysctl.d", "/usr/local/lib/sysctl.d", "/usr/lib/sysctl.d"]
# Parameters of the network namespace that take any int; a value no case writes.
PARAMS = ["net/ipv4/ip_forward", "net/ipv4/conf/all/rp_filter", "net/ipv4/conf/lo/arp_announce",
          "net/unix/max_dgram_qlen"]
SENTINEL = "7777"
SPELLINGS = [lambda p: p.replace("/", "."), lambda p: p, lambda p: "/" + p,
             lambda p: p.replace("/", ".") + ".", lambda p: p.replace("/", "/./", 1),
             lambda p: p.replace("/", "//"), lambda p: " - " + p.replace("/", "."),
             lambda p: p.replace("/", ".").upper(), lambda p: p.replace("/", "/x/../", 1),
             lambda p: p.replace("ipv4", "ip*4").replace("unix", "un?x"),
             lambda p: p[:-4] + "*", lambda p: p[:-2] + "[a-z" + p[-1] + "]",
             lambda p: p.replace("/", ".").replace("conf.all", "conf.*").replace("lo.", "[l]o."),
             lambda p: p.replace("ipv4/", "{ipv4,ipv6}/").replace("ip_", "ip_*") + "",
             lambda p: p.replace("/", ".").replace("net.", ".net.")]
VALUES = ["0", "1", "2", "17", "-3", "0x1f", "010", "08", "5x", "+5", "", "  6 ", "7\t8", "9 # c",
          "\v4", "4\f", "\xa05", "2147483647", "2147483648", "-2147483648", "99999999999999999999",
          "0X10", "'3'", "1 2"]
ENDS = ["\n", "\n", "\n", "\r\n", "\r", "\0", "\n\r", "\n\n", "\r\r\n"]
NAMES = ["10-a.conf", "20-b.conf", "20-b.conf", "99-z.conf", ".hidden.conf", "30-c.txt", "50-d.conf"]


def line(rng):
    param = rng.choice(PARAMS)
    key = rng.choice(SPELLINGS)(param)
    roll = rng.random()
    if roll < 0.08:
        return rng.choice(["#", ";", "  # ", "\t;"]) + key.strip() + "=1"
    if roll < 0.16:
        return "-" + key.strip()
    if roll < 0.2:
        return key + " 3"  # not an assignment
    blank = rng.choice(["", " ", "\t", "\v", "\f"])
    return key + blank + "=" + rng.choice(["", " ", "\t"]) + rng.choice(VALUES)


def make_case(rng):
    """{path: content or ('link', target) or ('dir',)} for one case."""
    files = {}
    for _ in range(rng.randint(1, 3)):
        path = rng.choice(ROOTS) + "/" + rng.choice(NAMES)
        roll = rng.random()
        if roll < 0.08:
            files[path] = ("link", "/dev/null")
        elif roll < 0.12:
            files[path] = ("link", path + ".nowhere")
        elif roll < 0.15:
            files[path] = ("dir",)
        else:
            files[path] = "".join(line(rng) + rng.choice(ENDS) for _ in range(rng.randint(1, 6)))
    return files


def reset():
    for root in ROOTS:
        for name in os.listdir(root):
            path = os.path.join(root, name)
            if os.path.isdir(path) and not os.path.islink(path):
                os.rmdir(path)
            else:
                os.unlink(path)
    for param in PARAMS:
        with open("/proc/sys/" + param, "w") as f:
            f.write(SENTINEL)


def write(files):
    for path, content in files.items():
        if isinstance(content, tuple) and content[0] == "link":
            os.symlink(content[1], path)
        elif isinstance(content, tuple):
            os.mkdir(path)
        else:
            with open(path, "wb") as f:
                f.write(content.encode("latin-1"))


def decoded(raw):
    """A value as the plug-in gives it: UTF-8, an invalid byte as U+FFFD."""
    return raw.decode("utf-8", "replace").encode()


WRITE = re.compile(rb"^Setting '/proc/sys/(.*)' to '(.*)'$")


def logged_writes(log):
    writes = {param: [] for param in PARAMS}
    for entry in log.split(b"\n"):
        found = WRITE.match(entry)
        if found:
            param = os.path.normpath("/proc/sys/" + found.group(1).decode("latin-1"))[10:]
            if param in writes:
                writes[param].append(found.group(2))
    return writes


def main():
    d.need(TOOL)
    d.in_namespace("-m", "-n")
    d.mount_tmpfs("/run")
    d.mount_tmpfs("/usr/local/lib")
    for root in ROOTS:
        d.mount_tmpfs(root)
    rng, tally, driver, count = d.start("sysctl", 20270301)
    for _ in range(count):
        files = make_case(rng)
        reset()
        write(files)
        log = subprocess.run([TOOL], env=dict(os.environ, SYSTEMD_LOG_LEVEL="debug"),
                             capture_output=True).stderr
        writes = logged_writes(log)
        for param in PARAMS:
            with open("/proc/sys/" + param) as f:
                kernel = f.read().strip()
            key = param.replace("/", ".")
            listed = driver.eval("KeyValues", syntax="sysctl", key=key)
            code, value = driver.eval("KeyValue", syntax="sysctl", key=key, integer="true")
            what = "%s: writes %r kernel %s; ours %r, %d %r in %r" % (
                param, writes[param], kernel, listed, code, value, files)
            tally.check(listed == (0, [decoded(w) for w in writes[param]]), "writes of " + what)
            changed = kernel != SENTINEL
            tally.check(code == 0 and value == [kernel.encode()] if changed else code != 0,
                        "value of " + what, code=code)
    # A drop-in directory an unprivileged reader cannot list is no empty set.
    reset()
    write({"/etc/sysctl.d/10-a.conf": "net.ipv4.ip_forward = 1\n"})
    os.chmod("/etc/sysctl.d", 0o700)
    hidden = d.Driver(sys.argv[1], preexec_fn=lambda: os.setuid(65534))
    code, _ = hidden.eval("KeyValue", syntax="sysctl", key="net.ipv4.ip_forward", default="0")
    tally.check(code == -12020, "an unlistable /etc/sysctl.d read as %d" % code, code=code)
    hidden.close()
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
