#!/usr/bin/env bash
# Runs the built command-line program's status and settings commands against fresh
# folders and checks standard output, standard error, the exit status and the settings
# files byte for byte.
# Usage: status_settings_test.sh PATH/TO/talvoric
set -u
talvoric=${1:?usage: $0 PATH/TO/talvoric}
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run EXPECTED_STATUS ARGS...: runs talvoric, leaving its output in $work/out and $work/err.
run() {
  local expected=$1
  shift
  "$talvoric" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  [ "$status" -eq "$expected" ] || fail "talvoric $* exited $status, expected $expected; stderr: $(cat "$work/err")"
}

# same FILE EXPECTED_BYTES (printf format) WHAT
same() {
  printf "$2" >"$work/expected"
  cmp -s "$1" "$work/expected" || {
    fail "$3: got $(od -An -c "$1" | tr -s ' ' | head -c 300), expected $(od -An -c "$work/expected" | tr -s ' ' | head -c 300)"
  }
}

no_stderr() { [ ! -s "$work/err" ] || fail "$1: unexpected stderr: $(cat "$work/err")"; }

fresh() {
  dir="$work/$1"
  mkdir -p "$dir"
}

target_label='排他的論理和対象ファイル'
set_label='生成対象文字種'
count_label='生成文字数'
all_printable='!"#$%%&'"'"'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~'
others='!"#$%%&'"'"'()*+,-./:;<=>?@[\\]^_`{|}~'

# No settings files: the defaults, and neither command creates a file.
fresh empty
run 0 status --dir "$dir"
same "$work/out" "$target_label\nNONE.\n$set_label\n0123456789\nABCDEFGHIJKLMNOPQRSTUVWXYZ\nabcdefghijklmnopqrstuvwxyz\n$others\n$count_label\n1\n" "status without settings files"
no_stderr "status without settings files"
run 0 settings --dir "$dir"
same "$work/out" "$set_label\n\n$count_label:\n1\n" "settings without settings files"
no_stderr "settings without settings files"
[ -z "$(ls -A "$dir")" ] || fail "showing created files: $(ls -A "$dir")"

# OK without changes writes an empty set and the count 1.
run 0 settings --dir "$dir" --count 1
same "$dir/establish_type.txt" "" "type file after OK without changes"
same "$dir/establish_size.txt" "1" "size file after OK without changes"

# The files' state as the dialog opens with it, and as the panel shows it.
fresh prepared
printf 'BA\r\n' >"$dir/establish_type.txt"
printf '0016' >"$dir/establish_size.txt"
run 0 settings --dir "$dir"
same "$work/out" "$set_label\nAB\n$count_label:\n16\n" "settings with prepared files"
run 0 status --dir "$dir"
same "$work/out" "$target_label\nNONE.\n$set_label\nAB\n$count_label\n0016\n" "status with prepared files"
same "$dir/establish_type.txt" "BA\r\n" "showing leaves the type file"
same "$dir/establish_size.txt" "0016" "showing leaves the size file"

# Size file contents: the dialog's value and the panel's count line differ by rule
# (the panel shows a value's content unchanged, line end included).
for case in '70000|65535|65536' '16\r\n|1|16\n' '12abc|1|12abc' '|1|1' '0|1|1' '1.5|1|1.5'; do
  IFS='|' read -r content field line <<<"$case"
  printf "$content" >"$dir/establish_size.txt"
  run 0 settings --dir "$dir"
  same "$work/out" "$set_label\nAB\n$count_label:\n$field\n" "settings with size file '$content'"
  run 0 status --dir "$dir"
  same "$work/out" "$target_label\nNONE.\n$set_label\nAB\n$count_label\n$line\n" "status with size file '$content'"
done

