#!/usr/bin/python3
"""What a user would write instead of the list's exports, over the same rows:

    list_export_peers.py FORM ROWS OUT [RUNS]

reads ROWS (tab-separated lines, the header first, as list_export_bench writes them)
into memory, then writes them to OUT RUNS times (default 3) in FORM and prints
"seconds S cpu C peak_kb K base_kb B bytes N" as list_export_bench does: S the
median write in elapsed seconds, C in processor seconds, K the peak resident memory, B the peak before the first write, N the size
of the last file. The forms: csv (the csv module), text (the csv module writing
padded columns), xml (xml.etree.ElementTree), json (json.dump), xlsx (openpyxl
write-only), pdf (ReportLab, Letter portrait).
"""
import csv
import os
import resource
import sys
import time
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import openpyxl_writer  # noqa: E402
import python_writers  # noqa: E402
import reportlab_writer  # noqa: E402

TITLE = "Export"


def widths(header, rows):
    """The longest text of each column, the header included, as the list's
    report-based exports size their columns."""
    return [max(map(len, column)) for column in zip(header, *rows)]


def write_csv(path, header, rows):
    with open(path, "w", newline="", encoding="utf-8") as out:
        python_writers.csv_rows(out, header, rows)


def write_text(path, header, rows):
    sizes = widths(header, rows)
    with open(path, "w", newline="", encoding="utf-8") as out:
        out.write(TITLE + "\n\n")
        writer = csv.writer(out, delimiter="|", quoting=csv.QUOTE_NONE, quotechar=None,
                            lineterminator="\n")
        writer.writerow([name.ljust(size) for name, size in zip(header, sizes)])
        writer.writerow(["-" * size for size in sizes])
        for row in rows:
            writer.writerow([value.ljust(size) for value, size in zip(row, sizes)])


def write_xml(path, header, rows):
    root = ElementTree.Element("ZORMXML")
    for row in rows:
        record = ElementTree.SubElement(root, "record")
        for name, value in zip(header, row):
            ElementTree.SubElement(record, "field", name=name).text = value
    ElementTree.ElementTree(root).write(path, encoding="ISO-8859-1", xml_declaration=True)


def write_json(path, header, rows):
    with open(path, "w", encoding="utf-8") as out:
        python_writers.json_rows(out, TITLE, header, rows)


def write_xlsx(path, header, rows):
    openpyxl_writer.write_rows(path, header, rows, sheet_name="Export")


def write_pdf(path, header, rows):
    columns = [(name, size, False) for name, size in zip(header, widths(header, rows))]
    reportlab_writer.draw_rows(rows, path, columns, title=TITLE, notes="")


FORMS = {"csv": write_csv, "text": write_text, "xml": write_xml, "json": write_json,
         "xlsx": write_xlsx, "pdf": write_pdf}


def median(values):
    return sorted(values)[len(values) // 2]


def peak_kb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def main(argv):
    if len(argv) not in (4, 5) or argv[1] not in FORMS:
        sys.exit(__doc__)
    write, path = FORMS[argv[1]], argv[3]
    runs = int(argv[4]) if len(argv) == 5 else 3
    with open(argv[2], encoding="utf-8") as lines:
        header = lines.readline().rstrip("\n").split("\t")
        rows = [line.rstrip("\n").split("\t") for line in lines]
    base = peak_kb()
    walls, cpus = [], []
    for _ in range(runs):
        if os.path.exists(path):
            os.remove(path)
        start, cpu_start = time.perf_counter(), time.process_time()
        write(path, header, rows)
        cpus.append(time.process_time() - cpu_start)
        walls.append(time.perf_counter() - start)
    print("seconds %.4f cpu %.4f peak_kb %d base_kb %d bytes %d" %
          (median(walls), median(cpus), peak_kb(), base,
           os.path.getsize(path)))


if __name__ == "__main__":
    main(sys.argv)
