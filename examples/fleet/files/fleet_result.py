#!/usr/bin/env python3
"""Writes a fleet run's results on the controller, for site.yml.

Reads one JSON object on standard input; the first argument says what to do:

  start  {"dir", "run", "hosts"}: removes fleet-result.json and empties every
         targeted host's folder under dir, then writes a fleet result in which
         every host is "not_run". Files that cannot be removed are listed as
         the host's stale_reports.
  batch  {"dir", "run", "hosts", "batch", "results", "max_fail_percentage"}:
         tells each host's outcome from what happened on it (results: host ->
         what site.yml gathered), writes its reports, merges the batch into
         the fleet result and prints {"hosts": {host: {"outcome", "line",
         "fail"}}, "tally_line", "stopped"} on standard output.

One process for a whole batch: a module run per host and file would cost the
controller more than the evaluation costs the hosts.
"""
import datetime
import json
import os
import re
import sys

OUTCOMES = ["ok", "rules_failing", "could_not_evaluate", "install_failed",
            "reports_not_written", "unreachable", "not_run"]
FAILING = {"rules_failing", "could_not_evaluate", "install_failed", "reports_not_written"}
SEVERITIES = ["info", "low", "medium", "high", "critical"]
REPORT_NAMES = {"json": "report.json", "junit": "report.xml"}


def now():
    return datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")


def write_atomically(path, text):
    tmp = f"{path}.tmp{os.getpid()}"
    try:
        with open(tmp, "w", encoding="utf-8") as out:
            out.write(text)
        os.replace(tmp, path)
    except OSError:
        if os.path.lexists(tmp):
            os.unlink(tmp)
        raise


def leftovers(folder):
    try:
        return sorted(os.path.join(folder, name) for name in os.listdir(folder))
    except OSError:
        return []


def empty(folder):
    """Empties folder (or makes it), leaving what cannot be removed."""
    if os.path.lexists(folder) and not os.path.isdir(folder):
        os.unlink(folder)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        try:
            if os.path.isdir(path) and not os.path.islink(path):
                empty(path)
                os.rmdir(path)
            else:
                os.unlink(path)
        except OSError:
            pass


def name_host_in_junit(text, host):
    """Puts the host's name before each suite name and test class, so that
    the reports of all hosts can be shown together."""
    escaped = host.replace("&", "&amp;").replace("<", "&lt;").replace('"', "&quot;")
    return re.sub(r'(<testsuite name="|<testcase name="[^"]*" classname=")',
                  lambda match: match.group(1) + escaped + ": ", text)


def tally(fleet):
    counts = dict.fromkeys(OUTCOMES, 0)
    for entry in fleet["hosts"].values():
        counts[entry["outcome"]] += 1
    counts["hosts"] = len(fleet["hosts"])
    fleet["tally"] = counts


def start(args):
    os.makedirs(args["dir"], exist_ok=True)
    result_path = os.path.join(args["dir"], "fleet-result.json")
    if os.path.lexists(result_path):
        os.unlink(result_path)
    hosts = {}
    for host in args["hosts"]:
        folder = os.path.join(args["dir"], host)
        try:
            empty(folder)
        except OSError:
            pass
        hosts[host] = {"outcome": "not_run"}
        if leftovers(folder):
            hosts[host]["stale_reports"] = leftovers(folder)
    fleet = {"run": dict(args["run"], stopped=None), "hosts": hosts}
    tally(fleet)
    write_atomically(result_path, json.dumps(fleet, indent=2) + "\n")


def parse_report(text):
    """The JSON report's rule objects and its last object (summary, error)."""
    objects = []
    for line in text.splitlines():
        try:
            objects.append(json.loads(line))
        except ValueError:
            pass
    objects = [item for item in objects if isinstance(item, dict)]
    last = objects[-1] if objects and "summary" in objects[-1] else {}
    return [item for item in objects if "summary" not in item], last