# Edits: all or none first, then --enable, then --disable; the count by the field rule.
fresh edits
run 0 settings --dir "$dir" --enable-all --count 000012
same "$dir/establish_type.txt" "$all_printable" "ENABLE ALL"
same "$dir/establish_size.txt" "65535" "count field 000012"
same "$work/out" "$set_label\n$all_printable\n$count_label:\n65535\n" "the new state after ENABLE ALL"
run 0 settings --dir "$dir" --disable-all --enable 'z~"&\' --disable '~' --count 00012
same "$dir/establish_type.txt" '"&\\z' "DISABLE ALL, then enable, then disable"
same "$dir/establish_size.txt" "12" "count field 00012"
run 0 settings --dir "$dir" --enable A --disable A --count 12abc
same "$dir/establish_type.txt" '"&\\z' "disable comes after enable"
same "$dir/establish_size.txt" "12" "count field 12abc"
run 0 settings --dir "$dir" --disable-all --count 0
same "$dir/establish_type.txt" "" "DISABLE ALL"
same "$dir/establish_size.txt" "1" "count field 0"
run 0 settings --dir "$dir" --enable 7 --count ' 5'
same "$dir/establish_size.txt" "1" "count field with a leading space"
run 0 status --dir "$dir"
same "$work/out" "$target_label\nNONE.\n$set_label\n7\n$count_label\n1\n" "status after the edits"
# The field holds 127 characters: a digit typed after 127 zeros is lost.
zeros=$(printf '0%.0s' $(seq 127))
run 0 settings --dir "$dir" --count "${zeros}5"
same "$dir/establish_size.txt" "1" "count field of 127 zeros and a 5"
run 0 settings --dir "$dir" --count "${zeros:1}5"
same "$dir/establish_size.txt" "65535" "count field of 126 zeros and a 5"

# Usage errors: exit 2, one line on standard error, nothing written.
printf 'keep' >"$dir/establish_type.txt"
printf '42' >"$dir/establish_size.txt"
for bad in 'a b' "$(printf 'a\tb')" 'é' "$(printf '\x7f')"; do
  run 2 settings --dir "$dir" --enable "$bad"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "--enable '$bad': expected one line on stderr, got: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "--enable '$bad': output on stdout"
  run 2 settings --dir "$dir" --disable "$bad"
done
run 2 settings --dir "$dir" --enable-all --disable-all
same "$dir/establish_type.txt" "keep" "usage errors leave the type file"
same "$dir/establish_size.txt" "42" "usage errors leave the size file"
run 2 status --dir "$work/no-such-folder"
run 2 settings --dir "$work/no-such-folder" --enable a

# A settings file that cannot be replaced: exit 1 with a message, the old files kept.
fresh blocked
mkdir "$dir/establish_type.txt"
printf '42' >"$dir/establish_size.txt"
run 1 settings --dir "$dir" --enable a --count 7
[ -s "$work/err" ] || fail "a failed write says nothing"
[ -d "$dir/establish_type.txt" ] || fail "the blocking folder was replaced"

# The target line: the name, shortened past 36 bytes, or NONE. when it cannot be read.
fresh target
target="$dir/a-target-file-with-a-long-name.bin"
printf 'xyz' >"$target"
printf '%s' "$target" >"$dir/establish_xor.txt"
run 0 status --dir "$dir"
shortened="${target:0:15}～${target: -15}"
printf '%s\n' "$target_label" "$shortened" "$set_label" 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ \
  abcdefghijklmnopqrstuvwxyz '!"#$%&'"'"'()*+,-./:;<=>?@[\]^_`{|}~' "$count_label" 1 >"$work/expected"
cmp -s "$work/out" "$work/expected" || fail "status with a target file: got $(head -n 2 "$work/out" | tail -n 1), expected $shortened"
[ "${#shortened}" -lt "${#target}" ] || fail "the target name was not shortened"
rm "$target"
run 0 status --dir "$dir"
[ "$(sed -n 2p "$work/out")" = "NONE." ] || fail "a deleted target shows $(sed -n 2p "$work/out")"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "status and settings: all checks passed"
