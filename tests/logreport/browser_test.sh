#!/usr/bin/env bash
# The report page in a real browser: the example program runs in a copy of the deploy
# folder with the camera refusing the release, KvtLogReport writes the page, headless
# Chromium loads it; the rendered DOM must hold the timeline's bars and the tables
# with the operations and the failure. A screenshot is kept for people to look at.
#
# Usage: browser_test.sh <deploy folder> <work folder> <artifacts folder> <wine loader>
# (the Wine environment comes from ctest)
set -uo pipefail
dist="$1" work="$2" artifacts="$3" loader="$4"
fail=0
check() {   # check <description> <command...>
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}

command -v chromium >/dev/null || { echo "FAILED: chromium is not installed (scripts/setup.sh installs it)"; exit 1; }
rm -rf "$work" && mkdir -p "$work" "$artifacts" || exit 1
cp -r "$dist" "$work/deploy" && rm -rf "$work/deploy/sdk" "$work/deploy/KvtDll.log" || exit 1
cd "$work/deploy" || exit 1
cat > KVTItoPTP.ini <<'INI'
[Cameras]
Count = 1
[Camera0]
ToolMode = 0xFFFFFFFF
JpegSize = 65536
RawSize = 131072
[Camera0.Public]
0x8000002F = 00 00 07 00
[Camera0.Procedures]
FA_RemoteRelease.Result = 1
INI

timeout 300 "$loader" factory_example.exe out >example.txt 2>&1
echo "factory_example exit code $? (1 expected: the release fails)"
check "the example ran its steps" grep -q '^KVT_CloseDevice = 0' example.txt
timeout 120 "$loader" KvtLogReport.exe KvtDll.log --html report.html >summary.txt 2>&1
check "KvtLogReport wrote the page" test -s report.html
check "the page loads nothing from outside" bash -c "! grep -Eiq '(src|href)=\"?(https?:)?//|@import|url\\(' report.html"

profile="$(mktemp -d)"
browser=(timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run
         --disable-background-networking --disable-component-update --disable-sync
         --user-data-dir="$profile" --window-size=1400,1800)
"${browser[@]}" --dump-dom "file://$PWD/report.html" >dom.html 2>chromium.txt
check "Chromium rendered the page" test -s dom.html
bar() { grep -Eq "<div class=\"bar [^\"]*\"[^>]* data-name=\"$1\"$2" dom.html; }
check "timeline bar of KVT_OpenDevice" bar KVT_OpenDevice ''
check "timeline bar of LoadPropertyData under its execute export" bar KVT_ExecuteEventProcS '[^>]* data-procedure="LoadPropertyData"'
check "LoadPropertyData's own frame nested under it" grep -Eq 'class="bar k-p[^"]*" data-id="[0-9]+" data-name="LoadPropertyData"[^>]* style="[^"]*top: 34px' dom.html
check "the release marked failed on the timeline" grep -Eq 'class="bar k-e fail"[^>]* data-name="KVT_ReleaseAndTransfer"[^>]* data-result="1"' dom.html
check "a failure mark drawn" grep -q 'class="fail-mark"' dom.html
check "exports table rows" grep -q '<tr data-name="KVT_OpenDevice"><td class="name">KVT_OpenDevice</td><td class="count">1</td>' dom.html
check "the failed release in the exports table" grep -q '<tr class="has-fail" data-name="KVT_ReleaseAndTransfer">' dom.html
check "procedures table holds LoadPropertyData" grep -q '<tr data-name="LoadPropertyData"><td class="name">LoadPropertyData</td><td class="count">1</td>' dom.html
check "the failure listed with its result" grep -q 'id="failure-count">1 failure' dom.html
check "the failure's chain up to the capture class" grep -q '\[ERR!\] - \[FUNC\] CSLRRemoteCapture::Transfer' dom.html
check "the log text rendered, failing lines marked" grep -q 'class="r k-e' dom.html

"${browser[@]}" --screenshot="$artifacts/logreport.png" "file://$PWD/report.html" >/dev/null 2>>chromium.txt
check "screenshot saved to $artifacts/logreport.png" test -s "$artifacts/logreport.png"
cp report.html "$artifacts/logreport.html" 2>/dev/null
rm -rf "$profile"
if [ $fail -ne 0 ]; then
  echo "--- summary"; cat summary.txt; echo "--- chromium"; tail -n 20 chromium.txt
fi
exit $fail
