# A 32-bit Wine for the i686 build: an i386 Debian root, kept apart from the host so that the
# host's wine64 and its 64-bit prefixes behave exactly as before (wine32 installed on the host
# would change what /usr/bin/wine runs and make every new 64-bit prefix start 32-bit processes).
# Source after common.sh.
#
# Facts this rests on (measured on machines of our kind):
# - Some kernels run i386 programs themselves and some answer "Exec format error". Where they do
#   not, qemu-user runs them through binfmt_misc, registered with the F flag so the interpreter is
#   opened at registration and also works inside the root, which has no x86_64 files of its own.
# - Debian 12's own qemu-user (7.2) needs about 50 s of CPU for each Wine process start; the
#   backports' 10.0 takes 0.7 s. Its package is unpacked, not installed.
# - The root's Wine server sockets live under the root's own /tmp: the host's /tmp is never bound
#   in, so they cannot meet the host's wine64.

QUELLIN_I386_ROOT="${QUELLIN_I386_ROOT:-/var/lib/quellin-i386}"
QUELLIN_I386_QEMU_DIR="${QUELLIN_I386_QEMU_DIR:-/var/lib/quellin-qemu}"
QUELLIN_I386_BINFMT=quellin-i386
# What the root holds. A change here makes setup build the root again.
# wine64:amd64 beside wine32 gives the mixed 64-bit prefix in which a 32-bit program sees the
# system folder through WoW64 redirection; amd64 programs run on any x86_64 kernel.
QUELLIN_I386_PACKAGES="wine wine32 libwine wine64:amd64 libwine:amd64 locales"
QUELLIN_I386_STAMP="bookworm; $QUELLIN_I386_PACKAGES; zh_CN.UTF-8 fr_FR.UTF-8"

# i386_mirror: the Debian mirror the host's own apt sources use.
i386_mirror() {
  local uri
  uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
          2>/dev/null | grep -v '^[[:space:]]*#' |
        sed -nE 's#^(URIs:[[:space:]]*|deb[[:space:]]+(\[[^]]*\][[:space:]]+)?)(https?://[^[:space:]]+/debian)/?([[:space:]].*)?$#\3#p' |
        grep -v -- '-security' | head -1)
  printf '%s\n' "${uri:-http://deb.debian.org/debian}"
}

# i386_in_root ROOT [--bind DIR]... COMMAND...: runs COMMAND inside ROOT, in a mount namespace of
# its own: /proc, /dev and /sys, and each DIR at its own path, are mounted there and vanish with
# the last process of the namespace, so an interrupted run leaves no mount behind. The current
# folder is kept when the root sees it. The command takes over this process (exit status,
# signals).
i386_in_root() {
  local root="$1"
  shift
  local binds=()
  while [ "${1:-}" = --bind ]; do
    binds+=("$2")
    shift 2
  done
  unshare --mount --propagation private -- /bin/sh -c '
    root="$1"; n="$2"; shift 2
    mount -t proc proc "$root/proc" && mount --rbind /dev "$root/dev" &&
      mount --rbind /sys "$root/sys" || exit 125
    while [ "$n" -gt 0 ]; do
      mkdir -p "$root$1" && mount --bind "$1" "$root$1" || exit 125
      shift; n=$((n - 1))
    done
    exec chroot "$root" /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$PWD" "$@"
  ' i386_in_root "$root" "${#binds[@]}" "${binds[@]}" "$@"
}

# i386_runs_natively: whether this kernel runs an i386 program by itself (a minimal static one,
# exit(0) through int 0x80, written out here so that the probe needs no 32-bit toolchain).
# A binfmt_misc entry of ours would answer for qemu, so it is switched off while probing.
i386_runs_natively() {
  local probe entry="/proc/sys/fs/binfmt_misc/$QUELLIN_I386_BINFMT" status=0 was_on=0
  probe=$(mktemp)
  # ELF header (52 bytes), one program header (32 bytes), then: xor ebx,ebx; mov eax,1; int 0x80.
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000%b%b%b' \
    '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' \
    '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' \
    '\061\333\270\001\000\000\000\315\200' >"$probe"
  chmod +x "$probe"
  if [ -f "$entry" ] && grep -qx enabled "$entry"; then
    was_on=1
    echo 0 | tee "$entry" >/dev/null
  fi
  "$probe" 2>/dev/null || status=1
  [ "$was_on" -eq 0 ] || echo 1 | tee "$entry" >/dev/null
  rm -f "$probe"
  return "$status"
}

