#!/usr/bin/env python3
"""Reads an exchange file back with readers independent of Orb (csv and
xml.etree from the standard library; LAS 3.0 by its section grammar) and
compares every station with the listing of `orb-cli trajectory`.

usage: exchange_readback.py csv|las|witsml EXPORT TRAJECTORY.csv
Prints a JSON summary (header values, station count) and exits 1 on the
first mismatch."""
import csv
import json
import sys
import xml.etree.ElementTree as ET

COLUMNS = ["MD", "Inc", "Azi", "TVD", "N", "E", "VS", "Dogleg", "DLS"]


def fail(msg):
    print(msg, file=sys.stderr)
    sys.exit(1)


def trajectory(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    head = rows[0]
    want = ["MD", "Inc", "TrueAzi", "TVD", "N", "E", "VS", "Dogleg", "DLS"]
    if head != want:
        fail("trajectory header %r" % head)
    return [dict(zip(COLUMNS, r)) for r in rows[1:]]


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, strict=True))
    header = {}
    i = 0
    while rows[i][0].startswith("#"):
        header[rows[i][0][1:].strip()] = rows[i][1:]
        i += 1
    names = rows[i]
    stations = []
    for r in rows[i + 1:]:
        if len(r) != len(names):
            fail("csv row of %d fields, %d names" % (len(r), len(names)))
        stations.append(dict(zip(names, r)))
    return header, stations


def las_sections(path):
    sections = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("~"):
                title = line[1:].split("|")[0].strip()
                sections.append((title, line, []))
            else:
                if not sections:
                    fail("LAS line before the first section")
                sections[-1][2].append(line)
    return sections


def las_line(line):
    """MNEM.UNIT VALUE : DESCRIPTION"""
    mnem, rest = line.split(".", 1)
    unit, rest = (rest.split(" ", 1) + [""])[:2] if not rest.startswith(" ") else ("", rest)
    value, desc = rest.split(":", 1)
    return mnem.strip(), unit.strip(), value.strip(), desc.strip()


def read_las(path):
    sections = las_sections(path)
    titles = [s[0] for s in sections]
    incl = [t for t in titles if t.startswith("Inclinometry")]
    if sorted(incl) not in ([], sorted(["Inclinometry_Parameter", "Inclinometry_Definition", "Inclinometry_Data"])):
        fail("inclinometry sections %r" % incl)
    if titles[0] != "Version":
        fail("first section %r" % titles[0])
    by = {t: (hdr, lines) for t, hdr, lines in sections}
    params = {}
    for t in ("Version", "Well", "Parameter", "Inclinometry_Parameter"):
        for line in by[t][1]:
            m, u, v, d = las_line(line)
            params[t + "." + m] = {"unit": u, "value": v, "description": d}
    if params["Version.VERS"]["value"] != "3.0":
        fail("VERS %r" % params["Version.VERS"])
    defs = [las_line(l)[0] for l in by["Inclinometry_Definition"][1]]
    data_hdr = by["Inclinometry_Data"][0]
    if "| Inclinometry_Definition" not in data_hdr:
        fail("data section not associated: %r" % data_hdr)
    null = params["Well.NULL"]["value"]
    stations = []
    for line in by["Inclinometry_Data"][1]:
        cells = line.split(",")
        if len(cells) != len(defs):
            fail("LAS data row of %d cells, %d definitions" % (len(cells), len(defs)))
        row = dict(zip(defs, cells))
        stations.append({"MD": row["MD"], "Inc": row["INC"], "Azi": row["AZI"], "TVD": row["TVD"],
                         "N": row["NS"], "E": row["EW"], "VS": row["VS"], "Dogleg": row["DOGL"],
                         "DLS": "" if row["DLS"] == null else row["DLS"]})
    return params, stations


def read_witsml(path):
    ns = {"w": "http://www.witsml.org/schemas/1series"}
    root = ET.parse(path).getroot()
    if root.tag != "{%s}trajectorys" % ns["w"] or root.get("version") != "1.4.1.1":
        fail("root %r %r" % (root.tag, root.get("version")))
    traj = root.find("w:trajectory", ns)
    head = {}
    for name in ("nameWell", "nameWellbore", "name", "magDeclUsed", "gridConUsed", "aziVertSect", "aziRef"):
        e = traj.find("w:" + name, ns)
        head[name] = None if e is None else e.text
    order = [c.tag.split("}")[1] for c in traj]
    stations, types = [], []
    for st in traj.findall("w:trajectoryStation", ns):
        kind = st.find("w:typeTrajStation", ns).text
        types.append(kind)
        if kind != "magnetic multi-shot":
            continue

        def val(name):
            e = st.find("w:" + name, ns)
            return "" if e is None else e.text

        if st.find("w:rawData", ns) is None or len(st.find("w:rawData", ns)) != 6:
            fail("station without the six raw components")
        stations.append({"MD": val("md"), "Inc": val("incl"), "Azi": val("azi"), "TVD": val("tvd"),
                         "N": val("dispNs"), "E": val("dispEw"), "VS": val("vertSect"), "Dogleg": None,
                         "DLS": val("dls")})
    head["stationTypes"] = sorted(set(types))
    head["firstStationType"] = types[0] if types else None
    head["order"] = order
    return head, stations


def main():
    kind, path, traj_path = sys.argv[1:4]
    expected = trajectory(traj_path)
    if kind == "csv":
        header, stations = read_csv(path)
    elif kind == "las":
        header, stations = read_las(path)
    else:
        header, stations = read_witsml(path)
    if len(stations) != len(expected):
        fail("%d stations, trajectory has %d" % (len(stations), len(expected)))
    for i, (got, want) in enumerate(zip(stations, expected)):
        for c in COLUMNS:
            if got[c] is not None and got[c] != want[c]:
                fail("station %d %s: %r, trajectory %r" % (i, c, got[c], want[c]))
    print(json.dumps({"header": header, "stations": len(stations)}, ensure_ascii=False))


main()
