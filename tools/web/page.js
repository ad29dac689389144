#!/usr/bin/env node
// Opens a page in headless Chromium (Debian's, on SwiftShader), runs the
// steps given, and prints what the page shows then, as JSON:
//   {"title", "message", "stats", "frame", "console", "seconds", "done"}
// frame is #frame's PNG as a data address (or ""), console the page's
// console lines, seconds the wall time from opening the page, done whether
// every step finished in time.
//
// usage: page.js URL [STEP...] [--timeout SECONDS] [--downloads DIR]
// Steps, in order (without any: --until "^(frame ready|error)$"):
//   --until REGEX       wait until the page's title matches
//   --press KEY         a key pressed and released (KeyboardEvent.code: F10,
//                       Escape, Space, ...)
//   --wait SECONDS      let the page run
//   --screenshot FILE   what the window shows, as a PNG
// --timeout bounds the whole run (default 120 s); the state is printed
// anyway and the exit status is then 1. --downloads DIR is where the page's
// downloads go.
// Chromium is driven over --remote-debugging-pipe (DevTools protocol on file
// descriptors 3 and 4), so nothing beyond Node and Chromium is needed, and
// the page runs in real time (its timings are real).
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const args = process.argv.slice(2);
let url = null, timeout = 120, downloads = null;
const steps = [];
for (let i = 0; i < args.length; ++i) {
  const option = args[i];
  if (option === '--timeout') timeout = Number(args[++i]);
  else if (option === '--downloads') downloads = path.resolve(args[++i]);
  else if (option === '--until') steps.push({until: new RegExp(args[++i])});
  else if (option === '--press') steps.push({press: args[++i]});
  else if (option === '--wait') steps.push({wait: Number(args[++i])});
  else if (option === '--screenshot') steps.push({screenshot: args[++i]});
  else if (!option.startsWith('--') && !url) url = option;
  else {
    process.stderr.write('page.js: unknown option ' + option + '\n');
    process.exit(2);
  }
}
if (!url) {
  process.stderr.write('usage: page.js URL [--until REGEX] [--press KEY] [--wait S] [--screenshot FILE] ' +
                       '[--timeout S] [--downloads DIR]\n');
  process.exit(2);
}
if (steps.length === 0) steps.push({until: /^(frame ready|error)$/});

const chromium = fs.existsSync('/usr/bin/chromium') ? '/usr/bin/chromium' : 'chromium';
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vessara-chromium-'));
const browser = spawn(chromium, [
  '--headless=new', '--no-sandbox', '--disable-dev-shm-usage', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
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

// Key codes Chromium needs besides the code itself.
const keyCodes = {Escape: 27, F10: 121, Space: 32, ArrowLeft: 37, ArrowRight: 39, PageUp: 33, PageDown: 34,
                  Home: 36, KeyL: 76};

async function main() {
  const {targetId} = await send('Target.createTarget', {url: 'about:blank'});
  const {sessionId} = await send('Target.attachToTarget', {targetId: targetId, flatten: true});
  await send('Runtime.enable', {}, sessionId);
  await send('Page.enable', {}, sessionId);
  if (downloads)
    await send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  const opened = Date.now();
  const late = () => Date.now() - opened >= timeout * 1000;
  await send('Page.navigate', {url: url}, sessionId);
  let state = null;
  const readState = async function () {
    try {
      const result = await send('Runtime.evaluate', {expression: pageState, returnByValue: true}, sessionId);
      state = JSON.parse(result.result.value);
    } catch (e) {
      // navigating: no document yet
    }
  };
  let done = true;
  for (const step of steps) {
    if (step.until) {
      await readState();
      while (!(state && step.until.test(state.title)) && !late()) {
        await new Promise(r => setTimeout(r, 100));
        await readState();
      }
      if (!(state && step.until.test(state.title))) {
        done = false;
        break;
      }
    } else if (step.press) {
      for (const type of ['rawKeyDown', 'keyUp']) {
        await send('Input.dispatchKeyEvent', {type: type, code: step.press, key: step.press,
                                              windowsVirtualKeyCode: keyCodes[step.press] || 0}, sessionId);
        await new Promise(r => setTimeout(r, 150));
      }
    } else if (step.wait) {
      await new Promise(r => setTimeout(r, step.wait * 1000));
    } else if (step.screenshot) {
      const shot = await send('Page.captureScreenshot', {format: 'png'}, sessionId);
      fs.writeFileSync(step.screenshot, Buffer.from(shot.data, 'base64'));
    }
  }
  await readState();
  state = state || {title: '', message: '', stats: '', frame: ''};
  state.console = consoleLines;
  state.seconds = (Date.now() - opened) / 1000;
  state.done = done;
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
