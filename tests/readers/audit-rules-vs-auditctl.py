#!/usr/bin/env python3
"""audit-rules-vs-auditctl.py DRIVER [CASES]: generated rules files, each loaded by the reader
(DRIVER load) and by the kernel (`auditctl -D; auditctl -R FILE; auditctl -l`); every tenth case
also read back from the kernel (DRIVER loaded) with auditing enabled for that moment. Then
generated rules.d trees joined by the reader (DRIVER join) and by augenrules itself under
`unshare -m`, and names sorted by the reader and by `ls -1v`. Fails on any disagreement. Some
lines are stretched past auditctl's line buffer or hold a NUL byte.

Known, documented differences from the text auditctl -l prints, applied to its lines: a watch
path and a "-F dir=" path lose their trailing slash; a watch written perm first, which auditctl prints as
" -p P-w PATH", reads "-w PATH -p P". Never loads -e 2 or -f 2 (they would lock or panic the machine)."""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

rng = random.Random(20261207)
CALLS64 = ["open", "openat", "adjtimex", "settimeofday", "clock_settime", "chmod", "fchmod",
           "fchmodat", "chown", "fchown", "lchown", "unlink", "unlinkat", "rename", "renameat",
           "mount", "init_module", "finit_module", "delete_module", "sethostname",
           "setdomainname", "creat", "truncate", "ftruncate", "setxattr", "removexattr", "2", "0"]
CALLS32 = CALLS64[:-2] + ["socketcall", "stime", "ipc", "5"]
ARCHES = {"b64": CALLS64, "x86_64": CALLS64, "b32": CALLS32, "i386": CALLS32, "i686": CALLS32}
FIELDS = ["auid>=1000", "auid!=unset", "auid!=4294967295", "auid!=-1", "auid=0", "loginuid>=500",
          "euid=0", "euid=root", "uid=nobody", "gid=adm", "egid!=0", "exit=-EACCES", "exit=-13",
          "exit=-EPERM", "exit=EPERM", "exit=0", "success=0", "success=1", "a0=0x10", "a1=16",
          "a2&0x3", "a3&=1", "pid=1", "ppid>1", "sessionid!=unset", "pers=0x10", "inode=12",
          "filetype=file", "filetype=dir", "obj_uid=0", "obj_gid=root", "perm=wa", "perm=x",
          "devmajor=8", "exe=/usr/bin/sudo", "path=/etc/shadow", "dir=/etc/ssh",
          "saddr_fam=2", "loginuid_set=1"]
BAD = ["arch-after-S", "key-before-S", "nosuch-call", "tab", "bit-op", "relative-path",
       "uid-unset", "unknown-field", "bad-perm", "path-slash", "two-paths", "many-fields",
       "task-S", "crlf", "long-key", "msgtype-exit", "unknown-user"]
WATCHES = ["/etc/passwd", "/etc/group", "/etc/sudoers.d/", "/etc/audit/", "/var/log/lastlog",
           "/nonexistent/dir/x", "/etc//shadow", "/usr/sbin/insmod"]
KEYS = ["time-change", "identity", "perm_mod", "access", "k", "a-b_c"]


def perms():
    letters = rng.sample("rwxa", rng.randint(1, 4))
    return "".join(letters)


def keys():
    return " ".join("-k " + rng.choice(KEYS) for _ in range(rng.choice([0, 1, 1, 1, 2])))


