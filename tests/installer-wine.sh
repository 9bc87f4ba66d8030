#!/usr/bin/env bash
# The installer as a user meets it, in the sandbox prefix: the packages are
# made from this build (tools/package.sh --build; the installer of the
# build's architecture), the installer runs silently into a folder, the
# shortcuts must lead to the installed program, the installed soundboard
# plays a sound (the audio library's trace), and the uninstall key's
# UninstallString, confirmed with a click, must take the product away. The
# prefix's files and registry keys before the install and after the
# uninstall are compared: nothing of the product may be left but what the
# user added, with the folders holding it (and the machine identifier of a
# build that reports), which is listed.
#   tests/installer-wine.sh BUILD_DIR custom   folder with spaces and Chinese, no demo; the user
#                                              adds a sound and a binding, which stay; first the
#                                              installer refuses while the other architecture's
#                                              install is there (64-bit Wine only)
#   tests/installer-wine.sh BUILD_DIR default  the default folder, demo library chosen; the user
#                                              adds nothing, and nothing stays
# Screenshots and the traces stay in BUILD_DIR/installer-wine/<case>/.
set -euo pipefail
build=$(realpath "$1")
case_name=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh"
wine_select_arch_of "$build/bin/Quobly.exe"
case $QUOBLY_WINE_ARCH in
  win64) arch=x64 other_view=32 ;;
  win32) arch=x86 other_view= ;;  # a 32-bit prefix has one registry view
esac
export WINEPREFIX=$QUOBLY_SANDBOX_PREFIX
scale=${QUOBLY_TEST_TIMEOUT_SCALE:-1}
out=$build/installer-wine/$case_name
rm -rf "$out"
mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  import -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
source "$root/tests/wait-for.sh"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

"$root/tools/package.sh" --build "$build" --out "$out/dist" >"$out/package.log"
version=$(cat "$build/product-version.txt")
host=$(sed -n 's/^PVUNINSTALL_REPORT_HOST:[A-Z]*=//p' "$build/CMakeCache.txt")
lister=$root/build-native/record_list
[ -x "$lister" ] || cmake --build "$root/build-native" --target record_list >/dev/null ||
  fail "no native record_list: run tools/build-native.sh"

case $case_name in
  custom) install_win='C:\Quobly 测试\音效 板' options=() user_adds=1 ;;
  default) install_win='C:\Program Files\Quobly' options=(/DEMO) user_adds= ;;
  *) fail "unknown case $case_name" ;;
