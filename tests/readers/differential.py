"""What the differential suites share: the reader driver, the private
namespace, the tally of cases and disagreements."""
import os
import random
import shutil
import subprocess
import sys
import tempfile

SKIP = 77


def skip(why):
    print("SKIPPED:", why)
    sys.exit(SKIP)


def need(*programs):
    for program in programs:
        if not shutil.which(program) and not os.access(program, os.X_OK):
            skip(program + " is not installed")


def in_namespace(*flags):
    """Runs this script again inside `unshare FLAGS` (root only); returns in the copy."""
    if os.environ.get("READERS_IN_NAMESPACE") == "1":
        return
    if os.geteuid() != 0 or not shutil.which("unshare"):
        skip("needs root and unshare for a private namespace")
    env = dict(os.environ, READERS_IN_NAMESPACE="1")
    args = ["unshare", *flags, "--propagation", "private", sys.executable, *sys.argv]
    sys.exit(subprocess.run(args, env=env).returncode)


def mount_tmpfs(path):
    os.makedirs(path, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "readers", path], check=True)


def bind(source, target):
    subprocess.run(["mount", "--bind", source, target], check=True)


def start(reader, seed, cases=400):
    """What a suite run as `READER.py DRIVER [CASES]` works with: its seeded
    generator, its tally, the driver and the number of cases."""
    count = int(sys.argv[2]) if len(sys.argv) > 2 else cases
    return random.Random(seed), Tally(reader), Driver(sys.argv[1]), count


def workspace():
    """A scratch directory, on tmpfs where there is one (the programs write and sync)."""
    return tempfile.TemporaryDirectory(dir="/dev/shm" if os.path.isdir("/dev/shm") else None)


class Driver:
    """tests/readers/ReaderDriver.cpp as a coprocess."""

    def __init__(self, path, **popen):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        **popen)

    def set(self, name, value):
        self.process.stdin.write(b"SET " + _hexword(name) + b" " + _hexword(value) + b"\n")
        self.process.stdin.flush()

    def eval(self, expression, **properties):
        """(code, [values as bytes]) of one expression."""
        words = [_hexword(expression)]
        for name, value in properties.items():
            words += [_hexword(name), _hexword(value)]
        self.process.stdin.write(b" ".join(words) + b"\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().split()
        values = [b"" if v == b"-" else bytes.fromhex(v.decode()) for v in answer[1:]]
        return int(answer[0]), values

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def _hexword(text):
    data = text.encode("utf-8", "surrogateescape") if isinstance(text, str) else text
    return data.hex().encode() if data else b"-"


class Tally:
    """Counts cases and disagreements; prints the first few and the summary."""

    def __init__(self, reader):
        self.reader = reader
        self.cases = 0
        self.disagreements = []
        self.codes = 0

    def check(self, agreed, what, code=0):
        """One case; `code` is the reader's answer (counted when it is a code
        other than -12014, key not found)."""
        self.cases += 1
        self.codes += code not in (0, -12014)
        if not agreed:
            self.disagreements.append(what)

    def finish(self):
        for what in self.disagreements[:15]:
            print("DISAGREE:", what)
        print("%s: %d cases, %d disagreements (%d answered with a code other than -12014)"
              % (self.reader, self.cases, len(self.disagreements), self.codes))
        sys.exit(1 if self.disagreements or self.cases == 0 else 0)
