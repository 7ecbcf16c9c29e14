#!/usr/bin/env bash
# Started where no OpenGL context can be made (Qt's OpenGL integration off on this X display), the
# program says so in a box, which xdotool answers, and on standard error, and ends with status 1,
# plain and printing with /p; on Qt's offscreen platform, which shows no window, on standard error
# alone.  Usage: no_opengl_test.sh HALVIX (with DISPLAY set)
set -u
program=${1:?usage: no_opengl_test.sh HALVIX}
line='无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，或安装Mesa软件渲染器（libgl1-mesa-dri）。'
home=$(mktemp -d /tmp/halvix-no-opengl.XXXXXX)
trap 'rm -rf "$home"' EXIT
failures=0
for run in "xcb" "xcb /p $home/课件.hvx" "offscreen" "offscreen /p $home/课件.hvx"; do
  set -- $run
  platform=$1
  shift
  HOME=$home XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=$platform QT_XCB_GL_INTEGRATION=none \
    "$program" "$@" 2>"$home/err" &
  pid=$!
  answered=no
  for _ in $(seq 300); do # a minute at most
    kill -0 "$pid" 2>/dev/null || break
    box=$(xdotool search --onlyvisible --pid "$pid" --name '^Halvix$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return && answered=yes
    sleep 0.2
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  want=$([ "$platform" = xcb ] && echo yes || echo no)
  if [ "$status" -ne 1 ] || [ "$answered" != "$want" ] || ! grep -qxF "$line" "$home/err"; then
    echo "FAILED ($run): status $status, box answered: $answered (expected $want), standard error:" >&2
    cat "$home/err" >&2
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo passed
