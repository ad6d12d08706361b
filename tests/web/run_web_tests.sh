#!/usr/bin/env bash
# Runs the web page's tests on a built page folder: the compiled device code
# under node, then the page in headless Chromium.
# usage: run_web_tests.sh <build folder> <site folder>
set -euo pipefail

build="$(cd "$1" && pwd)"
site="$(cd "$2" && pwd)"
here="$(dirname "$0")"

node "$here/module_test.mjs" "$site"
# Debian's Python, which has Debian's Selenium.
/usr/bin/python3 "$here/page_test.py" "$build" "$site"
