"""The module against the tool's examples and the tool itself, and its errors on bad input."""
import glob
import json
import os
import random
import subprocess
from concurrent.futures import ThreadPoolExecutor

import pytest

import korvath_actionhelper as kah

EXAMPLES = os.environ.get("KORVATH_EXAMPLES", os.path.join(
    os.path.dirname(__file__), "..", "..", "examples", "kinds"))
# Examples the file names do not pair: compact documents holding fragments, and a report read in
# another shape than the one made.
EXTRA = ["update-object-request.fragment", "materialize-request.result-set"]


def example(name):
    return os.path.join(EXAMPLES, name)


def strict(value):
    """JSON text telling 1 from True and keeping the order, which == on dicts does not."""
    return json.dumps(value, ensure_ascii=False)


def names(pattern):
    return sorted(os.path.basename(p)[:-len(pattern) + 1] for p in glob.glob(example(pattern))
                  if "." not in os.path.basename(p)[:-len(pattern) + 1])


@pytest.mark.parametrize("name", names("*.json") + EXTRA)
def test_make_gives_the_example_xml(name):
    with open(example(name + ".json"), encoding="utf-8") as f:
        description = json.load(f)
    with open(example(name + ".xml"), encoding="utf-8") as f:
        expected = f.read().rstrip("\n")
    assert kah.make(name.split(".")[0], description, indent=name not in EXTRA) == expected


@pytest.mark.parametrize("name", names("*.read.json") + EXTRA + ["externalize-report.received"])
def test_read_gives_the_example_json(name):
    xml = example(name + ".in.xml") if os.path.exists(example(name + ".in.xml")) else \
        example(name + ".xml")
    with open(xml, "rb") as f, open(example(name + ".read.json"), encoding="utf-8") as r:
        assert strict(kah.read(f.read(), kind=name.split(".")[0])) == strict(json.load(r))


@pytest.mark.skipif("KORVATH_TOOL" not in os.environ, reason="the tool is not built")
def test_kinds_and_schemas_are_the_tools():
    tool = subprocess.run([os.environ["KORVATH_TOOL"], "kinds", "--format", "json"],
                          check=True, capture_output=True, text=True).stdout
    assert strict(kah.kinds()) == strict(json.loads(tool))
    assert all(strict(kah.schema(k["name"])) == strict(k["schema"]) for k in kah.kinds())


def test_root_picks_the_kind_and_types_are_kept():
    made = kah.make("param-value-item", {"type": "simple", "use": "1", "inclusive": False})
    read = kah.read(made.encode(), kind="param-value-item")
    assert (read["use"], read["inclusive"], read["display"]) == ("1", False, "")
    response = kah.read(open(example("materialize-response.in.xml"), "rb").read())
    assert response["responses"]["materializeQuerySubject"] is None
    with pytest.raises(kah.DescriptionError, match="depth: expected a whole number"):
        kah.make("metadata-request", {"metadataClass": "table", "depth": True})
    with pytest.raises(ValueError, match=r"several kinds read <item> \(parameter, param-value"):
        kah.read("<item/>")


def test_errors_carry_their_parts():
    with pytest.raises(kah.DescriptionError) as e:
        kah.make("update-object-request", {"tasks": [{"task": "addProperty", "parametrs": []}]})
    assert (e.value.path, e.value.suggestion) == ("tasks[0]", "parameters")
    assert e.value.problem.startswith('unknown field "parametrs"; did you mean')
    with pytest.raises(kah.ParseError) as e:
        kah.read("<a>\n <b></a>")
    assert (e.value.line, e.value.column, e.value.offset) == (2, 5, 8)
    assert str(e.value) == "2:5: " + e.value.message
    with pytest.raises(kah.AssertionFailed) as e:
        kah.read("<dbConnection/>")
    assert e.value.assertion.startswith("ORV_ASSERT(") and e.value.line > 0
    assert e.value.source_unit in str(e.value)


def request(**parameter):
    return {"tasks": [{"task": "updateProperty", "parameters": [
        {"name": "objectName", "value": "a"}, dict({"name": "objectID"}, **parameter)]}]}


def mutated(value, rnd):
    value = json.loads(json.dumps(value))
    parent, key = rnd.choice([p for p in parts(value) if p[0] is not None] or [({"": 0}, "")])
    action = rnd.randrange(4)
    if action == 0:
        del parent[key]
    elif action == 1:
        parent[key] = rnd.choice([None, 1, -1, True, "true", "", [], {}, [{}], 2 ** 40, 1.5])
    elif isinstance(parent[key], dict):
        parent[key][rnd.choice(["element", "locale", "type", "valu"])] = "<e/>"
    elif isinstance(parent[key], str):
        parent[key] += "x"
    elif isinstance(parent, dict):
        parent[key + "s"] = parent.pop(key)
    return value


