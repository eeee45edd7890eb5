#!/usr/bin/env python3
"""Writes a household's data file: monthly records over some years, with asset and
liability categories (some in foreign currencies) and two tags.

    household.py <file> [--years N] [--assets N] [--liabilities N] [--currency ISO]
                        [--scale X] [--last-year Y]

Amounts grow with --scale; at the default scale of 1 the net worth reaches about
$1.2 million, so the list shows seven-digit amounts and negative changes.
"""
import argparse
import json
import math

parser = argparse.ArgumentParser()
parser.add_argument("file")
parser.add_argument("--years", type=int, default=10)
parser.add_argument("--assets", type=int, default=20)
parser.add_argument("--liabilities", type=int, default=10)
parser.add_argument("--currency", default="USD")
parser.add_argument("--scale", type=float, default=1.0)
parser.add_argument("--last-year", type=int, default=2025)
args = parser.parse_args()

tags = [{"ID": "T-HOME", "name": "Home", "desc": "", "hexColorString": "BLUE"},
        {"ID": "T-SAVE", "name": "Savings", "desc": "", "hexColorString": "GREEN"}]


def category(prefix, index, order):
    foreign = index % 7 == 3
    return {"ID": f"{prefix}{index:03d}", "name": f"{'Asset' if prefix == 'A' else 'Debt'} {index + 1}",
            "desc": "", "is_foreign": foreign, "currency": "EUR" if foreign else args.currency,
            "tags": [tags[index % 2]["ID"]], "is_depreciable": False, "sort_order": order,
            "is_hidden": False}


assets = [category("A", i, i) for i in range(args.assets)]
debts = [category("L", i, i) for i in range(args.liabilities)]
months = args.years * 12
logs = []
for m in range(months):
    year, month = args.last_year - args.years + 1 + m // 12, m % 12 + 1
    growth = 1.0 + m / months
    # A dip every autumn gives negative month-to-month changes.
    wobble = 1.0 - 0.04 * math.sin(m * math.pi / 6.0)
    a = [round(args.scale * (90000.0 + 4500.0 * i) * growth * wobble / max(1, args.assets / 20), 2)
         for i in range(args.assets)]
    d = [round(args.scale * (60000.0 - 2500.0 * (i % 20)) * (1.6 - growth / 2) / max(1, args.liabilities / 10), 2)
         for i in range(args.liabilities)]
    logs.append({"year": year, "month": month, "day": 0,
                 "note": "Bonus paid, car serviced and the roof repaired" if month == 6 else "",
                 "assets": round(sum(a), 2), "liabilities": round(sum(d), 2),
                 "nw": round(sum(a) - sum(d), 2),
                 # Every value carries its record's month, as the program writes it.
                 "a_logs": [{"cat": c["ID"], "year": year, "month": month, "value": v}
                            for c, v in zip(assets, a)],
                 "l_logs": [{"cat": c["ID"], "year": year, "month": month, "value": v}
                            for c, v in zip(debts, d)]})
logs.reverse()
with open(args.file, "w") as out:
    json.dump({"version": "1.0", "base_currency": args.currency, "tags": tags, "a_cat": assets,
               "l_cat": debts, "nw_logs": logs}, out)
