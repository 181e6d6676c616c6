# Shell function (source this file): a private Xvfb server for a program that
# needs a display when there is none.
#
#   private_xvfb_start STATE_DIR
#
# starts Xvfb on a free display number and sets DISPLAY and XVFB_PID; the caller
# stops it (kill "$XVFB_PID").
private_xvfb_start() {
  local state=$1 number
  mkfifo "$state/xvfb-display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$state/xvfb-display" \
    2>"$state/xvfb.log" &
  XVFB_PID=$!
  read -r -t 10 number <"$state/xvfb-display" || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$number
}
