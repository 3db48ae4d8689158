"""The owners' part of a guide, as the packages carry it: the README up to the heading that
begins its developers' part, less the paragraphs that point into that part, in UTF-8 with a
byte-order mark and CRLF line ends (Notepad before Windows 10 1903 reads text without a mark in
the ANSI code page, and before 1809 shows text without CRs as one line). Prints the pictures
that the owners' part shows, one path a line, as the README names them.

    owners_guide.py README OUTPUT HEADING
"""

import re
import sys


def anchor(heading):
    """The anchor that a Markdown renderer gives a heading (GitHub's rule)."""
    return re.sub(r"[^\w\- ]", "", heading.strip("# ").lower()).replace(" ", "-")


def main():
    source, output, heading = sys.argv[1:4]
    with open(source, encoding="utf-8") as file:
        lines = file.read().split("\n")
    if heading not in lines:
        sys.exit(f"owners_guide.py: {source} has no line {heading!r}, where its owners' part ends")
    cut = lines.index(heading)
    developers_anchors = {anchor(line) for line in lines[cut:] if line.startswith("#")}
    paragraphs = "\n".join(lines[:cut]).strip("\n").split("\n\n")
    kept = [
        paragraph
        for paragraph in paragraphs
        if not developers_anchors & set(re.findall(r"\]\(#([^)\s]+)\)", paragraph))
    ]
    text = "\n\n".join(kept) + "\n"
    with open(output, "w", encoding="utf-8-sig", newline="\r\n") as file:
        file.write(text)
    for picture in re.findall(r"!\[[^\]]*\]\(([^)\s]+)\)", text):
        print(picture)


if __name__ == "__main__":
    main()
