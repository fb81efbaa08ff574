// SPDX-License-Identifier: MIT
// Steps through the page: one step shown at a time, the step in the address
// (#passo=N), and a mode in which each new step's picture and lines stay
// hidden until revealed, for a class to predict them first.
(function () {
  'use strict';
  var root = document.documentElement;
  var steps = Array.prototype.slice.call(document.querySelectorAll('main > section.step'));
  var total = steps.length;
  var counter = document.getElementById('counter');
  var note = document.getElementById('hidden-note');
  var buttons = {};
  ['first', 'back', 'forward', 'last', 'predict', 'reveal'].forEach(function (id) {
    buttons[id] = document.getElementById(id);
  });
  var current = -1;
  var predicting = false;
  var revealed = [];

  root.classList.add('js');
  if (total === 0) {
    counter.textContent = 'nenhum passo';
    Object.keys(buttons).forEach(function (id) { buttons[id].disabled = true; });
    return;
  }

  // The step that the address names, from 0, or -1.
  function addressed() {
    var match = /^#passo=(\d{1,9})$/.exec(window.location.hash);
    if (!match) {
      return -1;
    }
    return Math.min(Math.max(parseInt(match[1], 10), 1), total) - 1;
  }

  function writeAddress() {
    var hash = '#passo=' + (current + 1);
    if (window.location.hash === hash) {
      return;
    }
    try {
      window.history.replaceState(null, '', hash);
    } catch (e) {
      window.location.replace(hash);
    }
  }

  function isHidden(k) {
    return predicting && !revealed[k];
  }

  function show(k) {
    if (current >= 0) {
      steps[current].classList.remove('current');
    }
    current = k;
    var step = steps[k];
    step.classList.add('current');
    step.classList.toggle('hidden', isHidden(k));
    note.hidden = !isHidden(k);
    counter.textContent = 'passo ' + (k + 1) + ' de ' + total;
    buttons.first.disabled = buttons.back.disabled = k === 0;
    buttons.last.disabled = k === total - 1;
    buttons.forward.disabled = k === total - 1 && !isHidden(k);
    buttons.reveal.disabled = !isHidden(k);
    writeAddress();
  }

  function reveal() {
    revealed[current] = true;
    show(current);
  }

  function forward() {
    if (isHidden(current)) {
      reveal();
    } else if (current < total - 1) {
      show(current + 1);
    }
  }

  function back() {
    if (current > 0) {
      show(current - 1);
    }
  }

  function togglePredicting() {
    // The steps seen so far stay in view; those ahead wait to be revealed.
    predicting = !predicting;
    revealed = [];
    for (var k = 0; k <= current; k++) {
      revealed[k] = true;
    }
    root.classList.toggle('predicting', predicting);
    buttons.predict.setAttribute('aria-pressed', String(predicting));
    show(current);
  }

  buttons.first.addEventListener('click', function () { show(0); });
  buttons.back.addEventListener('click', back);
  buttons.forward.addEventListener('click', forward);
  buttons.last.addEventListener('click', function () { show(total - 1); });
  buttons.predict.addEventListener('click', togglePredicting);
  buttons.reveal.addEventListener('click', reveal);

  document.addEventListener('keydown', function (event) {
    if (event.ctrlKey || event.altKey || event.metaKey) {
      return;
    }
    var actions = {
      ArrowRight: forward,
      PageDown: forward,
      ArrowLeft: back,
      PageUp: back,
      Home: function () { show(0); },
      End: function () { show(total - 1); },
      p: togglePredicting,
      P: togglePredicting,
      r: reveal,
      R: reveal
    };
    var action = Object.prototype.hasOwnProperty.call(actions, event.key) ? actions[event.key] : null;
    if (action) {
      event.preventDefault();
      action();
    }
  });

  window.addEventListener('hashchange', function () {
    var k = addressed();
    if (k >= 0 && k !== current) {
      show(k);
    }
  });

  show(Math.max(addressed(), 0));
})();
