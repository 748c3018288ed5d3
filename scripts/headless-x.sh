#!/usr/bin/env bash
# Runs a command with a virtual X server of its own, for the tests that draw
# with OpenGL through the X platform. The server is kept from resetting when
# its last client leaves: a client that connects while it resets can be
# refused, and with tests starting and ending all the time that happens now
# and then.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$@"
