#!/usr/bin/env bash
# Started where no OpenGL context can be made (Qt's OpenGL integration off), the program says so in a
# box (answered here by xdotool) and on standard error and ends with status 1, plain and with /p; on
# the offscreen platform, which shows no window, on standard error alone.  Usage: no_opengl_test.sh HALVIX
program=$1
line='无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，或安装Mesa软件渲染器（libgl1-mesa-dri）。'
home=$(mktemp -d /tmp/halvix-no-opengl.XXXXXX)
trap 'rm -rf "$home"' EXIT
failed=0
for run in "xcb yes" "xcb yes /p $home/课件.hvx" "offscreen no" "offscreen no /p $home/课件.hvx"; do
  set -- $run
  HOME=$home XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=$1 QT_XCB_GL_INTEGRATION=none "$program" "${@:3}" 2>"$home/err" &
  pid=$! answered=no
  for _ in $(seq 300); do # a minute at most
    kill -0 $pid 2>/dev/null || break
    box=$(xdotool search --onlyvisible --pid $pid --name '^Halvix$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return && answered=yes
    sleep 0.2
  done
  kill -9 $pid 2>/dev/null
  wait $pid
  status=$?
  if [ $status -ne 1 ] || [ $answered != "$2" ] || ! grep -qxF "$line" "$home/err"; then
    echo "FAILED ($run): status $status, box answered: $answered; standard error: $(cat "$home/err")" >&2
    failed=1
  fi
done
exit $failed
