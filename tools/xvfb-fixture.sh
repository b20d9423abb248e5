#!/usr/bin/env bash
# The X server of the X11 display tests.
#   xvfb-fixture.sh start <state>   starts Xvfb on a free display; writes its name to <state>.display,
#                                   or why it could not start to <state>.reason
#   xvfb-fixture.sh stop <state>    ends it
# Either way it succeeds: the tests skip themselves with the reason.
set -u
action=$1
state=$2
case "$action" in
start)
  rm -f "$state.display" "$state.reason" "$state.pid" "$state.number"
  if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed (tools/install-deps.sh installs it)" >"$state.reason"
    exit 0
  fi
  # Xvfb picks a free display number and writes it once it accepts connections.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$state.number" \
    </dev/null >/dev/null 2>"$state.log" &
  echo $! >"$state.pid"
  for _ in $(seq 100); do
    if [ -s "$state.number" ] && grep -q . "$state.number"; then
      echo ":$(head -n1 "$state.number")" >"$state.display"
      exit 0
    fi
    kill -0 "$(cat "$state.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start: $(tail -n 3 "$state.log" | tr '\n' ' ')" >"$state.reason"
  [ -s "$state.pid" ] && kill "$(cat "$state.pid")" 2>/dev/null
  exit 0
  ;;
stop)
  if [ -s "$state.pid" ]; then
    kill "$(cat "$state.pid")" 2>/dev/null
  fi
  rm -f "$state.display" "$state.pid" "$state.number"
  exit 0
  ;;
esac
echo "usage: $0 start|stop <state>" >&2
exit 2
