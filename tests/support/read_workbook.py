#!/usr/bin/python3
"""Prints an .xlsx workbook as JSON, the way a spreadsheet program would show it.

Usage: read_workbook.py FILE

Output: {"sheets": [{"name": NAME, "rows": [[CELL, ...], ...]}, ...]} where row i
of "rows" is sheet row i (counted from 0) and each CELL is "" for an empty cell,
"n:" + the number for a number (an integer without a decimal point), "s:" + the
text for a text (with the "_xHHHH_" escapes decoded, as spreadsheet programs
decode them). On failure prints the reason to stderr and exits with 1.

Needs Debian's python3-openpyxl; run it with /usr/bin/python3.
"""
import json
import sys

import openpyxl
from openpyxl.utils.escape import unescape


def cell_text(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "b:" + str(value)
    if isinstance(value, (int, float)):
        if isinstance(value, float) and value.is_integer() and abs(value) < 2**53:
            value = int(value)
        return "n:" + str(value)
    if isinstance(value, str):
        return "s:" + unescape(value)
    return "?:" + str(value)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: read_workbook.py FILE")
    try:
        book = openpyxl.load_workbook(sys.argv[1])
    except Exception as error:  # any failure means: not a readable workbook
        print(f"{type(error).__name__}: {error}", file=sys.stderr)
        sys.exit(1)
    sheets = []
    for sheet in book.worksheets:
        rows = []
        for row in sheet.iter_rows(min_row=1, min_col=1):
            cells = [cell_text(cell.value) for cell in row]
            while cells and cells[-1] == "":
                cells.pop()
            rows.append(cells)
        while rows and not rows[-1]:
            rows.pop()
        sheets.append({"name": sheet.title, "rows": rows})
    json.dump({"sheets": sheets}, sys.stdout)


main()
