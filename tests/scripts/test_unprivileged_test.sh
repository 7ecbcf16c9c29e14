#!/usr/bin/env bash
# The run of the tests as user nobody (scripts/test-unprivileged), on a build folder of one test of its
# own under a folder others may not pass through: it ends its tests and gives every folder its mode
# back when it is stopped or killed (and its tests' virtual display goes with them), or the next run
# does when it was killed together with its watcher; it reaches a build through a symbolic link, names
# what is missing or what nobody may not read, stops when nobody finds fewer tests than root, keeps the
# temporary and runtime folders of its tests inside its own work folder, made where it is told, and two
# runs under one closed folder keep it open until both have ended.
# Usage: test_unprivileged_test.sh SCRIPT   (exits 77, skipped, when not run as root)
set -uo pipefail
script=${1:?usage: test_unprivileged_test.sh SCRIPT}
[ "$(id -u)" -eq 0 ] || { echo "skipped: only root runs tests as another user"; exit 77; }
id -u nobody >/dev/null 2>&1 || { echo "skipped: there is no user nobody"; exit 77; }

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

top=$(mktemp -d /tmp/halvix-unprivileged-test.XXXXXX)
other= # the process that plays another run on the machine
clean_up() {
  if [ -n "$other" ]; then kill "$other" 2>/dev/null; wait "$other" 2>/dev/null; fi
  chmod -R u+rwx "$top" 2>/dev/null
  rm -rf "$top"
}
trap clean_up EXIT
chmod 755 "$top"
out=$top/out # what the test of the build writes, as nobody
mkdir -m 777 "$out"
# The runs make their work folders here, so that this test looks at theirs alone.
export HALVIX_UNPRIVILEGED_TMPDIR=$top/work
mkdir -m 755 "$HALVIX_UNPRIVILEGED_TMPDIR"

# Another run on the machine (another clone, a CI job) makes and removes work folders of its own in
# /tmp all the while: they are none of this test's business.  (It ends with this test, even one killed
# outright.)
(
  current='' next=''
  trap 'rm -rf "$current" "$next"; exit 0' TERM
  while kill -0 $$ 2>/dev/null; do
    next=$(mktemp -d /tmp/halvix-unprivileged.XXXXXX)
    rm -rf "$current"
    current=$next next=
    sleep 0.2
  done
  rm -rf "$current"
) &
other=$!

