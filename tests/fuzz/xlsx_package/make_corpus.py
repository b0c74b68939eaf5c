#!/usr/bin/python3
"""Seeds for fuzz_xlsx_package, from the LibreOffice template of the report
tests: the package as it is, without Sheet1, with the sizes its headers
declare patched (larger, smaller, huge), and with an entity bomb. Run from
the repository root: tests/fuzz/xlsx_package/make_corpus.py"""
import io
import os
import struct
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(HERE, "..", "..", "report", "data", "template.xlsx")
SHEET = "xl/worksheets/sheet2.xml"


def with_size(data, name, size):
    data = bytearray(data)
    for sig, field, name_at in ((b"PK\x03\x04", 22, 30), (b"PK\x01\x02", 24, 46)):
        at = data.find(sig)
        while at >= 0:
            if data[at + name_at:at + name_at + len(name)] == name.encode():
                struct.pack_into("<I", data, at + field, size)
            at = data.find(sig, at + 4)
    return bytes(data)


def with_part(data, name, content):
    src = zipfile.ZipFile(io.BytesIO(data))
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for item in src.infolist():
            z.writestr(item, content if item.filename == name else src.read(item.filename))
    return out.getvalue()


def bomb():
    ents = '<!ENTITY a0 "lol">' + "".join(
        f'<!ENTITY a{i} "{("&a%d;" % (i - 1)) * 10}">' for i in range(1, 10))
    return (f'<?xml version="1.0"?><!DOCTYPE worksheet [{ents}]>'
            '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
            '<row r="1"><c r="A1" t="inlineStr"><is><t>&a9;</t></is></c></row></sheetData></worksheet>')


def main():
    data = open(TEMPLATE, "rb").read()
    book = zipfile.ZipFile(io.BytesIO(data)).read("xl/workbook.xml").decode()
    seeds = {
        "template.xlsx": data,
        "no_sheet1.xlsx": with_part(data, "xl/workbook.xml", book.replace('name="Sheet1"', 'name="Data01"')),
        "size_huge.xlsx": with_size(data, SHEET, 0xFFFFFFF0),
        "size_small.xlsx": with_size(data, SHEET, 100),
        "size_workbook.xlsx": with_size(data, "xl/workbook.xml", 1 << 20),
        "entity_bomb.xlsx": with_part(data, SHEET, bomb()),
    }
    corpus = os.path.join(HERE, "corpus")
    os.makedirs(corpus, exist_ok=True)
    for name, content in seeds.items():
        with open(os.path.join(corpus, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
