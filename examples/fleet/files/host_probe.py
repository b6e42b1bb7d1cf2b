"""Run on each host by site.yml (python3 -c, with one JSON argument).

Reads the installed coreplugin version and the .deb copied by an earlier run
(its version and SHA-1); when the package is up to date it evaluates the
baseline right away, corehost once per report format. A steady-state run thus
costs one module run per host. Prints one JSON object:
  {"installed": VERSION or "", "cached": VERSION or "", "up_to_date": BOOL,
   "runs": [{"item", "rc", "stdout", "stderr", "msg", "start", "end", "delta"}]}
with the run results shaped as the command module's.
"""
import datetime
import hashlib
import json
import os
import subprocess
import sys

args = json.loads(sys.argv[1])


def output(argv):
    try:
        return subprocess.run(argv, capture_output=True, text=True, check=False).stdout
    except OSError:
        return ""


status = output(["dpkg-query", "--show", "--showformat=${db:Status-Abbrev}|${Version}", "coreplugin"])
abbrev, _, version = status.partition("|")
installed = version if abbrev.startswith("ii") else ""
deb = args["deb_on_host"]
cached, digest = "", ""
if args["want_sha1"] and os.path.isfile(deb):
    cached = output(["dpkg-deb", "--field", deb, "Version"]).strip()
    with open(deb, "rb") as package:
        digest = hashlib.sha1(package.read()).hexdigest()
if args["want_sha1"]:
    up_to_date = bool(installed) and digest == args["want_sha1"] and installed == cached
else:
    up_to_date = bool(installed) and args["apt_state"] == "present"

runs = []
if up_to_date:
    for report_format in ("json", "junit"):
        argv = args["argv"][:1] + ["eval", "--format", report_format, "--output", "/dev/stdout"] + args["argv"][1:]
        start = datetime.datetime.now()
        try:
            done = subprocess.run(argv, cwd=args["chdir"], capture_output=True, text=True, check=False)
            run = {"rc": done.returncode, "stdout": done.stdout.rstrip("\r\n"),
                   "stderr": done.stderr.rstrip("\r\n"), "msg": ""}
        except OSError as error:
            run = {"rc": 2, "stdout": "", "stderr": "", "msg": str(error)}
        end = datetime.datetime.now()
        runs.append(dict(run, item=report_format, start=str(start), end=str(end), delta=str(end - start)))
json.dump({"installed": installed, "cached": cached, "up_to_date": up_to_date, "runs": runs}, sys.stdout)
