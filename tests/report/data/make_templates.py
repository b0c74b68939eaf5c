#!/usr/bin/python3
"""Writes template.fods, a report template as a field engineer's company would
keep it, and converts it with LibreOffice (headless) into template.xls and
template.xlsx, the test data of the in-place export. Run from this folder:
    ./make_templates.py
Sheet "Calc" computes from "Sheet1" (also through the name "Depths") and
carries a drawing; "Sheet1" holds an earlier export of 39 stations (rows
1..40), a formula, a comment, a merged area, formats and column widths."""
import os
import subprocess
import tempfile

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:number-style style:name="N2"><number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1"/></number:number-style>
  <style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="0.9in"/></style:style>
  <style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="3in"/></style:style>
  <style:style style:name="ce1" style:family="table-cell" style:data-style-name="N2"/>
  <style:style style:name="ce2" style:family="table-cell"><style:text-properties fo:font-weight="bold" fo:color="#c00000"/></style:style>
 </office:automatic-styles>
 <office:body><office:spreadsheet>
"""

CALC = """  <table:table table:name="Calc">
   <table:shapes>
    <draw:rect draw:name="Stamp" svg:x="6cm" svg:y="1cm" svg:width="4cm" svg:height="1.5cm"><text:p>QC stamp</text:p></draw:rect>
   </table:shapes>
   <table:table-column table:style-name="co2"/>
   <table:table-column table:number-columns-repeated="2"/>
{rows}
  </table:table>
"""

FORMULAS = [
    ("max inclination", "of:=MAX([Sheet1.D2:.D100])"),
    ("stations", "of:=COUNT([Sheet1.A2:.A100])"),
    ("depth sum", "of:=SUM(Depths)"),
    ("first time", "of:=[Sheet1.M2]"),
    ("last azimuth", "of:=[Sheet1.N6]"),
]


def cell_string(text, style=None, extra=""):
    s = f' table:style-name="{style}"' if style else ""
    return f'<table:table-cell{s} office:value-type="string"{extra}><text:p>{text}</text:p></table:table-cell>'


def cell_float(value, style=None):
    s = f' table:style-name="{style}"' if style else ""
    return f'<table:table-cell{s} office:value-type="float" office:value="{value}"><text:p>{value}</text:p></table:table-cell>'


def calc_rows():
    rows = []
    for label, formula in FORMULAS:
        rows.append("   <table:table-row>" + cell_string(label) +
                    f'<table:table-cell table:formula="{formula}" office:value-type="float" office:value="0"/>'
                    "</table:table-row>")
    return "\n".join(rows)


def old_value(row, col):
    return round(row * 10 + col * 0.5, 2)


def sheet1_rows():
    rows = []
    head = [cell_string(f"old caption {c + 1}") for c in range(22)]
    head.append(cell_string("备注 remarks", "ce2"))
    head.append('<table:table-cell table:formula="of:=SUM([.C2:.C100])" office:value-type="float" office:value="0"/>')
    rows.append("   <table:table-row>" + "".join(head) + "</table:table-row>")
    for r in range(1, 40):
        cells = []
        for c in range(22):
            if c == 1 or c == 12:
                cells.append(cell_string(f"old {r}-{c}"))
            else:
                cells.append(cell_float(old_value(r, c), "ce1" if c == 3 else None))
        if r == 1:
            note = ('<office:annotation><dc:creator>QA</dc:creator><text:p>checked by hand</text:p></office:annotation>'
                    '<text:p>kept note</text:p>')
            cells.append(f'<table:table-cell office:value-type="string">{note}</table:table-cell>')
        elif r == 4:
            cells.append('<table:table-cell table:number-columns-spanned="2" table:number-rows-spanned="2" '
                         'office:value-type="string"><text:p>merged remark</text:p></table:table-cell>')
        rows.append("   <table:table-row>" + "".join(cells) + "</table:table-row>")
    return "\n".join(rows)


SHEET1 = """  <table:table table:name="Sheet1">
   <table:table-column table:number-columns-repeated="22"/>
   <table:table-column table:style-name="co2"/>
   <table:table-column table:style-name="co1"/>
{rows}
  </table:table>
"""

TAIL = """  <table:named-expressions>
   <table:named-range table:name="Depths" table:base-cell-address="$Sheet1.$A$1" table:cell-range-address="$Sheet1.$C$2:.$C$100"/>
  </table:named-expressions>
 </office:spreadsheet></office:body>
</office:document>
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    fods = os.path.join(here, "template.fods")
    with open(fods, "w", encoding="utf-8") as f:
        f.write(HEAD + CALC.format(rows=calc_rows()) + SHEET1.format(rows=sheet1_rows()) + TAIL)
    with tempfile.TemporaryDirectory() as profile:
        for fmt in ("xls", "xlsx"):
            subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                            "--convert-to", fmt, "--outdir", here, fods], check=True)


if __name__ == "__main__":
    main()
