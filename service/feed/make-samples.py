#!/usr/bin/env python3
"""Writes samples/<index>.json for every town of towns.csv: hourly forecasts in the shape of
Open-Meteo's /v1/forecast answer (timezone=GMT), made up for tests, four days from START.

Moscow's day (12-18 local) and night (0-6 local) hours are the same every day, so a test can
state what the tray must show whatever the hour it runs at; every other hour and town is
pseudo-random (seeded by the index) with a rough climate by latitude.

usage: make-samples.py [OUT_DIR [START]]   (START as YYYY-MM-DD, default 2026-01-15)
"""
import datetime
import json
import pathlib
import random
import sys

HERE = pathlib.Path(__file__).resolve().parent
HOURS = 96
UNITS = {"time": "iso8601", "temperature_2m": "°C", "relative_humidity_2m": "%",
         "surface_pressure": "hPa", "wind_speed_10m": "km/h", "wind_direction_10m": "°",
         "weather_code": "wmo code", "cloud_cover": "%"}

# Moscow's fixed periods: -5 °C, 997.2 hPa = 748 mm, 85 %, 14.4 km/h = 4 m/s from the
# south-east, snow with 70 % cloud; the night -9 °C, 1000 hPa = 750 mm, 90 %, 7.2 km/h =
# 2 m/s from the east, partly cloudy at 70 %.
MOSCOW = "27612"
MOSCOW_DAY = (-5.0, 85, 997.2, 14.4, 135, 73, 70)
MOSCOW_NIGHT = (-9.0, 90, 1000.0, 7.2, 90, 2, 70)


def towns():
    for line in (HERE / "towns.csv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            index, name, country, lat, lon, offset = line.split(";")
            yield index, float(lat), float(lon), float(offset)


def weather(rng, lat, hour_of_year, local_hour):
    winter = abs(lat) > 50
    base = (-8 if winter else 4) - (abs(lat) - 50) * 0.6
    temperature = round(base + 4 * (1 if 10 <= local_hour < 18 else -1) + rng.uniform(-3, 3), 1)
    cloud = rng.choice([5, 15, 30, 45, 60, 75, 90, 100])
    if cloud >= 75 and rng.random() < 0.5:
        code = 73 if temperature <= 0 else rng.choice([61, 63, 80])
    elif cloud >= 60 and rng.random() < 0.1:
        code = 45
    elif temperature > 8 and rng.random() < 0.05:
        code = 95
    else:
        code = 0 if cloud < 20 else 1 if cloud < 50 else 2 if cloud < 85 else 3
    return (temperature, rng.randint(45, 100), round(rng.uniform(975, 1035), 1),
            round(rng.uniform(0, 30), 1), rng.randint(0, 359), code, cloud)


def sample(index, lat, lon, offset, start):
    rng = random.Random(int(index))
    hourly = {key: [] for key in UNITS}
    for h in range(HOURS):
        moment = start + datetime.timedelta(hours=h)
        local_hour = int((moment.hour + offset) % 24)
        if index == MOSCOW and 12 <= local_hour < 18:
            values = MOSCOW_DAY
        elif index == MOSCOW and local_hour < 6:
            values = MOSCOW_NIGHT
        else:
            values = weather(rng, lat, h, local_hour)
        hourly["time"].append(moment.strftime("%Y-%m-%dT%H:%M"))
        for key, value in zip(list(UNITS)[1:], values):
            hourly[key].append(value)
    return {"latitude": lat, "longitude": lon, "generationtime_ms": 0.1,
            "utc_offset_seconds": 0, "timezone": "GMT", "timezone_abbreviation": "GMT",
            "elevation": 150.0, "hourly_units": UNITS, "hourly": hourly}


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else HERE / "samples"
    start = datetime.datetime.strptime(sys.argv[2] if len(sys.argv) > 2 else "2026-01-15",
                                       "%Y-%m-%d")
    out.mkdir(parents=True, exist_ok=True)
    for index, lat, lon, offset in towns():
        text = json.dumps(sample(index, lat, lon, offset, start), ensure_ascii=False,
                          separators=(",", ":"))
        (out / f"{index}.json").write_text(text + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
