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


def write_rows(out, header, rows, sheet_name="Report 0 1"):
    """Writes the header and the rows (lists of cell values) as one sheet of the
    workbook out, streaming them in write-only mode."""
    book = Workbook(write_only=True)
    sheet = book.create_sheet(sheet_name)
    sheet.append(header)
    for values in rows:
        sheet.append(values)
    book.save(out)


def records(path):
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            values = [value.strip() for value in line.rstrip("\n").split("|")]
            values[-1] = leading_integer(values[-1])
            yield values


if __name__ == "__main__":
    write_rows(sys.argv[2], COLUMNS, records(sys.argv[1]))
