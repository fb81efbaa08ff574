// SPDX-License-Identifier: MIT
// Steps through the page: one step shown at a time, the step in the address
// (#passo=N), PageDown and PageUp from operation to operation, and a mode in
// which each new step's picture and lines stay hidden until revealed, for a
// class to predict them first. Every picture of the page is drawn at one
// scale, as large as the largest fits the window, and never so small that
// its smallest text is under 12 pixels.
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
  // The smallest text of a picture, in its own units (page.css), and the
  // least that it may be on a screen, in pixels.
  var SMALLEST_TEXT = 16;
  var LEGIBLE = 12;
  var widest = 0;
  var tallest = 0;
  // The first step of each operation, in order, and each step's operation.
  var starts = [];
  var operation = [];

  root.classList.add('js');
  if (total === 0) {
    counter.textContent = 'nenhum passo';
    Object.keys(buttons).forEach(function (id) { buttons[id].disabled = true; });
    return;
  }

  steps.forEach(function (step, k) {
    if (k === 0 || step.getAttribute('data-op') !== steps[k - 1].getAttribute('data-op')) {
      starts.push(k);
    }
    operation.push(starts.length - 1);
    var svg = step.querySelector('figure svg');
    if (svg) {
      widest = Math.max(widest, parseFloat(svg.getAttribute('width')) || 0);
      tallest = Math.max(tallest, parseFloat(svg.getAttribute('height')) || 0);
    }
  });

  // The heading of the step in view, never under the bar: the browser
  // scrolls to the step that the address names as if it were an anchor.
  function uncover() {
    var heading = steps[current].querySelector('h2');
    if (heading.getBoundingClientRect().top < document.querySelector('.bar').offsetHeight) {
      window.scrollTo(0, 0);
    }
  }

  // One scale for every picture, so that a box or a soldier is as large on
  // each step as on the one before: as large as the largest picture fits
  // beside the lines and under the heading, within limits.
  function fit() {
    var figure = steps[current].querySelector('figure');
    if (!figure || widest === 0) {
      return;
    }
    var room = figure.getBoundingClientRect();
    var width = figure.clientWidth;
    var height = window.innerHeight - (room.top + window.scrollY) - 12;
    var scale = Math.min(width / widest, height / tallest, 2);
    scale = Math.max(scale, LEGIBLE / SMALLEST_TEXT);
    root.style.setProperty('--scale', String(Math.floor(scale * 1000) / 1000));
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
    // The note goes under the heading of the step that it is about, and
    // never over it.
    var heading = step.querySelector('h2');
    heading.parentNode.insertBefore(note, heading.nextSibling);
    note.hidden = !isHidden(k);
    // While a class predicts, nothing tells how many steps are still to come.
    counter.textContent = predicting ? 'passo ' + (k + 1) : 'passo ' + (k + 1) + ' de ' + total;
    uncover();
    fit();
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

  // The first step of the next operation, and of the one before.
  function nextOperation() {
    var o = operation[current] + 1;
    if (o < starts.length) {
      show(starts[o]);
    }
  }

  function previousOperation() {
    var o = operation[current] - 1;
    if (o >= 0) {
      show(starts[o]);
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
      PageDown: nextOperation,
      ArrowLeft: back,
      PageUp: previousOperation,
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

  window.addEventListener('resize', fit);
  window.addEventListener('load', uncover);

  window.addEventListener('hashchange', function () {
    var k = addressed();
    if (k >= 0 && k !== current) {
      show(k);
    }
  });

  show(Math.max(addressed(), 0));
})();
