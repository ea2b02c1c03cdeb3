'use strict';
// What the viewer draws with: every colour, by what it shows, and the numbers that more than one
// part of the drawing shares.

V.colours = {
  // A cop by what he is doing; the legend's chips take theirs from here too.
  chasing: '#4d9fff',
  seeing: '#4fd36b',
  lost: '#ff8c3a',
  searching: '#ffd23a',
  defending: '#ff3a5a',
  invehicle: '#b08cff',
  dead: '#6b7178',
  plain: '#9aa4ae',
  player: '#ffffff',
  // The world.
  background: '#2d3237',
  noGround: '#1a1013',
  pathLink: '#3f464e',
  pathNode: '#59616b',
  building: '#4a525c',
  buildingEdge: '#6b7580',
  buildingLabel: '#9aa4ae',
  // What happens on it.
  scene: '#ff5fd2',
  gunshot: '#ff5050',
  aim: '#ffd23a',
  disguise: '#e070ff',
  cone: 'rgba(160, 190, 255, 0.07)',
  alertCone: 'rgba(255, 210, 58, 0.10)',
  alertConeEdge: 'rgba(255, 210, 58, 0.45)',
  outline: '#000000',
  label: '#dde3ea',
  vehicleLabel: '#c0c8d0',
  timelineLabel: '#aab4bf',
  laneName: 'rgba(10, 12, 14, 0.85)',
  sweep: '#4fe0e0',
  // The plot under the map.
  plotAlpha: '#ffffff',
  plotDistance: '#4d9fff',
  plotGrace: '#ff8c3a',
};
Object.assign(V.colours, {
  sightClear: V.colours.seeing,
  sightBlocked: V.colours.defending,
  followed: V.colours.player,
  // A vehicle by its state.
  vehicles: {
    driving: V.colours.sweep,
    stopped: '#9aa4ae',
    parked: '#5d6670',
    chasing: V.colours.chasing,
    other: V.colours.vehicleLabel,
  },
});

V.fullCircle = 2 * Math.PI;
V.radians = degrees => (degrees * Math.PI) / 180;
// Lanes this tall (pixels) carry their cop's name.
V.laneNameHeight = 12;
// How long the ring of a heard gunshot stays on the map, in ms.
V.gunshotFadeMs = 2500;
