// The page in Debian's headless Chromium, driven through session.txt and compared pixel for
// pixel with the headless display's pictures of the same session (web-reference). The page's
// clock is Playwright's fake clock, moved by the test exactly as the headless display's virtual
// clock moves, so both programs see the same timer ticks between the same inputs.
// Usage: node browser_test.js BUILD_WEB_DIR BUILD_DIR [SHOTS_DIR]
// (BUILD_DIR holds web-reference-PROGRAM for each program of the session)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const http = require('http');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');

const [webDir, buildDir, shotsDir] = process.argv.slice(2).map(arg => arg && path.resolve(arg));
if (!webDir || !buildDir) {
  console.error('usage: node browser_test.js BUILD_WEB_DIR BUILD_DIR [SHOTS_DIR]');
  process.exit(2);
}
const sessionFile = path.join(__dirname, 'session.txt');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-web-'));
const failures = [];

function parseSession() {
  const runs = {};
  let run = null;
  for (const line of fs.readFileSync(sessionFile, 'utf8').split('\n')) {
    const words = line.trim().split(/\s+/);
    if (!words[0] || words[0].startsWith('#')) continue;
    if (words[0] === 'run') runs[run = words[1]] = { program: words[2] || 'cone-designer', steps: [] };
    else runs[run].steps.push(words);
  }
  return runs;
}

// The headless pictures of one run, made in `work` (where its VORLA.SCR stays for the next).
function makeReference(run, program) {
  const out = path.join(work, 'run' + run);
  fs.mkdirSync(out);
  execFileSync(path.join(buildDir, 'web-reference-' + program), [sessionFile, run, out],
    { cwd: work, stdio: 'inherit' });
  return out;
}

function readFrame(file) {
  const data = fs.readFileSync(file);
  return { width: data.readUInt32LE(0), height: data.readUInt32LE(4), pixels: data.subarray(8) };
}

