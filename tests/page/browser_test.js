// SPDX-License-Identifier: MIT
// The sample pages in a real browser: Chromium, headless, driven by
// puppeteer-core. Each page opens from a file without a script error and
// without asking anything of a network; it steps with the keys and the
// buttons and keeps the step in the address; its pictures show; a text that
// looks like markup is text; the predicting mode hides and reveals; printed,
// it puts several steps on a sheet. Skips (77) where the browser or the
// driver is missing. Usage: node browser_test.js FOLDER_OF_PAGES
// The folder holds script.html, game.html (four soldiers) and hostile.html
// (a game with names that look like markup); where it holds them too,
// hostile_session.html (a session with such texts) and sessao.html (a
// session step by step) are tried as well.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');

const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const folder = process.argv[2];

function skip(reason) {
  console.log(`skipped: ${reason}`);
  process.exit(77);
}

let puppeteer;
try {
  puppeteer = require('puppeteer-core');
} catch (error) {
  skip('puppeteer-core is missing (npm ci --prefix tests/page installs it)');
}
if (!fs.existsSync(chromium)) {
  skip(`${chromium} is missing`);
}
if (!folder) {
  console.error('usage: node browser_test.js FOLDER_OF_PAGES');
  process.exit(2);
}

let passed = 0;
let failed = 0;
function check(what, ok, detail) {
  if (ok) {
    passed += 1;
    console.log(`ok - ${what}`);
  } else {
    failed += 1;
    console.log(`not ok - ${what}${detail === undefined ? '' : `: ${JSON.stringify(detail)}`}`);
  }
}

// Opens a sample page at an address; collects what must not happen there.
async function open(browser, name, hash, width = 1280, height = 800) {
  const page = await browser.newPage();
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') trouble.push(`console: ${message.text()}`);
  });
  page.on('dialog', async (dialog) => {
    trouble.push(`dialog: ${dialog.message()}`);
    await dialog.dismiss();
  });
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    const url = request.url();
    if (url.startsWith('file:') || url.startsWith('data:')) {
      request.continue();
    } else {
      trouble.push(`request: ${url}`);
      request.abort();
    }
  });
  await page.setViewport({ width, height });
  const url = `file://${path.resolve(folder, `${name}.html`)}${hash || ''}`;
  await page.goto(url, { waitUntil: 'load' });
  return { page, trouble };
}

// What the page shows now: its visible text, the step in the address, the
// counter, and the headings of the steps.
async function state(page) {
  return page.evaluate(() => ({
    text: document.body.innerText,
    hash: window.location.hash,
    counter: document.getElementById('counter').textContent,
    headings: Array.from(document.querySelectorAll('section.step h2'), (h) => h.textContent),
  }));
}

// The size of the current step's picture as drawn, and how many shapes of
// a kind it has.
async function picture(page, selector) {
  return page.evaluate((selector) => {
    const svg = document.querySelector('section.step.current figure svg');
    if (!svg) return null;
    const box = svg.getBoundingClientRect();
    const style = getComputedStyle(svg);
    return {
      width: box.width,
      height: box.height,
      visible: style.visibility === 'visible' && style.display !== 'none',
      shapes: svg.querySelectorAll(selector).length,
    };
  }, selector);
}

async function stepping(browser) {
  const { page, trouble } = await open(browser, 'script', '#passo=3');
  let s = await state(page);
  const total = s.headings.length;
  check('the script page has its steps', total >= 10, total);
  check('#passo=3 opens at step 3', s.text.includes(s.headings[2]) && s.counter === `passo 3 de ${total}`,
    s.counter);
  check('step 4 is not shown at step 3', !s.text.includes(s.headings[3]));
  let p = await picture(page, 'g.node');
  check('a picture of the list is visible', p && p.visible && p.width > 200 && p.height > 60 && p.shapes >= 2, p);

  await page.keyboard.press('ArrowRight');
  s = await state(page);
  check('the right arrow goes to step 4', s.text.includes(s.headings[3]) && !s.text.includes(s.headings[2]));
  check('the address follows', s.hash === '#passo=4', s.hash);

  await page.click('#back');
  s = await state(page);
  check('the button goes back to step 3', s.hash === '#passo=3' && s.text.includes(s.headings[2]), s.hash);
  await page.keyboard.press('End');
  s = await state(page);
  check('End goes to the last step', s.hash === `#passo=${total}` && s.counter === `passo ${total} de ${total}`);
  await page.keyboard.press('ArrowRight');
  s = await state(page);
  check('the right arrow stays at the last step', s.hash === `#passo=${total}`, s.hash);
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowLeft');
  s = await state(page);
  check('Home goes to the first step, and the left arrow stays there', s.hash === '#passo=1', s.hash);

  await page.evaluate(() => { window.location.hash = '#passo=7'; });
  await page.waitForFunction(() => document.getElementById('counter').textContent.startsWith('passo 7 '));
  s = await state(page);
  check('an address typed in goes to its step', s.text.includes(s.headings[6]));

  await page.goto(`file://${path.resolve(folder, 'script.html')}#passo=999`);
  await page.reload({ waitUntil: 'load' });
  s = await state(page);
  check('a step past the last opens at the last', s.counter === `passo ${total} de ${total}`, s.counter);
  check('no script error, request or dialog on the script page', trouble.length === 0, trouble);
  await page.close();
}

