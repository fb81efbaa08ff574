// SPDX-License-Identifier: MIT
// What the pages' browser tests share: Chromium, headless, driven by
// puppeteer-core; a skip (77) where either is missing; checks that count;
// and a page opened from its file with a watch on what must not happen
// there: a script error, a console error, a request to anything but the
// page's own file and the data it makes.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');

const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

function skip(reason) {
  console.log(`skipped: ${reason}`);
  process.exit(77);
}

function driver() {
  try {
    return require('puppeteer-core');
  } catch (error) {
    return skip('puppeteer-core is missing (npm ci --prefix tests/web installs it)');
  }
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
  return ok;
}

async function launch() {
  const puppeteer = driver();
  if (!fs.existsSync(chromium)) skip(`${chromium} is missing`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'listaenc-web-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--lang=pt-BR'],
  });
  browser.profile = profile;
  return browser;
}

async function close(browser) {
  await browser.close();
  fs.rmSync(browser.profile, { recursive: true, force: true });
}

// Opens `file` at 1280×720 (or `viewport`); page.trouble lists what went wrong.
async function open(browser, file, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport || { width: 1280, height: 720 });
  const trouble = [];
  page.trouble = trouble;
  page.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error' && !page.expectErrors) trouble.push(`console: ${message.text()}`);
  });
  const own = `file://${path.resolve(file)}`;
  page.on('request', (request) => {
    const url = request.url();
    if (url !== own && !url.startsWith('data:') && !url.startsWith('blob:')) {
      trouble.push(`request: ${url}`);
    }
  });
  await page.goto(own, { waitUntil: 'load' });
  return page;
}

// Runs axe-core in the page; answers its serious and critical violations.
async function axe(page) {
  const source = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
  await page.evaluate(source);
  const found = await page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'] });
    return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length,
      target: v.nodes[0] && v.nodes[0].target }));
  });
  return found.filter((v) => v.impact === 'serious' || v.impact === 'critical');
}

// Whether the page scrolls sideways at its viewport.
async function scrollsSideways(page) {
  return page.evaluate(() => document.documentElement.scrollWidth > window.innerWidth);
}

function finish() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

module.exports = { skip, check, launch, close, open, axe, scrollsSideways, finish };
