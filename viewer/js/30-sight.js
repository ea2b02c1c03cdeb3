'use strict';
// Each cop's sight test as the recorder wrote it, from the plugin's questions and the host's
// answers: his view (range, cone, close range, whether he is alert) and the condition that decided
// at the latest tick whether he sees the player. The page works none of it out; it shows it.

// The conditions in the order the plugin takes them, by the recorder's names.
V.sightConditions = ['range', 'close range', 'cone', 'line of sight'];

V.sees = cop => !!(cop.sight && cop.sight.sees);

// The line-of-sight questions the cop's latest test rests on; none when the plugin decided it
// without asking.
V.sightQuestions = function sightQuestions(r, cop, s) {
  return cop.sight && cop.sight.by === 'line of sight' ? V.sightAt(r, cop.index, s) : [];
};

// How a condition stands in the latest test.
V.sightMarks = { passed: '✓', failed: '✗', 'passed over': '–', 'not reached': '·' };

// The panel's account of one cop's test: each condition with how it stands and what it took, and
// the outcome. `boxName` names what blocked a line.
V.explainSight = function explainSight(cop, questions, boxName) {
  const by = cop.sight ? cop.sight.by : 'not asked';
  const decided = V.sightConditions.indexOf(by);
  const sees = V.sees(cop);
  const q = questions.length ? questions[questions.length - 1] : null;
  const blocker = q && !q.clear ? boxName(q.blocker) : '';
  const known = cop.sightRange !== undefined;
  const texts = {
    range: known ? `sight range ${cop.sightRange} m` : 'range: the module did not tell its settings',
    'close range': known ? `close range ${cop.closeRange} m, about level with him` : 'close range',
    cone: !known ? 'cone' : cop.cone === undefined ? 'all-round view' : `view cone ${cop.cone}°`,
    'line of sight': !q
      ? 'no line-of-sight question'
      : q.clear
        ? 'line of sight clear'
        : `line of sight blocked${blocker ? ' by ' + blocker : ''}`,
  };
  const checks = V.sightConditions.map((name, i) => {
    let mark = 'passed';
    if (decided < 0 || i > decided) mark = 'not reached';
    else if (i === decided && !sees) mark = 'failed';
    else if (i < decided && name === 'close range') mark = 'passed over';
    return { name, mark, text: texts[name] };
  });
  let outcome = 'not tested at the latest tick';
  if (decided >= 0) outcome = sees ? `sees him (${by})` : `does not see him: ${by} fails`;
  return { checks, fails: decided >= 0 && !sees ? by : '', sees, outcome };
};
