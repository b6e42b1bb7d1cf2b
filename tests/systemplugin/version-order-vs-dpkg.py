#!/usr/bin/env python3
"""Compares our Debian version order with `dpkg --compare-versions` on generated pairs.

Usage: version-order-vs-dpkg.py DRIVER [COUNT]. DRIVER reads hex pairs and prints lt/eq/gt/refused;
each answer is confirmed by one dpkg call (exit 0 confirms the relation, exit 2 a refusal).
"""
import random
import re
import subprocess
import sys

rng = random.Random(20261206)

EPOCHS = [b"0:", b"1:", b"01:", b"10:", b"+1:", b"-0:", b"2147483647:", b"\n1:"]
BAD_EPOCHS = [b"2147483648:", b"99999999999999999999:", b"-1:", b"a:", b":", b"1a:", b" 1:"]
PIECES = [b"0", b"1", b"9", b"10", b"007", b"a", b"z", b"A", b"~", b"~~", b"+", b".", b"-0", b"_",
          b":", b"\xc3\xa9", b"\x7f", b"\xff", b"b1", b"rc1", b"beta", b"dfsg", b"deb12u1"]
BLANKS = [b" ", b"\t"]


def digits(n):
    return bytes(rng.choice(b"0123456789") for _ in range(n))


def part():
    out = b""
    for _ in range(rng.randint(0, 5)):
        roll = rng.random()
        if roll < 0.08:
            out += digits(rng.randint(20, 110))
        elif roll < 0.5:
            out += digits(rng.randint(1, 3))
        else:
            out += rng.choice(PIECES)
    return out


def version():
    roll = rng.random()
    if roll < 0.01:
        return b""
    if roll < 0.02:
        return rng.choice(BLANKS) * rng.randint(1, 3)
    roll = rng.random()
    text = rng.choice(EPOCHS) if roll < 0.3 else rng.choice(BAD_EPOCHS) if roll < 0.35 else b""
    text += part()
    if rng.random() < 0.5:
        text += b"-" + part()
    if rng.random() < 0.05:
        text = rng.choice(BLANKS) + text
    if rng.random() < 0.05:
        text += rng.choice(BLANKS)
    if rng.random() < 0.03 and len(text) > 1:
        cut = rng.randint(1, len(text) - 1)
        text = text[:cut] + rng.choice(BLANKS) + text[cut:]
    return text


def mutate(text):
    # A near neighbour, so that pairs often share long prefixes.
    roll = rng.random()
    if not text or roll < 0.2:
        return version()
    if roll < 0.3:
        # Spellings dpkg holds equal: a zero epoch, a zero revision, leading zeros.
        return rng.choice([b"0:" + text, text + b"-0", re.sub(b"([0-9]+)", b"00\\1", text, 1)])
    pos = rng.randint(0, len(text))
    return text[:pos] + rng.choice(PIECES + [digits(rng.randint(1, 4))]) + text[pos + rng.randint(0, 2):]


def shell_quote(b):
    return b"'" + b.replace(b"'", b"'\\''") + b"'"


def main():
    driver = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 12000
    pairs = []
    for _ in range(count):
        a = version()
        pairs.append((a, mutate(a) if rng.random() < 0.7 else version()))
    pairs = [(a.replace(b"\0", b""), b.replace(b"\0", b"")) for a, b in pairs]
    feed = b"".join((a.hex().encode() or b"-") + b" " + (b.hex().encode() or b"-") + b"\n"
                    for a, b in pairs)
    ours = subprocess.run([driver], input=feed, capture_output=True, check=True).stdout.split()
    assert len(ours) == len(pairs), "driver answered %d of %d pairs" % (len(ours), len(pairs))
    # One shell runs a batch of dpkg calls and prints each exit status.
    failures = []
    kinds = {}
    batch = 2000
    for start in range(0, len(pairs), batch):
        script = b""
        for (a, b), answer in zip(pairs[start:start + batch], ours[start:start + batch]):
            relation = b"lt" if answer == b"refused" else answer
            script += (b"dpkg --compare-versions -- " + shell_quote(a) + b" " + relation + b" " +
                       shell_quote(b) + b" 2>/dev/null; echo $?\n")
        codes = subprocess.run(["sh"], input=script, capture_output=True, check=True).stdout.split()
        for (a, b), answer, code in zip(pairs[start:start + batch], ours[start:start + batch], codes):
            expected = b"2" if answer == b"refused" else b"0"
            kinds[answer] = kinds.get(answer, 0) + 1
            if code != expected:
                failures.append((a, b, answer.decode(), code.decode()))
    print("pairs:", len(pairs), {k.decode(): v for k, v in sorted(kinds.items())})
    for a, b, answer, code in failures[:20]:
        print("MISMATCH %r %r ours=%s dpkg-exit=%s" % (a, b, answer, code))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
