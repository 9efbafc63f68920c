#!/usr/bin/python3
"""The example tower's calendar for Holy Week and Easter week 2027, read back by an independent iCalendar parser
(Debian's python3-icalendar) and compared event by event with the tab-separated day plan of the same days.

The range holds the summer-time change (Easter Sunday, 28 March 2027): the times the parser works out from the
file's own time zone must be those of Europe/Warsaw, the zone the example's time corrections (+1 h winter, +2 h
summer, automatic change) describe.

usage: ics_export_check.py TOLVANE_CLI EXAMPLE_PROJECT
"""

import datetime
import os
import subprocess
import sys
import tempfile

import icalendar
import pytz

FROM = "2027-03-21"
DAYS = 15
KIND_CATEGORY = {"weekly": "Weekly", "holiday-day": "Holiday", "annual": "Annual", "one-time": "One-time"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(cli, args, env):
    done = subprocess.run([cli] + args + ["--lang", "English"], env=env, capture_output=True, timeout=120)
    if done.returncode != 0:
        sys.exit("tolvane-cli %s failed (%d): %s" % (" ".join(args), done.returncode, done.stderr.decode()))
    return done.stdout


def main():
    cli, project = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="tolvane-ics-") as home:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"))
        plan_args = ["plan", project, "--from", FROM, "--days", str(DAYS)]
        tsv = run(cli, plan_args + ["--format", "tsv"], env).decode("utf-8")
        target = os.path.join(home, "easter.ics")
        printed = run(cli, plan_args + ["--format", "ics", "--output", target], env).decode("utf-8")
        check(printed == target + "\n", "the written file is named on standard output: %r" % printed)
        with open(target, "rb") as f:
            raw = f.read()

    # The syntax as the RFC has it, looked at on the bytes.
    check(raw.endswith(b"\r\n"), "the file ends in CRLF")
    physical = raw.split(b"\r\n")[:-1]
    check(all(b"\n" not in line and b"\r" not in line for line in physical), "every line ends in CRLF")
    check(all(len(line) <= 75 for line in physical), "no line longer than 75 octets")
    for line in physical:
        line.decode("utf-8")  # a fold inside a character would leave a line that is no UTF-8

    planned = [line.split("\t") for line in tsv.splitlines()]
    planned = [p for p in planned if p[0]]  # funeral and special tolling have no day
    cal = icalendar.Calendar.from_ical(raw)
    events = cal.walk("VEVENT")
    check(len(events) == len(planned), "%d events for %d planned ringings" % (len(events), len(planned)))
    check(len(cal.walk("VTIMEZONE")) == 1, "one time zone")

    warsaw = pytz.timezone("Europe/Warsaw")
    uids = set()
    dates = set()
    for event, (date, time, kind, number, action, priority, collision) in zip(events, planned):
        where = "%s %s %s %s" % (date, time, kind, number)
        start = event["DTSTART"].dt
        check(start.strftime("%Y-%m-%d %H:%M:%S") == date + " " + time, where + ": starts " + str(start))
        local = datetime.datetime.strptime(date + " " + time, "%Y-%m-%d %H:%M:%S")
        expected = warsaw.localize(local).astimezone(pytz.utc)
        check(start.astimezone(pytz.utc) == expected,
              where + ": %s in UTC, Europe/Warsaw has %s" % (start.astimezone(pytz.utc), expected))
        summary = str(event["SUMMARY"])
        category = KIND_CATEGORY[kind]
        name, _, program = summary.partition(" — ")
        check(program == category + " " + number and action.startswith(name), where + ": summary " + summary)
        check(event["CATEGORIES"].cats == [category], where + ": categories " + str(event["CATEGORIES"].cats))
        description = str(event["DESCRIPTION"]).split("\n")
        check(description[0] == action, where + ": description begins %r" % description[0])
        check(description[1] == "Priority " + priority, where + ": %r" % description[1])
        check(("Collision: " in str(event["DESCRIPTION"])) == (collision == "1"), where + ": collision mark")
        check(str(event["LOCATION"]) == "Parafia św. Jana, Lipnica", where + ": location " + str(event["LOCATION"]))
        length = event.decoded("DURATION")
        check(isinstance(length, datetime.timedelta) and length >= datetime.timedelta(0), where + ": duration")
        if action.startswith("Bell ringing"):
            check(length > datetime.timedelta(0), where + ": a bell ringing lasts its ringing time")
        uid = str(event["UID"])
        check(uid.startswith(date.replace("-", "") + "-" + kind + "-" + number + "-"), where + ": uid " + uid)
        uids.add(uid)
        dates.add(date)
        check(str(event["TRANSP"]) == "TRANSPARENT", where + ": transparent")
    check(len(uids) == len(events), "every event has a UID of its own")
    check(len(dates) == DAYS, "every day of the range rings something")

    # The change day itself: the noon Angelus is 11:00 UTC on Saturday and 10:00 UTC on Easter Sunday.
    noon = {str(e["DTSTART"].dt.date()): e["DTSTART"].dt.astimezone(pytz.utc).strftime("%H:%M")
            for e in events if e["DTSTART"].dt.strftime("%H:%M") == "12:00"}
    check(noon.get("2027-03-27") == "11:00", "Saturday noon in UTC: %s" % noon.get("2027-03-27"))
    check(noon.get("2027-03-28") == "10:00", "Easter Sunday noon in UTC: %s" % noon.get("2027-03-28"))
    # Easter's holiday programs on Easter Sunday and Monday, and on no other day of the range.
    easter = sorted({str(e["DTSTART"].dt.date()) for e in events if e["CATEGORIES"].cats == ["Holiday"]})
    check("2027-03-28" in easter and "2027-03-29" in easter, "Easter's holiday programs: %s" % easter)

    for failure in failures:
        print("FAILED: " + failure)
    print("%d events checked, %d failures" % (len(events), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
