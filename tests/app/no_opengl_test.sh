#!/usr/bin/env bash
# Without an OpenGL context, plain and with /p: a box (answered here), the line on standard error, status 1.
# Return is pressed until the program ends (a key sent before the box takes keys is lost), for 30 s at most.
# On Qt's platforms that show no window: that said on standard error, naming the platform, and status 1.
# The platforms are the script's own, whatever the caller exported.
h=$(mktemp -d /tmp/halvix-no-opengl.XXXXXX) && trap 'rm -rf "$h"' EXIT
for p in "" /p; do
  HOME=$h XDG_CONFIG_HOME=$h QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none "$1" $p ${p:+$h/课件.hvx} 2>"$h/err" &
  pid=$! && w=$(timeout 60 xdotool search --sync --onlyvisible --pid $pid --name '^Halvix$')
  box=$?
  for _ in $(seq $((box ? 0 : 60))); do
    kill -0 $pid 2>/dev/null || break
    timeout 5 xdotool windowfocus --sync $w key Return 2>/dev/null; sleep 0.5
  done
  kill -9 $pid 2>/dev/null; wait $pid
  status=$? && [ $box$status = 01 ] && grep -qx '无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，或安装Mesa软件渲染器（libgl1-mesa-dri）。' "$h/err" ||
    { echo "FAILED ($p): box $box, status $status, $(cat "$h/err")" >&2; exit 1; }
  for platform in offscreen minimal; do
    HOME=$h XDG_CONFIG_HOME=$h QT_QPA_PLATFORM=$platform timeout 60 "$1" $p ${p:+$h/课件.hvx} 2>"$h/err"
    status=$? && [ $status = 1 ] && grep -qx "无法启动Halvix：所设的Qt平台“$platform”（QT_QPA_PLATFORM）不能显示窗口。请在图形显示环境中启动Halvix。" "$h/err" ||
      { echo "FAILED ($platform $p): status $status, $(cat "$h/err")" >&2; exit 1; }
  done
done
