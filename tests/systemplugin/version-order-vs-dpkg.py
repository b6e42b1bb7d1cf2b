#!/usr/bin/env python3
"""version-order-vs-dpkg.py DRIVER [COUNT]: DRIVER's answers (lt/eq/gt/refused for hex pairs) on
generated pairs, each confirmed by `dpkg --compare-versions` (exit 0 for the relation, 2 refused)."""
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


def part():  # of upstream or revision
    return b"".join(digits(rng.randint(20, 110)) if r < 0.08 else digits(rng.randint(1, 3))
                    if r < 0.5 else rng.choice(PIECES)
                    for r in (rng.random() for _ in range(rng.randint(0, 5))))


def version():
    roll = rng.random()
    if roll < 0.02:
        return b"" if roll < 0.01 else rng.choice(BLANKS) * rng.randint(1, 3)
    roll = rng.random()
    text = rng.choice(EPOCHS) if roll < 0.3 else rng.choice(BAD_EPOCHS) if roll < 0.35 else b""
    text += part() + (b"-" + part() if rng.random() < 0.5 else b"")
    text = (rng.choice(BLANKS) if rng.random() < 0.05 else b"") + text
    text += rng.choice(BLANKS) if rng.random() < 0.05 else b""
    if rng.random() < 0.03 and len(text) > 1:
        cut = rng.randint(1, len(text) - 1)
        text = text[:cut] + rng.choice(BLANKS) + text[cut:]
    return text


def neighbour(text):
    """A text near `text`, often one dpkg holds equal, so that pairs share long prefixes."""
    roll = rng.random()
    if not text or roll < 0.2:
        return version()
    if roll < 0.3:
        return rng.choice([b"0:" + text, text + b"-0", re.sub(b"([0-9]+)", b"00\\1", text, 1)])
    pos = rng.randint(0, len(text))
    return text[:pos] + rng.choice(PIECES + [digits(4)]) + text[pos + rng.randint(0, 2):]


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 12000
    firsts = [version() for _ in range(count)]
    pairs = [(a, neighbour(a) if rng.random() < 0.7 else version()) for a in firsts]
    feed = b"".join((a.hex().encode() or b"-") + b" " + (b.hex().encode() or b"-") + b"\n"
                    for a, b in pairs)
    ours = subprocess.run([sys.argv[1]], input=feed, capture_output=True, check=True).stdout.split()
    assert len(ours) == len(pairs), "the driver answered %d of %d pairs" % (len(ours), len(pairs))
    # One shell runs every dpkg call and prints each exit status.
    quote = lambda b: b"'" + b.replace(b"'", b"'\\''") + b"'"  # noqa: E731
    script = b"".join(b"dpkg --compare-versions -- " + quote(a) + b" " +
                      (b"lt" if answer == b"refused" else answer) + b" " + quote(b) +
                      b" 2>/dev/null; echo $?\n" for (a, b), answer in zip(pairs, ours))
    codes = subprocess.run(["sh"], input=script, capture_output=True, check=True).stdout.split()
    failures = [(a, b, answer, code) for (a, b), answer, code in zip(pairs, ours, codes)
                if code != (b"2" if answer == b"refused" else b"0")]
    print("pairs:", len(pairs), {k.decode(): ours.count(k) for k in sorted(set(ours))})
    for a, b, answer, code in failures[:20]:
        print("MISMATCH %r %r ours=%s dpkg-exit=%s" % (a, b, answer.decode(), code.decode()))
    return 1 if failures or len(codes) != len(pairs) else 0


if __name__ == "__main__":
    sys.exit(main())
