'use strict';
// The log panel: the lines up to the slider's time (and a few after, dimmed), filtered by the
// followed cop and by text; a click on a line moves the slider to its time.

V.LogPanel = class {
  constructor(list, replay, onPick) {
    this.list = list; this.r = replay; this.onPick = onPick;
    this.filterText = ''; this.ptr = null; this.key = '';
    list.addEventListener('click', e => {
      const li = e.target.closest('li');
      if (li) this.onPick(Number(li.dataset.t), Number(li.dataset.i));
    });
  }
  setFilter(text) { this.filterText = text.toLowerCase(); this.key = ''; }
  setCop(ptrs) { this.ptr = ptrs; this.key = ''; }
  // Indexes of the lines passing the filters.
  candidates() {
    let idx;
    if (this.ptr) {
      const merged = new Set();
      for (const p of this.ptr) for (const i of this.r.byPed.get(p) || []) merged.add(i);
      idx = [...merged].sort((a, b) => a - b);
    } else idx = null;
    if (!this.filterText) return idx;
    const source = idx || this.r.log.map((_, i) => i);
    return source.filter(i => this.r.log[i].text.toLowerCase().includes(this.filterText));
  }
  render(t) {
    const log = this.r.log;
    const now = V.lastAtOrBefore(this.r.logTimes, t);
    const key = `${now}|${this.filterText}|${this.ptr}`;
    if (key === this.key) return this.shown;
    this.key = key;
    const idx = this.candidates();
    const count = idx ? idx.length : log.length;
    const at = i => (idx ? idx[i] : i);
    // Position of the last passing line at or before now.
    let lo = 0, hi = count - 1, last = -1;
    while (lo <= hi) { const mid = (lo + hi) >> 1; if (at(mid) <= now) { last = mid; lo = mid + 1; } else hi = mid - 1; }
    const from = Math.max(0, last - 150), to = Math.min(count, last + 1 + 20);
    const frag = document.createDocumentFragment();
    for (let k = from; k < to; k++) {
      const i = at(k), line = log[i], li = document.createElement('li');
      li.dataset.t = line.t; li.dataset.i = i;
      if (k > last) li.className = 'future';
      else if (now >= 0 && line.t === log[now].t) li.className = 'current';
      const ts = document.createElement('span'); ts.className = 't'; ts.textContent = (line.t / 1000).toFixed(3);
      li.append(ts, line.text);
      frag.append(li);
    }
    this.list.replaceChildren(frag);
    const current = this.list.querySelectorAll('li:not(.future)');
    if (current.length) current[current.length - 1].scrollIntoView({ block: 'nearest' });
    this.shown = last + 1;
    return this.shown;
  }
};
