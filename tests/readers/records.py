#!/usr/bin/env python3
"""records.py DRIVER [CASES]: RecordField against glibc's files module.

Generated passwd, shadow and group files are bind-mounted over /etc (with an
nsswitch.conf of "files" only) in a private mount namespace; glibc's records
are those getpwent/getspent/getgrent list that a lookup by their name can
return ('+' and '-' entries are listed but never returned). RecordField over
the same files must give the same records, field by field: texts as glibc
gives them, numbers as the numbers glibc read."""
import os
import pwd
import sys
import warnings

import differential as d

warnings.simplefilter("ignore", DeprecationWarning)
import grp  # noqa: E402
import spwd  # noqa: E402

NAMES = ["root", "alice", "bob", "+nis", "-evil", "+", "", " lead", "\tx", "#c", "é", "a b"]
NUMBERS = ["0", "1000", "01000", "+7", "-0", "-1", " 5", "5 ", "4294967295", "4294967296", "1e3",
           "", "2147483648", "007"]
TEXTS = ["", "x", "*", "!", "$6$s$h", "g,h", "/bin/sh", "/home/a", "a b"]
# No NUL: glibc's parser reads past one into its own buffer (garbled last fields).
ENDS = ["\n", "\n", "\n", "\r\n", ":\n", "::\n", " \n", ":extra\n"]


def record(rng, kinds):
    """A line of fields: kinds is a string of 'n' (name), 'i' (number), 't' (text)."""
    pick = {"n": NAMES, "i": NUMBERS, "t": TEXTS}
    fields = [rng.choice(pick[k]) for k in kinds]
    cut = rng.choice([len(fields)] * 4 + list(range(1, len(fields))))
    return ":".join(fields[:cut]) + rng.choice(ENDS)


def lines(rng, kinds):
    text = "".join(record(rng, kinds) for _ in range(rng.randint(1, 8)))
    return text if rng.random() > 0.1 else "# comment\n\n  " + text


def glibc(listing, lookup, fields):
    """The records glibc lists that a lookup by name returns, as tuples."""
    kept = []
    for entry in listing():
        try:
            lookup(entry[0])
        except KeyError:
            continue
        kept.append(tuple(fields(entry)))
    return kept


def as_int32(text):
    """A number as glibc stores it: strtoul (a '-' wraps), the low 32 bits as an int;
    an empty field is -1."""
    text = str(text).strip()
    value = (int(text) % (1 << 64) if text else -1) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


def ours(driver, path, count, numeric):
    """RecordField's records of `path` (fields 1..count), or its code."""
    columns = []
    for field in range(1, count + 1):
        code, values = driver.eval("RecordField", file=path, field=str(field))
        if code != 0:
            return code
        columns.append([v.decode() for v in values])
    return [tuple(as_int32(v) if i in numeric else v for i, v in enumerate(row))
            for row in zip(*columns)]


def main():
    d.in_namespace("-m")
    work = "/run/readers-records"
    d.mount_tmpfs(work)
    with open(work + "/nsswitch.conf", "w") as f:
        f.write("passwd: files\ngroup: files\nshadow: files\n")
    for name in ["passwd", "shadow", "group", "nsswitch.conf"]:
        open(work + "/" + name, "a").close()
        d.bind(work + "/" + name, "/etc/" + name)
    kinds = {
        "passwd": ("nniittt", {2, 3}, lambda: glibc(
            pwd.getpwall, pwd.getpwnam, lambda p: [p.pw_name, p.pw_passwd, p.pw_uid, p.pw_gid,
                                                   p.pw_gecos, p.pw_dir, p.pw_shell])),
        "shadow": ("ntiiiiiii", {2, 3, 4, 5, 6, 7, 8}, lambda: glibc(
            spwd.getspall, spwd.getspnam, lambda s: [
                s.sp_namp, s.sp_pwdp, s.sp_lstchg, s.sp_min, s.sp_max, s.sp_warn, s.sp_inact,
                s.sp_expire, s.sp_flag])),
        "group": ("ntit", {2}, lambda: glibc(
            grp.getgrall, grp.getgrnam, lambda g: [g.gr_name, g.gr_passwd, g.gr_gid,
                                                   ",".join(g.gr_mem)])),
    }
    rng, tally, driver, count = d.start("records", 20270306)
    for _ in range(count):
        for name, (fields, numeric, theirs) in kinds.items():
            text = lines(rng, fields)
            with open(work + "/" + name, "wb") as f:
                f.write(text.encode())
            expected = theirs()
            expected = [tuple(as_int32(v) if i in numeric else v for i, v in enumerate(r))
                        for r in expected]
            if name == "group":  # members as RecordField's split gives them
                code, members = driver.eval("RecordField", file=work + "/group", field="4",
                                            split=",")
                got = [m.decode() for m in members]
                want = [m for r in expected for m in r[3].split(",") if m]
                tally.check(code == 0 and got == want, "members of %r: glibc %r ours %r"
                            % (text, want, got), code=code)
                expected = [r[:3] for r in expected]
            got = ours(driver, work + "/" + name, len(fields) if name != "group" else 3, numeric)
            tally.check(got == expected, "%s %r: glibc %r ours %r" % (name, text, expected, got))
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
