#!/usr/bin/env python3
"""Lists every use of an unbounded string function in the product code: unbounded_strings.py ROOT.

Exit code 0 when there is none, 1 when there is (each printed as FILE:LINE: NAME), 2 when the
tree cannot be read. Comments and string literals are left out, so that a comment may name the
functions it avoids.
"""
import pathlib
import re
import sys

PRODUCT_FOLDERS = ("unit", "tray", "app", "power", "res", "sim")
SOURCE_SUFFIXES = {".c", ".cc", ".cpp", ".h", ".hpp", ".rc"}
# Each writes as much as its input holds, whatever room the target has.
UNBOUNDED = re.compile(
    r"(?<![\w$])(sprintf|vsprintf|strcpy|strcat|lstrcpy[AW]?|lstrcat[AW]?|wsprintf[AW]?)\s*\("
)
# Comments and literals, matched as a whole so that one never starts inside another.
NOT_CODE = re.compile(
    r"//[^\n]*|/\*.*?\*/|\"(?:\\.|[^\"\\\n])*\"|'(?:\\.|[^'\\\n])*'", re.DOTALL
)


def blank_out(match: re.Match) -> str:
    # Keeps the line breaks, so that line numbers stay right.
    return re.sub(r"[^\n]", " ", match.group(0))


def uses_in(path: pathlib.Path) -> list[tuple[int, str]]:
    code = NOT_CODE.sub(blank_out, path.read_text(encoding="utf-8", errors="replace"))
    return [(code.count("\n", 0, m.start()) + 1, m.group(1)) for m in UNBOUNDED.finditer(code)]


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    found = 0
    try:
        for folder in PRODUCT_FOLDERS:
            for path in sorted((root / folder).rglob("*")):
                if path.suffix in SOURCE_SUFFIXES and path.is_file():
                    for line, name in uses_in(path):
                        print(f"{path.relative_to(root)}:{line}: {name}")
                        found += 1
    except OSError as error:
        print(f"unbounded_strings: {error}", file=sys.stderr)
        return 2
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
