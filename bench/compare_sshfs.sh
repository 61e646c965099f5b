#!/bin/sh
# A network share on a folder of 10,000 files: mounts it from localhost with sshfs (its
# own sshd on a spare port, throwaway host and user keys under a temp folder), times
# `lumara-cli list` against `ls -l` on the mount with hyperfine, and opens the share in
# Lumara's window through its node under "Network" (bench_window_listing): time to a full
# list, the longest pause of the window's event loop, the longest wait of a key press,
# and the window's start-up with the share mounted. Everything is unmounted and stopped
# at the end.
# sshfs keeps no directory cache here (dir_cache=no), so every run asks the server.
# usage: xvfb-run -a sh bench/compare_sshfs.sh [build folder] [file count]
#   On a busy machine the window's pauses are mostly waits for the CPU (the X server's
#   too): run it all as `nice -n -15 xvfb-run -a sh bench/compare_sshfs.sh ...`. The
#   window is opened WINDOW_RUNS times (3); each run prints its own figures.
# needs: openssh-server sshfs hyperfine (installed here when missing; run as root)
set -eu
BUILD=${1:-$(dirname "$0")/../build-release}
COUNT=${2:-10000}
PORT=${PORT:-22722}
RUNS=${RUNS:-10}
WINDOW_RUNS=${WINDOW_RUNS:-3}

for tool in lumara-cli bench/bench_window_listing; do
    [ -x "$BUILD/$tool" ] || { echo "$BUILD/$tool not found (build with benchmarks on)" >&2; exit 2; }
done
missing=
[ -x /usr/sbin/sshd ] || missing="$missing openssh-server"
command -v sshfs >/dev/null || missing="$missing sshfs"
command -v hyperfine >/dev/null || missing="$missing hyperfine"
if [ -n "$missing" ]; then
    echo "installing$missing" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing >/dev/null
fi

WORK=$(mktemp -d /tmp/lumara-sshfs.XXXXXX)
SHARE=$WORK/share
MOUNT=$WORK/mnt
cleanup() {
    fusermount -u "$MOUNT" 2>/dev/null || umount -l "$MOUNT" 2>/dev/null || true
    [ -f "$WORK/sshd.pid" ] && kill "$(cat "$WORK/sshd.pid")" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

mkdir -p "$SHARE" "$MOUNT" /run/sshd
python3 - "$SHARE" "$COUNT" <<'PY'
import os, sys
d, n = sys.argv[1], int(sys.argv[2])
exts = ["txt", "jpg", "doc", "mp3", "c", "HTML"]
for i in range(n):
    with open(os.path.join(d, "File_%d_%s.%s" % ((i * 7919) % n, chr(97 + i % 26), exts[i % 6])), "wb") as f:
        f.write(b"x" * (i % 100))
for sub in ("alpha", "beta", "gamma/inner"):
    os.makedirs(os.path.join(d, sub))
PY

ssh-keygen -q -t ed25519 -N '' -f "$WORK/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$WORK/user_key"
cp "$WORK/user_key.pub" "$WORK/authorized_keys"
cat >"$WORK/sshd_config" <<CONF
Port $PORT
ListenAddress 127.0.0.1
HostKey $WORK/host_key
PidFile $WORK/sshd.pid
AuthorizedKeysFile $WORK/authorized_keys
StrictModes no
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
PermitRootLogin prohibit-password
Subsystem sftp internal-sftp
CONF
/usr/sbin/sshd -f "$WORK/sshd_config" -E "$WORK/sshd.log"
sleep 0.5
sshfs -p "$PORT" -o IdentityFile="$WORK/user_key" -o StrictHostKeyChecking=no \
    -o UserKnownHostsFile=/dev/null -o BatchMode=yes -o dir_cache=no \
    "$(id -un)@localhost:$SHARE" "$MOUNT"
# The share is what the window and the command line see.
grep -q " $MOUNT fuse.sshfs " /proc/self/mounts || { echo "sshfs did not mount" >&2; exit 1; }

echo "share: $(id -un)@localhost:$SHARE on $MOUNT ($COUNT files, sshfs dir_cache=no)"
echo "lumara-cli drives shows it as:"
"$BUILD/lumara-cli" drives | grep "$MOUNT" | sed 's/^/    /'
hyperfine --warmup 1 --runs "$RUNS" -N \
    -n "lumara-cli list" "$BUILD/lumara-cli list $MOUNT" \
    -n "ls -l" "ls -l $MOUNT" \
    --export-markdown "$WORK/hyperfine.md" >/dev/null
cat "$WORK/hyperfine.md"
echo
echo "lumara window (the share opened through its node under \"Network\"):"
for run in $(seq "$WINDOW_RUNS"); do
    echo "  run $run:"
    "$BUILD/bench/bench_window_listing" "$MOUNT" 2>/dev/null | sed -n 's/^/    /; 1,8p'
done
