'use strict';
// The log panel: every line passing the filters (the followed cop, the text), the ones after the
// slider's time dimmed, kept scrolled to the latest line. Only the lines in view exist in the page,
// so a run of any length costs the same to show; a click on a line moves the slider to its time.

V.LogPanel = class {
  constructor(list, replay, onPick) {
    this.list = list;
    this.scroller = list.parentElement;
    this.r = replay;
    this.onPick = onPick;
    this.filterText = '';
    this.ptr = null;
    this.lineHeight = 17;
    this.idx = undefined;
    this.last = -1;
    this.now = -1;
    this.painted = '';
    list.addEventListener('click', e => {
      const li = e.target.closest('li');
      if (li) this.onPick(Number(li.dataset.t), Number(li.dataset.i));
    });
    this.scroller.addEventListener('scroll', () => this.paint());
  }
  setFilter(text) {
    this.filterText = text.toLowerCase();
    this.idx = undefined;
  }
  setCop(ptrs) {
    this.ptr = ptrs;
    this.idx = undefined;
  }
  // Indexes of the lines passing the filters, or null for all of them.
  candidates() {
    if (this.idx !== undefined) return this.idx;
    let idx = null;
    if (this.ptr) {
      const merged = new Set();
      for (const p of this.ptr) for (const i of this.r.byPed.get(p) || []) merged.add(i);
      idx = [...merged].sort((a, b) => a - b);
    }
    if (this.filterText) {
      const source = idx || this.r.log.map((_, i) => i);
      idx = source.filter(i => this.r.log[i].text.toLowerCase().includes(this.filterText));
    }
    this.idx = idx;
    return idx;
  }
  count() {
    const idx = this.candidates();
    return idx ? idx.length : this.r.log.length;
  }
  lineAt(k) {
    const idx = this.candidates();
    return idx ? idx[k] : k;
  }
  // Shows the log at time t; returns how many passing lines were written by then.
  render(t) {
    const now = V.lastAtOrBefore(this.r.logTimes, t),
      count = this.count();
    let lo = 0,
      hi = count - 1,
      last = -1;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (this.lineAt(mid) <= now) {
        last = mid;
        lo = mid + 1;
      } else hi = mid - 1;
    }
    const height = count * this.lineHeight;
    if (this.list.style.height !== `${height}px`) this.list.style.height = `${height}px`;
    if (last !== this.last || now !== this.now) {
      this.last = last;
      this.now = now;
      const view = this.scroller.clientHeight;
      this.scroller.scrollTop = Math.max(0, (last + 1) * this.lineHeight - view);
    }
    this.paint();
    return last + 1;
  }
  paint() {
    const lh = this.lineHeight,
      view = this.scroller.clientHeight || 400,
      count = this.count();
    const first = Math.max(0, Math.floor(this.scroller.scrollTop / lh));
    const to = Math.min(count, first + Math.ceil(view / lh) + 1);
    const key = `${first}|${to}|${this.last}|${this.now}|${this.filterText}|${this.ptr}`;
    if (key === this.painted) return;
    this.painted = key;
    // The rows in view are kept and rewritten in place: only what changed costs the page work.
    const log = this.r.log,
      now = this.now,
      rows = this.list.children;
    while (rows.length < to - first) {
      const li = document.createElement('li'),
        ts = document.createElement('span');
      ts.className = 't';
      li.append(ts, document.createTextNode(''));
      this.list.append(li);
    }
    while (rows.length > to - first) this.list.lastChild.remove();
    for (let k = first; k < to; k++) {
      const i = this.lineAt(k),
        line = log[i],
        li = rows[k - first];
      V.put(li.dataset, 't', String(line.t));
      V.put(li.dataset, 'i', String(i));
      V.put(li.style, 'top', `${k * lh}px`);
      V.put(li, 'className', k > this.last ? 'future' : now >= 0 && line.t === log[now].t ? 'current' : '');
      V.put(li.firstChild, 'textContent', (line.t / 1000).toFixed(3));
      V.put(li.lastChild, 'data', line.text);
    }
  }
};
