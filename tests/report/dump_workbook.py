#!/usr/bin/python3
"""Prints every sheet and non-empty cell of a workbook as JSON, read with xlrd
(an independent reader), so tests can check values and cell types exactly."""
import json
import sys

import xlrd

TYPES = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_BOOLEAN: "boolean", xlrd.XL_CELL_ERROR: "error", xlrd.XL_CELL_BLANK: "blank"}


def non_empty(sheet):
    """(row, column, cell) of every cell of an xlrd sheet that is not empty."""
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype != xlrd.XL_CELL_EMPTY:
                yield r, c, cell


def main():
    book = xlrd.open_workbook(sys.argv[1])
    sheets = []
    for sheet in book.sheets():
        cells = [[r, c, TYPES[cell.ctype], cell.value] for r, c, cell in non_empty(sheet)]
        sheets.append({"name": sheet.name, "visibility": sheet.visibility, "cells": cells})
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
