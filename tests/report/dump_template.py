#!/usr/bin/python3
"""Prints a workbook's sheets as JSON for the template tests: every cell
with its type, value and format, column widths, merged areas and comments.
.xls files are read with xlrd, .xlsx files with openpyxl (formulas as their
text), both independent of the program's own readers."""
import json
import sys


def dump_xls(path):
    import xlrd
    from dump_workbook import TYPES as types, non_empty
    book = xlrd.open_workbook(path, formatting_info=True)
    sheets = []
    for sheet in book.sheets():
        cells = []
        for r, c, cell in non_empty(sheet):
            fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
            cells.append([r, c, types[cell.ctype], cell.value, f"{cell.xf_index}|{fmt}"])
        widths = {str(c): info.width for c, info in sheet.colinfo_map.items()}
        notes = {f"{r},{c}": n.text for (r, c), n in sheet.cell_note_map.items()}
        merged = [list(m) for m in sheet.merged_cells]
        sheets.append({"name": sheet.name, "cells": cells, "widths": widths, "merged": merged, "notes": notes})
    names = sorted(n.name for n in book.name_obj_list)
    return {"sheets": sheets, "names": names}


def dump_xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    types = {"s": "text", "n": "number", "f": "formula", "b": "boolean", "e": "error", "d": "date"}
    sheets = []
    for sheet in book.worksheets:
        cells = []
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                fmt = f"{cell.number_format}|{bool(cell.font and cell.font.b)}"
                cells.append([cell.row - 1, cell.column - 1, types.get(cell.data_type, cell.data_type),
                              cell.value, fmt])
        widths = {k: d.width for k, d in sheet.column_dimensions.items() if d.customWidth}
        notes = {f"{c.row - 1},{c.column - 1}": c.comment.text for row in sheet.iter_rows() for c in row if c.comment}
        merged = sorted(str(m) for m in sheet.merged_cells.ranges)
        sheets.append({"name": sheet.title, "cells": cells, "widths": widths, "merged": merged, "notes": notes})
    names = sorted(book.defined_names.keys()) if hasattr(book.defined_names, "keys") else sorted(
        n.name for n in book.defined_names.definedName)
    return {"sheets": sheets, "names": names}


def main():
    path = sys.argv[1]
    data = dump_xls(path) if path.lower().endswith(".xls") else dump_xlsx(path)
    json.dump(data, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main()
