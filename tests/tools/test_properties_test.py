#!/usr/bin/env python3
"""Fails when a test of the build has no time limit of its own, when a test case lacks the
environment every test case runs in (TZ, LANG, offscreen), or when a ".scale2" case does not
run at twice the scale.

usage: test_properties_test.py <ctest> <build folder>
"""

import json
import subprocess
import sys

EVERY_CASE = {"TZ=UTC", "LANG=en_US.UTF-8", "QT_QPA_PLATFORM=offscreen"}


def main(ctest, build):
    listing = subprocess.run([ctest, "--show-only=json-v1"], cwd=build, check=True,
                             capture_output=True, text=True).stdout
    tests = json.loads(listing)["tests"]
    problems = []
    cases = 0
    for test in tests:
        name = test["name"]
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        if "TIMEOUT" not in properties:
            problems.append(f"{name}: no time limit of its own")
        # The test discovery marks each case it adds with its skip pattern.
        if "SKIP_REGULAR_EXPRESSION" not in properties:
            continue
        cases += 1
        environment = set(properties.get("ENVIRONMENT", []))
        wanted = EVERY_CASE | ({"QT_SCALE_FACTOR=2"} if name.endswith(".scale2") else set())
        if not wanted <= environment:
            problems.append(f"{name}: runs without {sorted(wanted - environment)}")
    # A listing without test cases says nothing about them.
    if cases < 100:
        problems.append(f"only {cases} test cases found in {len(tests)} tests")
    for problem in problems:
        print(problem)
    print(f"{len(tests)} tests, {cases} test cases, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