# i386_qemu_ready: qemu-i386 10 from bookworm-backports, unpacked into QUELLIN_I386_QEMU_DIR and
# registered for i386 programs (F flag). The backports suite is read through an apt
# configuration of its own, so the host's apt sources and package lists stay as they were.
i386_qemu_ready() {
  local qemu="$QUELLIN_I386_QEMU_DIR/usr/bin/qemu-i386"
  if [ ! -x "$qemu" ]; then
    local apt_dir mirror deb
    apt_dir=$(mktemp -d)
    # apt downloads as its own unprivileged user.
    chmod 755 "$apt_dir"
    mirror=$(i386_mirror)
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"
    echo "deb $mirror bookworm-backports main" >"$apt_dir/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
                    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
                    -o "Dir::State::status=/dev/null" -o "APT::Get::List-Cleanup=0")
    mkdir -p "$apt_dir/cache"
    echo "setup: qemu-user from bookworm-backports (this kernel cannot run i386 programs)"
    apt-get "${apt_opts[@]}" update -qq || return 1
    (cd "$apt_dir" && apt-get "${apt_opts[@]}" download -qq qemu-user/bookworm-backports) ||
      return 1
    deb=$(ls "$apt_dir"/qemu-user_*.deb | head -1)
    rm -rf "$QUELLIN_I386_QEMU_DIR.partial"
    dpkg-deb -x "$deb" "$QUELLIN_I386_QEMU_DIR.partial" || return 1
    rm -rf "$QUELLIN_I386_QEMU_DIR"
    mv "$QUELLIN_I386_QEMU_DIR.partial" "$QUELLIN_I386_QEMU_DIR"
    rm -rf "$apt_dir"
    [ -x "$qemu" ] || { echo "setup: no qemu-i386 in the qemu-user package"; return 1; }
  fi
  if [ ! -f /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  fi
  if [ ! -f "/proc/sys/fs/binfmt_misc/$QUELLIN_I386_BINFMT" ]; then
    printf ':%s:M::%s:%s:%s:F\n' "$QUELLIN_I386_BINFMT" \
      '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
      '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
      "$qemu" | tee /proc/sys/fs/binfmt_misc/register >/dev/null || return 1
  fi
}

# i386_root_setup: makes the root once (about 3-5 minutes), and on later runs only checks it and
# restores the qemu registration a restart loses (seconds). Prints which way the kernel went.
i386_root_setup() {
  local root="$QUELLIN_I386_ROOT"
  local way=native
  # Mount namespaces and chroot: this part needs root itself, not a sudo per command.
  [ "$(id -u)" -eq 0 ] || { echo "setup: the 32-bit Wine's root needs root rights"; return 1; }
  if ! i386_runs_natively; then
    way=qemu
    i386_qemu_ready || { echo "setup: qemu-user for i386 programs failed"; return 1; }
  fi
  if [ -f "$root/.quellin-ready" ] && [ "$(cat "$root/.quellin-ready")" = "$QUELLIN_I386_STAMP" ]; then
    echo "setup: 32-bit Wine in $root ($way i386)"
    return 0
  fi
  local partial="$root.partial" mirror
  mirror=$(i386_mirror)
  echo "setup: making the i386 root for the 32-bit Wine in $root ($way i386, $mirror)"
  rm -rf "$partial" || return 1
  debootstrap --foreign --arch=i386 --variant=minbase --include=locales,ca-certificates \
    bookworm "$partial" "$mirror" >/dev/null || { echo "setup: debootstrap failed"; return 1; }
  cp /etc/resolv.conf "$partial/etc/resolv.conf" 2>/dev/null || true
  (i386_in_root "$partial" /debootstrap/debootstrap --second-stage) >/dev/null ||
    { echo "setup: debootstrap's second stage failed"; return 1; }
  sh -c "echo 'deb $mirror bookworm main' >'$partial/etc/apt/sources.list'"
  sh -c "sed -i 's/^# *\\(zh_CN\\|fr_FR\\).UTF-8 UTF-8/\\1.UTF-8 UTF-8/' '$partial/etc/locale.gen'"
  (i386_in_root "$partial" /bin/sh -c "
      export DEBIAN_FRONTEND=noninteractive
      dpkg --add-architecture amd64 &&
      apt-get update -qq &&
      apt-get install -y -qq --no-install-recommends $QUELLIN_I386_PACKAGES >/dev/null &&
      locale-gen >/dev/null && apt-get clean") ||
    { echo "setup: installing Wine into the i386 root failed"; return 1; }
  echo "$QUELLIN_I386_STAMP" | tee "$partial/.quellin-ready" >/dev/null
  rm -rf "$root" && mv "$partial" "$root"
  echo "setup: 32-bit Wine in $root ($way i386)"
}
