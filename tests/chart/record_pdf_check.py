#!/usr/bin/env python3
"""Reads back a record PDF written by vorla.exe under wine, where the tests
that read PDFs cannot run (wine hands a Linux program's output to no pipe).

    record_pdf_check.py WINDOWS.pdf LINUX.pdf VALUE...

The Windows record, laid out with the fonts Windows gives, must be A4
landscape with as many pages as the Linux build's record of the same file,
hold every value given as a word (as the record writes a number: 25.050 as
25.05), and have no two words whose boxes overlap.
(Word heights are not compared with 7 pt: pdftotext takes them from the
embedded font's ascent and descent, which differ between the systems' fonts
at the same size.) Prints what it found; exits 1 on any failure.
"""
import html
import re
import subprocess
import sys

WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')


def pages_of(pdf):
    out = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True, check=True)
    return [[(float(a), float(b), float(c), float(d), html.unescape(t)) for a, b, c, d, t in WORD.findall(page)]
            for page in out.stdout.split("<page ")[1:]]


def page_size(pdf):
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    match = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
    return (round(float(match.group(1))), round(float(match.group(2)))) if match else None


def overlaps(words):
    found = []
    for i, a in enumerate(words):
        for b in words[i + 1:]:
            if min(a[2], b[2]) - max(a[0], b[0]) > 0.5 and min(a[3], b[3]) - max(a[1], b[1]) > 0.5:
                found.append(f"{a[4]!r} and {b[4]!r}")
    return found


def main():
    windows, linux, values = sys.argv[1], sys.argv[2], sys.argv[3:]
    problems = []
    if page_size(windows) != (842, 595):
        problems.append(f"not A4 landscape: {page_size(windows)}")
    windows_pages, linux_pages = pages_of(windows), pages_of(linux)
    if len(windows_pages) != len(linux_pages):
        problems.append(f"{len(windows_pages)} pages, the Linux record {len(linux_pages)}")
    words = [w[4] for page in windows_pages for w in page]
    problems += [f"value {v} is missing" for v in values if repr(float(v)) not in words]
    for number, page in enumerate(windows_pages, 1):
        problems += [f"page {number}: {pair} overlap" for pair in overlaps(page)]
    for problem in problems[:20]:
        print(f"record: {problem}", file=sys.stderr)
    if problems:
        return 1
    print(f"record: vorla.exe's record holds every one of {len(values)} values on "
          f"{len(windows_pages)} A4 pages, as the Linux build's does, with no words overlapping")
    return 0


if __name__ == "__main__":
    sys.exit(main())
