"""The manual pages against corehost itself: the options of every --help, the
commands and report formats, a warning-free rendering, and the example of
corehost-rules(5) evaluating as it says.  Usage: man_pages.py COREHOST SOURCE_DIR"""
import json, re, subprocess, sys

corehost, source = sys.argv[1], sys.argv[2]
page1, page5 = source + "/man/man1/corehost.1", source + "/man/man5/corehost-rules.5"
roff = open(page1).read().replace("\\-", "-")
run = lambda *args, **kw: subprocess.run(args, capture_output=True, text=True, cwd=source, **kw)
def section(text, start, end): return text.split(start, 1)[1].split(end, 1)[0]  # noqa: E704
def headed(text): return re.findall(r"^\.TP\n(.*)$", text, re.M)  # noqa: E704
failures = []
def expect(what, got, want):  # noqa: E302
    if got != want:
        failures.append(f"{what}: the page has {sorted(got)}, corehost {sorted(want)}")

help_text = {c: run(corehost, *c.split(), "--help").stdout for c in ("", "eval", "list", "check")}
for command, text in help_text.items():
    options = set(re.findall(r"^  (?:-\w,)?--([a-z][a-z-]*)", section(text, "Options:\n", "\n\n"), re.M))
    name = command or "corehost"
    documented = set(re.findall(r"--([a-z][a-z-]*)", " ".join(
        headed(section(roff, f'.SS "Options of {name}"', "\n.S")))))
    if command:
        options.discard("help")
        # --rules comes with the branch that adds it to check; until then only the page has it.
        if command == "check" and "rules" not in options:
            documented.discard("rules")
    expect(f"options of {name}", documented, options)
commands = set(re.findall(r"^  ([a-z]+) ", section(help_text[""], "Subcommands:\n", "\n\n"), re.M))
expect("commands", {re.match(r'\.BI? "?([a-z]+)', line).group(1)
                    for line in headed(section(roff, ".SH COMMANDS", ".SH OPTIONS"))}, commands)
formats = set(re.search(r"--format FORMAT:\{([a-z,]+)\}", help_text["eval"]).group(1).split(","))
expect("--format values", set(re.findall(r"^\.B (\w+)$", section(roff, ".BI --format", ".TP"), re.M)),
       formats)

for page in (page1, page5):
    rendered = run("groff", "-man", "-ww", "-z", "-Tutf8", page)
    if rendered.returncode != 0 or rendered.stderr:
        failures.append(f"groff warns about {page}: {rendered.stderr}")
example = section(open(page5).read(), ".SH EXAMPLES", ".fi").split(".nf\n", 1)[1].replace("\\-", "-")
evaluated = run(corehost, "eval", "--json", "-", input=example)
statuses = [json.loads(line).get("status") for line in evaluated.stdout.splitlines()[:-1]]
if evaluated.returncode != 0 or statuses != ["pass", "pass"]:
    failures.append(f"the example of {page5} gives {statuses}: {evaluated.stderr}")
print("\n".join(failures) or "the manual pages match corehost")
sys.exit(1 if failures else 0)