async function predicting(browser) {
  const { page, trouble } = await open(browser, 'game', '#passo=1');
  const hidden = () => page.evaluate(() => ({
    picture: getComputedStyle(document.querySelector('section.step.current figure')).visibility,
    lines: getComputedStyle(document.querySelector('section.step.current pre')).visibility,
    note: !document.getElementById('hidden-note').hidden,
  }));
  let p = await picture(page, 'g.soldier');
  check('the ring of the game is visible', p && p.visible && p.shapes === 4, p);

  // Predicting from step 2 on: steps 1 and 2 stay in view.
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('p');
  let h = await hidden();
  check('predicting keeps the step in view visible', h.picture === 'visible' && !h.note, h);
  await page.keyboard.press('ArrowLeft');
  h = await hidden();
  check('and the steps before it', h.picture === 'visible', h);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowRight');
  h = await hidden();
  let s = await state(page);
  check('predicting hides the next picture and its lines', s.hash === '#passo=3' &&
    h.picture === 'hidden' && h.lines === 'hidden' && h.note, h);
  check('its heading stays visible', s.text.includes(s.headings[2]));
  await page.keyboard.press('r');
  h = await hidden();
  check('R reveals it', h.picture === 'visible' && h.lines === 'visible' && !h.note, h);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowRight');
  s = await state(page);
  h = await hidden();
  check('the right arrow on a hidden step reveals it first', s.hash === '#passo=4' && h.picture === 'visible', [s.hash, h]);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('p');
  await page.keyboard.press('p');
  await page.keyboard.press('ArrowRight');
  h = await hidden();
  check('a step hides again once the mode starts anew', h.picture === 'hidden', h);
  await page.click('#reveal');
  h = await hidden();
  check('the button reveals too', h.picture === 'visible', h);
  await page.click('#predict');
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowRight');
  h = await hidden();
  check('leaving the mode shows every step again', h.picture === 'visible', h);
  check('no script error, request or dialog on the game page', trouble.length === 0, trouble);
  await page.close();
}

async function markup(browser) {
  const { page, trouble } = await open(browser, 'hostile', '');
  const s = await state(page);
  const scripts = await page.evaluate(() => document.scripts.length);
  check('a name <script>alert(1)</script> shows as text', s.text.includes('<script>alert(1)</script>'));
  check('and the page has only its own script', scripts === 1, scripts);
  const texts = await page.evaluate(() =>
    Array.from(document.querySelectorAll('svg text'), (t) => t.textContent).join('|'));
  check('names in the picture are text', /<script>alert\(1\)?(<\/s)?…/.test(texts) &&
    texts.includes('Concei\u00e7\u00e3o') && texts.includes('\u241b[31mvermelho') && texts.includes('\u2401controle'), texts);
  await page.keyboard.press('ArrowRight');
  const images = await page.evaluate(() => document.querySelectorAll('img').length);
  check('a text <img ...> is no image', images === 0);
  check('nothing ran: no dialog, request or script error', trouble.length === 0, trouble);
  await page.close();
}

