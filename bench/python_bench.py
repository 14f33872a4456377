#!/usr/bin/python3
"""Times the Python module korvath_actionhelper against `actionhelper` run once per document and
against the same documents made or read by hand with lxml.

    bench/python_bench.py [--build DIR] [--quick] [--json FILE]

Prints a Markdown table; --json also writes the times. Every path of a case must give the same
XML, or the same values, as the module before anything is timed. Times are CPU time: the
process's own, and for the tool also its children's.
"""
import argparse
import json
import os
import resource
import statistics
import subprocess
import sys
import time

from lxml import etree

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COLUMN_PROPERTIES = ["name", "sqlName", "type", "scale", "length", "precision", "nullsAllowed",
                     "collationSequenceName", "collationSequenceLevel",
                     "originalCollationSequenceName", "originalEncodingName"]
# The query feedback the helper reads, in the order it gives them.
FEEDBACK = ["nativeCommandText", "executionPlan", "tableType"]
CASES = [("UpdateRequest", "update-object request of N tasks, five parameters each, made and "
          "written to a str", [10, 1000]),
         ("QueryResponse", "query response of N rows by 10 columns, parsed from bytes and read "
          "into a dict of feedback, data sources, columns and rows", [100, 10000])]


def update_request(tasks):
    """The description the benchmark binaries make: each task updates one object's caption."""
    return {"tasks": [{"task": "updateProperty", "parameters": [
        {"name": "propertyType", "value": "caption"},
        {"name": "propertyValue", "value": f"Revenue by region {i}"},
        {"name": "forceUpdate", "value": "true"},
        {"name": "objectName", "value": f"Query subject {i}"},
        {"name": "objectID", "value": f"ID_{100000 + i}"}]} for i in range(tasks)]}


def query_response(rows):
    """The answer the benchmark binaries read, as bytes."""
    columns = "".join("<column" + "".join(f' {p}="{p}{c}"' for p in COLUMN_PROPERTIES) + "/>"
                      for c in range(10))
    data = "".join("<row>" + "".join(
        f'<value v="{r * 10 + c if c % 2 else f"Product {r}"}"/>' for c in range(10)) + "</row>"
        for r in range(rows))
    return ("<queryResponse><queryFeedbackResult><property name=\"nativeCommandText\">select "
            "ORDER_NO, PRODUCT, QUANTITY from ORDERS</property><connection value=\"sales\" "
            "catalog=\"SALESDB\" schema=\"dbo\"/></queryFeedbackResult><columnList>"
            f"{columns}</columnList><resultData>{data}</resultData></queryResponse>").encode()


def lxml_make(description):
    root = etree.Element("updateObjectRequest")
    tasks = etree.SubElement(root, "tasks")
    for t in description["tasks"]:
        parameters = etree.SubElement(etree.SubElement(tasks, "task", name=t["task"]),
                                      "parameters")
        for p in t["parameters"]:
            etree.SubElement(parameters, "param", name=p["name"], value=p["value"])
    return etree.tostring(root, encoding="unicode")


def lxml_read(xml):
    root = etree.fromstring(xml)
    result = root.find("queryFeedbackResult")
    properties = {p.get("name"): p.text or "" for p in result.iterfind("property")}
    return {
        "queryFeedback": {name: properties[name] for name in FEEDBACK if name in properties},
        "responseDataSources": [{"value": c.get("value", ""), "catalog": c.get("catalog", ""),
                                 "schema": c.get("schema", "")}
                                for c in result.iter("connection")],
        "columnList": [{p: c.get(p, "") for p in COLUMN_PROPERTIES}
                       for c in root.find("columnList").iterfind("column")],
        "resultSetRows": [[v.get("v", "") for v in row.iterfind("value")]
                          for row in root.find("resultData").iterfind("row")],
    }


def tool_make(tool, description):
    return subprocess.run([tool, "make", "update-object-request", "-"], check=True, text=True,
                          input=json.dumps(description), capture_output=True).stdout.rstrip("\n")


def tool_read(tool, xml):
    return json.loads(subprocess.run([tool, "read", "--kind", "query-response", "-"], check=True,
                                     input=xml, capture_output=True).stdout)


def cpu():
    """CPU time of this process and of its children that have ended."""
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return time.process_time() + children.ru_utime + children.ru_stime


def timed(step, least):
    """The median CPU time of one run, over runs filling at least `least` seconds (three or
    more)."""
    times = []
    while len(times) < 3 or sum(times) < least:
        start = cpu()
        step()
        times.append(cpu() - start)
    return statistics.median(times)


def paths(kah, tool, case, size):
    if case == "UpdateRequest":
        made = update_request(size)
        return made, {"module": lambda: kah.make("update-object-request", made),
                      "tool": lambda: tool_make(tool, made), "lxml": lambda: lxml_make(made)}
    xml = query_response(size)
    return xml, {"module": lambda: kah.read(xml, "query-response"),
                 "tool": lambda: tool_read(tool, xml), "lxml": lambda: lxml_read(xml)}


def strict(value):
    return value if isinstance(value, str) else json.dumps(value)


def measure(kah, tool, least):
    times = {}
    for case, _, sizes in CASES:
        for size in sizes:
            _, steps = paths(kah, tool, case, size)
            expected = strict(steps["module"]())
            for name, step in steps.items():
                if strict(step()) != expected:
                    sys.exit(f"python_bench: {name} gives another result for {case} {size}")
            for name, step in steps.items():
                times[f"{case}/{size}/{name}"] = timed(step, least)
    return times


def duration(seconds):
    return f"{seconds * 1e3:.2f} ms" if seconds >= 1e-3 else f"{seconds * 1e6:.0f} µs"


def table(times):
    lines = ["| Case | N | module | lxml by hand | module faster than lxml | `actionhelper` per "
             "document | module faster than the tool |", "|---|---:|---:|---:|---:|---:|---:|"]
    for case, _, sizes in CASES:
        for size in sizes:
            module, lxml, tool = (times[f"{case}/{size}/{p}"] for p in ("module", "lxml", "tool"))
            lines.append(f"| {case} | {size:,} | {duration(module)} | {duration(lxml)} | "
                         f"{lxml / module:.1f}× | {duration(tool)} | {tool / module:.1f}× |")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "default"))
    parser.add_argument("--quick", action="store_true", help="time each path for 0.05 s only")
    parser.add_argument("--json", help="also write the times to this file")
    args = parser.parse_args()
    sys.path.insert(0, os.path.join(args.build, "python"))
    import korvath_actionhelper as kah
    tool = os.path.join(args.build, "tools", "actionhelper", "actionhelper")
    times = measure(kah, tool, 0.05 if args.quick else 1.0)
    if args.json:
        with open(args.json, "w", encoding="utf-8") as f:
            json.dump(times, f, indent=2)
    print(table(times))


if __name__ == "__main__":
    main()
