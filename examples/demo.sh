#!/bin/sh
# Runs favlink on the bundled examples: shows the usage text for now.
set -e
prog=${1:-build/default/favlink}
"$prog" -usage | iconv -f CP932 -t UTF-8
