#!/usr/bin/env python3
"""sshd.py DRIVER [CASES]: KeyValue and KeyValues with syntax sshd against
`sshd -T` and `sshd -T -C CONNECTION`.

In a private mount namespace (/run a tmpfs; /etc/ssh a tmpfs holding the
generated files and their includes; passwd and group of a few users), each
generated sshd_config is read by sshd for no connection and for a few
connections: what it prints for each keyword must be KeyValue's value with
"match" the same connection (or sshd's default where KeyValue finds none); a
configuration sshd refuses must be a code, and -12028 only where a Match block
sets the keyword or needs a port. KeyValues with "match" "any" must hold every
value a connection gets."""
import os
import subprocess
import sys

import differential as d

SSHD = "/usr/sbin/sshd"
ETC = "/etc/ssh"
USERS = "root:x:0:0::/root:/bin/sh\nalice:x:1000:1000::/home/alice:/bin/sh\n" \
        "bob:x:1001:100::/home/bob:/bin/sh\nsshd:x:100:65534::/run/sshd:/usr/sbin/nologin\n"
GROUPS = "root:x:0:\nusers:x:100:alice\nalice:x:1000:\nwheel:x:10:bob,alice\nnogroup:x:65534:\n"
CONNECTIONS = ["user=alice,host=ws1.example.com,addr=10.1.2.3",
               "user=bob,host=gw,addr=192.168.1.5,laddr=10.0.0.1,lport=2222",
               "user=root,host=LOCAL,addr=::1,lport=22", "user=nobody,host=x,addr=bogus"]

# Keyword -> (how sshd -T prints it, values). Printing: "flag" (lower case),
# "upper", "int", "time" (seconds), "text"; a "+" keyword adds up (KeyValues).
KEYWORDS = {
    "PermitRootLogin": ("lower", ["yes", "no", "prohibit-password", "without-password",
                                  "forced-commands-only", "YES"]),
    "PasswordAuthentication": ("lower", ["yes", "no", '"no"', "No"]),
    "X11Forwarding": ("lower", ["yes", "no"]),
    "MaxAuthTries": ("int", ["3", "6", "010", "+4", " 5"]),
    "ClientAliveInterval": ("time", ["300", "5m", "1h30m", "0", "10S"]),
    "ClientAliveCountMax": ("int", ["0", "3", "5"]),
    "LogLevel": ("upper", ["INFO", "verbose", "DEBUG3", "quiet"]),
    "Banner": ("path", ["/etc/issue.net", "none", "'/a b'", "x\\ y"]),
    "+AllowUsers": ("text", ["alice", "bob root", "'a b' c", "*"]),
    "+Port": ("int", ["22", "2222", "ssh"]),
}
ALIASES = {"KbdInteractiveAuthentication": "ChallengeResponseAuthentication"}
REFUSED = ["Bogus yes", "PermitRootLogin", "PermitRootLogin maybe", "MaxAuthTries x",
           "X11Forwarding yes no", "PasswordAuthentication 'yes", "Match Bogus x", "Match User",
           "Match Address 10.0.0.1/8", "Match all User x", "Include \"\"", "ClientAliveInterval -5"]
MATCHES = ["Match User alice", "Match User !root,*", "Match Group wheel", "Match group users",
           "Match Address 10.0.0.0/8", "Match Address 192.168.1.*,!192.168.1.9",
           "Match Host *.example.com", "Match host local", "Match LocalPort 2222", "Match all",
           "Match All", "Match User bob Address 192.168.1.0/24", "Match LocalAddress 10.0.0.1",
           "Match User=alice", "Match RDomain x"]


def setting(rng, keywords):
    key = rng.choice(keywords)
    kind, values = KEYWORDS[key]
    key = key.lstrip("+")
    shown = rng.choice([key, key.lower(), key.upper()])
    separator = rng.choice([" ", "\t", "=", " = ", "  "])
    return shown + separator + rng.choice(values) + rng.choice(["", "", " # c", "  "])


def block(rng, keywords, depth):
    lines = []
    for _ in range(rng.randint(0, 4)):
        roll = rng.random()
        if roll < 0.05:
            lines.append(rng.choice(REFUSED))
        elif roll < 0.12:
            lines.append(rng.choice(["# a comment", "", "   ", "#Port 9"]))
        elif roll < 0.18 and depth < 2:
            lines.append("Include " + rng.choice(["inc/*.conf", "inc/a.conf", "inc", "none/*.conf",
                                                  ETC + "/inc/b.conf"]))
        else:
            lines.append(setting(rng, keywords))
    return lines