def syscall_rule(bad=None):
    arch = rng.choice(list(ARCHES) + [None])
    calls = rng.sample(ARCHES[arch or "b64"], rng.randint(1, 4))
    syscall_words = (["-S " + ",".join(calls)] if rng.random() < 0.5
                     else ["-S " + c for c in calls])
    fields = ["-F " + f for f in rng.sample(FIELDS[:33], rng.randint(0, 3))]
    head = "-a " + rng.choice(["always,exit", "exit,always", "never,exit"])
    arch_words = ["-F arch=" + arch] if arch else []
    words = arch_words + syscall_words + fields
    tail = keys()
    if bad == "arch-after-S":
        words = syscall_words + ["-F arch=b64"] + fields
    elif bad == "key-before-S":
        words = arch_words + ["-k x"] + syscall_words + fields
    elif bad == "nosuch-call":
        words.append("-S nosuch")
    elif bad == "bit-op":
        words.append("-F auid&1")
    elif bad == "uid-unset":
        words.append("-F uid=unset")
    elif bad == "unknown-field":
        words.append("-F nofield=1")
    elif bad == "many-fields":
        words += ["-F auid>=%d" % i for i in range(64)]
    elif bad == "long-key":
        tail = "-k " + "k" * 257
    elif bad == "msgtype-exit":
        words.append("-F msgtype=CWD")
    elif bad == "unknown-user":
        words.append("-F euid=no-such-user")
    if rng.random() < 0.3:  # fields may stand between the calls
        rng.shuffle(fields)
    line = " ".join([head] + words + ([tail] if tail else []))
    if bad == "tab":
        line = line.replace(" ", "\t", 1)
    if bad == "crlf":
        line += "\r"
    return line


def watch_rule(bad=None):
    path = rng.choice(WATCHES)
    if bad == "relative-path":
        path = "etc/passwd"
    roll = rng.random()
    if bad == "bad-perm":
        return "-w %s -p rq" % path
    if bad == "path-slash":
        return "-a always,exit -F path=/etc/x/ -F perm=wa"
    if bad == "two-paths":
        return "-a always,exit -F path=/etc/x -F path=/etc/y -F perm=wa"
    if roll < 0.6:
        return " ".join(w for w in ["-w " + path, "-p " + perms() if rng.random() < 0.8 else "",
                                    keys()] if w)
    field = "dir" if path.endswith("/") else "path"
    parts = ["-F %s=%s" % (field, path.rstrip("/") if field == "path" else path),
             "-F perm=" + perms()]
    rng.shuffle(parts)
    return " ".join(["-a always,exit"] + parts + ([keys()] if rng.random() < 0.7 else []))


def other_rule():
    return rng.choice(["-a never,task", "-a always,task -F uid=0", "-a always,exclude -F msgtype=CWD",
                       "-a never,exclude -F msgtype=EOE", "-a always,user -F auid>=1000",
                       "-a always,filesystem -F fstype=tracefs", "-a never,exit -F arch=b64 -S all",
                       "-a always,exit -F arch=b64", "-a always,exclude -F msgtype=1305",
                       "-a task,never", "-a always,user -F msgtype=USER_LOGIN"])


def stretched(line):
    """The line padded with blanks at one of its blanks to about auditctl's line buffer (6,144
    bytes) or beyond it: auditctl reads the rest as further lines."""
    at = rng.choice([i for i, c in enumerate(line) if c == " "] or [len(line)])
    width = rng.choice([6143, 6144]) + rng.randint(-2, 2) + rng.choice([0, 0, 6143])
    return line[:at] + " " * max(0, width - len(line)) + line[at:]


def rules_file():
    lines = []
    if rng.random() < 0.1:
        lines.append(rng.choice(["-c", "-i"]))
    bad_at = rng.randint(0, 6) if rng.random() < 0.35 else -1
    for i in range(rng.randint(1, 7)):
        roll = rng.random()
        bad = rng.choice(BAD) if i == bad_at else None
        if bad in ("relative-path", "bad-perm", "path-slash", "two-paths"):
            lines.append(watch_rule(bad))
        elif bad == "task-S":
            lines.append("-a always,task -S open")
        elif bad:
            lines.append(syscall_rule(bad))
        elif lines and roll < 0.1:
            lines.append(rng.choice(lines))  # a duplicate
        elif roll < 0.15:
            lines.append(rng.choice(["", "# comment", "   # indented", "   ", "-D",
                                     "-d always,exit -F arch=b64 -S open", "-W /etc/passwd",
                                     "--backlog_wait_time 60000", "-r 0"]))
        elif roll < 0.5:
            lines.append(syscall_rule())
        elif roll < 0.85:
            lines.append(watch_rule())
        else:
            lines.append(other_rule())
        if rng.random() < 0.04:
            lines[-1] = stretched(lines[-1])
        if rng.random() < 0.03:  # auditctl reads a line as a C string: it ends at a NUL
            at = rng.randint(0, len(lines[-1]))
            lines[-1] = lines[-1][:at] + "\0" + lines[-1][at:]
    return "\n".join(lines) + "\n"


