#!/usr/bin/python3
"""Prints an .xlsx workbook as JSON the way a spreadsheet program shows it (see
workbook_reader.h), or {"error": REASON} when it does not open."""
import json
import sys

import openpyxl
from openpyxl.utils.escape import unescape


def cell_text(value):
    if value is None:
        return ""
    if isinstance(value, str):
        return "s:" + unescape(value)
    if isinstance(value, float) and value.is_integer() and abs(value) < 2**53:
        value = int(value)
    return "n:" + str(value)


try:
    book = openpyxl.load_workbook(sys.argv[1])
except Exception as error:  # any failure means: not a readable workbook
    json.dump({"error": f"{type(error).__name__}: {error}"}, sys.stdout)
    sys.exit()
sheets = []
for sheet in book.worksheets:
    rows = [[cell_text(cell.value) for cell in row] for row in sheet.iter_rows(min_row=1, min_col=1)]
    for cells in rows:
        while cells and cells[-1] == "":
            cells.pop()
    while rows and not rows[-1]:
        rows.pop()
    sheets.append({"name": sheet.title, "rows": rows})
json.dump({"sheets": sheets}, sys.stdout)