// Every arrow of every step, all shown as in print: a `next` goes from the
// dot of its node to the box of the node it names, the count from the middle
// of the ring to the soldier it stands on.
async function arrows(browser, name) {
  const { page } = await open(browser, name, '');
  await page.emulateMediaType('print');
  const wrong = await page.evaluate(() => {
    const out = [];
    const near = (point, box, by) => point.x >= box.x - by && point.x <= box.x + box.width + by &&
      point.y >= box.y - by && point.y <= box.y + box.height + by;
    const middle = (box) => ({ x: box.x + box.width / 2, y: box.y + box.height / 2 });
    document.querySelectorAll('section.step').forEach((section, k) => {
      const svg = section.querySelector('figure svg');
      if (!svg) return;
      svg.querySelectorAll('path.next[data-to]').forEach((path) => {
        const { from, to } = path.dataset;
        const box = (i) => svg.querySelector(i === 'header' ? 'g.header rect' : `g.node[data-i="${i}"] rect`);
        const dot = (i) => svg.querySelector(i === 'header' ? 'g.header .dot' : `g.node[data-i="${i}"] .dot`);
        const end = path.getPointAtLength(path.getTotalLength());
        const start = path.getPointAtLength(0);
        if (!box(to) || !near(end, box(to).getBBox(), 3)) out.push(`step ${k + 1}: ${from} -> ${to} ends at ${end.x},${end.y}`);
        if (from !== 'head' && !near(start, { ...middle(dot(from).getBBox()), width: 0, height: 0 }, 1)) {
          out.push(`step ${k + 1}: ${from} -> ${to} starts at ${start.x},${start.y}`);
        }
      });
      const count = svg.querySelector('path.count');
      if (count) {
        const end = count.getPointAtLength(count.getTotalLength());
        const soldier = svg.querySelector('.counting circle, circle.counting');
        if (!soldier || !near(end, soldier.getBBox(), 14)) out.push(`step ${k + 1}: the count ends at ${end.x},${end.y}`);
      }
    });
    return out;
  });
  check(`every arrow of ${name} goes from its node to the one it names`, wrong.length === 0, wrong);
  await page.close();
}

async function printing(browser, name = 'script') {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  const { page, trouble } = await open(browser, name, '#passo=2');
  await page.emulateMediaType('print');
  const shown = await page.evaluate(() => Array.from(document.querySelectorAll('section.step'),
    (s) => getComputedStyle(s).display !== 'none').filter(Boolean).length);
  const total = (await state(page)).headings.length;
  check(`${name} printed, every step shows`, shown === total, [shown, total]);
  const nav = await page.evaluate(() => getComputedStyle(document.querySelector('nav')).display);
  check(`${name} printed, the buttons do not`, nav === 'none', nav);
  const pdf = await page.pdf({ format: 'A4', printBackground: false });
  const sheets = (Buffer.from(pdf).toString('latin1').match(/\/Type\s*\/Page[^s]/g) || []).length;
  check(`${name}: several steps to an A4 sheet (${total} on ${sheets})`, sheets >= 1 && sheets * 2 <= total, [sheets, total]);
  check(`no script error in print of ${name}`, trouble.length === 0, trouble);
  await page.close();
}

// A session's texts that look like markup are text too, at every step.
async function session_markup(browser) {
  if (!fs.existsSync(path.resolve(folder, 'hostile_session.html'))) return;
  const { page, trouble } = await open(browser, 'hostile_session', '');
  const total = (await state(page)).headings.length;
  let shown = true;
  for (let k = 1; k <= total; k += 1) {
    const s = await state(page);
    if (s.hash !== `#passo=${k}`) shown = false;
    await page.keyboard.press('ArrowRight');
  }
  check('every step of a session with markup in its texts is reached', shown && total > 2, total);
  const all = await page.evaluate(() => document.body.textContent);
  check('a session text <script>alert(1)</script> shows as text', all.includes('<script>alert(1)</script>'));
  const own = await page.evaluate(() => [document.scripts.length, document.querySelectorAll('img').length]);
  check('and makes no script and no image', own[0] === 1 && own[1] === 0, own);
  check('nothing ran in the session page', trouble.length === 0, trouble);
  await page.close();
}

// What the terminal escapes, the page names: no direction override, mark or
// isolate, no other format character and no space but the ASCII one reaches
// the reader unnamed, in the lines or in the pictures, at any step.
async function directions(browser) {
  if (!fs.existsSync(path.resolve(folder, 'rtl.html'))) return;
  const { page, trouble } = await open(browser, 'rtl', '');
  await page.emulateMediaType('print');
  const seen = await page.evaluate(() => ({
    text: document.body.innerText,
    pictures: Array.from(document.querySelectorAll('svg text'), (t) => t.textContent).join('|'),
    named: document.querySelectorAll('.escape').length,
  }));
  const unseen = /[\p{Cf}\p{Zl}\p{Zp}\u0080-\u00a0\u1680\u2000-\u200a\u202f\u205f\u3000]/u;
  check('a right-to-left override reaches no text of the page', !unseen.test(seen.text), seen.text);
  check('nor its pictures', !unseen.test(seen.pictures), seen.pictures);
  check('the override is named where the name is shown', seen.named >= 4 &&
    seen.text.includes('\u2039U+202E\u203aavliS airaM') && !seen.text.includes('Maria Silva') &&
    seen.pictures.includes('\u2039U+202E\u203aavliS'), seen.named);
  check('no script error, request or dialog on the page of the override', trouble.length === 0, trouble);
  await page.close();
}

