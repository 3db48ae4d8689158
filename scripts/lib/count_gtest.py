#!/usr/bin/env python3
"""Prints "passed failed" for a GoogleTest JSON report; a missing or broken report is one failure."""
import json
import sys


def main() -> int:
    try:
        with open(sys.argv[1], encoding="utf-8") as report_file:
            report = json.load(report_file)
    except (OSError, ValueError):
        print("0 1")
        return 0
    passed = failed = 0
    for suite in report.get("testsuites", []):
        for test in suite.get("testsuite", []):
            if test.get("result") == "SKIPPED" or test.get("status") == "NOTRUN":
                continue
            if test.get("failures"):
                failed += 1
            else:
                passed += 1
    print(passed, failed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
