#!/usr/bin/env python3
"""file-search-vs-find.py COREHOST: FileSearch against GNU find with the same tests. A seeded tree
(modes with every special bit, owners and groups without a name, links to files, to directories, to
nothing and in a loop, a FIFO, a socket, a device, a directory 200 deep, one of 20,000 entries)
is searched with random combinations of tests, as root; then as nobody, where unreadable
directories must fail the search (-12020) wherever find exits 1; then in a private mount namespace
with a tmpfs and a procfs mounted inside the tree (-xdev, crossing devices, every local mount);
then on the real /usr. Prints the number of searches and disagreements."""
import json
import os
import random
import shutil
import socket
import stat
import subprocess
import sys
import tempfile

corehost = sys.argv[1]
if os.geteuid() != 0 or subprocess.run(["unshare", "-m", "true"]).returncode != 0:
    print("needs root and unshare -m")
    sys.exit(77)
rng = random.Random(20261207)
NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
UNNAMED = 3999123  # an id no account has
MODES = [0o644, 0o600, 0o755, 0o4755, 0o2755, 0o1777, 0o666, 0o002, 0o020, 0o777, 0o640, 0]
FIND_TESTS = {"f": "f", "d": "d", "l": "l", "p": "p", "s": "s", "b": "b", "c": "c"}


def build(top):
    dirs = [top]
    for i in range(40):
        dirs.append(os.path.join(rng.choice(dirs), rng.choice(["d", "etc", "Lib", ".hid", "s p"]) + str(i)))
        os.mkdir(dirs[-1])
    for i in range(600):
        path = os.path.join(rng.choice(dirs), rng.choice(["f", "x.conf", "A.CONF", ".dot", "ü"]) + str(i))
        open(path, "w").close()
        os.chown(path, rng.choice([0, 65534, UNNAMED]), rng.choice([0, 65534, UNNAMED]))
        os.chmod(path, rng.choice(MODES + [rng.getrandbits(12)]))
    for d in dirs[1:]:
        os.chmod(d, rng.choice([0o755, 0o1777, 0o775, 0o750]))
    os.symlink("f1", os.path.join(top, "to-file"))
    os.symlink(dirs[3], os.path.join(top, "to-dir"))
    os.symlink("nowhere", os.path.join(top, "dangling"))
    os.symlink("loop-b", os.path.join(top, "loop-a"))
    os.symlink("loop-a", os.path.join(top, "loop-b"))
    os.symlink("..", os.path.join(dirs[5], "up"))
    os.mkfifo(os.path.join(top, "fifo"))
    socket.socket(socket.AF_UNIX).bind(os.path.join(top, "sock"))
    os.mknod(os.path.join(top, "null"), 0o666 | stat.S_IFCHR, os.makedev(1, 3))
    deep = os.path.join(top, "deep")
    os.makedirs(deep)
    os.chdir(deep)
    for i in range(200):
        os.mkdir("d")
        os.chdir("d")
        open(f"f{i}", "w").close()
    os.chdir("/")
    return dirs


def build_big(big):
    os.mkdir(big)
    for i in range(20000):
        os.close(os.open(os.path.join(big, f"e{i}"), os.O_CREAT | os.O_WRONLY, 0o600 | (i % 3 == 0) * 0o6))


def query(dirs):
    """One random search: FileSearch's properties and find's expression."""
    props, expr = {}, []
    options = rng.sample(["type", "name", "modeAny", "modeNotWithin", "owner", "notOwner", "group",
                          "notGroup", "noUser", "noGroup", "depth", "exclude"], rng.randint(1, 3))
    for option in options:
        if option == "type":
            kinds = rng.sample(list(FIND_TESTS), rng.randint(1, 3))
            props["type"] = ";".join(kinds)
            expr += ["-type", ",".join(kinds)]
        elif option == "name":
            props["name"] = rng.choice(["*.conf", "f1*", "?", "*1?", ".*", "*ü*", "e1*"])
            props["ignoreCase"] = rng.choice(["true", "false"])
            expr += ["-iname" if props["ignoreCase"] == "true" else "-name", props["name"]]
        elif option in ("modeAny", "modeNotWithin"):
            mode = rng.choice([0o2, 0o22, 0o6000, 0o7777, 0o755, 0o644, 0, rng.getrandbits(12)])
            props[option] = format(mode, "04o")
            if option == "modeAny":
                expr += ["-perm", "/" + format(mode, "o")]
            else:
                outside = 0o7777 & ~mode
                expr += ["-perm", "/" + format(outside, "o")] if outside else ["-false"]
        elif option in ("owner", "notOwner", "group", "notGroup"):
            who = rng.choice(["root", "0", "nobody" if "wner" in option else "nogroup", str(UNNAMED)])
            props[option] = who
            expr += (["!"] if option.startswith("not") else []) + \
                ["-user" if "wner" in option else "-group", who]
        elif option in ("noUser", "noGroup"):
            props[option] = "true"
            expr += ["-nouser" if option == "noUser" else "-nogroup"]
        elif option == "depth":
            props["depth"] = str(rng.randint(0, 3))
    prune = []
    if "exclude" in options:
        props["exclude"] = rng.choice(dirs[1:]) + rng.choice(["", "*"])
        prune = ["-path", props["exclude"], "-prune", "-o"]
    depth = ["-maxdepth", props["depth"]] if "depth" in props else []
    return props, depth, prune + ["("] + (expr or ["-true"]) + [")", "-print"]


