#!/usr/bin/env python3
"""Keeps the examples of docs/writing-rules.md true. Every ```json block is a
document that `corehost check` must find clean and `corehost eval` must pass
(exit 0), unless the comment line before it, `<!-- file: NAME -->`, ends in
"fails"; it is saved as NAME for the commands. Every ```console block is run:
each `$ ` line (with `> ` continuation lines) goes to sh in a directory where
`examples` is the repository's, with corehost first in PATH, and its standard
output and error together must be the lines shown under it. Run times, and
the host name and start time of a JSON report, are the only things masked.

usage: guide_examples.py COREHOST SOURCE_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

corehost, source = os.path.abspath(sys.argv[1]), sys.argv[2]
lines = open(os.path.join(source, "docs", "writing-rules.md"), encoding="utf-8").read().split("\n")
work = tempfile.mkdtemp(prefix="guide-")
os.symlink(os.path.join(os.path.abspath(source), "examples"), os.path.join(work, "examples"))
env = dict(os.environ, PATH=os.path.dirname(corehost) + os.pathsep + os.environ["PATH"], NO_COLOR="1")
mask = lambda text: re.sub(r'("host":|"started":)"[^"]*"', r'\1"X"',
                           re.sub(r'(in |time=")[0-9]+\.[0-9]+', r"\1T", text))
blocks, failures, i = [], [], 0
while i < len(lines):
    if lines[i] in ("```json", "```console"):
        marker = re.match(r"<!-- file: (\S+)( fails)? -->$", lines[i - 1])
        end = lines.index("```", i + 1)
        blocks.append((lines[i][3:], i + 1, lines[i + 1:end], marker))
        i = end
    i += 1
run = lambda cmd: subprocess.run(cmd, shell=isinstance(cmd, str), cwd=work, env=env, text=True,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
for kind, line, body, marker in (b for b in blocks if b[0] == "json"):
    name = marker.group(1) if marker else "block-%d.json" % line
    with open(os.path.join(work, name), "w", encoding="utf-8") as out:
        out.write("\n".join(body) + "\n")
    for args, status in ((["check"], 0), (["eval"], 1 if marker and marker.group(2) else 0)):
        result = run([corehost] + args + [name])
        if result.returncode != status:
            failures.append("line %d: %s exit %d:\n%s" % (line, args[0], result.returncode, result.stdout))
for kind, line, body, marker in (b for b in blocks if b[0] == "console"):
    starts = [n for n, text in enumerate(body) if text.startswith("$ ")] + [len(body)]
    for start, stop in zip(starts, starts[1:]):
        command = [body[start][2:]]
        while start + 1 < stop and body[start + 1].startswith("> "):
            start += 1
            command.append(body[start][2:])
        expected, actual = body[start + 1:stop], run("\n".join(command)).stdout.rstrip("\n")
        if mask("\n".join(expected)) != mask(actual):
            failures.append("line %d: %s\n--- shown:\n%s\n--- printed:\n%s"
                            % (line, command[0], "\n".join(expected), actual))
shutil.rmtree(work)
print("\n\n".join(failures) or "%d blocks of the guide hold" % len(blocks))
sys.exit(1 if failures or not blocks else 0)