def config(rng, keywords, depth=0):
    lines = block(rng, keywords, depth)
    for _ in range(rng.choice([0, 0, 1, 1, 2])):
        lines.append(rng.choice(MATCHES))
        lines += block(rng, [k for k in keywords if k != "+Port"], depth)
    return "\n".join(lines) + rng.choice(["\n", ""])


def printed(kind, value):
    """A value as sshd -T prints it."""
    if kind == "lower":
        value = value.lower()
        return "without-password" if value == "prohibit-password" else value
    if kind == "upper":
        return {"QUIET": "SILENT"}.get(value.upper(), value.upper())
    if kind == "path":  # sshd prefixes a relative path with its directory (/) and a '/'
        return value if value.startswith("/") or value == "none" else "//" + value
    if kind == "int":
        return str(int(value)) if value.strip().lstrip("+").isdigit() else \
            {"ssh": "22"}.get(value, value)
    if kind == "time":
        total, number = 0, ""
        for c in value.lower():
            if c.isdigit():
                number += c
            else:
                total += int(number) * {"s": 1, "m": 60, "h": 3600}[c]
                number = ""
        return str(total + int(number or 0))
    return value


def sshd_t(path, connection=None):
    """{keyword: [values]} as sshd -T prints them, or None when it refuses."""
    args = [SSHD, "-T", "-f", path, "-h", ETC + "/hostkey"]
    result = subprocess.run(args + (["-C", connection] if connection else []),
                            capture_output=True, cwd="/")
    if result.returncode != 0:
        return None
    dump = {}
    for line in result.stdout.decode().split("\n"):
        keyword, _, value = line.partition(" ")
        dump.setdefault(keyword, []).append(value)
    return dump


def main():
    d.need(SSHD, "ssh-keygen")
    d.in_namespace("-m")
    d.mount_tmpfs("/run")
    os.mkdir("/run/sshd")
    d.mount_tmpfs(ETC)
    for name, text in (("passwd", USERS), ("group", GROUPS)):
        with open("/run/" + name, "w") as f:
            f.write(text)
        d.bind("/run/" + name, "/etc/" + name)
    subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", ETC + "/hostkey"],
                   check=True)
    defaults = sshd_t("/dev/null")
    rng, tally, driver, count = d.start("sshd", 20270308, 300)
    for _ in range(count):
        keywords = rng.sample(sorted(KEYWORDS), 3)
        os.makedirs(ETC + "/inc", exist_ok=True)
        for name in os.listdir(ETC + "/inc"):
            os.unlink(ETC + "/inc/" + name)
        for name in rng.sample(["a.conf", "b.conf", ".h.conf", "c.txt"], rng.randint(0, 3)):
            with open(ETC + "/inc/" + name, "w") as f:
                f.write(config(rng, keywords, 1))
        text = config(rng, keywords)
        with open(ETC + "/sshd_config", "w") as f:
            f.write(text)
        includes = {n: open(ETC + "/inc/" + n).read() for n in sorted(os.listdir(ETC + "/inc"))}
        for connection in [None, rng.choice(CONNECTIONS)]:
            dump = sshd_t(ETC + "/sshd_config", connection)
            for key in keywords:
                kind = KEYWORDS[key][0]
                adds, key = key.startswith("+"), key.lstrip("+")
                properties = {"syntax": "sshd", "file": ETC + "/sshd_config", "key": key}
                if connection:
                    properties["match"] = connection
                code, values = driver.eval("KeyValues" if adds else "KeyValue", **properties)
                what = "%s for %s in %r with %r: sshd %r; ours %d %r" % (
                    key, connection, text, includes, dump and dump.get(key.lower()), code, values)
                if dump is None:  # refused, too deep an Include, a port needed
                    tally.check(code not in (0, -12014), what, code=code)
                    continue
                want = dump.get(key.lower(), [])
                got = [printed(kind, v.decode()) for v in values]
                if code == 0 and not got or code == -12014:
                    got = defaults.get(key.lower(), [])
                if code == -12028:
                    tally.check(connection is None or "LocalPort" in text + str(includes), what,
                                code=code)
                else:
                    tally.check(code in (0, -12014) and (got == want if adds else
                                                         got[:1] == want), what, code=code)
                if connection and code == 0:
                    every = driver.eval("KeyValues", syntax="sshd", file=ETC + "/sshd_config",
                                        key=key, match="any")
                    anywhere = {printed(kind, v.decode()) for v in every[1]} | set(
                        defaults.get(key.lower(), []))
                    tally.check(every[0] == 0 and set(want) <= anywhere,
                                "any of " + what + " %r" % (every,), code=every[0])
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
