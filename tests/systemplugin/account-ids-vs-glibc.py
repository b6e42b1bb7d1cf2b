#!/usr/bin/env python3
"""account-ids-vs-glibc.py COREHOST: user ids written many ways, read by glibc from a generated
/etc/passwd (bind-mounted in a private mount namespace, looked up with Python's pwd module) and by
corehost's Difference and Duplicates with "numeric": the same spellings must be ids (others
-12025) and the same ids must be equal. Seeded; prints the number of cases and disagreements."""
import json
import os
import random
import subprocess
import sys
import tempfile

corehost = sys.argv[1]
if os.geteuid() != 0 or subprocess.run(["unshare", "-m", "true"]).returncode != 0:
    print("needs root and unshare -m")
    sys.exit(77)
rng = random.Random(20261207)
PIECES = ["0", "1", "7", "00", "1000", "65534", "4294967295", "4294967296", "18446744073709551615",
          "18446744073709551616", "99999999999999999999999", "2147483648"]
PREFIXES = ["", "", "", " ", "\t", "+", "-", " -", "0", "00", "+0", "--", "+-"]
SUFFIXES = ["", "", "", " ", "x", "\t", ".0", "e3", "0"]
spellings = sorted({rng.choice(PREFIXES) + rng.choice(PIECES) + rng.choice(SUFFIXES)
                    for _ in range(600)} | {"", "x", "0x10", " "})

with tempfile.TemporaryDirectory() as work:
    passwd = os.path.join(work, "passwd")
    with open(passwd, "w") as out:
        for i, uid in enumerate(spellings):
            out.write(f"u{i}:x:{uid}:0::/:/bin/sh\n")
    script = ("import json, pwd, sys\nids = {}\nfor entry in pwd.getpwall():\n"
              "    ids[entry.pw_name] = entry.pw_uid\nprint(json.dumps(ids))")
    done = subprocess.run(["unshare", "-m", "sh", "-c",
                           f"mount --bind {passwd} /etc/passwd && exec python3 -c \"$0\"", script],
                          capture_output=True, text=True, check=True)
    glibc = json.loads(done.stdout)

def values(texts):
    return {"name": "Vector", "children": [{"name": "ValueOf", "properties": {"value": t}}
                                           for t in texts]}

rules = [{"id": f"one-{i}", "tree": {"name": "Difference", "properties": {"numeric": "true"},
                                     "children": [values([text]), values([])]}}
         for i, text in enumerate(spellings)]
accepted = [text for i, text in enumerate(spellings) if f"u{i}" in glibc]
rules.append({"id": "all", "tree": {"name": "Duplicates", "properties": {"numeric": "true"},
                                    "children": [values(accepted)]}})
document = os.path.join(tempfile.gettempdir(), f"account-ids-{os.getpid()}.json")
with open(document, "w") as out:
    json.dump({"rules": rules}, out)
ran = subprocess.run([corehost, "eval", "--json", document], capture_output=True, text=True)
os.unlink(document)
answers = {line["id"]: line for line in map(json.loads, ran.stdout.splitlines()) if "id" in line}

disagreements = []
for i, text in enumerate(spellings):
    answer = answers[f"one-{i}"]
    ours = answer["code"] == 0
    if ours != (f"u{i}" in glibc) or (not ours and answer["code"] != -12025):
        disagreements.append(f"{text!r}: glibc {'reads' if f'u{i}' in glibc else 'refuses'} it, "
                             f"corehost answers {answer['code']} {answer['result']}")
uid_of = {text: glibc[f"u{i}"] for i, text in enumerate(spellings) if f"u{i}" in glibc}
seen, expected = {}, []
for text in accepted:
    seen[uid_of[text]] = seen.get(uid_of[text], 0) + 1
for text in accepted:
    if seen[uid_of[text]] > 1 and uid_of[text] not in [uid_of[t] for t in expected]:
        expected.append(text)
if answers["all"]["result"] != expected:
    disagreements.append(f"duplicates: corehost {answers['all']['result']}, glibc {expected}")
for line in disagreements:
    print(line)
print(f"account ids: {len(spellings) + 1} cases ({len(accepted)} ids glibc reads), "
      f"{len(disagreements)} disagreements")
sys.exit(1 if disagreements else 0)
