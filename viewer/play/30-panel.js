'use strict';
// The play's own panel above the followed cop: the state of the run, the keys, saving the play, and
// the settings with the comparison a change of them brings.

V.el = function el(tag, props, children) {
  const e = Object.assign(document.createElement(tag), props || {});
  for (const c of children || []) e.append(c);
  return e;
};

V.PlayPanel = class {
  constructor(side) {
    const el = V.el;
    this.state = el('div', { id: 'play-state' });
    this.message = el('div', { id: 'play-message' });
    this.compare = el('ul', { id: 'play-compare' });
    this.keep = el('input', { id: 'play-keep', type: 'checkbox', checked: true });
    this.ended = el('div', { id: 'play-ended', hidden: true });
    this.table = el('table', { id: 'play-settings-table' });
    this.filter = el('input', {
      id: 'play-settings-filter',
      type: 'search',
      placeholder: 'filter: part of a key or its meaning',
    });
    this.settings = el('div', { id: 'play-settings', hidden: true }, [
      this.filter,
      el('div', { className: 'scroll' }, [this.table]),
      el('button', { id: 'play-apply', type: 'button', textContent: 'apply: play it again with these settings' }),
    ]);
    const help =
      'arrows / WASD walk (Shift: run; in a car: drive) · E get in or out · F fire · F10 the plugin’s key · ';
    this.root = el('div', { id: 'play-panel' }, [
      this.state,
      el('div', {
        className: 'help',
        textContent: help + 'space pause · . one frame · map: drag to pan, wheel to zoom, click a cop to follow him',
      }),
      el('label', {}, [this.keep, ' keep me in view']),
      el('div', { className: 'buttons' }, [
        el('button', { id: 'play-save', type: 'button', textContent: 'save the play' }),
        el('a', { id: 'play-download', href: V.server.url('/saved'), textContent: 'download it' }),
        el('a', { id: 'play-replay', href: V.server.url('/replay'), target: '_blank', textContent: 'its replay' }),
        el('button', { id: 'play-settings-open', type: 'button', textContent: 'settings' }),
      ]),
      el('div', { className: 'buttons' }, [
        el('button', { id: 'play-restart', type: 'button', textContent: 'restart' }),
        el('button', { id: 'play-new-seed', type: 'button', textContent: 'restart in another town' }),
      ]),
      this.ended,
      this.message,
      this.compare,
      this.settings,
    ]);
    side.prepend(this.root);
    this.rows = [];
    this.sets = {};
    this.root.querySelector('#play-save').addEventListener('click', () => this.save());
    this.root.querySelector('#play-settings-open').addEventListener('click', () => this.toggleSettings());
    this.root.querySelector('#play-apply').addEventListener('click', () => this.apply());
    this.filter.addEventListener('input', () => this.applyFilter());
  }
  // Shows the rows whose key or meaning holds the filter's text, whatever the case.
  applyFilter() {
    const text = this.filter.value.trim().toLowerCase();
    for (const tr of this.table.querySelectorAll('tr[data-key]'))
      tr.hidden = text !== '' && !tr.textContent.toLowerCase().includes(text);
  }
  show(text, error) {
    V.put(this.message, 'textContent', text);
    V.put(this.message, 'className', error ? 'error' : '');
  }
  showState(s, live) {
    const how = s.waiting
      ? 'waiting for you: an arrow key or start begins the run'
      : s.paused
        ? 'paused'
        : `running at ${s.speed}×`;
    V.put(this.state.dataset, 'waiting', s.waiting ? '1' : '0');
    const end = s.ended
      ? `${s.ended.how === 'arrested' ? 'Arrested' : 'You escaped: the police gave up'} at ` +
        `${(s.ended.atMs / 1000).toFixed(1)} s (seed ${s.seed}). Play again: restart, or another town.`
      : '';
    V.put(this.ended, 'textContent', end);
    V.put(this.ended, 'hidden', !s.ended);
    if (s.ended) V.put(this.ended.dataset, 'how', s.ended.how);
    V.put(this.state, 'textContent', `${how} · ${(s.runMs / 1000).toFixed(1)} s${live ? '' : ' · looking back'}`);
    V.put(this.state.dataset, 'paused', s.paused ? '1' : '0');
  }
  async save() {
    try {
      const reply = await V.server.send('/save', {});
      this.show(`saved: ${reply.path} (its replay: ${reply.replay})`);
      this.message.dataset.saved = reply.path;
    } catch (e) {
      this.show(e.message, true);
    }
  }
  async toggleSettings() {
    this.settings.hidden = !this.settings.hidden;
    if (!this.settings.hidden) {
      const reply = await V.server.get('/settings');
      this.fill(reply.settings, reply.problems);
    }
  }
  // The rows of the settings, each refused value marked at its field with why.
  fill(rows, problems = []) {
    this.rows = rows;
    this.sets = {};
    for (const r of rows) if (r.source === 'set') this.sets[r.key] = String(r.value);
    const el = V.el;
    this.table.replaceChildren(
      el(
        'tr',
        {},
        ['key', 'value', 'default', 'unit', 'meaning'].map(h => el('th', { textContent: h })),
      ),
      ...rows.map(r => {
        const refused = problems.filter(p => p.key === r.key);
        const why = refused.map(p => el('div', { className: 'problem', textContent: `${p.problem}: ${p.detail}` }));
        const tr = el('tr', { className: refused.length ? 'refused' : '' }, [
          el('td', { textContent: r.key }),
          el('td', {}, [el('input', { type: 'text', value: String(r.value), size: 7, name: r.key }), ...why]),
          el('td', { textContent: String(r.default) }),
          el('td', { textContent: r.unit }),
          el('td', { className: 'meaning', textContent: r.meaning }),
        ]);
        tr.dataset.key = r.key;
        return tr;
      }),
    );
    this.applyFilter();
    return problems.length;
  }
  async apply() {
    for (const r of this.rows) {
      const input = this.table.querySelector(`input[name="${r.key}"]`);
      if (input && input.value.trim() !== String(r.value)) this.sets[r.key] = input.value.trim();
    }
    this.show('playing it again…');
    try {
      const reply = await V.server.send('/settings', { set: this.sets });
      const refused = this.fill(reply.settings.settings, reply.settings.problems);
      const change = Object.entries(this.sets)
        .map(([k, v]) => `${k}=${v}`)
        .join(', ');
      const parts =
        reply.partsAtMs === null
          ? `with ${change} the run does not part from the one played`
          : `with ${change} the run parts from the one played at ${(reply.partsAtMs / 1000).toFixed(2)} s`;
      this.show(refused ? `${parts}; ${refused} refused: see the marked settings` : parts, refused > 0);
      this.compare.replaceChildren(...reply.cops.map(line => V.el('li', { textContent: line })));
    } catch (e) {
      this.show(e.message, true);
    }
  }
};