function serve(root) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split('?')[0]);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    fs.readFile(file, (error, data) => {
      if (error) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const pause = ms => new Promise(resolve => setTimeout(resolve, ms));

// Waits (in real time; the page's clock stands still) until the program sleeps with no input
// left to take.
async function settle(page) {
  for (let i = 0; i < 1000; ++i) {
    // While the page is still loading, its scripts may be replaced under the question.
    const busy = await page.evaluate(() => !window.Module || !Module.vorlaBusy || Module.vorlaBusy())
      .catch(() => true);
    if (!busy) return;
    await pause(10);
  }
  throw new Error('the page never went idle');
}

async function canvasFrame(page, index) {
  return page.evaluate(i => {
    const canvas = document.querySelectorAll('#screen canvas')[i];
    if (!canvas || canvas.style.display === 'none') return null;
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return { width: canvas.width, height: canvas.height, rgba: Array.from(data) };
  }, index);
}

// Differing pixels between the page's canvas and the headless frame (all of them when the
// sizes differ or the canvas is missing).
function differing(canvas, expected) {
  if (!canvas) return expected ? expected.width * expected.height : 0;
  if (!expected) return canvas.width * canvas.height;
  if (canvas.width !== expected.width || canvas.height !== expected.height) {
    return Math.max(canvas.width * canvas.height, expected.width * expected.height);
  }
  let count = 0;
  for (let i = 0; i < expected.width * expected.height; ++i) {
    const p = expected.pixels.readUInt32LE(4 * i);
    if (canvas.rgba[4 * i] !== ((p >> 16) & 255) || canvas.rgba[4 * i + 1] !== ((p >> 8) & 255) ||
        canvas.rgba[4 * i + 2] !== (p & 255)) ++count;
  }
  return count;
}

async function compare(page, out, name) {
  const read = suffix => {
    const file = path.join(out, name + suffix);
    return fs.existsSync(file) ? readFrame(file) : null;
  };
  const draw = differing(await canvasFrame(page, 0), read('.draw'));
  const text = differing(await canvasFrame(page, 1), read('.text'));
  console.log(`${name}: ${draw} differing pixels in the drawing window, ${text} in the text window`);
  if (draw || text) failures.push(name);
  if (shotsDir) await page.screenshot({ path: path.join(shotsDir, name + '.png') });
}

async function playRun(page, steps, out) {
  const [originX, originY, menu] = fs.readFileSync(path.join(out, 'layout.txt'), 'utf8')
    .trim().split(/\s+/).map(Number);
  await settle(page);
  for (const [step, a, b] of steps) {
    if (step === 'at') {
      const now = await page.evaluate(() => Module.vorlaNow());
      if (Number(a) > now) await page.clock.runFor(Number(a) - now);
    } else if (step === 'click') {
      const box = await page.locator('#screen canvas').first().boundingBox();
      await page.mouse.click(box.x + originX + Number(a) + 0.5, box.y + menu + originY - Number(b) + 0.5);
    } else if (step === 'ctrl' || step === 'alt') {
      const held = step === 'ctrl' ? 'Control' : 'Alt';
      await page.keyboard.down(held);
      await page.keyboard.press('Key' + a.toUpperCase());
      await page.keyboard.up(held);
    } else if (step === 'type') {
      await page.keyboard.press('Key' + a.toUpperCase());
    } else if (step === 'key') {
      await page.keyboard.press({ Down: 'ArrowDown', Return: 'Enter' }[a] || a);
    } else if (step === 'capture') {
      await settle(page);
      await compare(page, out, a);
    }
    await settle(page);
  }
}

(async () => {
  const runs = parseSession();
  const outs = {};
  for (const run of Object.keys(runs)) outs[run] = makeReference(run, runs[run].program);
  const server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const context = await chromium.launchPersistentContext(path.join(work, 'profile'), {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1024, height: 768 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = context.pages()[0] || await context.newPage();
    page.on('pageerror', error => { console.log('page error:', error.message); failures.push('page error'); });
    await page.clock.install({ time: 0 });
    await page.clock.pauseAt(1000);
    // The designer's runs, one page load after another, then the other programs' runs, each
    // in a page of its own.
    const designer = Object.keys(runs).filter(run => runs[run].program === 'cone-designer');
    const others = Object.keys(runs).filter(run => runs[run].program !== 'cone-designer');
    let first = true;
    for (const run of designer) {
      if (first) {
        await page.goto(url);
      } else {
        // The page's download button gives the script file the headless program wrote.
        const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
        const got = fs.readFileSync(await download.path(), 'utf8');
        const want = fs.readFileSync(path.join(work, 'VORLA.SCR'), 'utf8');
        console.log(`downloaded VORLA.SCR: ${got.length} bytes, ${got === want ? 'the same as' : 'DIFFERENT from'} the headless one`);
        if (got !== want) failures.push('download');
        // The recording must be in IndexedDB before the page goes.
        for (let i = 0; i < 500 && !(await page.evaluate(() => Module.vorlaSaved() > 0)); ++i) await pause(10);
        await page.reload();
      }
      first = false;
      await playRun(page, runs[run].steps, outs[run]);
    }
    await settle(page);
    const ended = await page.evaluate(() => document.getElementById('status').textContent);
    console.log('page says: ' + ended);
    if (!/has ended/.test(ended)) failures.push('end of the program not shown');
    if (shotsDir) await page.screenshot({ path: path.join(shotsDir, 'ended.png') });
    // A script file loaded through the page's button becomes VORLA.SCR.
    const loaded = 'VORLA_MOUSE(1, 2);\n';
    await page.setInputFiles('#file', { name: 'mine.scr', mimeType: 'text/plain', buffer: Buffer.from(loaded) });
    let stored = null;
    for (let i = 0; i < 200 && stored !== loaded; ++i) {
      await pause(10);
      stored = await page.evaluate(() => { try { return FS.readFile('VORLA.SCR', { encoding: 'utf8' }); } catch (e) { return null; } });
    }
    console.log(`loaded a script file: ${stored === loaded ? 'it is VORLA.SCR now' : 'NOT stored'}`);
    if (stored !== loaded) failures.push('load');
    for (const run of others) {
      await page.goto(`${url}?program=${runs[run].program}`);
      await playRun(page, runs[run].steps, outs[run]);
    }
  } catch (error) {
    console.log(error);
    failures.push('an error in the test');
  } finally {
    await context.close().catch(() => {});
    server.close();
  }
  if (failures.length) {
    console.log('FAILED: ' + failures.join(', '));
    process.exit(1);
  }
  console.log('browser test passed');
})().catch(error => { console.error(error); process.exit(1); });
