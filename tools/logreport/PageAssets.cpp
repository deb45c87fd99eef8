#include "tools/logreport/PageAssets.h"

namespace logreport {

const char kPageStyle[] = R"CSS(
:root { --fail: #c62828; --ok: #2e7d6b; --step: #7a8aa0; --proc: #3b6fb6; --open: #e08a00;
        --line: #e3e6ea; --text: #1d2430; --muted: #5c6675; }
* { box-sizing: border-box; }
body { margin: 0; font: 14px/1.4 "Segoe UI", Tahoma, Arial, sans-serif; color: var(--text); background: #f6f7f9; }
#page { display: flex; flex-direction: column; gap: 14px; padding: 16px 20px 40px; max-width: 1500px; margin: 0 auto; }
section, header { background: #fff; border: 1px solid var(--line); border-radius: 6px; padding: 12px 16px; }
h1 { font-size: 20px; margin: 0 0 4px; } h2 { font-size: 16px; margin: 0 0 8px; }
.muted { color: var(--muted); }
header { order: 0; } #timeline-section { order: 1; } #failures { order: 2; } #exports { order: 3; }
#procedures { order: 4; } #transport { order: 5; } #steps { order: 6; } #processes { order: 7; }
#notes { order: 8; } #logtext { order: 9; }
.badge { display: inline-block; padding: 2px 10px; border-radius: 12px; font-weight: 600; margin-right: 8px; }
.badge.fail { background: #fde8e8; color: var(--fail); } .badge.ok { background: #e4f4ef; color: var(--ok); }
.badge.warn { background: #fff3e0; color: #a15c00; }
table { border-collapse: collapse; width: 100%; font-size: 13px; }
th, td { padding: 3px 8px; border-bottom: 1px solid var(--line); text-align: right; white-space: nowrap; }
th { background: #f0f2f5; font-weight: 600; } td.name, th.name { text-align: left; width: 40%; }
tr.has-fail td.failed { color: var(--fail); font-weight: 700; }
tr:hover td { background: #f7f9fc; }
.controls { margin-bottom: 6px; } .controls button { margin-right: 4px; }
#timeline { position: relative; overflow-x: auto; overflow-y: hidden; border: 1px solid var(--line); background: #fbfcfd; }
#timeline-inner { position: relative; min-width: 100%; overflow: hidden; }
.axis { position: relative; height: 20px; overflow: hidden; border-bottom: 1px solid var(--line); font-size: 11px; color: var(--muted); }
.tick { position: absolute; top: 0; height: 20px; border-left: 1px solid #cfd5dc; padding-left: 3px; }
.track { position: relative; border-bottom: 1px dashed var(--line); }
.lane-box { position: absolute; top: 0; bottom: 0; background: rgba(59,111,182,0.04); border-left: 2px solid #b9c6d8; }
.lane-label { position: absolute; top: 1px; left: 4px; font-size: 11px; color: var(--muted); white-space: nowrap; }
.restart { position: absolute; top: 0; bottom: 0; border-left: 1px dashed #9aa5b1; }
.bar { position: absolute; height: 15px; min-width: 2px; border-radius: 2px; font-size: 11px; line-height: 15px;
       color: #fff; padding: 0 3px; overflow: hidden; white-space: nowrap; cursor: pointer; background: var(--ok); }
.bar.k-s { background: var(--step); } .bar.k-p { background: var(--proc); }
.bar.fail { background: var(--fail); box-shadow: 0 0 0 1px #7f1010 inset; }
.bar.open { background: repeating-linear-gradient(45deg, var(--open), var(--open) 4px, #f3b75a 4px, #f3b75a 8px); }
.bar.sel { outline: 2px solid #111; z-index: 2; }
.fail-mark { position: absolute; top: -2px; width: 0; height: 0; border-left: 5px solid transparent;
             border-right: 5px solid transparent; border-top: 7px solid var(--fail); margin-left: -5px; }
#details { margin-top: 8px; min-height: 20px; font-size: 13px; }
.legend span { display: inline-block; margin-right: 12px; font-size: 12px; }
.legend i { display: inline-block; width: 12px; height: 10px; margin-right: 4px; border-radius: 2px; vertical-align: middle; }
.failure { border-left: 4px solid var(--fail); padding: 4px 10px; margin: 8px 0; background: #fff8f8; }
.failure .chain { font-family: Consolas, "DejaVu Sans Mono", monospace; font-size: 12px; white-space: pre; overflow-x: auto; }
a.goto { color: #2359a6; cursor: pointer; text-decoration: underline; }
#logview { position: relative; height: 70vh; overflow: auto; border: 1px solid var(--line);
           font-family: Consolas, "DejaVu Sans Mono", monospace; font-size: 12px; background: #fff; }
#logwin { position: absolute; left: 0; right: 0; }
.r { height: 16px; line-height: 16px; white-space: pre; padding-right: 8px; }
.r .ln { display: inline-block; width: 70px; color: #98a1ad; text-align: right; padding-right: 8px; user-select: none; }
.r .pr { display: inline-block; width: 26px; color: #98a1ad; user-select: none; }
.r.k-e, .r.k-x { background: #fde8e8; color: #8e1515; font-weight: 600; }
.r.k-n, .r.k-o { color: #1b4f8a; } .r.k-t { color: #66707c; } .r.k-d { color: #7b6a4a; }
.r.k-b, .r.k-r { color: #5a3d8a; } .r.k-z { background: #fff3e0; color: #a15c00; }
.r.k-g, .r.k-f { color: #5c6675; font-style: italic; background: #f3f5f8; cursor: pointer; }
.r.sel { background: #fff7c2; } .r.sel.k-e, .r.sel.k-x { background: #ffd6c2; }
)CSS";

const char kPageScript[] = R"JS(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('kvt-timeline').textContent);
  var meanings = JSON.parse(document.getElementById('kvt-meanings').textContent);
  var rows = [];
  var chunks = document.querySelectorAll('script.kvt-rows');
  for (var c = 0; c < chunks.length; c++) {
    var part = JSON.parse(chunks[c].textContent);
    for (var k = 0; k < part.length; k++) rows.push(part[k]);
  }
  var MAXDEPTH = 5, ROW = 18, HEAD = 16, LH = 16;
  var lanes = data.lanes, ops = data.ops, laneById = {}, opById = {}, total = 1, tracks = 0;
  lanes.forEach(function (l) { laneById[l[0]] = l; total = Math.max(total, l[2] + l[3]); tracks = Math.max(tracks, l[1] + 1); });
  ops.forEach(function (o) { opById[o[0]] = o; });
  function esc(s) { return String(s).replace(/[&<>"]/g, function (ch) { return { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[ch]; }); }
  function ms(v) { return v >= 10000 ? (v / 1000).toFixed(1) + ' s' : v + ' ms'; }
  function pct(v) { return (100 * v / total) + '%'; }
  function label(o) { return o[7] ? o[7] : o[6]; }
  function meaning(r) { return meanings[String(r)] || 'passed on from the camera or its transport'; }

  // Timeline: one track per concurrently running process, frames by depth.
  var zoom = 1, selected = null;
  var tl = document.getElementById('timeline');
  var inner = document.createElement('div'); inner.id = 'timeline-inner'; tl.appendChild(inner);
  var axis = document.createElement('div'); axis.className = 'axis'; inner.appendChild(axis);
  var step = Math.pow(10, Math.floor(Math.log(total / 8) / Math.LN10));
  if (!(step > 0)) step = 1;
  if (total / step > 40) step *= 5; else if (total / step > 16) step *= 2;
  for (var t = 0; t < total * 0.97; t += step) {
    var tick = document.createElement('div'); tick.className = 'tick'; tick.style.left = pct(t);
    tick.textContent = ms(Math.round(t)); axis.appendChild(tick);
  }
  var depthOf = [];
  ops.forEach(function (o) { var l = laneById[o[2]]; if (l) depthOf[l[1]] = Math.max(depthOf[l[1]] || 0, Math.min(o[3], MAXDEPTH)); });
  var trackEls = [];
  for (var i = 0; i < tracks; i++) {
    var tr = document.createElement('div'); tr.className = 'track';
    tr.style.height = (HEAD + ((depthOf[i] || 0) + 1) * ROW + 4) + 'px';
    inner.appendChild(tr); trackEls.push(tr);
  }
  lanes.forEach(function (l) {
    var box = document.createElement('div'); box.className = 'lane-box';
    box.style.left = pct(l[2]); box.style.width = pct(Math.max(l[3], total / 2000));
    var name = document.createElement('div'); name.className = 'lane-label'; name.textContent = l[4] + (l[6] ? '' : ' (no unload banner)');
    box.appendChild(name); trackEls[l[1]].appendChild(box);
    l[5].forEach(function (r) { var m = document.createElement('div'); m.className = 'restart'; m.style.left = pct(l[2] + r); m.title = 'global timer restart'; trackEls[l[1]].appendChild(m); });
  });
  var barById = {};
  ops.forEach(function (o) {
    var l = laneById[o[2]]; if (!l || o[3] > MAXDEPTH) return;
    var failed = (o[9] & 1) && o[8] !== 0, open = !(o[9] & 1);
    var b = document.createElement('div');
    b.className = 'bar k-' + o[12] + (failed ? ' fail' : '') + (open ? ' open' : '');
    b.style.left = pct(l[2] + o[4]); b.style.width = pct(o[5] - o[4]);
    b.style.top = (HEAD + o[3] * ROW) + 'px';
    b.setAttribute('data-id', o[0]); b.setAttribute('data-name', o[6]);
    if (o[7]) b.setAttribute('data-procedure', o[7]);
    b.setAttribute('data-result', (o[9] & 1) ? o[8] : '');
    b.textContent = label(o);
    b.title = o[6] + (o[7] ? ' (' + o[7] + ')' : '') + ': ' + ms(o[5] - o[4]) + ((o[9] & 1) ? ', result ' + o[8] : ', no exit line');
    b.onclick = function () { select(o[0], true); };
    trackEls[l[1]].appendChild(b); barById[o[0]] = b;
    if (failed) { var m = document.createElement('div'); m.className = 'fail-mark'; m.style.left = pct(l[2] + o[5]); m.style.top = (HEAD + o[3] * ROW - 2) + 'px'; trackEls[l[1]].appendChild(m); }
  });
  function setZoom(z) { zoom = Math.max(1, Math.min(z, 4096)); inner.style.width = (zoom * 100) + '%'; }
  document.getElementById('zoom-in').onclick = function () { setZoom(zoom * 2); };
  document.getElementById('zoom-out').onclick = function () { setZoom(zoom / 2); };
  document.getElementById('zoom-fit').onclick = function () { setZoom(1); };

  // Log text: a window of rows over a spacer as high as all of them.
  var view = document.getElementById('logview');
  var spacer = document.createElement('div'); var win = document.createElement('div'); win.id = 'logwin';
  view.appendChild(spacer); view.appendChild(win);
  var onlyFailing = false, shown = [];
  function rebuild() {
    shown = [];
    for (var i = 0; i < rows.length; i++) { var k = rows[i][1]; if (!onlyFailing || k === 'e' || k === 'x' || k === 'g') shown.push(i); }
    spacer.style.height = (shown.length * LH) + 'px'; render();
  }
  function isSel(r) { return selected && r[2] === selected.lane && r[0] >= selected.first && r[0] <= selected.last; }
  function render() {
    var first = Math.max(0, Math.floor(view.scrollTop / LH) - 20);
    var last = Math.min(shown.length, first + Math.ceil((view.clientHeight || 600) / LH) + 40);
    var html = '';
    for (var i = first; i < last; i++) {
      var r = rows[shown[i]];
      html += '<div class="r k-' + r[1] + (isSel(r) ? ' sel' : '') + '" data-i="' + shown[i] + '"><span class="ln">' + r[0] +
              '</span><span class="pr">' + (r[2] || '') + '</span>' + esc(r[3]) + '</div>';
    }
    win.style.top = (first * LH) + 'px'; win.innerHTML = html;
  }
  var pending = false;
  view.addEventListener('scroll', function () { if (!pending) { pending = true; requestAnimationFrame(function () { pending = false; render(); }); } });
  win.addEventListener('click', function (e) {
    var el = e.target.closest('.r'); if (!el) return;
    var i = +el.getAttribute('data-i'), r = rows[i];
    if (r[1] === 'f' && r[4] && !r[5]) { r[5] = 1; Array.prototype.splice.apply(rows, [i + 1, 0].concat(r[4])); rebuild(); }
  });
  function goToLine(n) {
    var lo = 0, hi = shown.length;
    while (lo < hi) { var mid = (lo + hi) >> 1; if (rows[shown[mid]][0] < n) lo = mid + 1; else hi = mid; }
    view.scrollTop = Math.max(0, (lo - 3) * LH); render();
  }
  document.getElementById('only-failing').onchange = function (e) { onlyFailing = e.target.checked; rebuild(); };

  function select(id, scroll) {
    var o = opById[id]; if (!o) return;
    if (selected && barById[selected.id]) barById[selected.id].classList.remove('sel');
    selected = { id: id, lane: o[2], first: o[10], last: o[11] };
    if (barById[id]) barById[id].classList.add('sel');
    var d = document.getElementById('details');
    var res = (o[9] & 1) ? 'result ' + o[8] + ' (' + esc(meaning(o[8])) + ')' : 'no exit line';
    d.innerHTML = '<b>' + esc(o[6]) + (o[7] ? ' (' + esc(o[7]) + ')' : '') + '</b>: ' + res + ', ' + ms(o[5] - o[4]) +
      ((o[9] & 2) ? '' : ' (start estimated: no entry line)') + ', process ' + o[2] + ', lines ' + o[10] + '-' + o[11] +
      ' <a class="goto" data-line="' + o[10] + '">show in the log text</a>';
    if (scroll) goToLine(o[10]); else render();
  }
  document.addEventListener('click', function (e) {
    var a = e.target.closest('a.goto'); if (!a) return;
    e.preventDefault();
    var id = a.getAttribute('data-op');
    if (id && opById[id]) select(+id, false);
    goToLine(+a.getAttribute('data-line'));
    document.getElementById('logtext').scrollIntoView();
  });
  rebuild();
  document.getElementById('timeline-note').textContent = data.kept < data.total
    ? 'Showing ' + data.kept + ' of ' + data.total + ' frames: failures, unpaired and top-level frames first, then the longest.'
    : data.total + ' frames.';
})();
)JS";

}  // namespace logreport
