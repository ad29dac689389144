#!/usr/bin/env node
// Opens a page in headless Chromium (Debian's, on SwiftShader) and prints
// what it shows once its title says it is done, as JSON:
//   {"title", "message", "stats", "frame", "console", "seconds"}
// frame is #frame's PNG as a data address (or ""), console the page's
// console lines, seconds the wall time from opening the page.
//
// usage: page.js URL [--until REGEX] [--timeout SECONDS] [--screenshot FILE]
//   --until       title pattern that ends the wait (default: "frame ready|error")
//   --timeout     give up after this long (default 120); the state is printed
//                 anyway and the exit status is 1.
//   --screenshot  also save what the window shows then as a PNG (a show
//                 playing: --until something it never says, and a timeout).
// Chromium is driven over --remote-debugging-pipe (DevTools protocol on file
// descriptors 3 and 4), so nothing beyond Node and Chromium is needed, and
// the page runs in real time (its timings are real).
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const args = process.argv.slice(2);
let url = null, until = /^(frame ready|error)$/, timeout = 120, screenshot = null;
for (let i = 0; i < args.length; ++i) {
  if (args[i] === '--until') until = new RegExp(args[++i]);
  else if (args[i] === '--timeout') timeout = Number(args[++i]);
  else if (args[i] === '--screenshot') screenshot = args[++i];
  else url = args[i];
}
if (!url) {
  process.stderr.write('usage: page.js URL [--until REGEX] [--timeout SECONDS]\n');
  process.exit(2);
}

const chromium = fs.existsSync('/usr/bin/chromium') ? '/usr/bin/chromium' : 'chromium';
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vessara-chromium-'));
const browser = spawn(chromium, [
  '--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--autoplay-policy=no-user-gesture-required', '--window-size=800,600', '--user-data-dir=' + profile,
  '--remote-debugging-pipe', 'about:blank',
], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];

let nextId = 1;
const waiting = new Map();
const consoleLines = [];
let pending = '';
fromBrowser.on('data', function (chunk) {
  pending += chunk.toString('utf8');
  let end;
  while ((end = pending.indexOf('\0')) >= 0) {
    const message = JSON.parse(pending.slice(0, end));
    pending = pending.slice(end + 1);
    if (message.id && waiting.has(message.id)) {
      waiting.get(message.id)(message);
      waiting.delete(message.id);
    } else if (message.method === 'Runtime.consoleAPICalled') {
      consoleLines.push(message.params.args.map(a => a.value !== undefined ? String(a.value) : a.description || '').join(' '));
    } else if (message.method === 'Runtime.exceptionThrown') {
      consoleLines.push('exception: ' + (message.params.exceptionDetails.exception || {}).description);
    }
  }
});

function send(method, params, sessionId) {
  const id = nextId++;
  const message = {id: id, method: method, params: params || {}};
  if (sessionId) message.sessionId = sessionId;
  toBrowser.write(JSON.stringify(message) + '\0');
  return new Promise(function (resolve, reject) {
    waiting.set(id, function (reply) {
      if (reply.error) reject(new Error(method + ': ' + reply.error.message));
      else resolve(reply.result);
    });
  });
}

const pageState = `JSON.stringify({
  title: document.title,
  message: (document.getElementById('message') || {}).textContent || '',
  stats: (document.getElementById('stats') || {}).textContent || '',
  frame: (document.getElementById('frame') || {}).src || ''})`;

async function main() {
  const {targetId} = await send('Target.createTarget', {url: 'about:blank'});
  const {sessionId} = await send('Target.attachToTarget', {targetId: targetId, flatten: true});
  await send('Runtime.enable', {}, sessionId);
  await send('Page.enable', {}, sessionId);
  const opened = Date.now();
  await send('Page.navigate', {url: url}, sessionId);
  let state = null, done = false;
  while (!done && Date.now() - opened < timeout * 1000) {
    await new Promise(r => setTimeout(r, 100));
    try {
      const result = await send('Runtime.evaluate', {expression: pageState, returnByValue: true}, sessionId);
      state = JSON.parse(result.result.value);
      done = until.test(state.title);
    } catch (e) {
      // navigating: no document yet
    }
  }
  state = state || {title: '', message: '', stats: '', frame: ''};
  if (screenshot) {
    const shot = await send('Page.captureScreenshot', {format: 'png'}, sessionId);
    fs.writeFileSync(screenshot, Buffer.from(shot.data, 'base64'));
  }
  state.console = consoleLines;
  state.seconds = (Date.now() - opened) / 1000;
  process.stdout.write(JSON.stringify(state) + '\n');
  await send('Browser.close').catch(() => {});
  return done;
}

const killer = setTimeout(function () { browser.kill('SIGKILL'); }, (timeout + 30) * 1000);
main().then(function (done) {
  clearTimeout(killer);
  browser.on('exit', function () {
    fs.rmSync(profile, {recursive: true, force: true});
    process.exit(done ? 0 : 1);
  });
  setTimeout(function () { browser.kill('SIGKILL'); }, 5000);
}, function (error) {
  process.stderr.write('page.js: ' + error.message + '\n');
  browser.kill('SIGKILL');
  fs.rmSync(profile, {recursive: true, force: true});
  process.exit(1);
});
