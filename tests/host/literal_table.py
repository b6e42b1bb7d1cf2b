#!/usr/bin/env python3
"""Drives every literal of tests/host/data/literals.json through `corehost
check` and `corehost eval` over the real plug-in: evaluation (--no-check) must
read each literal as the table says, check must say exactly that (nothing for
a literal read whole, "reads as N; "tail" is ignored" for one read in part,
the code for one refused), and eval without --no-check must refuse the
document with the same findings.

usage: literal_table.py COREHOST SOURCE_DIR
"""
import json
import os
import subprocess
import sys
import tempfile

TEXT = "abcdefghij"


def node(name, properties=None, children=None):
    tree = {"name": name, "properties": properties or {}}
    if children:
        tree["children"] = children
    return tree


def value(text):
    return node("ValueOf", {"value": text})


def tree_for(context, literal, number, source_dir):
    """The tree that puts `literal` in `context`, and its result when the
    literal reads as `number` (None: the result is not compared)."""
    if context in ("integer", "uinteger", "hex", "version", "boolean"):
        other = format(int(number), "x") if context == "hex" else number
        return node("Compare", {"type": context, "relation": "eq"}, [value(literal), value(other)]), "true"
    if context == "bitwise":
        return node("BitwiseAnd", {}, [value(literal), value("18446744073709551615")]), number
    if context == "index":
        return node("VectorAt", {"index": literal}, [value(str(i)) for i in range(1, 6)]), number
    if context == "slice":
        return node("StringSlice", {"inputString": TEXT, "startIndex": literal, "endIndex": ""}), TEXT[int(number):]
    if context == "clip":
        return node("Clip", {"inputString": TEXT, "startIndex": literal, "endIndex": "0"}), TEXT[int(number):]
    assert context == "filesize", context
    path = os.path.join(source_dir, "tests/host/data/hundred-bytes.txt")
    properties = {"absolutePath": path, "field": "size", "relation": "eq", "value": literal}
    return node("FileInfoCompare", properties), "true" if number == "100" else "false"


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, check=False, **kwargs)


def main():
    corehost, source_dir = sys.argv[1:3]
    with open(os.path.join(source_dir, "tests/host/data/literals.json"), encoding="utf-8") as f:
        table = json.load(f)["literals"]
    rules, expected = [], {}
    for i, (context, literal, outcome) in enumerate(table):
        number = outcome[0] if isinstance(outcome, list) else outcome
        if not isinstance(number, str):  # refused: the other operand is any valid value
            number = "true" if context == "boolean" else "0"
        tree, result = tree_for(context, literal, number, source_dir)
        rules.append({"id": f"L{i}", "tree": tree})
        expected[f"L{i}"] = (context, literal, outcome, result)
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as doc:
        json.dump({"rules": rules}, doc)
    try:
        check = run([corehost, "check", doc.name])
        evaluated = run([corehost, "eval", "--no-check", "--json", doc.name])
        refused = run([corehost, "eval", doc.name])
    finally:
        os.unlink(doc.name)

    findings = {}
    for line in check.stdout.splitlines():
        rule = line.split('rule "', 1)[1].split('"', 1)[0]
        findings.setdefault(rule, []).append(line)
    results = {r["id"]: r for r in map(json.loads, evaluated.stdout.splitlines()) if "id" in r}
    problems = []
    for rule, (context, literal, outcome, result) in expected.items():
        got = results[rule]
        said = findings.get(rule, [])
        where = f"{context} {literal!r}"
        if isinstance(outcome, int):
            if got["code"] != outcome:
                problems.append(f"{where}: eval gave code {got['code']}, the table says {outcome}")
            if len(said) != 1 or not said[0].endswith(f"({outcome})"):
                problems.append(f"{where}: check said {said}, not one finding with ({outcome})")
            continue
        if got["code"] != 0 or got["result"] != result:
            problems.append(f"{where}: eval gave {got['code']} {got['result']!r}, expected {result!r}")
        if isinstance(outcome, list):
            text = f"reads as {outcome[0]}"
            tail = f'"{outcome[1]}" is ignored'
            if len(said) != 1 or text not in said[0] or not said[0].endswith(tail):
                problems.append(f"{where}: check said {said}, not that it {text} and {tail}")
        elif said:
            problems.append(f"{where}: check said {said} of a literal read whole")
    if check.returncode != 1 or evaluated.returncode != 1:
        problems.append(f"exit statuses: check {check.returncode}, eval --no-check {evaluated.returncode}")
    prefixed = ["corehost: " + line for line in check.stdout.splitlines()]
    if refused.returncode != 2 or refused.stdout or refused.stderr.splitlines()[:-1] != prefixed:
        problems.append(f"eval without --no-check: exit {refused.returncode}, not check's findings:\n{refused.stderr}")
    for problem in problems:
        print(problem)
    print(f"{len(table)} literals, {len(problems)} disagreements")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
