#!/usr/bin/env bash
# Where no OpenGL context can be made, the program says so in a box (answered by xdotool) and on
# standard error and ends with status 1, plain and with /p; offscreen, on standard error alone.
program=$1 h=$(mktemp -d /tmp/halvix-no-opengl.XXXXXX) failed=0
line='无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，或安装Mesa软件渲染器（libgl1-mesa-dri）。'
trap 'rm -rf "$h"' EXIT
for run in "xcb yes" "xcb yes /p $h/课件.hvx" "offscreen no" "offscreen no /p $h/课件.hvx"; do
  set -- $run
  HOME=$h XDG_CONFIG_HOME=$h QT_QPA_PLATFORM=$1 QT_XCB_GL_INTEGRATION=none "$program" "${@:3}" 2>"$h/err" &
  pid=$! answered=no
  for _ in $(seq 300); do # a minute at most
    box=$(xdotool search --onlyvisible --pid $pid --name '^Halvix$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return && answered=yes
    kill -0 $pid 2>/dev/null && sleep 0.2 || break
  done
  kill -9 $pid 2>/dev/null
  wait $pid
  status=$?
  [ $status = 1 ] && [ $answered = "$2" ] && grep -qxF "$line" "$h/err" ||
    { echo "FAILED ($run): status $status, box: $answered, $(cat "$h/err")" >&2; failed=1; }
done
exit $failed
