"""Makes and reads the documents of the Korvath action helpers: every kind of the `actionhelper`
tool, from and to dicts, lists, str, int, bool and None."""
from typing import Any, Optional, Union

# A description or what a document reads as: JSON's values as Python's.
Json = Union[None, bool, int, float, str, list["Json"], dict[str, "Json"]]

class ParseError(ValueError):
    """The document is not well-formed XML."""
    message: str  # what is wrong, without the place
    line: int  # from 1; 0 when nothing could be read
    column: int  # in characters, from 1
    offset: int  # bytes from the start of the document

class AssertionFailed(Exception):
    """A helper refused the document or the description."""
    assertion: str  # the failed check, "ORV_ASSERT(!elem.isNull());"
    source_unit: str  # the library's source unit that checks it
    line: int  # its line there

class DescriptionError(ValueError):
    """The description does not fit the kind."""
    path: str  # the field at fault, "tasks[2].parameters"; "" for the whole description
    problem: str  # what is wrong with it
    suggestion: Optional[str]  # the known field an unknown one was probably meant to be

def kinds() -> list[dict[str, Any]]:
    """Every kind as `actionhelper kinds --format json` lists it: name, roots, helper, make,
    read, summary and the JSON Schema of its description."""

def schema(kind: str) -> dict[str, Any]:
    """The JSON Schema of the kind's description; ValueError for an unknown kind."""

def make(kind: str, description: dict[str, Json], *, indent: bool = False,
         declaration: bool = False) -> str:
    """The XML the kind's helper makes from the description, as `actionhelper make` writes it.

    Raises DescriptionError, AssertionFailed, or ValueError for an unknown or read-only kind."""

def read(xml: Union[str, bytes], kind: Optional[str] = None) -> dict[str, Json]:
    """What the kind's helper reads from the document, as `actionhelper read` gives it; the root
    element picks the kind unless `kind` names it.

    Raises ParseError, AssertionFailed, ValueError (no single kind for the root, nesting deeper
    than 256 levels, an unknown or made-only kind), or TypeError for neither str nor bytes."""
