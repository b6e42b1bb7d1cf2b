#!/usr/bin/env python3
"""corehost's HTML pages as headless Chromium builds them (scripts on), read
with html.parser: the host page of a hostile rule pack (eval --format html)
and fleet pages of generated reports (corehost report), against the JSON
reports of the same runs; and diff's exit status against the statuses of
generated report pairs.

usage: html_reports.py COREHOST FAKE_PLUGIN
"""
import html.parser
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

COREHOST, FAKE = sys.argv[1], sys.argv[2]
HOSTILE = ["<script>document.title='pwned'</script>", '"onload="document.title=1" x="',
           "</details></article><h1>x</h1>", "</style><b>x</b>", "javascript:alert(1)",
           "a\u2028b\u202ec", "<img src=x onerror=document.title=2>", "&amp;&lt;", "'\x01"]
# Elements and attributes the pages use; anything else came from a document.
TAGS = {"html", "head", "meta", "title", "style", "body", "header", "main", "section", "article",
        "h1", "h2", "h3", "h4", "p", "dl", "dt", "dd", "code", "pre", "details", "summary", "span",
        "strong", "table", "thead", "tbody", "tr", "th", "td", "a", "ul", "li", "div", "label",
        "select", "option", "input", "script"}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


class Page(html.parser.HTMLParser):
    """Elements with their attributes and text, and the text by element id."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.elements, self.open = [], []
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        element = {"tag": tag, "attrs": dict(attrs), "text": "", "cells": []}
        self.elements.append(element)
        rows = [e for e in self.open if e["tag"] == "tr"]
        if tag in ("td", "th") and rows:
            rows[-1]["cells"].append(element)
        if tag not in ("meta", "input", "br", "img"):
            self.open.append(element)

    def handle_endtag(self, tag):
        while self.open:
            if self.open.pop()["tag"] == tag:
                break

    def handle_data(self, data):
        for element in self.open:
            element["text"] += data

    def find(self, **attrs):
        return [e for e in self.elements if all(e["attrs"].get(k) == v for k, v in attrs.items())]

    def by_id(self, ident):
        found = self.find(id=ident)
        return found[0] if found else None


def render(path):
    """The DOM after Chromium loaded the page and ran its scripts."""
    result = subprocess.run(["chromium", "--headless", "--disable-gpu", "--no-sandbox",
                             "--dump-dom", "file://" + path], capture_output=True, text=True,
                            timeout=120, check=False)
    check(result.returncode == 0, f"chromium failed on {path}: {result.stderr[-500:]}")
    return Page(result.stdout)


def corehost(*args, **kwargs):
    return subprocess.run([COREHOST, "--plugin", FAKE, *args], capture_output=True, check=False,
                          **kwargs)


def json_report(text):
    lines = [json.loads(line) for line in text.splitlines()]
    return lines[:-1], lines[-1]


def check_safe(page, where):
    """Nothing from a document became markup, and no script of a document ran."""
    for element in page.elements:
        check(element["tag"] in TAGS, f"{where}: element <{element['tag']}> from a document")
        for name in element["attrs"]:
            check(not name.startswith("on"), f"{where}: attribute {name}")
    scripts = page.find() and [e for e in page.elements if e["tag"] == "script"]
    check(len(scripts) <= 1, f"{where}: {len(scripts)} scripts")
    title = [e for e in page.elements if e["tag"] == "title"][0]["text"]
    check("pwned" not in title and title not in ("1", "2"), f"{where}: a script changed the title")


def shown(text):
    """A text as the page shows it: controls and invalid bytes as escapes."""
    out = ""
    for c in text:
        if c in "\t\n" or (0x20 <= ord(c) < 0x7F) or (0xA0 <= ord(c) and c not in "\u2028\u2029\u202a\u202b\u202c\u202d\u202e\u2066\u2067\u2068\u2069\u200e\u200f\ufeff\ufffe\uffff"):
            out += c if not 0xDC80 <= ord(c) <= 0xDCFF else "\\x%02X" % (ord(c) - 0xDC00)
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            out += "\\x%02X" % ord(c)
        else:
            out += "\\u%04X" % ord(c)
    return out


def host_page(work):
    rules = []
    for i, text in enumerate(HOSTILE):
        status = i % 3  # pass, fail, error
        tree = ({"name": "Join", "children": [{"name": "Value", "properties": {"fail": -11038}}]}
                if status == 2 else {"name": "Value", "properties": {"value": text}})
        rules.append({"id": f"{i}{text}", "title": text, "description": text, "tags": [text],
                      "severity": ["low", "high", "critical"][i % 3],
                      "expect": text if status == 0 else "other", "tree": tree})
    rules.append({"id": "free", "tree": {"name": "Value", "properties": {"value": HOSTILE[0]}}})
    document = os.path.join(work, "hostile.json")
    with open(document, "w", encoding="utf-8", errors="surrogateescape") as out:
        json.dump({"rules": rules}, out)
    report, summary = json_report(corehost("eval", "--json", document).stdout.decode())
    page_path = os.path.join(work, "host.html")
    corehost("eval", "--format", "html", "--explain", "--output", page_path, document)
    page = render(page_path)
    check_safe(page, "host page")
    counts = summary["summary"]
    articles = page.find(**{"data-status": "fail"}) + page.find(**{"data-status": "error"})
    check(len(page.find(**{"data-status": "fail"})) == counts["failed"], "failed rules shown")
    check(len(page.find(**{"data-status": "error"})) == counts["errors"], "erred rules shown")
    check(len(page.find(**{"data-status": "pass"})) == counts["passed"], "passed rules shown")
    total = [c["text"] for c in page.find(**{"data-group": "all"})[0]["cells"]]
    check(total[-5:] == [str(counts[k]) for k in ("passed", "failed", "errors", "skipped",
                                                   "withoutExpectation")], f"totals {total}")
    texts = [a["text"] for a in articles]
    for line in report:
        if line.get("status") in ("fail", "error"):
            match = [t for t in texts if shown(line["id"]) in t]
            check(len(match) == 1, f"failed rule {line['id']!r} on the page")
            check(match and shown(line.get("description", "")) in match[0], "description shown")
            check(match and (line["status"] == "error" or shown(line["result"]) in match[0]),
                  f"actual result of {line['id']!r}")
            check(match and ("severity " + line["severity"]) in match[0], "severity in words")
    for text in HOSTILE:
        check(any(shown(text) in e["text"] for e in page.elements if e["tag"] == "code"),
              f"{text!r} shown as text")
    check(len([e for e in page.elements if e["tag"] == "details"]) == len(articles),
          "each failed rule's evaluation folded")


def write_report(path, host, rules, started="2026-12-01T00:00:00Z"):
    """A JSON report as corehost eval --format json writes it."""
    with open(path, "w", encoding="utf-8") as out:
        for rule_id, status, severity, section in rules:
            line = {"id": rule_id, "type": "scalar", "code": -11038 if status == "error" else 0,
                    "status": status, "expected": "yes", "severity": severity, "tags": [section]}
            line["error"] = "unknown code" if status == "error" else "success"
            line["result"] = None if status == "error" else ("yes" if status == "pass" else "no")
            if status == "error":
                line["node"], line["expression"] = "rules[0].tree", "Value"
            line["title"] = f"The title of {rule_id}"
            line["description"] = "Why the rule matters, and what to do when it fails."
            out.write(json.dumps(line) + "\n")
        out.write(json.dumps({"summary": {}, "run": {"host": host, "started": started}}) + "\n")


def fleet_pages(work, rng):
    rule_ids = [f"rule-{i}{HOSTILE[i % len(HOSTILE)]}" for i in range(12)]
    meta = {r: (rng.choice(["info", "low", "medium", "high", "critical"]), rng.choice("ab"))
            for r in rule_ids}
    weights = {"info": 1, "low": 2, "medium": 4, "high": 8, "critical": 16}
    for round_ in range(3):
        now, before = os.path.join(work, f"now{round_}"), os.path.join(work, f"before{round_}")
        os.makedirs(now)
        os.makedirs(before)
        expected, changes = {}, {}
        hosts = [f"web{i}.example.org" for i in range(rng.randint(1, 8))] + [HOSTILE[round_]]
        for host in hosts:
            statuses = {r: rng.choice(["pass", "pass", "fail", "error", "skip"]) for r in rule_ids}
            older = {r: rng.choice([s, s, "pass", "fail"]) for r, s in statuses.items()}
            folder = os.path.join(now, host.replace("/", "_"))
            os.makedirs(folder)
            write_report(os.path.join(folder, "report.json"), host,
                         [(r, s, *meta[r]) for r, s in statuses.items()])
            write_report(os.path.join(before, host.replace("/", "_") + ".json"), host,
                         [(r, s, *meta[r]) for r, s in older.items()])
            expected[host] = sum(weights[meta[r][0]] for r, s in statuses.items()
                                 if s in ("fail", "error"))
            changes[host] = sum(1 for r in rule_ids if statuses[r] != older[r])
        outcomes = {"lost.example.org": "unreachable", hosts[0]: "ok"}
        with open(os.path.join(now, "fleet-result.json"), "w") as out:
            json.dump({"hosts": outcomes}, out)
        page_path = os.path.join(work, f"fleet{round_}.html")
        files = [os.path.join(now, h.replace("/", "_"), "report.json") for h in hosts]
        result = corehost("report", "--since", before, "--output", page_path, *files)
        check(result.returncode == 0, f"report: {result.stderr!r}")
        page = render(page_path)
        check_safe(page, f"fleet page {round_}")
        ranking = page.by_id("ranking")
        rows = [e for e in page.elements if e["tag"] == "tr" and "data-host" in e["attrs"]]
        ranked = [e["attrs"]["data-host"] for e in rows[:len(hosts)]]
        check(sorted(ranked) == sorted(hosts) and ranking is not None, "every host ranked")
        got = [expected[h] for h in ranked]
        check(got == sorted(got, reverse=True), f"ranked by weight: {got}")
        for row in rows[:len(hosts)]:
            cells = [c["text"] for c in row["cells"]]
            check(cells[1] == str(expected[row["attrs"]["data-host"]]),
                  f"weight of {row['attrs']['data-host']!r}: {cells}")
            check(cells[-1] == str(changes[row["attrs"]["data-host"]]), "changes since")
        matrix = rows[len(hosts):]
        check(len(matrix) == len(hosts), "one matrix row per host")
        for link in [e for e in page.elements if e["tag"] == "a"
                     and e["attrs"].get("href", "").startswith("#h") and "-" in e["attrs"]["href"]]:
            target = page.by_id(link["attrs"]["href"][1:])
            check(target is not None and target["tag"] == "li", "a cell links to its reason")
        missing = page.by_id("missing")
        check(missing is not None and "lost.example.org" in missing["text"]
              and "unreachable" in missing["text"], "host without report listed")
        check(page.by_id("filters") is not None and "hidden" not in page.by_id("filters")["attrs"],
              "the script showed the filters")


def diff_status(work, rng):
    for i in range(40):
        ids = [f"r{j}" for j in range(rng.randint(0, 6))]
        old = {r: rng.choice(["pass", "fail", "error", "skip", "none"]) for r in ids
               if rng.random() < 0.8}
        new = {r: rng.choice(["pass", "fail", "error", "skip", "none"]) for r in ids
               if rng.random() < 0.8}
        paths = []
        for name, statuses in (("old", old), ("new", new)):
            paths.append(os.path.join(work, f"{name}{i}.json"))
            write_report(paths[-1], "h", [(r, s, "low", "a") for r, s in statuses.items()])
        bad = {"fail", "error"}
        worse = any(s in bad and old.get(r) not in bad for r, s in new.items())
        result = corehost("diff", "--json", *paths)
        check(result.returncode == (1 if worse else 0), f"diff {old} -> {new}: {result.returncode}")
        if result.returncode not in (0, 1) or not result.stdout:
            failures.append(f"diff {old} -> {new}: {result.stderr!r}")
            continue
        changed = {c["id"] for c in json.loads(result.stdout)["changes"]}
        check(changed == {r for r in set(old) | set(new) if old.get(r) != new.get(r)},
              f"diff changes {old} -> {new}")
    for content in ("not json\n", "[1]\n", "", "{\"a\": [[[[[[[[\n"):
        path = os.path.join(work, "bad.json")
        with open(path, "w") as out:
            out.write(content)
        check(corehost("diff", path, paths[0]).returncode == 2, f"diff of {content!r}")
    check(corehost("diff", "/proc/self/nonexistent", paths[0]).returncode == 2, "missing file")


def sizes(work, rng):
    """A 100-host x 150-rule fleet page under 500 KB (bench/fleet-page.sh holds
    the 1,000-host page to 5 MB and its rendering to 2 s); the baseline's host page
    (real plug-ins, --explain; the server profile, without the strict searches
    of every file system, which take most of a minute under the sanitizers)
    under 300 KB."""
    folder = os.path.join(work, "big")
    os.makedirs(folder)
    severities = ["info", "low", "medium", "high", "critical"]
    for host in range(100):
        write_report(os.path.join(folder, f"host{host:04}.example.org.json"),
                     f"host{host:04}.example.org",
                     [(f"baseline-rule-{r:03}",
                       rng.choices(["pass", "fail", "error", "skip"], [85, 10, 2, 3])[0],
                       severities[r % 5], f"section{r % 12}") for r in range(150)])
    page = os.path.join(work, "big.html")
    files = sorted(os.path.join(folder, name) for name in os.listdir(folder))
    check(corehost("report", "--output", page, *files).returncode == 0, "big fleet page")
    check(os.path.getsize(page) < 500_000, f"fleet page of {os.path.getsize(page)} bytes")
    page = os.path.join(work, "baseline.html")
    subprocess.run([COREHOST, "eval", "--tag", "server", "--format", "html", "--explain",
                    "--output", page,
                    "examples/baseline/debian12.json"], capture_output=True, check=False)
    check(0 < os.path.getsize(page) < 300_000, f"baseline page of {os.path.getsize(page)} bytes")


def main():
    if not shutil.which("chromium"):
        print("chromium not installed")
        sys.exit(77)
    work = tempfile.mkdtemp()
    try:
        rng = random.Random(7)
        host_page(work)
        fleet_pages(work, rng)
        diff_status(work, rng)
        sizes(work, rng)
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


main()
