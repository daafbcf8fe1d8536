// Keys as a French AZERTY keyboard sends them to the page (KeyboardEvent key, code and text
// through Chromium's own input, as the browser makes them from the user's layout, and a dead
// key's composition from the input method), into the typing example: the characters are the
// layout's, AltGr's and the dead key's included, recorded in
// Windows-1252; Ctrl+A is the key left of Z; and the canvas shows what the headless display
// shows for the recording played through VORLA_PLAY, pixel for pixel.
// Usage: node layout_test.js BUILD_WEB_DIR BUILD_DIR (BUILD_DIR holds examples/typing)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');
const { pause, until, scriptText, check, report } = require('./checks');

const [webDir, buildDir] = process.argv.slice(2).map(arg => path.resolve(arg));

// The pixels of a PNG file as the headless display writes them (8-bit RGB, unfiltered rows).
function readPng(file) {
  const data = fs.readFileSync(file);
  const width = data.readUInt32BE(16);
  const height = data.readUInt32BE(20);
  const chunks = [];
  for (let at = 8; at < data.length;) {
    const length = data.readUInt32BE(at);
    if (data.toString('latin1', at + 4, at + 8) === 'IDAT') chunks.push(data.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(chunks));
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) raw.copy(rgb, y * width * 3, y * (1 + 3 * width) + 1, (y + 1) * (1 + 3 * width));
  return { width, height, rgb };
}

const CTRL = 2;  // the modifier bits of Chromium's input
// One key as the keyboard sends it: down (with the text it types, if any) and up.
async function press(client, key, code, text, modifiers = 0, windowsVirtualKeyCode = undefined) {
  await client.send('Input.dispatchKeyEvent',
    { type: text ? 'keyDown' : 'rawKeyDown', key, code, text, modifiers, windowsVirtualKeyCode });
  await client.send('Input.dispatchKeyEvent', { type: 'keyUp', key, code, modifiers, windowsVirtualKeyCode });
}
async function down(client, key, code, modifiers = 0) {
  await client.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key, code, modifiers });
}
async function up(client, key, code, modifiers = 0) {
  await client.send('Input.dispatchKeyEvent', { type: 'keyUp', key, code, modifiers });
}
async function ctrl(client, key, code) {
  await down(client, 'Control', 'ControlLeft', CTRL);
  await press(client, key, code, '', CTRL);
  await up(client, 'Control', 'ControlLeft');
}

(async () => {
  const server = await serve(webDir);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-layout-'));
  const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
  const started = Date.now();
  try {
    const page = await browser.newPage({ viewport: { width: 1024, height: 768 } });
    await page.goto(`http://127.0.0.1:${server.address().port}/?program=typing`);
    await until(page, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
    await page.focus('#screen canvas');
    const client = await page.context().newCDPSession(page);
    const idle = () => until(page, () => !Module.vorlaBusy(), 3000);

    // Ctrl+R, then a z é, @ (AltGr with the key of 0), ê (the dead circumflex, then e),
    // € (AltGr with E), and Ctrl+R again.
    await ctrl(client, 'r', 'KeyR');
    await press(client, 'a', 'KeyQ', 'a');
    await press(client, 'z', 'KeyW', 'z');
    await press(client, 'é', 'Digit2', 'é');
    await down(client, 'AltGraph', 'AltRight');
    await press(client, '@', 'Digit0', '@');
    await press(client, '€', 'KeyE', '€');
    await up(client, 'AltGraph', 'AltRight');
    // The dead key and E go to the input method, which composes ê.
    await press(client, 'Process', 'BracketLeft', '', 0, 229);
    await client.send('Input.imeSetComposition', { text: '^', selectionStart: 1, selectionEnd: 1 });
    await press(client, 'Process', 'KeyE', '', 0, 229);
    await client.send('Input.insertText', { text: 'ê' });
    await ctrl(client, 'r', 'KeyR');
    await idle();
    const script = await scriptText(page);
    const want = [97, 122, -23, 64, -128, -22].map(code => `VORLA_KBD(${code});\n`).join('');
    check(script === want, `AZERTY's keys are recorded as the layout types them (${JSON.stringify(script)})`);

    // The same picture as the headless display's for that recording.
    fs.writeFileSync(path.join(work, 'typed.scr'), want);
    execFileSync(path.join(buildDir, 'examples', 'typing'), [], { cwd: work,
      env: { ...process.env, VORLA_DISPLAY: 'headless', VORLA_PLAY: 'typed.scr', VORLA_SNAPSHOT: 'typed.png' } });
    const expected = readPng(path.join(work, 'typed.png'));
    const canvas = await page.evaluate(() => {
      const c = document.querySelector('#screen canvas');
      return { width: c.width, height: c.height, rgba: Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data) };
    });
    // The canvas holds the menu bar above the client area.
    const menu = canvas.height - expected.height;
    let differing = 0;
    for (let y = 0; y < expected.height; ++y) {
      for (let x = 0; x < expected.width; ++x) {
        const a = 4 * ((y + menu) * canvas.width + x);
        const b = 3 * (y * expected.width + x);
        if (canvas.rgba[a] !== expected.rgb[b] || canvas.rgba[a + 1] !== expected.rgb[b + 1] ||
            canvas.rgba[a + 2] !== expected.rgb[b + 2]) ++differing;
      }
    }
    check(canvas.width === expected.width && differing === 0,
      `the canvas shows the typed characters as the headless display does (${differing} differing pixels)`);

    // Ctrl+A on the key left of Z starts the animation: the recording holds ticks alone.
    await ctrl(client, 'r', 'KeyR');
    await ctrl(client, 'a', 'KeyQ');
    await pause(450);
    await ctrl(client, 'h', 'KeyH');
    await ctrl(client, 'r', 'KeyR');
    await idle();
    const ticks = await scriptText(page);
    check(/^VORLA_PERIODIC\(\d+\);\n$/.test(ticks || ''), `AZERTY's Ctrl+A animates (${JSON.stringify(ticks)})`);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  report('layout test', started);
})().catch(error => { console.error(error); process.exit(1); });
