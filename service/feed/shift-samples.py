#!/usr/bin/env python3
"""Copies Open-Meteo-shaped samples with their hours moved to start at DATE 00:00 UTC, so a
test whose clock is today reads them as today's forecast. Everything but hourly.time is kept.

usage: shift-samples.py SRC_DIR DST_DIR DATE   (DATE as YYYY-MM-DD)
"""
import datetime
import json
import pathlib
import sys

src, dst = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
start = datetime.datetime.strptime(sys.argv[3], "%Y-%m-%d")
dst.mkdir(parents=True, exist_ok=True)
for path in sorted(src.glob("*.json")):
    answer = json.loads(path.read_text(encoding="utf-8"))
    hours = len(answer["hourly"]["time"])
    answer["hourly"]["time"] = [(start + datetime.timedelta(hours=h)).strftime("%Y-%m-%dT%H:%M")
                                for h in range(hours)]
    (dst / path.name).write_text(json.dumps(answer, ensure_ascii=False, separators=(",", ":")) +
                                 "\n", encoding="utf-8")