// For a projector: at each size of screen, on every step, every text of the
// picture at least 12 pixels high and inside its picture, no label over
// another, no `next` through a box, and one scale from step to step.
async function projector(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  for (const [width, height] of [[1280, 720], [1920, 1080]]) {
    const { page, trouble } = await open(browser, name, '#passo=1', width, height);
    const found = await page.evaluate(() => {
      const out = { small: [], outside: [], over: [], through: [], scales: new Set(), steps: 0 };
      // The last 120 steps of a long page: its largest pictures.
      const total = document.querySelectorAll('main > section.step').length;
      const from = Math.max(1, total - 119);
      const press = (key) => document.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
      for (let k = 1; k < from; k += 1) press('ArrowRight');
      const inside = (r, box) => r.left >= box.left - 1 && r.right <= box.right + 1 &&
        r.top >= box.top - 1 && r.bottom <= box.bottom + 1;
      const meet = (a, b) => a.left < b.right - 1 && b.left < a.right - 1 && a.top < b.bottom - 1 && b.top < a.bottom - 1;
      for (let k = from; k <= total; k += 1) {
        const step = document.querySelector('section.step.current');
        const svg = step.querySelector('figure svg');
        out.steps += 1;
        if (svg) {
          const box = svg.getBoundingClientRect();
          out.scales.add((box.width / svg.viewBox.baseVal.width).toFixed(3));
          svg.querySelectorAll('text').forEach((t) => {
            const m = t.getScreenCTM();
            const px = parseFloat(getComputedStyle(t).fontSize) * Math.hypot(m.a, m.b);
            const said = `step ${k}: ${t.textContent}`;
            if (px < 11.99) out.small.push(`${said} ${px.toFixed(1)}px`);
            if (t.textContent.trim() && !inside(t.getBoundingClientRect(), box)) out.outside.push(said);
          });
          const labels = Array.from(svg.querySelectorAll('text.label, text.name'), (t) => [t.textContent, t.getBoundingClientRect()]);
          labels.forEach(([a, ra], i) => labels.slice(i + 1).forEach(([b, rb]) => {
            if (meet(ra, rb)) out.over.push(`step ${k}: ${a} / ${b}`);
          }));
          const boxes = Array.from(svg.querySelectorAll('g.node'), (g) => [g.dataset.i, g.querySelector('rect').getBBox()]);
          svg.querySelectorAll('path.next[data-from]').forEach((p) => {
            const length = p.getTotalLength();
            for (let at = 0; at <= length; at += 3) {
              const q = p.getPointAtLength(at);
              const hit = boxes.find(([i, b]) => i !== p.dataset.from && q.x > b.x + 2 && q.x < b.x + b.width - 2 &&
                q.y > b.y + 2 && q.y < b.y + b.height - 2);
              if (hit) {
                out.through.push(`step ${k}: ${p.dataset.from} -> ${p.dataset.to} through ${hit[0]}`);
                break;
              }
            }
          });
        }
        press('ArrowRight');
      }
      out.scales = Array.from(out.scales);
      return out;
    });
    const at = `${name} at ${width}x${height}`;
    check(`${at}: every step looked at`, found.steps > 1, found.steps);
    check(`${at}: every text of a picture is 12 px or more`, found.small.length === 0, found.small.slice(0, 5));
    check(`${at}: and inside its picture`, found.outside.length === 0, found.outside.slice(0, 5));
    check(`${at}: no label or name over another`, found.over.length === 0, found.over.slice(0, 5));
    check(`${at}: no arrow through a box`, found.through.length === 0, found.through.slice(0, 5));
    check(`${at}: one scale from step to step`, found.scales.length <= 1, found.scales);
    check(`no script error on ${at}`, trouble.length === 0, trouble);
    await page.close();
  }
}

