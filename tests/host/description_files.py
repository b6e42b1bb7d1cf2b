#!/usr/bin/env python3
"""description_files.py COREHOST LIB_DIR: corehost over plug-in modules whose description files
are missing, malformed, cut short, stale, hostile (a FIFO, a directory, huge) or written by hand
for a third-party plug-in; and module paths that must not hang or load the wrong file. Each case:
the exit status and a line of standard error that names what is wrong."""
import os
import shutil
import subprocess
import sys
import tempfile

corehost, lib = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp()
failures = []


def module(name, description):
    """A copy of lib/NAME.so in a folder of its own, with `description` (text, a callable that
    makes it, or None) beside it."""
    folder = tempfile.mkdtemp(dir=work)
    path = os.path.join(folder, name + ".so")
    shutil.copy(os.path.join(lib, name + ".so"), path)
    target = os.path.join(folder, name + ".description")
    if callable(description):
        description(target)
    elif description is not None:
        with open(target, "wb") as out:
            out.write(description)
    return path


def run(label, args, status, stderr="", stdout="", timeout=20):
    try:
        done = subprocess.run([corehost] + args, capture_output=True, timeout=timeout, text=True)
    except subprocess.TimeoutExpired:
        failures.append(f"{label}: hung")
        return
    if done.returncode != status or stderr not in done.stderr or stdout not in done.stdout:
        failures.append(f"{label}: exit {done.returncode}\n  stdout {done.stdout!r}\n"
                        f"  stderr {done.stderr!r}\n  wanted exit {status}, {stderr!r}, {stdout!r}")


with open(os.path.join(lib, "libCorePlugin.description"), "rb") as real_file:
    real = real_file.read()
lines = real.split(b"\n")
fake_lines = [b"corehost-plugin-description\t1", b"plugin\tFakePlugin\t0.0.0.1",
              b"code\t-11038\tFAKE_MISSING\tthe fake's own missing input"]
for name, kind in [(b"Value", b"scalar operand"), (b"Join", b"scalar operator"),
                   (b"List", b"vector operand"), (b"Collect", b"vector operator"),
                   (b"Broken", b"scalar operand")]:
    fake_lines.append(b"expression\t%s\t%s\t%s\t" % (name, kind, b"list" if b"vector" in kind else b"any"))
    if b"operator" in kind:
        fake_lines.append(b"children\tscalar or vector\t0\t*")
    for prop in [b"value", b"fail", b"id", b"items", b"separator"]:
        fake_lines.append(b"property\t%s\t0\ttext\t0\t" % prop)
fake = b"\n".join(fake_lines) + b"\n"
tree = '{"name": "ValueOf", "properties": {"value": "x"}}'

# Descriptions that must stop corehost with exit 2, naming the file.
for label, text, message in [
        ("cut-short", real[: len(real) // 2], "libCorePlugin.description:"),
        ("cut-at-a-line-end", b"\n".join(lines[: len(lines) // 2]) + b"\n", "does not describe"),
        ("empty", b"", "empty, or cut short"),
        ("binary", bytes(range(1, 256)) * 64, "not a plug-in description"),
        ("nul", b"\0" + real, "a NUL byte"),
        ("newer-format", real.replace(b"description\t1", b"description\t9", 1), "format version"),
        ("stale-version", real.replace(b"CorePlugin\t1.1.1.1", b"CorePlugin\t1.0.0.0", 1),
         "describes version 1.0.0.0"),
        ("another-plugin", real.replace(b"plugin\tCorePlugin", b"plugin\tOther", 1),
         "describes the plug-in Other"),
        ("names-reordered", real.replace(b"expression\tAnd", b"expression\tAnd2", 1),
         "where the plug-in registers And"),
        ("huge", real + b"code\t-1\tX\t" + b"x" * (5 << 20) + b"\n", "larger than 4 MiB")]:
    path = module("libCorePlugin", text)
    run(label, ["--plugin", path, "eval", "-e", tree], 2, message)
    run(label + "-in-list", ["--plugin", path, "list"], 2, "corehost: ")

# Not a regular file: refused at once, never waited on.
run("fifo-description", ["--plugin", module("libCorePlugin", lambda p: os.mkfifo(p)), "list"], 2,
    "is not a regular file")
run("directory-description", ["--plugin", module("libCorePlugin", lambda p: os.mkdir(p)), "list"],
    2, "is not a regular file")
fifo = os.path.join(work, "fifo.so")
os.mkfifo(fifo)
run("fifo-module", ["--plugin", fifo, "list"], 2, "not a regular file")
run("directory-module", ["--plugin", work, "list"], 2, "not a regular file")
run("empty-module-path", ["--plugin", "", "list"], 2, "empty path")

# No description: the plug-in runs; check says so once and checks names only.
bare = module("libCorePlugin", None)
run("no-description-eval", ["--plugin", bare, "eval", "-e", tree], 0, "", "x")
run("no-description-check", ["--plugin", bare, "check", "-e",
                             '{"name": "ValueOf", "properties": {"valeu": "x"}}'], 0,
    "checked for expression names only")
run("no-description-unknown-name", ["--plugin", bare, "check", "-e", '{"name": "ValueOff"}'], 1,
    "", 'unknown expression name "ValueOff"')

# A description a third party wrote by hand for its own plug-in: read and used.
hand = module("libFakePlugin", fake)
run("hand-written-property", ["--plugin", hand, "check", "-e",
                              '{"name": "Value", "properties": {"valeu": "x"}}'], 1, "",
    'unknown property "valeu" of Value (did you mean "value"?)')
run("hand-written-code", ["--plugin", hand, "eval", "-e",
                          '{"name": "Value", "properties": {"fail": "-11038"}}'], 1,
    "-11038 (the fake's own missing input)")

shutil.rmtree(work)
for failure in failures:
    print(failure)
print(f"description files: {len(failures)} failures")
sys.exit(1 if failures else 0)