def parts(value, parent=None, key=None):
    yield parent, key
    for k, item in (value.items() if isinstance(value, dict) else
                    enumerate(value) if isinstance(value, list) else []):
        yield from parts(item, value, k)


@pytest.mark.skipif("KORVATH_TOOL" not in os.environ, reason="the tool is not built")
def test_descriptions_make_what_the_tool_makes():
    """Faulty requests, and examples with a part dropped, retyped, renamed or joined by another."""
    rnd = random.Random(7)
    makes = {k["name"] for k in kah.kinds() if k["make"]}
    examples = [(n.split(".")[0], json.load(open(example(n + ".json"), encoding="utf-8")))
                for n in names("*.json") + EXTRA if n.split(".")[0] in makes]
    faults = [request(), request(value=1), request(value="a", element="<e/>"), {"tasks": [[]]},
              request(name="noSuchParameter", value="a"), request(value="a", locale=None),
              {"tasks": [None]}, {"tasks": {}}, {"tasks": [{"parameters": []}]}, []]
    for kind, description in [("update-object-request", d) for d in faults] + [
            (k, mutated(d, rnd)) for k, d in (rnd.choice(examples) for _ in range(150))]:
        tool = subprocess.run([os.environ["KORVATH_TOOL"], "make", kind, "-"], text=True,
                              input=json.dumps(description), capture_output=True)
        if tool.returncode == 0:
            assert kah.make(kind, description) == tool.stdout.rstrip("\n")
            continue
        with pytest.raises((kah.DescriptionError, kah.AssertionFailed)) as e:
            kah.make(kind, description)
        # The tool names its input before a description's error, and its step before another.
        assert tool.stderr.strip() == "<stdin>: " + str(e.value) or \
            tool.stderr.startswith("make " + kind + ": ")


def test_a_make_keeps_nothing_of_the_one_before():
    with_locale = request(value="a", locale="fr")
    for bad in [{"tasks": [{1: 2}]}, request(value=b"a"), request(value="\ud800")]:
        with pytest.raises(kah.DescriptionError):
            kah.make("update-object-request", bad)
    plain = kah.make("update-object-request", request(value="b"))
    made = [kah.make("update-object-request", d) for d in (with_locale, request(value="b"))]
    assert made[1] == plain and made[0] != plain
    assert kah.make("update-object-request", with_locale) == made[0]


def nested(levels):
    value = {"type": "hierarchy"}
    for _ in range(levels):
        value = {"type": "hierarchy", "subNodes": [value]}
    return value


loop = []
loop.append(loop)


@pytest.mark.parametrize("description, fault", [
    (nested(200), "(subNodes\\[0\\]\\.?)+: nested deeper than 256 levels"),
    ({"type": "simple", "use": loop}, "use\\[0\\](\\[0\\])+: nested deeper"),
    ({"type": "simple", "use": b"1"}, "use: a bytes is not a JSON value"),
    ({"type": "simple", "use": {1: "a"}}, "use: has a key that is not a str: int 1"),
    ({"type": "simple", "use": "\ud800"}, "use: holds a character UTF-8 cannot encode"),
    ({"type": "simple", "use": "a\x01"}, "input: .*control character"),
    ({"type": "simple", "use": 10 ** 30}, "use: number out of range"),
    (["type", "simple"], "input: expected an object"),
])
def test_bad_descriptions_raise_description_error(description, fault):
    with pytest.raises(kah.DescriptionError, match=fault):
        kah.make("param-value-item", description)


def test_bad_documents_and_arguments():
    with pytest.raises(kah.ParseError, match="invalid UTF-8"):
        kah.read(b"<item type='simple'>\xc3\x28</item>")
    with pytest.raises(ValueError, match="nested deeper than 256 levels"):
        kah.read("<item>" + "<n>" * 300 + "</n>" * 300 + "</item>", kind="param-value-item")
    with pytest.raises(UnicodeEncodeError):
        kah.read("<item>\ud800</item>")
    with pytest.raises(TypeError):
        kah.read(bytearray(b"<item/>"))
    with pytest.raises(ValueError, match="unknown kind"):
        kah.make("no-such-kind", {})
    huge = "x" * (16 << 20)
    made = kah.make("param-value-item", {"type": "simple", "use": huge})
    assert kah.read(made, kind="param-value-item")["use"] == huge


def test_threads_read_alike():
    xml = open(example("query-response.in.xml"), "rb").read()
    with ThreadPoolExecutor(4) as pool:
        results = list(pool.map(lambda _: strict(kah.read(xml, "query-response")), range(16)))
    assert results == [strict(kah.read(xml, "query-response"))] * 16
