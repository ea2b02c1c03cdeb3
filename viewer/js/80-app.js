'use strict';
// The player of the replay: builds each moment from the samples and the log, and wires the controls.

V.App = class {
  constructor(replay) {
    this.r = replay;
    this.t = 0;
    this.playing = false;
    this.speed = 1;
    this.map = new V.MapView(document.getElementById('map'), replay);
    this.timeline = new V.Timeline(document.getElementById('timeline'), replay);
    this.lanes = new V.Lanes(document.getElementById('lanes'), replay);
    this.plot = new V.Plot(document.getElementById('plot'), replay);
    this.logPanel = new V.LogPanel(document.getElementById('log'), replay, t => this.seek(t));
    this.slider = document.getElementById('slider');
    this.status = document.getElementById('status');
    this.cursor = document.getElementById('cursor');
    V.paintLegend(document.getElementById('legend'));
    this.wire();
    this.map.resize();
    this.seek(0);
  }
  frameAt(t) {
    const s = this.r.samples,
      i = s.indexAt(t),
      a = s.at(i);
    const b = i + 1 < s.length ? s.at(i + 1) : null;
    const f = b && b.t > a.t ? Math.max(0, Math.min(1, (t - a.t) / (b.t - a.t))) : 0;
    const shots = this.r.gunshots.filter(g => g.t <= t && t - g.t < V.gunshotFadeMs);
    return {
      t,
      index: i,
      player: a.player
        ? V.between(
            [Object.assign({ id: 'player' }, a.player)],
            b && b.player ? [Object.assign({ id: 'player' }, b.player)] : null,
            f,
          )[0]
        : null,
      cops: V.between(a.cops, b && b.cops, f),
      vehicles: V.between(a.vehicles, b && b.vehicles, f),
      scene: a.scene || null,
      sceneMs: a.sceneMs,
      sceneAge: a.sceneMs === undefined ? null : Math.max(0, t - a.sceneMs),
      counts: a.counts || {},
      episode: !!a.episode,
      starAlpha: a.starAlpha,
      stars: a.stars,
      disguised: V.disguisedAt(this.r, t),
      gunshots: shots,
    };
  }
  seek(t) {
    this.t = Math.max(0, Math.min(this.r.end, t));
    this.render();
  }
  render() {
    const frame = this.frameAt(this.t);
    this.map.draw(frame);
    this.timeline.draw();
    this.lanes.draw();
    this.plot.follow(this.map.follow);
    this.plot.draw();
    V.put(
      this.cursor.style,
      'transform',
      `translateX(${((this.t / (this.r.end || 1)) * this.timeline.paintedWidth).toFixed(1)}px)`,
    );
    V.drawStars(document.getElementById('stars'), frame);
    // Fast play moves the log faster than it can be read: it follows ten times a second.
    const now = performance.now();
    if (!this.playing || this.speed < 8 || !(now - this.logShownAt < 100)) {
      this.logShownAt = now;
      this.logLines = this.logPanel.render(this.t);
    }
    const shown = this.logLines;
    V.put(this.slider, 'value', String(Math.round(this.t)));
    V.put(document.getElementById('clock'), 'textContent', `${(this.t / 1000).toFixed(1)} s`);
    this.showFollowed(frame);
    const d = this.status.dataset,
      counts = frame.counts;
    d.time = String(Math.round(this.t));
    V.put(d, 'sample', String(frame.index));
    V.put(d, 'cops', String(frame.cops.length));
    V.put(d, 'copsDrawn', String(this.map.drawn.length));
    V.put(d, 'vehicles', String(frame.vehicles.length));
    V.put(d, 'logShown', String(shown));
    V.put(d, 'follow', this.map.follow || '');
    const population = `${frame.cops.length} cops, ${frame.vehicles.length} vehicles`;
    V.put(this.status, 'textContent', `${population} · seeing ${counts.seeing ?? 0}, lost ${counts.lost ?? 0}`);
  }
  showFollowed(frame) {
    const el = document.getElementById('follow'),
      id = this.map.follow;
    const cop = id && frame.cops.find(c => c.id === id);
    if (!cop) {
      V.put(el.dataset, 'fails', '');
      V.put(el.dataset, 'sees', '');
      V.put(el.dataset, 'kind', '');
      V.put(el, 'textContent', id ? `${id}: not in the run now` : 'click a cop to follow him');
      return;
    }
    let fails = '';
    const look = V.copLook(this.r, cop, frame.t);
    const seat = cop.vehicle
      ? ` · in ${cop.vehicle} (${cop.seat === -1 || cop.seat === undefined ? 'driver' : 'passenger ' + cop.seat})`
      : '';
    const lines = [
      `${cop.id} (${cop.ptr}) · ${look.kind}${look.step ? ' · ' + look.step : ''}${look.alert ? ' · alert' : ''}`,
      `health ${cop.health ?? '?'}${seat}${cop.activity ? ' · ' + cop.activity : ''}`,
      ...V.copHistory(this.r, cop, frame),
    ];
    let sees = '';
    if (look.kind !== 'dead') {
      const boxName = b =>
        typeof b === 'number' ? (this.r.world.boxes[b] || {}).id || `box ${b}` : b ? `vehicle ${b}` : '';
      const sight = V.explainSight(cop, V.sightQuestions(this.r, cop, frame.index), boxName);
      for (const c of sight.checks) lines.push(`${V.sightMarks[c.mark]} ${c.text}`);
      lines.push(sight.outcome);
      fails = sight.fails;
      sees = sight.sees ? '1' : '0';
    }
    V.put(el.dataset, 'fails', fails);
    V.put(el.dataset, 'sees', sees);
    V.put(el.dataset, 'kind', look.kind);
    V.put(el, 'textContent', lines.join('\n'));
  }
  followCop(id) {
    this.map.follow = id;
    const frame = this.frameAt(this.t),
      cop = id && frame.cops.find(c => c.id === id);
    const ptrs = cop ? [cop.ptr] : null;
    if (cop && cop.vehicle) {
      const v = frame.vehicles.find(x => x.id === cop.vehicle);
      if (v && v.ptr) ptrs.push(v.ptr);
    }
    this.logPanel.setCop(id ? ptrs : null);
    this.render();
  }
  play(on) {
    const was = this.playing;
    this.playing = on;
    if (was && !on) this.render();
    document.getElementById('play').textContent = on ? 'pause' : 'play';
    if (!on) return;
    if (this.t >= this.r.end) this.t = 0;
    let last = performance.now();
    const tick = now => {
      if (!this.playing) return;
      this.t = Math.min(this.r.end, this.t + (now - last) * this.speed);
      last = now;
      this.render();
      if (this.t >= this.r.end) this.play(false);
      else requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  }
  stepSample(dir) {
    const s = this.r.samples,
      i = s.indexAt(this.t);
    const j = Math.max(0, Math.min(s.length - 1, dir > 0 ? i + 1 : s.times[i] < this.t ? i : i - 1));
    this.play(false);
    this.seek(s.times[j] ?? 0);
  }
  wire() {
    const $ = id => document.getElementById(id);
    this.slider.max = String(Math.round(this.r.end));
    this.slider.addEventListener('input', () => {
      this.play(false);
      this.seek(Number(this.slider.value));
    });
    $('play').addEventListener('click', () => this.play(!this.playing));
    $('step-back').addEventListener('click', () => this.stepSample(-1));
    $('step-fwd').addEventListener('click', () => this.stepSample(1));
    $('speed').addEventListener('change', e => {
      this.speed = Number(e.target.value);
    });
    $('log-filter').addEventListener('input', e => {
      this.logPanel.setFilter(e.target.value);
      this.render();
    });
    $('clear-follow').addEventListener('click', () => this.followCop(null));
    $('timeline').addEventListener('click', e => {
      this.play(false);
      this.seek(this.timeline.timeAt(e.clientX));
    });
    // Every lane names its cop on hover, however thin it is.
    $('lanes').addEventListener('mousemove', e => {
      $('lanes').title = this.lanes.at(e.clientX, e.clientY).cop || '';
    });
    $('lanes').addEventListener('click', e => {
      const { cop, t } = this.lanes.at(e.clientX, e.clientY);
      this.play(false);
      this.t = Math.max(0, Math.min(this.r.end, t));
      if (cop) this.followCop(cop);
      else this.render();
    });
    // The map is sized whenever its box changes, not only with the window: the strips below it grow
    // once the data comes, and a map sized before that would be drawn squashed and miss clicks.
    new ResizeObserver(() => {
      this.map.resize();
      this.render();
    }).observe(this.map.canvas);
    window.addEventListener('keydown', e => {
      if (e.target.tagName === 'INPUT' && e.target.type === 'search') return;
      if (e.key === ' ') {
        e.preventDefault();
        this.play(!this.playing);
      } else if (e.key === ',') this.stepSample(-1);
      else if (e.key === '.') this.stepSample(1);
    });
    const canvas = this.map.canvas;
    let drag = null;
    canvas.addEventListener('mousedown', e => {
      drag = { x: e.clientX, y: e.clientY, moved: false };
    });
    window.addEventListener('mouseup', e => {
      if (drag && !drag.moved) this.pick(e);
      drag = null;
    });
    window.addEventListener('mousemove', e => {
      if (!drag) return;
      const dx = e.clientX - drag.x,
        dy = e.clientY - drag.y;
      if (!drag.moved && Math.hypot(dx, dy) < 3) return;
      drag.moved = true;
      this.map.follow = null;
      this.map.cam.cx -= dx / this.map.cam.scale;
      this.map.cam.cy += dy / this.map.cam.scale;
      drag.x = e.clientX;
      drag.y = e.clientY;
      this.render();
    });
    canvas.addEventListener(
      'wheel',
      e => {
        e.preventDefault();
        const rect = canvas.getBoundingClientRect();
        this.map.cam.zoom(e.deltaY < 0 ? 1.15 : 1 / 1.15, e.clientX - rect.left, e.clientY - rect.top);
        this.render();
      },
      { passive: false },
    );
  }
  // A click on the map follows the nearest cop within 10 px, or nobody.
  pick(e) {
    const rect = this.map.canvas.getBoundingClientRect(),
      x = e.clientX - rect.left,
      y = e.clientY - rect.top;
    let best = null,
      bestD = 10;
    for (const d of this.map.drawn) {
      const dist = Math.hypot(d.x - x, d.y - y);
      if (dist < bestD) {
        best = d;
        bestD = dist;
      }
    }
    if (best) this.followCop(best.id);
  }
};

window.addEventListener('DOMContentLoaded', () => {
  const replay = V.load(document.getElementById('replay-data').textContent);
  window.vigilorViewer = new V.App(replay);
  document.body.dataset.ready = '1';
});