def auditctl(*args):
    return subprocess.run(["auditctl"] + list(args), capture_output=True, text=True)


def oracle_lines(text):
    lines = [] if text.strip() == "No rules" else text.splitlines()
    # A watch whose perm field comes first prints as " -p P-w PATH": read it as the watch.
    lines = [re.sub(r"^ -p (\S+)-w (\S+)", r"-w \2 -p \1", line) for line in lines]
    lines = [re.sub(r"( -F dir=\S+?)/+(?= |$)", r"\1", line) for line in lines]
    return [re.sub(r"^-w (\S+?)/+ ", r"-w \1 ", line) for line in lines]


def mask_carried_arch(lines):
    """auditctl -l names the calls of a rule without an arch from the table of the last arch it
    printed before; such names are left out of the comparison."""
    out, seen32 = [], False
    for line in lines:
        if seen32 and "-F arch" not in line:
            line = re.sub(r" -S \S+", " -S *", line)
        seen32 = seen32 or "-F arch=b32" in line
        out.append(line)
    return out


def compare_loads(driver, cases, work):
    paths, expected = [], []
    disagreements = 0
    loaded_checks = 0
    for i in range(cases):
        path = os.path.join(work, "case%d.rules" % i)
        with open(path, "w") as out:
            out.write(rules_file())
        auditctl("-D")
        loaded = auditctl("-R", path)
        goes_on = re.search(r"^-[ci]$", open(path).read(), re.M)
        listing = oracle_lines(auditctl("-l").stdout)
        expected.append(listing if loaded.returncode == 0 or goes_on else None)
        paths.append(path)
        if i % 10 == 0 and (loaded.returncode == 0 or goes_on):
            auditctl("-e", "1")
            ours = subprocess.run([driver, "loaded"], capture_output=True, text=True).stdout
            auditctl("-e", "0")
            loaded_checks += 1
            ours_lines = [l for l in ours.splitlines() if not l.startswith("-e ")]
            if mask_carried_arch(ours_lines) != mask_carried_arch(listing):
                disagreements += 1
                print("LOADED DISAGREES on %s\n  ours:    %.600s\n  auditctl: %.600s" %
                      (path, ours_lines, listing))
    auditctl("-D")
    ours = subprocess.run([driver, "load"] + paths, capture_output=True, text=True,
                          check=True).stdout.split("--\n")
    for path, want, got in zip(paths, expected, ours):
        got_lines = got.splitlines()
        if want is not None:
            want, got_lines = mask_carried_arch(want), mask_carried_arch(got_lines)
        refused = bool(got_lines) and got_lines[0].startswith("refused")
        if (want is None) != refused or (want is not None and got_lines != want):
            disagreements += 1
            print("DISAGREES on %s:\n%s  ours:    %s\n  auditctl: %s" %
                  (path, open(path).read(), got_lines, want))
    print("AuditRules (auditctl -R): %d cases, %d disagreements" % (cases, disagreements))
    print("AuditRules (loaded): %d cases" % loaded_checks)
    return disagreements


def rules_name():
    stem = rng.choice(["10-base", "9-x", "010-a", "99-finalize", "a", "a~1", "a.b", "30 space",
                       ".hidden", "50-stig-v2.1", "50-stig-v2.10", "1", "x-1.0~rc1"])
    return stem + rng.choice([".rules", ".rules", ".rules", ".conf", ".rules~"])


def join_line():
    return rng.choice(["-D", "-D ", "  -D", "-b 8192", "--backlog_wait_time 60000", "-f 1",
                       "-e 2", "  -e 2", "s-e 1", "-e 1", "# c", "  # c", "s# c", "",
                       "-w /etc/passwd -p wa -k identity", "-a always,exit -S adjtimex",
                       "-D -k x", "\t-e 2"])


