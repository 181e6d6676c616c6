#!/usr/bin/python3
"""The PDF side of the report benchmark, as a user would write it with ReportLab.

  reportlab_writer.py make N          N records of 8 columns on standard output
  reportlab_writer.py draw IN OUT     IN drawn as a paged table into the PDF OUT

The table is drawn the way the report writer draws it: letter pages in portrait,
a title bar with the title, notes, the production time, a grey heading band with
the column names, 52 record lines per page with every second line shaded, the
quantity right-aligned with thousands separators, a footer rule with the page
number, compressed page streams. The report writer's QR code and bookmarks are
left out here, so the comparison favours ReportLab.
"""
import sys
import time

COLUMNS = [("item", 10, False), ("warehouse", 10, False), ("shelf", 10, False),
           ("lot", 10, False), ("date", 10, False), ("price", 10, False),
           ("note", 10, False), ("quantity", 12, True)]


def make(count):
    out = sys.stdout
    for i in range(1, count + 1):
        out.write("ITEM-%06d|WH-%d|S%03d-%02d|L%07d|2021-03-%02d|%d.%02d|note %d|%d\n" %
                  (i, i % 7, i % 400, i % 13, i * 7, i % 28 + 1, i % 900, i % 100,
                   i % 1000, i * 37))


def draw(records_path, pdf_path):
    with open(records_path, encoding="utf-8") as records:
        draw_rows((text.rstrip("\n").split("|") for text in records), pdf_path)


def draw_rows(rows, pdf_path, columns=COLUMNS, title="Benchmark", notes="Sample data"):
    """Draws the rows (lists of texts) as the paged table described above; columns
    are (name, width in characters, right-aligned number) triples."""
    from reportlab.lib.pagesizes import letter
    from reportlab.pdfgen import canvas

    width, height = letter
    pdf = canvas.Canvas(pdf_path, pagesize=letter, pageCompression=1)
    left = right = 10
    line = 12
    unit = (width - left - right) / sum(w for _, w, _ in columns)
    produced = time.strftime("Production Time: %A, %B %d, %Y - %H:%M:%S (%Z)")
    page = 0
    lines_per_page = 52
    body_top = 663

    def start_page():
        nonlocal page
        page += 1
        if page > 1:
            pdf.showPage()
        pdf.setFillColorRGB(0.039, 0.254, 0.412)
        pdf.rect(left, height - 60, width - left - right, 30, stroke=0, fill=1)
        pdf.setFillColorRGB(1, 1, 1)
        pdf.setFont("Helvetica-Bold", 18)
        pdf.drawString(left + 10, height - 50, title)
        pdf.setFillColorRGB(0, 0, 0)
        pdf.setFont("Helvetica", 8)
        pdf.drawString(left, height - 75, notes)
        pdf.drawString(left, height - 90, produced)
        pdf.setFillColorRGB(0.8, 0.8, 0.8)
        pdf.rect(left, 675, width - left - right, line, stroke=0, fill=1)
        pdf.setFillColorRGB(0, 0, 0)
        x = left + 5
        for name, w, right_aligned in columns:
            if right_aligned:
                pdf.drawRightString(x + w * unit - 5, 679, name)
            else:
                pdf.drawString(x, 679, name)
            x += w * unit
        pdf.setLineWidth(1)
        pdf.line(left, 30, width - right, 30)
        pdf.drawCentredString(width / 2, 20, "Calvaro Report Writer")
        pdf.drawRightString(width - right, 20, "Page %d" % page)

    count = 0
    for values in rows:
        position = count % lines_per_page + 1
        if position == 1:
            start_page()
        count += 1
        y = body_top - (position - 1) * line
        if position % 2 == 0:
            pdf.setFillColorRGB(0.98, 0.98, 0.98)
            pdf.rect(left, y, width - left - right, line, stroke=0, fill=1)
            pdf.setFillColorRGB(0, 0, 0)
        x = left + 5
        for (name, w, right_aligned), value in zip(columns, values):
            if right_aligned:
                pdf.drawRightString(x + w * unit - 5, y + 3, "{:,}".format(int(value)))
            else:
                pdf.drawString(x, y + 3, value)
            x += w * unit
    pdf.save()


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "make":
        make(int(sys.argv[2]))
    elif len(sys.argv) == 4 and sys.argv[1] == "draw":
        draw(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