# A build folder under $top/closed (mode 0710: others may not pass) whose one test notes its process,
# the temporary and runtime folders and the display it was given, then waits for `seconds` and notes
# that it ended.
make_build() { # seconds
  rm -rf "$top/closed"
  mkdir -p "$top/closed/clone/build"
  cat >"$top/closed/clone/build/CTestTestfile.cmake" <<EOF
add_test(waits "/bin/sh" "-c" "echo \$\$ >$out/pid; echo \"\$TMPDIR\" >$out/tmpdir; echo \"\$XDG_RUNTIME_DIR\" >$out/runtime; echo \"\$DISPLAY\" >$out/display; touch \"\$TMPDIR/left\"; exec sleep $1")
EOF
  chmod -R a+rX "$top/closed/clone"
  chmod 0710 "$top/closed"
  rm -f "$out"/*
}

wait_for() { # file seconds
  for _ in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

ended_within() { # pid seconds
  for _ in $(seq $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

work_folders() { find "$HALVIX_UNPRIVILEGED_TMPDIR" -mindepth 1 -maxdepth 1 | sort; }

# A display's socket: its inode, and the times it was made and last changed.  Another run's server may
# start on the same display number once this one has ended, and its socket may then have the inode of
# this one's again, but not its times.
socket_of() { # n
  stat -c %i-%.9W-%.9Z "/tmp/.X11-unix/X$1" 2>/dev/null
}

# The virtual display the running test was given: its number, the process in its lock file and its
# socket ("n pid socket"), so that what is looked at later is this display's alone.
display_of_test() {
  local n pid socket
  n=$(cat "$out/display") && n=${n#:} && n=${n%%.*}
  pid=$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")
  socket=$(socket_of "$n")
  [ -n "$n" ] && [ -n "$pid" ] && [ -n "$socket" ] && echo "$n $pid $socket"
}

# Whether a process runs still: a server that has ended has done with its files, even before its
# parent (or init, when that was ended first) has reaped it.
running() { # pid
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Whether the display's lock file or socket is still there once its server has gone: the lock file
# naming that server, or the socket it made.  A busy machine may keep a server that was told to end
# for a while yet, and what a server started later on the same display number holds is none of this
# test's business.  What is left is removed, so that no later run on the machine finds it.
display_left() { # "n pid socket" (from display_of_test)
  local n pid socket left=1
  read -r n pid socket <<<"$1"
  for _ in $(seq 300); do
    running "$pid" || break
    sleep 0.1
  done
  if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$pid" ]; then
    left=0
    running "$pid" || rm -f "/tmp/.X$n-lock"
  fi
  if [ "$(socket_of "$n")" = "$socket" ]; then
    left=0
    running "$pid" || rm -f "/tmp/.X11-unix/X$n"
  fi
  return "$left"
}

# The watcher of a run: the process of its own session the script started, named after the script's
# process.
watcher_of() { # script pid
  local p argv
  for p in /proc/[0-9]*; do
    mapfile -d '' -t argv 2>/dev/null <"$p/cmdline" || continue
    if [ "${argv[3]:-}" = watcher ] && [ "${argv[4]:-}" = "$1" ]; then
      echo "${p#/proc/}"
      return 0
    fi
  done
  return 1
}

# Ends a process group as the script ends its tests: TERM, and KILL for what is left after five seconds.
end_group() { # process group
  kill -TERM -- "-$1" 2>/dev/null || return 0
  for _ in $(seq 50); do
    kill -0 -- "-$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL -- "-$1" 2>/dev/null
}

# Removes what the runs' records still hold of the closed folder (a run that left it would fail its
# case), lest it outlive the folder.
forget_closed() {
  local state=/run/halvix-unprivileged key
  key=$(stat -c %d-%i "$top/closed" 2>/dev/null) || return 0
  [ -e "$state/$key.mode" ] || [ -e "$state/$key.lock" ] || return 0
  flock -x "$state/lock" rm -f "$state/$key.mode" "$state/$key.lock"
}

# Stopped by TERM or HUP (to it alone, as make passes a TERM on to the command it runs) or by INT (to
# its process group, as a terminal sends it), it ends the tests before it gives the folders their modes
# back.
for signal in TERM HUP INT; do
  make_build 60
  before=$(work_folders)
  # (a command started with & ignores INT unless told otherwise, and one started from a shell that
  # ignores hangups, as under nohup, ignores HUP: a signal ignored when bash starts cannot be trapped)
  setsid env --default-signal=INT,HUP "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1 &
  runner=$!
  if ! wait_for "$out/pid" 30; then
    fail "$signal: the test did not start"; cat "$top/log" >&2
    kill -KILL -- "-$runner" 2>/dev/null
    continue
  fi
  test_pid=$(cat "$out/pid")
  display=$(display_of_test) || fail "$signal: the test's display has no lock file or socket"
  if [ "$signal" = INT ]; then kill -INT -- "-$runner"; else kill -"$signal" "$runner"; fi
  ended_within "$runner" 10 || fail "$signal: the script went on"
  ended_within "$test_pid" 2 || { fail "$signal: the test went on after the script ended"; kill -KILL "$test_pid"; }
  [ "$(stat -c %a "$top/closed")" = 710 ] || fail "$signal: the closed folder has mode $(stat -c %a "$top/closed")"
  [ "$(work_folders)" = "$before" ] || fail "$signal: a work folder was left behind"
  if [ -n "$display" ] && display_left "$display"; then fail "$signal: the display's lock file or socket was left behind"; fi
done

# Killed outright, it has its watcher end the tests (their display with them) and give the modes back.
make_build 60
before=$(work_folders)
"$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1 &
runner=$!
if wait_for "$out/pid" 30; then
  test_pid=$(cat "$out/pid")
  tmpdir=$(cat "$out/tmpdir")
  display=$(display_of_test) || fail "KILL: the test's display has no lock file or socket"
  kill -KILL "$runner"
  ended_within "$test_pid" 5 || { fail "KILL: the test went on"; kill -KILL "$test_pid"; }
  for _ in $(seq 50); do [ "$(stat -c %a "$top/closed")" = 710 ] && break; sleep 0.1; done
  [ "$(stat -c %a "$top/closed")" = 710 ] || fail "KILL: the closed folder was left with mode $(stat -c %a "$top/closed")"
  for _ in $(seq 50); do [ "$(work_folders)" = "$before" ] && break; sleep 0.1; done
  [ "$(work_folders)" = "$before" ] || fail "KILL: a work folder was left behind"
  [ ! -e "$tmpdir/left" ] || fail "KILL: the test's temporary folder was left behind"
  if [ -n "$display" ] && display_left "$display"; then fail "KILL: the display's lock file or socket was left behind"; fi
else
  fail "KILL: the test did not start"; cat "$top/log" >&2
  kill -KILL "$runner" 2>/dev/null
fi

# Killed outright together with its watcher, a run leaves the closed folder open (711) and its record
# among the runs' records with no run holding it; the next run through the folder gives it its own
# mode back and keeps it so.
make_build 60
before=$(work_folders)
"$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1 &
runner=$!
watcher=
if wait_for "$out/pid" 30; then
  for _ in $(seq 50); do watcher=$(watcher_of "$runner") && break; sleep 0.1; done
fi
if [ -n "$watcher" ]; then
  test_pid=$(cat "$out/pid")
  display=$(display_of_test) || display=
  kill -KILL "$watcher" "$runner"
  wait "$runner" 2>/dev/null
  # Its tests run on in their session: ended here as its watcher would have ended them.
  killed_work=$(comm -13 <(echo "$before") <(work_folders))
  tests=$(cat "$killed_work/tests" 2>/dev/null) && end_group "$tests"
  ended_within "$test_pid" 1 || { fail "killed with its watcher: the test went on"; kill -KILL "$test_pid"; }
  if [ -n "$display" ]; then display_left "$display" >/dev/null; fi
  [ -n "$killed_work" ] && rm -rf "$killed_work"
  if [ "$(stat -c %a "$top/closed")" = 711 ]; then
    sed -i 's/exec sleep 60/exec sleep 0/' "$top/closed/clone/build/CTestTestfile.cmake"
    rm -f "$out"/*
    if ! "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1 || [ ! -s "$out/pid" ]; then
      fail "after a run killed with its watcher the next run failed"; cat "$top/log" >&2
    fi
    [ "$(stat -c %a "$top/closed")" = 710 ] ||
      fail "after a run killed with its watcher the next run left the closed folder with mode $(stat -c %a "$top/closed")"
  else
    fail "killed with its watcher, the run left the closed folder with mode $(stat -c %a "$top/closed"), not open"
  fi
  forget_closed
else
  fail "killed with its watcher: the test or its watcher did not start"; cat "$top/log" >&2
  kill -KILL "$runner" 2>/dev/null
fi

# A whole run: the test's temporary and runtime folders are the run's own, in the work folder made
# where it was told, and go with it.
make_build 0
before=$(work_folders)
if "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1; then
  tmpdir=$(cat "$out/tmpdir") runtime=$(cat "$out/runtime")
  case $tmpdir in "$HALVIX_UNPRIVILEGED_TMPDIR"/halvix-unprivileged.*/*) ;; *) fail "the test's TMPDIR is '$tmpdir'" ;; esac
  case $runtime in "$HALVIX_UNPRIVILEGED_TMPDIR"/halvix-unprivileged.*/*) ;; *) fail "the test's XDG_RUNTIME_DIR is '$runtime'" ;; esac
  [ ! -e "$tmpdir" ] || fail "the test's temporary folder was left behind"
  [ "$(work_folders)" = "$before" ] || fail "a work folder was left behind"
else
  fail "a whole run failed"; cat "$top/log" >&2
fi
[ "$(stat -c %a "$top/closed")" = 710 ] || fail "after a whole run the closed folder has mode $(stat -c %a "$top/closed")"

# A build reached through a symbolic link: the folders opened are those of the real path.
make_build 0
ln -sfn "$top/closed/clone" "$top/link"
if ! "$script" "$top/link/build" 1 >"$top/log" 2>&1; then
  fail "a build reached through a symbolic link did not run"; cat "$top/log" >&2
fi
[ -s "$out/pid" ] || fail "through a symbolic link the test did not run"
[ "$(stat -c %a "$top/closed")" = 710 ] || fail "through a symbolic link the closed folder was left with mode $(stat -c %a "$top/closed")"

# Without setpriv on PATH it says so, and opens nothing.
make_build 0
bin=$top/bin
mkdir -p "$bin"
for tool in bash env id stat chmod chown mkdir mktemp rm dirname nproc cat sleep setsid xvfb-run ctest tr seq; do
  path=$(command -v "$tool") && ln -sf "$path" "$bin/$tool"
done
PATH=$bin "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "without setpriv the run succeeded"
grep -q "setpriv" "$top/log" || { fail "without setpriv the message does not name it"; cat "$top/log" >&2; }
! grep -q "not readable" "$top/log" || fail "without setpriv the message blames the files"
[ "$(stat -c %a "$top/closed")" = 710 ] || fail "without setpriv the closed folder was left with mode $(stat -c %a "$top/closed")"

# A build folder nobody may read: the message names the file and the cause.
make_build 0
chmod o-r "$top/closed/clone/build/CTestTestfile.cmake"
if "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1; then fail "an unreadable build ran"; fi
grep -q "cannot read $top/closed/clone/build/CTestTestfile.cmake" "$top/log" ||
  { fail "an unreadable build is not named"; cat "$top/log" >&2; }

# A build of two folders, a test in each: both run; with the test file of one readable by root alone,
# or its folder closed to others, the run would leave that test out, so it fails and names the file
# or the folder.
make_two() {
  local build=$top/closed/clone/build name
  rm -rf "$top/closed"
  mkdir -p "$build/first" "$build/second"
  printf 'subdirs("first")\nsubdirs("second")\n' >"$build/CTestTestfile.cmake"
  for name in first second; do
    echo "add_test($name \"/bin/sh\" \"-c\" \"touch $out/$name\")" >"$build/$name/CTestTestfile.cmake"
  done
  chmod -R a+rX "$top/closed/clone"
  chmod 0710 "$top/closed"
  rm -f "$out"/*
}
second=$top/closed/clone/build/second
make_two
if "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1; then
  [ -e "$out/first" ] && [ -e "$out/second" ] || fail "of a build of two folders not both tests ran"
else
  fail "a build of two folders did not run"; cat "$top/log" >&2
fi
for hidden in "file:$second/CTestTestfile.cmake:600:cannot read" "folder:$second:700:cannot pass through"; do
  IFS=: read -r what path mode message <<<"$hidden"
  make_two
  chmod "$mode" "$path"
  if "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1; then
    fail "with a test $what of mode $mode the run passed"; cat "$top/log" >&2
  fi
  grep -q "$message $path\$" "$top/log" || { fail "the test $what of mode $mode is not named"; cat "$top/log" >&2; }
  [ "$(stat -c %a "$top/closed")" = 710 ] || fail "with a test $what of mode $mode the closed folder was left with mode $(stat -c %a "$top/closed")"
done

# A test file the check of the files passes by, named by subdirs() without quotes (as a test file
# written by hand may name it) and readable by root alone: CTest as nobody leaves its test out without
# a word, and the counts of the tests root and nobody find stop the run before any test runs.
make_two
printf 'subdirs(first)\nsubdirs(second)\n' >"$top/closed/clone/build/CTestTestfile.cmake"
chmod 600 "$second/CTestTestfile.cmake"
if "$script" "$top/closed/clone/build" 1 >"$top/log" 2>&1; then
  fail "with a test file the check of the files passes by the run passed"; cat "$top/log" >&2
fi
grep -q "user 'nobody' finds 1 of the build's 2 tests" "$top/log" ||
  { fail "a test nobody does not find is not said"; cat "$top/log" >&2; }
[ ! -e "$out/first" ] || fail "with a test nobody does not find the other test ran"
[ "$(stat -c %a "$top/closed")" = 710 ] || fail "with a test nobody does not find the closed folder was left with mode $(stat -c %a "$top/closed")"

# Two runs under one closed folder, on two builds: the first run opens it, the second starts while it
# is open, and its test reaches its build again only once the first run has ended (or been killed
# outright, and its watcher has done), and still may; the folder has its own mode back after both.
# The test of each build notes its process, waits until it is let go, then reads its build's test file.
make_shared() {
  local clone
  rm -rf "$top/closed"
  for clone in first second; do
    mkdir -p "$top/closed/$clone/build"
    cat >"$top/closed/$clone/build/CTestTestfile.cmake" <<EOF
add_test($clone "/bin/sh" "-c" "echo \$\$ >$out/$clone; for i in \$(seq 300); do [ -e $out/go-$clone ] && break; sleep 0.1; done; cat $top/closed/$clone/build/CTestTestfile.cmake >/dev/null")
EOF
  done
  chmod -R a+rX "$top/closed/first" "$top/closed/second"
  chmod 0710 "$top/closed"
  rm -f "$out"/*
}
for first_ends in "by itself" "killed outright"; do
  make_shared
  "$script" "$top/closed/first/build" 1 >"$top/log" 2>&1 &
  first_run=$!
  wait_for "$out/first" 30 || { fail "two runs ($first_ends): the first run's test did not start"; cat "$top/log" >&2; }
  "$script" "$top/closed/second/build" 1 >"$top/log2" 2>&1 &
  second_run=$!
  wait_for "$out/second" 30 || { fail "two runs ($first_ends): the second run's test did not start"; cat "$top/log2" >&2; }
  if [ "$first_ends" = "by itself" ]; then
    touch "$out/go-first"
    wait "$first_run" || { fail "two runs: the first run failed"; cat "$top/log" >&2; }
  else
    kill -KILL "$first_run"
    wait "$first_run" 2>/dev/null
    ended_within "$(cat "$out/first")" 10 || fail "two runs (killed outright): the first run's test went on"
    # its watcher is done when its work folder is gone, the second run's alone left
    for _ in $(seq 100); do [ "$(work_folders | wc -l)" -le 1 ] && break; sleep 0.1; done
  fi
  touch "$out/go-second"
  wait "$second_run" || { fail "two runs ($first_ends): the second run failed once the first had ended"; cat "$top/log2" >&2; }
  [ "$(stat -c %a "$top/closed")" = 710 ] || fail "after two runs ($first_ends) the closed folder has mode $(stat -c %a "$top/closed")"
  [ -z "$(work_folders)" ] || fail "after two runs ($first_ends) a work folder was left behind"
done

[ "$failures" -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