def run_rules(rules, as_user=()):
    """corehost's answer to each rule, by id."""
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as document:
        json.dump({"rules": rules}, document)
    os.chmod(document.name, 0o644)
    ran = subprocess.run(list(as_user) + [corehost, "eval", "--json", "--no-check", document.name],
                         capture_output=True, text=True)
    os.unlink(document.name)
    return {line["id"]: line for line in map(json.loads, ran.stdout.splitlines()) if "id" in line}


def compare(roots, searches, as_user=(), extra=None, find_extra=()):
    """Runs each (properties, find arguments) search both ways; the disagreements."""
    answers = run_rules([{"id": str(i), "tree": {"name": "FileSearch", "properties": dict(
        {"absolutePath": ";".join(roots)}, **(extra or {}), **props)}}
        for i, (props, _, _) in enumerate(searches)], as_user)
    wrong = []
    for i, (props, depth, expr) in enumerate(searches):
        found = subprocess.run(list(as_user) + ["find", "-H"] + roots + list(find_extra) + depth + expr,
                               capture_output=True)
        expected = sorted(set(os.fsdecode(p) for p in found.stdout.split(b"\n") if p))
        answer = answers.get(str(i), {"code": "none", "result": None})
        ours = (-12020, None) if found.returncode == 1 else (0, expected)
        if (answer["code"], answer["result"] if answer["code"] == 0 else None) != ours:
            wrong.append(f"{props}: find {found.returncode} {expected[:5]}, corehost "
                         f"{answer['code']} {(answer['result'] or [])[:5]}")
    return len(searches), wrong


def in_namespace(top):
    """Mounts a tmpfs and a procfs inside the tree, in this (private) namespace."""
    subprocess.run(["mount", "--make-rprivate", "/"], check=True)
    for kind in ("tmpfs", "proc"):
        os.mkdir(os.path.join(top, kind))
        subprocess.run(["mount", "-t", kind, kind, os.path.join(top, kind)], check=True)
    for name in ("planted-1", "sub/planted-2"):
        os.makedirs(os.path.dirname(os.path.join(top, "tmpfs", name)), exist_ok=True)
        os.close(os.open(os.path.join(top, "tmpfs", name), os.O_CREAT, 0o666))
        os.chmod(os.path.join(top, "tmpfs", name), 0o666)
    searches = [({"name": n}, [], ["-name", n, "-print"]) for n in ("*", "planted-*", "1", "status")]
    total, wrong = compare([top], searches, find_extra=["-xdev"])
    crossing = [({"name": n}, [], ["(", "-name", n, "-print", ")", ",", "-path", top + "/proc", "-prune"])
                for n in ("*", "planted-*", "1")]
    more, wrong2 = compare([top], crossing, extra={"crossDevices": "true"})
    # Every local mount: the planted files on the tmpfs, nothing from the procfs.
    # The rest of / is left out, or the search would take minutes under the sanitizers.
    elsewhere = ";".join("/" + name for name in os.listdir("/"))
    ours = run_rules([{"id": "local", "tree": {"name": "FileSearch", "properties": {
        "localMounts": "true", "name": "planted-*", "type": "f", "modeAny": "0002",
        "exclude": elsewhere}}}])["local"]
    if ours.get("result") != sorted(os.path.join(top, "tmpfs", n) for n in ("planted-1", "sub/planted-2")):
        wrong2.append(f"localMounts: {ours}")
    print(json.dumps([total + more + 1, wrong + wrong2]))


if len(sys.argv) > 2:
    in_namespace(sys.argv[2])
    sys.exit(0)

work = tempfile.mkdtemp(prefix="file-search-", dir="/dev/shm")  # a tmpfs: 20,000 files fast
os.chmod(work, 0o755)
try:
    tree, big = os.path.join(work, "tree"), os.path.join(work, "big")
    os.mkdir(tree)
    dirs = build(tree)
    build_big(big)
    total, wrong = compare([tree], [query(dirs) for _ in range(200)])
    large = [({"name": "e1*", "modeAny": "0004"}, [], ["-name", "e1*", "-perm", "/4", "-print"]),
             ({"type": "f"}, [], ["-type", "f", "-print"])]
    total, wrong = [a + b for a, b in zip((total, wrong), compare([big], large))]
    # As nobody: unreadable directories (mode 0700, and 0644 which lists but cannot be searched).
    for mode, d in zip((0o700, 0o644), rng.sample(dirs[1:], 2)):
        os.chown(d, 0, 0)
        os.chmod(d, mode)
    more, wrong2 = compare([tree], [query(dirs) for _ in range(40)], as_user=NOBODY)
    inner = subprocess.run(["unshare", "-m", sys.executable, __file__, corehost, tree],
                           capture_output=True, text=True)
    counted, wrong3 = json.loads(inner.stdout) if inner.returncode == 0 else (0, [inner.stderr])
    usr = [({"type": "f", "modeAny": "6000"}, [], ["-type", "f", "-perm", "/6000", "-print"]),
           ({"type": "l", "name": "*.so*", "noUser": "true"}, [],
            ["-type", "l", "-name", "*.so*", "-nouser", "-print"]),
           ({"type": "d", "modeNotWithin": "0755"}, [], ["-type", "d", "-perm", "/7022", "-print"]),
           ({"depth": "2", "notGroup": "root"}, ["-maxdepth", "2"], ["!", "-group", "root", "-print"])]
    real, wrong4 = compare(["/usr"], usr, find_extra=["-xdev"])
finally:
    shutil.rmtree(work, ignore_errors=True)
disagreements = wrong + wrong2 + wrong3 + wrong4
for line in disagreements[:20]:
    print(line)
print(f"{total + more + counted + real} searches, {len(disagreements)} disagreements")
sys.exit(1 if disagreements or not counted else 0)
