"""What a user would write instead of zormreport: Python's csv module and
json.dump(..., indent=4) over the same '|'-separated records.

    python_writers.py make N          writes N records of 8 values to stdout
    python_writers.py csv FILE        writes FILE as CSV to /dev/null
    python_writers.py json FILE       writes FILE as an indented JSON array to /dev/null
"""
import csv
import json
import os
import sys

COLUMNS = ["item", "warehouse", "shelf", "lot", "date", "price", "note", "quantity"]


def make(count):
    out = sys.stdout
    for i in range(count):
        out.write(f"item-{i:05d}|house-{i % 97:04d}|shelf{i % 1009:05d}|lot-{i * 7 % 100003:05d}|"
                  f"2021-03-{i % 28 + 1:02d}|EUR {i % 9999:05d}|note {i % 13:05d}|{i * 31 % 10**10}\n")


def rows(path):
    with open(path, encoding="utf-8") as records:
        for line in records:
            yield line.rstrip("\n").split("|")


def csv_rows(out, header, values):
    """Writes the header and the rows (lists of texts) to out as CSV."""
    writer = csv.writer(out)
    writer.writerow(header)
    for row in values:
        writer.writerow(row)


def json_rows(out, title, header, values):
    """Writes the rows to out as an indented JSON array of one titled report."""
    document = [{"title": title, "records": [dict(zip(header, row)) for row in values]}]
    json.dump(document, out, indent=4)


def write_csv(path):
    with open(os.devnull, "w", newline="") as out:
        csv_rows(out, COLUMNS, rows(path))


def write_json(path):
    with open(os.devnull, "w") as out:
        json_rows(out, "Benchmark", COLUMNS, rows(path))


if __name__ == "__main__":
    action, argument = sys.argv[1], sys.argv[2]
    {"make": lambda: make(int(argument)), "csv": lambda: write_csv(argument),
     "json": lambda: write_json(argument)}[action]()