// PageDown and PageUp go to the first step of the next operation and of the
// one before, from any step of one; a step's code has its one marked line.
async function operations(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  const { page, trouble } = await open(browser, name, '');
  const ops = await page.evaluate(() => Array.from(document.querySelectorAll('section.step'), (s) => s.dataset.op));
  const first = (o) => ops.indexOf(o) + 1;
  const where = async () => Number((await state(page)).hash.replace('#passo=', ''));
  // A step inside an operation of several steps, with an operation before.
  const inside = ops.findIndex((o, k) => k > 0 && o === ops[k - 1] && o !== ops[0] &&
    ops.lastIndexOf(o) > k) + 1;
  // The sample pages and the session step by step have such operations.
  const samples = !fs.existsSync(path.resolve(folder, 'onze.html'));
  if (inside === 0 && !(samples && name === 'script') && name !== 'onze') {
    await page.close();
    return;
  }
  check(`${name}: an operation of several steps`, inside > 1, ops.length);
  await page.evaluate((k) => { window.location.hash = `#passo=${k}`; }, inside);
  await page.waitForFunction((k) => window.location.hash === `#passo=${k}`, {}, inside);
  const here = ops[inside - 1];
  const next = ops.find((o) => Number(o) > Number(here));
  const before = ops.filter((o) => Number(o) < Number(here)).pop();
  await page.keyboard.press('PageDown');
  check(`${name}: PageDown goes from step ${inside} to the first step of the next operation`,
    await where() === first(next), [await where(), first(next)]);
  await page.keyboard.press('PageUp');
  check(`${name}: PageUp to the first step of the one before`, await where() === first(here), await where());
  await page.keyboard.press('PageUp');
  check(`${name}: and again`, await where() === first(before), [await where(), first(before)]);
  const marked = await page.evaluate(() => Array.from(document.querySelectorAll('section.step'), (s) => {
    const code = s.querySelector('ol.code');
    return code && [s.dataset.op, Array.from(code.querySelectorAll('li'))
      .map((li, i) => (li.getAttribute('aria-current') === 'step' ? i + 1 : 0)).filter(Boolean)];
  }).filter(Boolean));
  check(`${name}: each step with code marks one line of it`, marked.every(([, lines]) => lines.length === 1), marked);
  if (name === 'script' && marked.length > 0) {
    check('the code of inserir 30 marks its lines one after the other',
      marked.length === 4 && marked.every(([, lines], k) => lines[0] === k + 1), marked);
  }
  check(`no script error while going from operation to operation on ${name}`, trouble.length === 0, trouble);
  await page.close();
}

