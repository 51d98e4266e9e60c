#!/usr/bin/env bash
# Runs make targets of a fresh clone, warnings as errors, inside a Debian 13
# root: the same commands a new user runs, on the current stable release
# beside the machine's own.
#   scripts/test-debian13.sh [TARGET...]   (default: test test-windows windows-package test-web check-deb)
# The root is made once with debootstrap from this machine's own apt source
# and kept between runs in LINTERP_DEBIAN13_ROOT (default
# /var/cache/linterp/debian13); delete that folder to start afresh. The clone
# is of the commit checked out here. Needs root, for debootstrap and chroot.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
root=${LINTERP_DEBIAN13_ROOT:-/var/cache/linterp/debian13}
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(test test-windows windows-package test-web check-deb)

fail() { echo "test-debian13: $*" >&2; exit 1; }

if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null 2>&1 || fail "needs root (debootstrap and chroot) and there is no sudo"
    exec sudo --preserve-env=LINTERP_DEBIAN13_ROOT "$0" "$@"
fi
command -v apt-get >/dev/null 2>&1 || fail "needs a Debian machine with apt-get, to read its apt source and to install debootstrap"
if ! command -v debootstrap >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap \
        || fail "debootstrap is missing and could not be installed (Debian package debootstrap)"
fi

# This machine's Debian archive and security archive, as its apt knows them.
source_of() { # LABEL -> the first URI whose release has that label
    apt-get indextargets --format '$(LABEL) $(REPO_URI)' 2>/dev/null | awk -v l="$1" '$1 == l { print $2; exit }'
}
archive=$(source_of Debian)
security=$(source_of Debian-Security)
[[ -n "$archive" ]] || fail "this machine's apt has no Debian archive to make the root from (run apt-get update first?)"

if [[ ! -f "$root/.linterp-debian13" ]]; then
    echo "test-debian13: making a Debian 13 root in $root from $archive"
    rm -rf "$root"
    mkdir -p "$root"
    debootstrap --variant=minbase --include=make,ca-certificates trixie "$root" "$archive" >"$root.log" 2>&1 \
        || { tail -n 20 "$root.log" >&2; fail "debootstrap could not make the root (no network, or no trixie on $archive); see $root.log"; }
    {
        echo "deb $archive trixie main"
        echo "deb $archive trixie-updates main"
        [[ -z "$security" ]] || echo "deb $security trixie-security main"
    } >"$root/etc/apt/sources.list"
    touch "$root/.linterp-debian13"
fi
grep -q '^13' "$root/etc/debian_version" || fail "$root holds Debian $(cat "$root/etc/debian_version"), not 13"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -R -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
bind() { # what, where, mount options
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounted+=("$root$2")
}
bind proc /proc -t proc
bind sysfs /sys -t sysfs
bind /dev /dev --rbind --make-rslave

clone=/root/linterp
rm -rf "${root:?}$clone"
git clone --quiet --no-local "$here" "$root$clone"
git -C "$root$clone" checkout --quiet "$(git -C "$here" rev-parse HEAD)"

echo "test-debian13: Debian $(cat "$root/etc/debian_version"): make ${targets[*]} WERROR=ON in a fresh clone"
chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 CI="${CI:-}" TERM=dumb DEBIAN_FRONTEND=noninteractive \
    bash -c 'set -e; cd "$1"; shift; apt-get update -q >/dev/null; for target; do
                 start=$SECONDS; make "$target" WERROR=ON; echo "test-debian13: make $target took $((SECONDS - start)) s"; done' \
    bash "$clone" "${targets[@]}"
echo "test-debian13: passed on Debian $(cat "$root/etc/debian_version")"
