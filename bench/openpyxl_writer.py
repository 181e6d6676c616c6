"""What a user would write instead of zormreport for a workbook: openpyxl in its
write-only mode (the fast, streaming one) over the same '|'-separated records.

    openpyxl_writer.py RECORDS OUT.xlsx

The last column is written as a number, the others as texts, as zormreport does
with a numeric last column.
"""
import sys

from openpyxl import Workbook

COLUMNS = ["item", "warehouse", "shelf", "lot", "date", "price", "note", "quantity"]


def leading_integer(text):
    text = text.lstrip(" \t")
    sign = -1 if text[:1] == "-" else 1
    if text[:1] in "+-":
        text = text[1:]
    digits = ""
    for c in text:
        if not c.isdigit():
            break
        digits += c
    return sign * int(digits) if digits else 0


def main(records, out):
    book = Workbook(write_only=True)
    sheet = book.create_sheet("Report 0 1")
    sheet.append(COLUMNS)
    with open(records, encoding="utf-8") as lines:
        for line in lines:
            values = [value.strip() for value in line.rstrip("\n").split("|")]
            values[-1] = leading_integer(values[-1])
            sheet.append(values)
    book.save(out)


main(sys.argv[1], sys.argv[2])