def compare_joins(driver, cases, work):
    disagreements = 0
    for i in range(cases):
        tree = os.path.join(work, "tree%d" % i)
        os.makedirs(tree)
        for _ in range(rng.randint(0, 5)):
            with open(os.path.join(tree, rules_name()), "w") as out:
                lines = [join_line() for _ in range(rng.randint(0, 5))]
                out.write("\n".join(lines) + ("\n" if rng.random() < 0.8 else ""))
        script = ("mount -t tmpfs none /etc/audit && mkdir /etc/audit/rules.d && "
                  "mount --bind %s /etc/audit/rules.d && augenrules >/dev/null 2>&1; "
                  "cat /etc/audit/audit.rules") % tree
        theirs = subprocess.run(["unshare", "-m", "sh", "-c", script], capture_output=True)
        ours = subprocess.run([driver, "join", tree], capture_output=True)
        # augenrules writes nothing when the joined text is empty or unchanged.
        if theirs.returncode == 0 and theirs.stdout != ours.stdout:
            disagreements += 1
            print("JOIN DISAGREES on %s:\n ours:   %r\n theirs: %r" % (tree, ours.stdout,
                                                                      theirs.stdout))
    print("AuditRules (augenrules): %d cases, %d disagreements" % (cases, disagreements))
    # ls without -a lists no dot-names, so their order never matters.
    names = [rules_name().replace(".rules", "").lstrip(".") + str(rng.randint(0, 120))
             for _ in range(400)]
    ours = subprocess.run([driver, "order"] + names, capture_output=True, text=True).stdout
    theirs = subprocess.run(["ls", "-1v", "--", *names], capture_output=True, text=True,
                            cwd=make_names(work, names)).stdout
    order_wrong = int(ours != theirs)
    print("AuditRules (ls -1v order): %d names, %d disagreements" % (len(names), order_wrong))
    if order_wrong:
        print(" first difference:", next((a, b) for a, b in zip(ours.splitlines(),
                                                                theirs.splitlines()) if a != b))
    return disagreements + order_wrong


def make_names(work, names):
    folder = os.path.join(work, "names")
    os.makedirs(folder, exist_ok=True)
    for name in names:
        open(os.path.join(folder, name), "w").close()
    return folder


def hostile(driver, work):
    """A 100,000-line file is read whole; a FIFO is refused at once; a directory the reader
    cannot list is an error, never an empty list."""
    wrong = 0
    big = os.path.join(work, "big.rules")
    with open(big, "w") as out:
        out.writelines("-a always,exit -F arch=b64 -S open -F key=k%d\n" % i for i in range(100000))
    got = subprocess.run([driver, "load", big], capture_output=True, text=True).stdout.splitlines()
    wrong += got[:-1] != ["-a always,exit -F arch=b64 -S open -F key=k%d" % i
                          for i in range(100000)]
    fifo = os.path.join(work, "fifo.rules")
    os.mkfifo(fifo)
    got = subprocess.run([driver, "load", fifo], capture_output=True, text=True, timeout=60)
    wrong += got.stdout != "unreadable\n--\n"
    closed = subprocess.run(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                             driver, "join", "/etc/audit/rules.d"], capture_output=True)
    wrong += closed.returncode != 1 or closed.stdout != b""
    print("AuditRules (hostile): 3 cases, %d disagreements" % wrong)
    return wrong


def main():
    driver = sys.argv[1]
    cases = int(sys.argv[2]) if len(sys.argv) > 2 else 400
    if os.geteuid() != 0 or not shutil.which("auditctl") or not shutil.which("augenrules"):
        print("auditctl and augenrules as root are needed: skipped")
        return 77
    status = auditctl("-s")
    if status.returncode != 0 or "enabled 2" in status.stdout:
        print("the kernel's audit rules cannot be changed here: skipped")
        return 77
    work = tempfile.mkdtemp(prefix="audit-rules-")
    try:
        wrong = (compare_loads(driver, cases, work) + compare_joins(driver, cases // 4, work) +
                 hostile(driver, work))
    finally:
        auditctl("-D")
        auditctl("-e", "0")
        shutil.rmtree(work)
    return 1 if wrong else 0


sys.exit(main())