esac
drive_c=$WINEPREFIX/drive_c
unix_path() { local path=${1#C:\\}; echo "$drive_c/${path//\\//}"; }
install=$(unix_path "$install_win")
work_win='C:\quobly-install-test'
work=$(unix_path "$work_win")
categories=(主持音效 喊麦音效 搞笑音效)
product="Quobly 音效板"

# The prefix as it stands: its files (but this test's own folder) and the
# names of its registry keys.
snapshot_files() { (cd "$drive_c" && find . -path ./quobly-install-test -prune -o -print | sort); }
snapshot_keys() { cat "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" | sed -n 's/^\(\[[^]]*\]\).*/\1/p' | sort -u; }
wine_sandbox_join
wine_sandbox_release
rm -rf "$work" "$install"
mkdir -p "$work"
uninstall_keys() { grep -o '^\[Software\\\\\(Wow6432Node\\\\\)\?Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Quobly\]' "$WINEPREFIX/system.reg" || true; }
[ -z "$(uninstall_keys)" ] || fail "a product is installed already"

# The silent install. NSIS takes the rest of its command line after /D= as
# the folder, unquoted: Wine would quote one argument holding spaces, so the
# folder goes as several arguments that Wine joins with single spaces.
cp "$out/dist/Quobly-Setup-$version-$arch.exe" "$work/setup.exe"
read -r -a folder_words <<<"$install_win"
folder_words[0]=/D=${folder_words[0]}
run_installer() { (cd "$work" && wine "$work_win\\setup.exe" /S "${options[@]}" "${folder_words[@]}"); }

# The other architecture's install (its uninstall key in the other registry
# view) makes the installer refuse, silently with exit code 2, touching
# nothing.
if [ "$case_name" = custom ] && [ -n "$other_view" ]; then
  other_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quobly'
  wine reg add "$other_key" /v UninstallString /d '"C:\Program Files (x86)\Quobly\pvUninstall.exe"' \
    /reg:$other_view /f >/dev/null 2>&1 || fail "cannot add the other architecture's uninstall key"
  status=0
  run_installer || status=$?
  wine reg delete "$other_key" /reg:$other_view /f >/dev/null 2>&1 || fail "cannot delete the planted key"
  [ "$status" -eq 2 ] || fail "the installer did not refuse the other architecture's install (exit $status)"
  [ ! -e "$install" ] || fail "the refused installer made $install"
  no_keys() { [ -z "$(uninstall_keys)" ]; }
  wait_for 60 no_keys || fail "the planted key stays in the registry file"
fi

snapshot_files >"$out/files-before.txt"
snapshot_keys >"$out/keys-before.txt"
run_installer || fail "the installer failed"

installed=(Quobly.exe bass.dll pvUninstall.exe pvUninstall.dat)
for file in "${installed[@]}" 音效配置.ini; do [ -f "$install/$file" ] || fail "not installed: $file"; done
[ ! -e "$install/zlib1.dll" ] || fail "zlib1.dll installed: pvUninstall links zlib in"
for category in "${categories[@]}"; do [ -d "$install/$category" ] || fail "no category folder $category"; done
cmp -s "$install/Quobly.exe" "$build/bin/Quobly.exe" || fail "the installed Quobly.exe is not the build's"
demo_sounds=$(find "$install" -name '*.mp3' | wc -l)
if [ ${#options[@]} -gt 0 ]; then
  [ "$demo_sounds" -gt 0 ] || fail "the demo library was chosen but not installed"
else
  [ "$demo_sounds" -eq 0 ] || fail "the demo library was installed without being chosen"
fi

# The record, through the project's own reader: per-item mode, exactly the
# files laid down, with the folder chosen here; then, in this order, what the
# install made for the user to fill: the category folders, the binding file
# and the program folder.
"$lister" "$install/pvUninstall.dat" >"$out/record.txt"
{
  for category in "${categories[@]}"; do printf 'folder-if-empty %s\\%s\\\n' "$install_win" "$category"; done
  printf 'settings-if-empty %s\\音效配置.ini\n' "$install_win"
  printf 'folder-if-empty %s\\\n' "$install_win"
} >"$out/record-expected-last.txt"
{
  printf 'regkey Quobly\nproduct %s\nmenu Quobly\ninstalldir \nmode per-item\n' "$product"
  for file in "${installed[@]}"; do
    printf 'file %s\\%s\n' "$install_win" "$file"
  done
  (cd "$install" && find "${categories[@]}" -name '*.mp3' | sort) | while IFS= read -r sound; do
    printf 'file %s\\%s\n' "$install_win" "${sound//\//\\}"
  done
  cat "$out/record-expected-last.txt"
} >"$out/record-expected.txt"
diff <(sort "$out/record-expected.txt") <(sort "$out/record.txt") ||
  fail "the record does not list what the install laid down (record.txt)"
diff "$out/record-expected-last.txt" <(tail -n 5 "$out/record.txt") ||
  fail "the record does not end with what the install made for the user to fill, in order"

# Shortcuts where the uninstaller looks for them, each leading to the
# installed program (the shell link's own bytes, read here).
programs=$(find "$drive_c/users" -path '*/Start Menu/Programs/Quobly' -type d | head -n1)
[ -n "$programs" ] || fail "no start-menu folder"
python3 - "$install_win" "$programs/$product.lnk:Quobly.exe" "$programs/卸载 $product.lnk:pvUninstall.exe" \
  "$drive_c/users/Public/Desktop/$product.lnk:Quobly.exe" <<'PYTHON' || fail "a shortcut does not lead to the program"
import struct, sys
folder = sys.argv[1]
for argument in sys.argv[2:]:
    path, program = argument.rsplit(":", 1)
    data = open(path, "rb").read()
    flags = struct.unpack_from("<I", data, 20)[0]
    position = 76
    if flags & 0x1:  # a target ID list comes first
        position += 2 + struct.unpack_from("<H", data, position)[0]
    if not flags & 0x2:
        sys.exit(f"{path}: no link information")
    info = position
    header_size, info_flags, _, base_offset = struct.unpack_from("<IIII", data, info + 4)
    if header_size >= 0x24:
        start = info + struct.unpack_from("<I", data, info + 28)[0]
        end = start
        while data[end:end + 2] != b"\0\0":
            end += 2
        target = data[start:end].decode("utf-16-le")
    else:
        start = info + base_offset
        target = data[start:data.index(b"\0", start)].decode("gbk")
    expected = folder + "\\" + program
    if target.lower() != expected.lower():
        sys.exit(f"{path}: leads to {target!r}, not {expected!r}")
PYTHON

# The uninstall key, as the installer left it (the server writes its
# registry files within seconds of a change), in the installer's own view:
# the 64-bit one of a 64-bit prefix, the only one of a 32-bit prefix.
key_written() { [ -n "$(uninstall_keys)" ]; }
wait_for 60 key_written || fail "no uninstall key"
[ "$(uninstall_keys)" = '[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quobly]' ] ||
  fail "the uninstall key is not (only) in the installer's own registry view: $(uninstall_keys)"
key_values=$(awk '/^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Quobly\]/ { on = 1; next }
  on && /^$/ { exit } on' "$WINEPREFIX/system.reg")
echo "$key_values" >"$out/uninstall-key.txt"
for value in DisplayName DisplayVersion Publisher DisplayIcon UninstallString EstimatedSize NoModify NoRepair; do
  grep -q "^\"$value\"=" <<<"$key_values" || fail "the uninstall key has no $value"
done
grep -q "^\"DisplayVersion\"=\"$version\"" <<<"$key_values" || fail "DisplayVersion is not $version"
grep -q '^"NoModify"=dword:00000001' <<<"$key_values" || fail "NoModify is not 1"
# Wine writes strings beyond ASCII as \x escapes: the path's ASCII ends suffice.
uninstall_string=$(sed -n 's/^"UninstallString"="\(.*\)"$/\1/p' <<<"$key_values")
case $uninstall_string in
  \\\"C:*pvUninstall.exe\\\") ;;
  *) fail "UninstallString is $uninstall_string" ;;
esac

# What a user adds: a sound in a category folder, and a key bound to it in
# the binding file (GBK, as the soundboard writes it).
user_sound="$install/${categories[0]}/我的 音效.mp3"
binding_file=$install/音效配置.ini
if [ -n "$user_adds" ]; then
  "$root/tools/make-sounds.sh" tone 1 "$out/user.mp3" >/dev/null
  cp "$out/user.mp3" "$user_sound"
  printf '[热键]\r\nF2键=%s\\%s\\我的 音效.mp3\r\n' "$install_win" "${categories[0]}" | iconv -f UTF-8 -t GBK \
    >"$out/bindings.ini"
  cp "$out/bindings.ini" "$binding_file"
fi

# The installed soundboard plays the first sound of the first tab: the
# user's, or else the demo library's.
trace=$work/trace.txt
(cd "$install" && QUOBLY_BASS_TRACE="$work_win\\trace.txt" exec wine "$install_win\\Quobly.exe") &
pids+=($!)
quobly_window() { xdotool search --onlyvisible --name '^Quobly$' 2>/dev/null | head -n1; }
has_window() { [ -n "$(quobly_window)" ]; }
wait_for 120 has_window || fail "the installed soundboard shows no window"
played() { [ -f "$trace" ] && LC_ALL=C grep -q 'BASS_ChannelPlay' "$trace"; }
# The first button of the first tab, clicked until the window takes input
# (it ignores input while its opening animation runs).
for _ in $(seq 1 $((10 * scale))); do
  eval "$(xdotool getwindowgeometry --shell "$(quobly_window)")"
  xdotool mousemove $((X + 55)) $((Y + 125)) click 1
  wait_for 3 played && break
done
played || fail "a click on the first sound button played nothing"
import -window root "$out/soundboard.png" 2>/dev/null || true
first=$(LC_ALL=C sed -n 's/.*BASS_StreamCreateFile(mem=0, file="\([^"]*\)".*/\1/p' "$trace" | head -n1 | iconv -f GBK -t UTF-8)
case $first in
  "$install_win\\${categories[0]}\\"*.mp3) ;;
  *) fail "played $first, not a sound of the installed folder" ;;
esac
if [ -n "$user_adds" ] && [ "$first" != "$install_win\\${categories[0]}\\我的 音效.mp3" ]; then
  fail "played $first, not the user's sound"
fi
cp "$trace" "$out/trace.txt"
kill "${pids[@]}" 2>/dev/null || true
wait "${pids[@]}" 2>/dev/null || true
pids=()

# The uninstall key's command, confirmed with a click on "卸 载" (at 289,162
# of the dialog), until the uninstaller has taken the product away and
# deleted itself. Wine's registry files write a character beyond ASCII as
# \x and its UTF-16 code in hex.
uninstall_command=$(python3 -c '
import re, sys
escape = lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1)[0] == "x" and len(m.group(1)) > 1 else m.group(1)
print(re.sub(r"\\(x[0-9a-fA-F]{1,4}|.)", escape, sys.argv[1]))' "$uninstall_string")
[ "$uninstall_command" = "\"$install_win\\pvUninstall.exe\"" ] || fail "UninstallString is $uninstall_command"
uninstall_program=${uninstall_command//\"/}
(cd "$install" && exec wine "$uninstall_program") &
pids+=($!)
dialog() { xdotool search --onlyvisible --name '卸载程序' 2>/dev/null | head -n1; }
has_dialog() { [ -n "$(dialog)" ]; }
wait_for 120 has_dialog || fail "the uninstaller shows no dialog"
import -window root "$out/uninstaller.png" 2>/dev/null || true
uninstalled() { [ ! -e "$install/pvUninstall.exe" ] && [ ! -e "$install/Quobly.exe" ]; }
for _ in $(seq 1 $((10 * scale))); do
  has_dialog || break
  eval "$(xdotool getwindowgeometry --shell "$(dialog)")"
  xdotool mousemove $((X + 289)) $((Y + 162)) click 1
  wait_for 5 uninstalled && break
done
wait_for 300 uninstalled || fail "the uninstall left the programs: $(ls -A "$install")"
key_removed() { [ -z "$(uninstall_keys)" ]; }
wait_for 120 key_removed || fail "the uninstall key is still there"
wait "${pids[@]}" 2>/dev/null || true
pids=()
# The self-deletion batch removes the program folder last, then itself.
batch_done() { [ -z "$(find "$drive_c/windows" -maxdepth 2 -ipath '*/temp/pvuninstall-*.bat' 2>/dev/null)" ]; }
wait_for 60 batch_done || fail "the self-deletion batch did not end"

# Kept on purpose: what the user added (the sound and the binding), the
# folders holding them, and the program folder's parents. Without it nothing
# of the program folder is left.
if [ -n "$user_adds" ]; then
  [ -f "$user_sound" ] || fail "the uninstall deleted the user's sound"
  cmp -s "$out/bindings.ini" "$binding_file" || fail "the uninstall deleted or changed the user's binding"
  kept_files=$(
    relative=./${install#"$drive_c"/}
    parent=$relative
    while [ "$parent" != . ]; do
      echo "$parent"
      parent=${parent%/*}
    done
    echo "$relative/音效配置.ini"
    echo "$relative/${categories[0]}"
    echo "$relative/${categories[0]}/我的 音效.mp3"
  )
else
  [ ! -e "$install" ] || fail "the uninstall left the program folder: $(ls -A "$install")"
  kept_files=
fi
snapshot_files >"$out/files-after.txt"
snapshot_keys >"$out/keys-after.txt"
comm -13 "$out/files-before.txt" "$out/files-after.txt" >"$out/files-new.txt"
comm -13 "$out/keys-before.txt" "$out/keys-after.txt" >"$out/keys-new.txt"
left_files=$(grep -v -x -F -f <(echo "$kept_files") "$out/files-new.txt" || true)
left_keys=$(cat "$out/keys-new.txt")
if [ -n "$host" ]; then
  # A build that reports keeps the machine identifier its reports carry.
  left_keys=$(grep -v -i '^\[Software\\\\Parvane\]$' <<<"$left_keys" || true)
fi
# The prefix itself changes as Wine runs: only what names the product counts.
product_pattern='quobly|pvuninstall|parvane|音效|\.lnk$|windows/temp/.*\.bat$'
echo "$left_files" | grep -i -E "$product_pattern" && fail "files of the product left (above)"
echo "$left_keys" | grep -i -E "$product_pattern" && fail "registry keys of the product left (above)"
echo "kept on purpose:"
[ -z "$kept_files" ] || sed 's/^/  /' <<<"$kept_files"
[ -z "$host" ] || echo "  HKCU\\Software\\Parvane (the machine identifier of a build that reports to $host)"
if [ -n "$left_files$left_keys" ]; then
  echo "changed by Wine itself, not the product:"
  printf '%s\n%s\n' "$left_files" "$left_keys" | sed '/^$/d; s/^/  /'
fi
rm -rf "$install" "$work"
rmdir "${install%/*}" 2>/dev/null || true  # the custom case's own parent folder
echo "installer ($case_name): passed"
