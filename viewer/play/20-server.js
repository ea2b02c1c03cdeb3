'use strict';
// Talking to the play's server: every request carries the page's token, which only the address the
// server printed holds.

V.server = {
  token: new URLSearchParams(location.search).get('token') || '',
  url(path) {
    return `${path}?token=${encodeURIComponent(this.token)}`;
  },
  async send(path, body) {
    const res = await fetch(this.url(path), {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(body),
    });
    const reply = await res.json();
    if (!res.ok) throw new Error(reply.error || `HTTP ${res.status}`);
    return reply;
  },
  async get(path) {
    const res = await fetch(this.url(path));
    return res.json();
  },
};

// The keys the player is played with: arrows or WASD walk (with Shift run; in a car, drive), E gets in
// the nearest free car or out, F fires, F10 is the plugin's key.
V.playKeys = {
  directions: {
    ArrowUp: [0, 1],
    KeyW: [0, 1],
    ArrowDown: [0, -1],
    KeyS: [0, -1],
    ArrowLeft: [-1, 0],
    KeyA: [-1, 0],
    ArrowRight: [1, 0],
    KeyD: [1, 0],
  },
  actions: { KeyE: { do: 'enter' }, KeyF: { do: 'fire' }, F10: { do: 'key', key: 'F10' } },
};

// Which direction keys are held, and the move they make; a move is sent only when it changes.
V.HeldKeys = class {
  constructor() {
    this.held = new Set();
    this.run = false;
    this.sent = '';
  }
  // Notes a key going down or up; returns the move to send, or null when the move is the same.
  note(code, down, shift) {
    if (!(code in V.playKeys.directions) && code !== 'ShiftLeft' && code !== 'ShiftRight') return null;
    if (code in V.playKeys.directions) {
      if (down) this.held.add(code);
      else this.held.delete(code);
    }
    this.run = shift;
    let dx = 0,
      dy = 0;
    for (const c of this.held) {
      dx += V.playKeys.directions[c][0];
      dy += V.playKeys.directions[c][1];
    }
    const move = { do: 'move', dx: Math.sign(dx), dy: Math.sign(dy), run: this.run };
    const key = JSON.stringify(move);
    if (key === this.sent) return null;
    this.sent = key;
    return move;
  }
};
