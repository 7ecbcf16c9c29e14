#!/usr/bin/env bash
# Without an OpenGL context, plain and with /p: a box (answered here), the line on standard error, status 1.
# Return is pressed until the program ends (a key sent before the box takes keys is lost), for 30 s at most.
h=$(mktemp -d /tmp/halvix-no-opengl.XXXXXX) && trap 'rm -rf "$h"' EXIT
for p in "" /p; do
  HOME=$h XDG_CONFIG_HOME=$h QT_XCB_GL_INTEGRATION=none "$1" $p ${p:+$h/课件.hvx} 2>"$h/err" &
  pid=$! && w=$(timeout 60 xdotool search --sync --onlyvisible --pid $pid --name '^Halvix$')
  box=$?
  for _ in $(seq $((box ? 0 : 60))); do
    kill -0 $pid 2>/dev/null || break
    timeout 5 xdotool windowfocus --sync $w key Return 2>/dev/null; sleep 0.5
  done
  kill -9 $pid 2>/dev/null; wait $pid
  status=$? && [ $box$status = 01 ] && grep -qx '无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，或安装Mesa软件渲染器（libgl1-mesa-dri）。' "$h/err" ||
    { echo "FAILED ($p): box $box, status $status, $(cat "$h/err")" >&2; exit 1; }
done
