#!/usr/bin/env python3
"""shell.py DRIVER [CASES]: KeyValue with syntax shell against bash and dash
sourcing the same generated files (in an empty environment).

A file made only of plain assignments must give what both shells give; where
the shells disagree the reader must answer a code; elsewhere it must give what
they give, or -12030 (the key is set by more than a plain assignment)."""
import os
import subprocess
import sys

import differential as d

WORDS = ["v", "a b", "x#y", "#h", "é", "$", "a;b", "q'r", 'd"q', "t\\u", "w\\", "1=2", "*", "~", ""]


def single(text):
    return "'" + text.replace("'", "'\\''") + "'"


def double(text):
    return '"' + "".join("\\" + c if c in '"\\$`' else c for c in text) + '"'


def bare(text):
    return "".join("\\" + c if not (c.isalnum() or c in "_/.,:+%@-é") else c for c in text) or "''"


QUOTES = [single, double, bare]
KEYS = ["K", "L"]

# Statements that only assign: (template, needs L set earlier)
PLAIN = ["{k}={v}", "export {k}={v}", "{k}={v} {o}={v2}", "export {k} {o}={v}", "{k}=$L",
         "{k}=\"${{L}}-{w}\"", "{k}={v}\r", "{k}={v}; {o}={v2}", "{k}={v} # {w}"]
# Statements that may set, unset or only seem to set a key.
OTHER = ["unset {k}", "false && {k}={v}", "true && {k}={v}", "true || {k}={v}",
         "[ -n \"\" ] || {k}={v}", "if true; then {k}={v}; fi", "if false; then\n{k}={v}\nfi",
         "{k}={v} true", "{k}={v} >/dev/null", "cat >/dev/null <<EOF\n{k}={v}\nEOF",
         "cat >/dev/null <<'EOF'\n{k}=${{{o}:=x}}\nEOF", "({k}={v})", "{{ {k}={v}; }}",
         "{k}=$(echo {w})", "{k}=`echo {w}`", "{k}=${{M:-{w}}}", "readonly {k}={v}",
         "return 0", "{k}={v} &", "f() {{ {k}={v}; }}", "for {k} in a b; do :; done", "true",
         ": {k}", "echo {k}={v} >/dev/null", "case x in x) {k}={v};; esac", "{k}+={v}",
         "eval {k}={v}", "{k}=\"unterminated"]


def statement(rng, plain):
    k, o = rng.sample(KEYS, 2)
    w = rng.choice(WORDS[:4])
    template = rng.choice(PLAIN if plain else PLAIN + OTHER)
    return template.format(k=k, o=o, w=w, v=rng.choice(QUOTES)(rng.choice(WORDS)),
                           v2=rng.choice(QUOTES)(rng.choice(WORDS)))


def case(rng):
    plain = rng.random() < 0.4
    # A variable the environment might hold is no plain value.
    lines = ["L=start"] if plain or rng.random() < 0.5 else []
    for _ in range(rng.randint(1, 5)):
        lines.append(statement(rng, plain))
        if rng.random() < 0.15:
            lines.append("# " + rng.choice(WORDS))
    return "\n".join(lines) + rng.choice(["\n", "", "\n\n"]), plain


def sourced(shell, path):
    """{key: what `shell` holds in it after sourcing `path`}."""
    script = ". %s >/dev/null 2>&1; printf '%%s\\036' %s" % (
        path, " ".join('"${%s-(unset)}"' % key for key in KEYS))
    result = subprocess.run(["env", "-i", shell, "-c", script], capture_output=True,
                            cwd=os.path.dirname(path))
    return dict(zip(KEYS, result.stdout.split(b"\036")))


def main():
    d.need("bash", "dash")
    rng, tally, driver, count = d.start("shell", 20270303)
    with d.workspace() as work:
        for i in range(count):
            text, plain = case(rng)
            path = os.path.join(work, "c%d.env" % i)
            with open(path, "wb") as f:
                f.write(text.encode())
            shells = sourced("bash", path), sourced("dash", path)
            for key in KEYS:
                bash, dash = shells[0].get(key), shells[1].get(key)
                code, values = driver.eval("KeyValue", syntax="shell", file=path, key=key)
                what = "%s in %r: bash %r dash %r; ours %d %r" % (key, text, bash, dash, code,
                                                                  values)
                if bash != dash:
                    tally.check(code != 0, what, code=code)
                elif bash == b"(unset)":
                    tally.check(code in (-12014, -12030), what, code=code)
                elif plain:
                    tally.check((code, values) == (0, [bash]), what)
                else:
                    tally.check((code, values) == (0, [bash]) or code == -12030, what,
                                code=code)
    driver.close()
    tally.finish()


if __name__ == "__main__":
    main()