// A program's page shows, beside each step that runs a line of the list's
// code (or of listdemo's, which deletes what a removal hands over), the whole
// function that runs it, from its head (after the template line of a
// template) to its closing brace,
// with one line marked, the line the heading names; the last step of an
// operation and a command's drawing run none and show no code.
async function listings(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  const { page, trouble } = await open(browser, name, '');
  const steps = await page.evaluate(() => Array.from(document.querySelectorAll('section.step'), (s) => {
    const lines = Array.from(s.querySelectorAll('ol.code li'), (li) => li.textContent);
    const marked = Array.from(s.querySelectorAll('ol.code li'))
      .filter((li) => li.getAttribute('aria-current') === 'step').map((li) => li.textContent);
    return { heading: s.querySelector('h2').textContent, lists: s.querySelectorAll('ol.code').length,
      lines, marked, anywhere: s.querySelectorAll('[aria-current]').length };
  }));
  const runs = (h) => / passo \d+/.test(h) && !h.endsWith('(fim da operação)');
  const running = steps.filter((s) => runs(s.heading));
  check(`${name}: there are steps that run code`, running.length > 10, running.length);
  const wrong = running.filter((s) => s.lists !== 1 || s.marked.length !== 1 || s.anywhere !== 1 ||
    !/ListaEnc::|^void listdemo_\w+\(/m.test(s.lines.slice(0, 2).join('\n')) ||
    s.lines[s.lines.length - 1] !== '}');
  check(`${name}: each step that runs code shows its function whole, one line marked`,
    wrong.length === 0, wrong.slice(0, 3));
  // The heading's code is the marked line's, but for the words around it
  // ("if (", "node* ", the semicolon): its first name is in that line.
  const elsewhere = running.filter((s) => {
    const code = s.heading.slice(s.heading.indexOf(': ', s.heading.indexOf(' passo ')) + 2);
    const name = (code.match(/[A-Za-z_]\w*/) || [''])[0];
    return s.marked.length !== 1 || !s.marked[0].includes(name);
  });
  check(`${name}: the marked line is the one the heading names`, elsewhere.length === 0, elsewhere.slice(0, 3));
  const idle = steps.filter((s) => !runs(s.heading) && s.anywhere !== 0);
  check(`${name}: a step that runs no code marks none`, idle.length === 0, idle.slice(0, 3));
  check(`no script error on the listings of ${name}`, trouble.length === 0, trouble);
  await page.close();
}

// A class that predicts sees the heading of the step, whole and uncovered,
// and nothing that tells how many steps are still to come.
async function predicting_heading(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  const { page, trouble } = await open(browser, name, '#passo=3', 1280, 720);
  await page.keyboard.press('p');
  await page.keyboard.press('ArrowRight');
  const seen = await page.evaluate(() => {
    const h2 = document.querySelector('section.step.current h2');
    const bar = document.querySelector('.bar').getBoundingClientRect();
    const note = document.getElementById('hidden-note').getBoundingClientRect();
    const r = h2.getBoundingClientRect();
    return { top: r.top, bottom: r.bottom, bar: bar.bottom, note: note.top, heading: h2.innerText,
      counter: document.getElementById('counter').textContent, hidden: h2.closest('section').classList.contains('hidden') };
  });
  check(`${name}: predicting hides the step`, seen.hidden, seen);
  check(`${name}: its heading is below the bar, the note below the heading`,
    seen.top >= seen.bar && seen.note >= seen.bottom - 1, seen);
  check(`${name}: no "de M" while predicting`, !/ de \d/.test(seen.heading) && !/ de \d/.test(seen.counter), seen);
  check(`no script error while predicting on ${name}`, trouble.length === 0, trouble);
  await page.close();
}

// Opened at a step, on a phone, the page shows that step's heading below
// its bar, as it does on a projector.
async function opened_at(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  for (const [width, height] of [[375, 667], [1280, 720]]) {
    const { page, trouble } = await open(browser, name, '#passo=5', width, height);
    const seen = await page.evaluate(() => ({
      top: document.querySelector('section.step.current h2').getBoundingClientRect().top,
      bar: document.querySelector('.bar').getBoundingClientRect().bottom,
    }));
    check(`${name} at ${width}x${height}, opened at step 5: its heading below the bar, in view`,
      seen.top >= seen.bar && seen.top < height, seen);
    check(`no script error opening ${name} at ${width}x${height}`, trouble.length === 0, trouble);
    await page.close();
  }
}

// A long page steps forward and back from the address, with a picture at
// every step it passes.
async function walking(browser, name) {
  if (!fs.existsSync(path.resolve(folder, `${name}.html`))) return;
  const { page, trouble } = await open(browser, name, '#passo=12');
  let s = await state(page);
  const total = s.headings.length;
  check(`${name}: #passo=12 opens at step 12 and not 13`, s.counter === `passo 12 de ${total}` &&
    s.text.includes(s.headings[11]) && !s.text.includes(s.headings[12]), s.counter);
  await page.keyboard.press('ArrowRight');
  s = await state(page);
  check(`${name}: the right arrow goes to step 13, and the address follows`, s.hash === '#passo=13' &&
    s.text.includes(s.headings[12]), s.hash);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  s = await state(page);
  check(`${name}: the left arrow goes back`, s.hash === '#passo=11', s.hash);
  const p = await picture(page, 'g.node');
  check(`${name}: a picture is visible`, p && p.visible && p.width > 200, p);
  check(`no script error, request or dialog on ${name}`, trouble.length === 0, trouble);
  await page.close();
}

(async () => {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'listaenc-page-'));
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: chromium,
      headless: true,
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        `--user-data-dir=${profile}`],
    });
    await stepping(browser);
    await predicting(browser);
    await markup(browser);
    await session_markup(browser);
    await directions(browser);
    await operations(browser, 'script');
    await operations(browser, 'onze');
    await operations(browser, 'game');
    await listings(browser, 'sessao');
    await listings(browser, 'passos');
    await listings(browser, 'onze');
    await projector(browser, 'script');
    await projector(browser, 'game');
    await projector(browser, 'onze');
    await projector(browser, 'doze');
    await predicting_heading(browser, 'script');
    await opened_at(browser, 'doze');
    await predicting_heading(browser, 'onze');
    await walking(browser, 'sessao');
    await printing(browser);
    await printing(browser, 'game');
    await printing(browser, 'sessao');
    await arrows(browser, 'script');
    await arrows(browser, 'game');
    await arrows(browser, 'hostile');
  } catch (error) {
    failed += 1;
    console.log(`not ok - ${error.stack}`);
  } finally {
    if (browser) await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
})();
