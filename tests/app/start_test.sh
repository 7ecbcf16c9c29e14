#!/usr/bin/env bash
# The program started on the test display with OpenGL, as a teacher starts it: plain, and with a lesson.
# Its main window shows (the lesson's name in its title), and closed by its close button it ends with
# status 0, asking nothing.  A start that crashes or refuses fails, and the program is ended.
# Usage: start_test.sh HALVIX LESSON
here=$(cd "$(dirname "$0")" && pwd)
h=$(mktemp -d /tmp/halvix-start.XXXXXX) && trap 'rm -rf "$h"' EXIT
export HOME=$h XDG_CONFIG_HOME=$h XDG_DATA_HOME=$h QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1
fail() { echo "FAILED (${lesson:-no lesson}): $*; standard error: $(cat "$h/err")" >&2; kill -9 $pid 2>/dev/null; exit 1; }
for lesson in "" "$2"; do
  "$1" ${lesson:+"$lesson"} 2>"$h/err" &
  pid=$!
  name=$(basename "${lesson:-}" .hvx)
  # The main window's title ends with " - Halvix" (a box of the program's is titled "Halvix" alone);
  # --all: the process's windows of that title only.
  for _ in $(seq 120); do
    w=$(xdotool search --all --onlyvisible --pid $pid --name "${name}.* - Halvix\$" 2>/dev/null | head -1)
    [ -n "$w" ] && break
    kill -0 $pid 2>/dev/null || { wait $pid; fail "ended with status $? before its window showed"; }
    sleep 0.5
  done
  [ -n "$w" ] || fail "no main window within 60 s (windows: $(xdotool search --all --onlyvisible --pid $pid --name . getwindowname %@ 2>/dev/null))"
  title=$(xdotool getwindowname "$w")
  [ -z "$lesson" ] || [[ $title == *"$name"* ]] || fail "the title \"$title\" does not name the lesson"
  sleep 1 # the window drawn once
  python3 "$here/close_window.py" "$w" || fail "the window could not be asked to close"
  for _ in $(seq 60); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
  kill -0 $pid 2>/dev/null &&
    fail "still running 30 s after its window was closed (windows: $(xdotool search --all --onlyvisible --pid $pid --name . getwindowname %@ 2>/dev/null))"
  wait $pid
  status=$?
  [ $status = 0 ] || fail "status $status"
done
