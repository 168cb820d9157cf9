#!/usr/bin/env python3
"""Draws a linkscope-cli watch CSV as an SVG picture: signal strength and link quality in
percent over time, with the rows where the adapter had no link shaded.

    tools/plot-watch.py WATCH.csv OUT.svg [TITLE]

Only the Python standard library is used; the CSV is read as the companion writes it (a header
row, then time,state,status,bssid,channel,signal_percent,link_quality_percent,...)."""

import csv
import sys
from datetime import datetime
from xml.sax.saxutils import escape

WIDTH, HEIGHT = 720, 300
LEFT, RIGHT, TOP, BOTTOM = 56, 24, 36, 44


def read_rows(path):
    rows = []
    with open(path, newline="", encoding="latin-1") as f:
        for row in csv.DictReader(f):
            try:
                t = datetime.strptime(row["time"], "%Y-%m-%d %H:%M:%S")
            except (KeyError, ValueError):
                continue

            def percent(name):
                value = row.get(name, "")
                return int(value) if value.lstrip("-").isdigit() else None

            rows.append((t, row.get("state", ""), percent("signal_percent"),
                         percent("link_quality_percent")))
    return rows


def polyline(points, colour):
    # A gap where the adapter showed no percentage splits the line.
    parts, current = [], []
    for p in points:
        if p is None:
            if current:
                parts.append(current)
            current = []
        else:
            current.append(p)
    if current:
        parts.append(current)
    out = []
    for part in parts:
        coords = " ".join(f"{x:.1f},{y:.1f}" for x, y in part)
        out.append(f'<polyline fill="none" stroke="{colour}" stroke-width="2" points="{coords}"/>')
        out.extend(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="2.5" fill="{colour}"/>' for x, y in part)
    return out


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    rows = read_rows(sys.argv[1])
    title = sys.argv[3] if len(sys.argv) > 3 else "linkscope-cli watch"
    if not rows:
        sys.exit(f"{sys.argv[1]}: no rows to draw")
    start = rows[0][0]
    span = max(1.0, (rows[-1][0] - start).total_seconds())
    plot_w, plot_h = WIDTH - LEFT - RIGHT, HEIGHT - TOP - BOTTOM

    def x_of(t):
        return LEFT + (t - start).total_seconds() / span * plot_w

    def y_of(p):
        return TOP + plot_h - max(0, min(100, p)) / 100 * plot_h

    svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
           f'font-family="sans-serif" font-size="12">',
           f'<rect width="{WIDTH}" height="{HEIGHT}" fill="white"/>',
           f'<text x="{LEFT}" y="20" font-size="14">{escape(title)}</text>']
    # Rows without a link (any state but associated/ready) are shaded.
    step = plot_w / max(1, len(rows) - 1)
    for t, state, _, _ in rows:
        if state != "5":
            x = x_of(t)
            svg.append(f'<rect x="{max(LEFT, x - step / 2):.1f}" y="{TOP}" width="{step:.1f}" '
                       f'height="{plot_h}" fill="#eeeeee"/>')
    for p in range(0, 101, 25):
        y = y_of(p)
        svg.append(f'<line x1="{LEFT}" y1="{y:.1f}" x2="{LEFT + plot_w}" y2="{y:.1f}" '
                   f'stroke="#cccccc"/>')
        svg.append(f'<text x="{LEFT - 8}" y="{y + 4:.1f}" text-anchor="end">{p} %</text>')
    for s in range(0, int(span) + 1, max(1, int(span) // 6 or 1)):
        x = LEFT + s / span * plot_w
        svg.append(f'<text x="{x:.1f}" y="{TOP + plot_h + 18}" text-anchor="middle">{s} s</text>')
    svg += polyline([None if s is None else (x_of(t), y_of(s)) for t, _, s, _ in rows], "#1f77b4")
    svg += polyline([None if q is None else (x_of(t), y_of(q)) for t, _, _, q in rows], "#ff7f0e")
    legend_y = HEIGHT - 10
    svg += [f'<rect x="{LEFT}" y="{legend_y - 9}" width="12" height="4" fill="#1f77b4"/>',
            f'<text x="{LEFT + 18}" y="{legend_y - 4}">signal strength</text>',
            f'<rect x="{LEFT + 130}" y="{legend_y - 9}" width="12" height="4" fill="#ff7f0e"/>',
            f'<text x="{LEFT + 148}" y="{legend_y - 4}">link quality</text>',
            f'<rect x="{LEFT + 240}" y="{legend_y - 12}" width="12" height="10" fill="#eeeeee"/>',
            f'<text x="{LEFT + 258}" y="{legend_y - 4}">no link</text>',
            '</svg>']
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write("\n".join(svg) + "\n")
    print(f"{sys.argv[2]}: {len(rows)} rows over {span:.0f} s")


if __name__ == "__main__":
    main()