def outcome_of(host, seen):
    """The host's entry in the fleet result, and the report texts to write."""
    entry, texts = {}, {}
    runs = seen.get("runs") or []
    if seen.get("package"):
        entry["package"] = {"version_before": seen["package"]["before"] or None,
                            "apt_ran": seen["package"]["apt_ran"],
                            "changed": seen["package"]["changed"]}
    if seen.get("refused"):
        return dict(entry, outcome="could_not_evaluate", error=seen["refused"]), texts
    if seen.get("unreachable"):
        return dict(entry, outcome="unreachable", error=seen["unreachable"].strip()), texts
    if seen.get("install_error"):
        return dict(entry, outcome="install_failed", error=seen["install_error"]), texts
    if not runs:
        why = ("check mode: coreplugin is not installed yet; a real run installs it and evaluates"
               if seen.get("check_mode") else "corehost did not run")
        return dict(entry, outcome="not_run", error=why), texts

    for run in runs:
        if run.get("stdout"):
            texts[REPORT_NAMES[run["item"]]] = run["stdout"] + "\n"
    rules, last = parse_report(next((run.get("stdout", "") for run in runs if run["item"] == "json"), ""))
    # The worse of the two runs: any status but 0 and 1 first.
    statuses = [run["rc"] for run in runs]
    status = next((rc for rc in statuses if rc not in (0, 1)), max(statuses))
    failed = [rule for rule in rules if rule.get("status") in ("fail", "error")]
    fail_on = seen.get("fail_on") or ""
    failing = [rule for rule in failed if fail_on in SEVERITIES
               and rule.get("severity") in SEVERITIES[SEVERITIES.index(fail_on):]]
    entry.update({
        "corehost_exit": status,
        "summary": last.get("summary", {}),
        "failed_rules": [rule.get("id", "tree") for rule in failed],
        "failing_rules": [rule.get("id", "tree") for rule in failing],
        "evaluated": {"start": runs[0].get("start"), "end": runs[-1].get("end"),
                      "seconds": round(sum(seconds(run.get("delta")) for run in runs), 3)},
    })
    if status not in (0, 1):
        stderr = [line for line in reversed(runs[0].get("stderr", "").splitlines()) if line]
        why = last.get("error") or (stderr[0].removeprefix("corehost: ") if stderr else "") \
            or runs[0].get("msg") or "no report"
        return dict(entry, outcome="could_not_evaluate", error=why), texts
    if fail_on and status == 1:
        return dict(entry, outcome="rules_failing"), texts
    return dict(entry, outcome="ok"), texts


def seconds(delta):
    """Seconds of a command result's delta, H:MM:SS.ffffff."""
    try:
        hours, minutes, secs = (delta or "").split(":")
        return int(hours) * 3600 + int(minutes) * 60 + float(secs)
    except ValueError:
        return 0.0


def summary_line(host, entry, seen):
    line = f"{host}: {entry['outcome']}"
    summary = entry.get("summary") or {}
    if summary and entry["outcome"] != "could_not_evaluate":
        line += (f": passed {summary.get('passed', 0)}, failed {summary.get('failed', 0)},"
                 f" errors {summary.get('errors', 0)}, without expectation"
                 f" {summary.get('withoutExpectation', 0)}, skipped {summary.get('skipped', 0)};"
                 f" {summary.get('rules', 0)} rules")
    if "corehost_exit" in entry:
        line += f"; corehost exit {entry['corehost_exit']}"
    if entry.get("error"):
        line += f" ({entry['error']})"
    failed = entry.get("failed_rules") or []
    if failed and entry["outcome"] in ("ok", "rules_failing"):
        line += "; failed: " + ", ".join(failed[:10])
        if len(failed) > 10:
            line += f" and {len(failed) - 10} more"
        fail_on = seen.get("fail_on")
        line += (f" ({len(entry['failing_rules'])} failing the host at coreplugin_fail_on={fail_on})"
                 if fail_on else " (coreplugin_fail_on unset: not failing the host)")
    return line


