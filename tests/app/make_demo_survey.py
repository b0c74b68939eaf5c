#!/usr/bin/env python3
"""Writes a plausible directional survey as a TLM file (for screenshots and
manual checks): a probe sampling every 30 s after a 5 min delay, every
fourth sample a station with a depth, inclination building to about 26°."""
import datetime
import math
import random
import struct
import sys


def text(s):
    units = s.encode("utf-16-le")
    return struct.pack("<I", len(units) // 2) + units


def ole_date(dt):
    return (dt - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0


def record(k, n, start, rng):
    inc = 0.4 + 26.0 * (k / (n - 1)) ** 1.3 + rng.uniform(-0.05, 0.05)
    azi = (134.0 + 6.0 * math.sin(k / 9.0) + rng.uniform(-0.3, 0.3)) % 360.0
    gtf = (37.0 * k + rng.uniform(0, 20)) % 360.0
    mtf = (gtf + azi - 8.0) % 360.0
    dip = 47.6 + rng.uniform(-0.15, 0.15)
    gt = 1.0 + rng.uniform(-0.0015, 0.0015)
    mt = 1.0 + rng.uniform(-0.004, 0.004)
    ri, rg = math.radians(inc), math.radians(gtf)
    gx, gy, gz = -math.sin(ri) * math.sin(rg) * gt, -math.sin(ri) * math.cos(rg) * gt, math.cos(ri) * gt
    rd = math.radians(dip)
    rm = math.radians(mtf)
    mx = math.cos(rd) * math.sin(rm) * mt
    my = math.cos(rd) * math.cos(rm) * mt
    mz = math.sin(rd) * mt
    station = k % 4 == 1
    depth = 1200.0 + 9.5 * k if station else 0.0
    temp = 24.5 + 43.0 * k / n + rng.uniform(-0.2, 0.2)
    volt = 3.62 - 0.12 * k / n
    t = ole_date(start + datetime.timedelta(seconds=300 + 30 * k))
    return struct.pack("<ii15fdif6i", 0, 1 if station else 0, inc, azi, temp, gtf, mtf, dip, gt, mt,
                       gx, gy, gz, mx, my, mz, depth, t, 0, volt, 0, 0, 0, 0, 0, 0)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "demo.TLM"
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 64
    rng = random.Random(417)
    start = datetime.datetime(2013, 5, 7, 14, 3, 9)
    data = b"KVORB" + text("70158钻井队") + text("西页1-2H") + text("TL-0417") + text("5") + text("30")
    data += struct.pack("<I", n) + b"".join(record(k, n, start, rng) for k in range(n))
    data += struct.pack("<I", 0)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
