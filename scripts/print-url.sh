#!/usr/bin/env bash
# A stand-in browser for the demo: prints the page it is asked to open.
echo "Dorvane would open: $*"