def fail_message(host, entry, seen):
    outcome, error = entry["outcome"], entry.get("error")
    fail_on = seen.get("fail_on")
    if outcome == "rules_failing":
        names = ", ".join(entry["failing_rules"]) or f"corehost exit 1 with --fail-on {fail_on}, see the reports"
        return f"rules of severity {fail_on} or above failed on {host} (coreplugin_fail_on={fail_on}): {names}"
    if outcome == "could_not_evaluate" and "corehost_exit" in entry:
        return (f"corehost could not evaluate {' '.join(seen.get('documents', []))} on {host}"
                f" (exit {entry['corehost_exit']}): {error}")
    if outcome == "could_not_evaluate":
        return f"not evaluated on {host}: {error}"
    if outcome == "install_failed":
        return f"coreplugin could not be installed on {host}: {error}"
    if outcome == "reports_not_written":
        return f"the reports of {host} could not be written on the controller: {error}"
    return None


def batch(args):
    result_path = os.path.join(args["dir"], "fleet-result.json")
    try:
        with open(result_path, encoding="utf-8") as previous:
            fleet = json.load(previous)
    except (OSError, ValueError):
        fleet = {}
    if fleet.get("run", {}).get("id") != args["run"]["id"]:
        fleet = {"run": {}, "hosts": {}}
    fleet["run"].update(args["run"], stopped=None, finished=now(), batches=fleet["run"].get("batches", 0) + 1)
    hosts = {host: fleet["hosts"].get(host, {"outcome": "not_run"}) for host in args["hosts"]}
    answer = {}
    for host in args["batch"]:
        seen = args["results"].get(host) or {}
        entry, texts = outcome_of(host, seen)
        folder = os.path.join(args["dir"], host)
        written = []
        try:
            os.makedirs(folder, exist_ok=True)
            for name, text in sorted(texts.items()):
                write_atomically(os.path.join(folder, name),
                                 name_host_in_junit(text, host) if name == "report.xml" else text)
                written.append(f"{host}/{name}")
        except OSError as error:
            if entry["outcome"] in ("ok", "rules_failing"):
                entry.update(outcome="reports_not_written", error=f"{error.filename}: {error.strerror}")
        entry["reports"] = written
        entry["batch"] = fleet["run"]["batches"]
        stale = [path for path in leftovers(folder) if os.path.relpath(path, args["dir"]) not in written]
        if stale:
            entry["stale_reports"] = stale
        hosts[host] = entry
        answer[host] = {"outcome": entry["outcome"], "line": summary_line(host, entry, seen),
                        "fail": fail_message(host, entry, seen)}
    fleet["hosts"] = hosts
    tally(fleet)

    # The failure budget: more than max_fail_percentage of the batch failed
    # (Ansible ends the play by itself when every host of a batch failed or
    # was unreachable). Hosts of later batches then stay not_run.
    size = len(args["batch"])
    failed = sum(hosts[host]["outcome"] in FAILING for host in args["batch"])
    unreachable = sum(hosts[host]["outcome"] == "unreachable" for host in args["batch"])
    budget = float(args["max_fail_percentage"])
    later = [host for host, entry in hosts.items() if "batch" not in entry]
    stopped = bool(size and later and (failed / size > budget / 100 or failed + unreachable == size))
    if stopped:
        fleet["run"]["stopped"] = (
            f"after the batch of {', '.join(args['batch'])}: {failed} of {size} hosts failed,"
            f" {unreachable} unreachable (coreplugin_max_fail_percentage={budget:g});"
            f" the {len(later)} hosts of later batches were not run")
    write_atomically(result_path, json.dumps(fleet, indent=2) + "\n")

    counts = fleet["tally"]
    line = (f"fleet run {fleet['run']['id']}: {counts['hosts']} hosts: "
            + ", ".join(f"{counts[name]} {name}" for name in OUTCOMES)
            + (f"; stopped {fleet['run']['stopped']}" if stopped else "")
            + f"; {result_path}")
    json.dump({"hosts": answer, "tally_line": line, "stopped": stopped}, sys.stdout)


if __name__ == "__main__":
    {"start": start, "batch": batch}[sys.argv[1]](json.load(sys.stdin))
