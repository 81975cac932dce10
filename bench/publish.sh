#!/usr/bin/env bash
# Publish benchmark: the 1,250-document site sent over SFTP to OpenSSH's server on the loopback,
# against rsync -a over ssh to the same server in the same run: the first publish to an empty
# folder (target: within 1.5 times rsync's time) and the publish after one edit and a
# regeneration (target: under 1 s and at most rsync's time). Medians of RUNS runs.
#
# usage: [RUNS=3] bench/publish.sh   (from anywhere; installs what is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
for tool in python3 rsync ssh ssh-keygen /usr/sbin/sshd; do
  command -v "$tool" >/dev/null 2>&1 || {
    install_packages python3 rsync openssh-client openssh-server
    break
  }
done
build_release_cli
runs="${RUNS:-3}"

work="$(mktemp -d)"
sshd_pid=""
cleanup() {
  [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

python3 bench/make_site.py "$work/site" 25 50 >/dev/null
site="$work/site/pentrak"
"$cli" --home "$work/home" generate "$site/site.web" --create-subdirectories --quiet >/dev/null
# The template links to pages the project does not generate; they are put beside the documents
# so that the site checks clean and each publish pays for its link check, as a real one does.
for page in $(grep -oh 'href="/page[0-9]*\.html"' "$site/out/f000/d000.html" | sort -u | cut -d'"' -f2); do
  echo "<p>${page#/}</p>" >"$site/out$page"
done
"$cli" --home "$work/home" check "$site/site.web" >/dev/null

# The server: host and user keys of its own, on a free loopback port. Run by root it needs its
# privilege-separation folder, which a service start would make.
keys="$work/keys"
mkdir -p "$keys"
ssh-keygen -q -t ed25519 -N "" -f "$keys/host" -C host
ssh-keygen -q -t ed25519 -N "" -f "$keys/user" -C user
cp "$keys/user.pub" "$keys/authorized_keys"
[ "$(id -u)" -eq 0 ] && mkdir -p /run/sshd
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
cat >"$keys/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port $port
HostKey $keys/host
PidFile $keys/sshd.pid
AuthorizedKeysFile $keys/authorized_keys
StrictModes no
PermitRootLogin yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM yes
PrintMotd no
MaxStartups 50
Subsystem sftp internal-sftp
EOF
/usr/sbin/sshd -D -f "$keys/sshd_config" -E "$keys/sshd.log" &
sshd_pid=$!
for _ in $(seq 100); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1',$port))" 2>/dev/null && break
  sleep 0.05
done
echo "[127.0.0.1]:$port $(cat "$keys/host.pub")" >"$keys/known_hosts"
user="$(id -un)"
ssh_command="ssh -p $port -i $keys/user -o UserKnownHostsFile=$keys/known_hosts -o BatchMode=yes"

now() { date +%s.%N; }
elapsed() { python3 -c "print(f'{$2 - $1:.3f}')"; }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

publish() { # destination folder
  "$cli" --home "$work/home" publish "$site/site.web" --to "sftp://$user@127.0.0.1:$port$1" \
    --key-file "$keys/user" --known-hosts "$keys/known_hosts" >/dev/null
}
mirror() { # destination folder
  rsync -a -e "$ssh_command" "$site/out/" "$user@127.0.0.1:$1/"
}
timed() { # command...
  local start end
  start="$(now)"
  "$@"
  end="$(now)"
  elapsed "$start" "$end"
}

first_publish=()
first_rsync=()
edit_publish=()
edit_rsync=()
for run in $(seq "$runs"); do
  rm -rf "$work/to-publish" "$work/to-rsync" "$work/home/temp"/publish-*.txt
  mkdir -p "$work/to-publish" "$work/to-rsync"
  first_publish+=("$(timed publish "$work/to-publish")")
  first_rsync+=("$(timed mirror "$work/to-rsync")")
  # One content file edited, the project regenerated: one document changes.
  sed -i "s/Paragraph 1 of document 25 in folder 12[^.]*\./Paragraph 1 of document 25 in folder 12, edit $run./" \
    "$site/src/f012/d025.par"
  "$cli" --home "$work/home" generate "$site/site.web" --modified-only --quiet >/dev/null
  edit_publish+=("$(timed publish "$work/to-publish")")
  edit_rsync+=("$(timed mirror "$work/to-rsync")")
  diff -r "$site/out" "$work/to-publish" >/dev/null || { echo "publish left a difference" >&2; exit 1; }
done
# rsync's server is started through the login shell, SFTP's is not: how long that start takes
# here, from a login that runs a command against one that opens the SFTP subsystem.
logins=()
subsystems=()
for _ in 1 2 3; do
  logins+=("$(timed $ssh_command "$user@127.0.0.1" true)")
  subsystems+=("$(timed $ssh_command -s "$user@127.0.0.1" sftp </dev/null)")
done
shell_start="$(python3 -c "print(f'{max(0.0, $(median "${logins[@]}") - $(median "${subsystems[@]}")):.3f}')")"

echo "== 1,250 documents ($(du -sh "$site/out" | cut -f1)), loopback SFTP, median of $runs runs"
printf '%-28s %8s s   (runs: %s)\n' "first publish, pentrak-cli" "$(median "${first_publish[@]}")" "${first_publish[*]}"
printf '%-28s %8s s   (runs: %s)\n' "first publish, rsync -a" "$(median "${first_rsync[@]}")" "${first_rsync[*]}"
printf '%-28s %8s s   (runs: %s)\n' "one edit, pentrak-cli" "$(median "${edit_publish[@]}")" "${edit_publish[*]}"
printf '%-28s %8s s   (runs: %s)\n' "one edit, rsync -a" "$(median "${edit_rsync[@]}")" "${edit_rsync[*]}"
echo "(the login shell of $user takes $shell_start s to start here; rsync pays it, SFTP does not)"
echo "load: $(uptime)"
