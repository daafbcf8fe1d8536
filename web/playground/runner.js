// The worker a learner's program runs in: the program (wasm32-wasi, linked in the compiler's
// worker) on WASI calls kept in memory, with the web display driver's imports
// (platform/display/web/web_display.cpp) bound to messages for the page, which draws the
// canvases and takes the input with the designer page's own code (web_display.js).
//
// The driver's waits leave the program in one of two ways, chosen by the page:
// - 'jspi': the wait is a promise (WebAssembly.Suspending); the program's stack is put aside
//   while the worker takes its messages (input from the page), and resumed.
// - 'atomics': the worker blocks in Atomics.wait on a SharedArrayBuffer that the page writes
//   the input records into (the page must be cross-origin isolated for such a buffer).
// Either way the page ends the program at once by ending this worker.
import { WASI, WASIProcExit, File, OpenFile, ConsoleStdout, PreopenDirectory, Directory }
  from '@bjorn3/browser_wasi_shim';
import { INPUT, RING_RECORDS, RECORD } from './input-ring.js';

let memory = null;
const origin = performance.now();
const queue = [];      // input records ('jspi': from messages)
let wake = null;       // ends the current promise wait
let ring = null;       // 'atomics': the shared input ring
let taken = 0;         // 'atomics': records read so far
let home = null;       // the program's folder, the root of its files
let delivered = 0;     // input records handed to the program
const sentFiles = new Map();  // file name -> bytes last sent to the page

function now() { return Math.floor(performance.now() - origin); }
function text(pointer) {
  const bytes = new Uint8Array(memory.buffer, pointer);
  return new TextDecoder('latin1').decode(bytes.subarray(0, bytes.indexOf(0)));
}

// Files the program changed in its folder go to the page, which keeps them (VORLA.SCR).
function sendFiles() {
  for (const [name, entry] of home.dir.contents) {
    if (!(entry instanceof File)) continue;
    const before = sentFiles.get(name);
    const data = entry.data;
    if (before && before.length === data.length && before.every((b, i) => b === data[i])) {
      continue;
    }
    sentFiles.set(name, data.slice());
    postMessage({ op: 'file', name, data: data.slice() });
  }
}

// Input records from the page ('atomics'), in order; true while there was one.
function takeFromRing() {
  const written = Atomics.load(ring, INPUT.WRITTEN);
  if (taken === written) return false;
  const at = INPUT.RECORDS + (taken % RING_RECORDS) * RECORD;
  queue.push(Array.from(ring.subarray(at, at + RECORD)));
  ++taken;
  Atomics.store(ring, INPUT.TAKEN, taken);
  return true;
}

// The display driver's calls into the page (web_display.cpp's extern "C" block).
function displayImports(mode) {
  const imports = {
    vorla_web_window_create(window, title, width, height) {
      postMessage({ op: 'create', window, title: text(title), width, height });
    },
    vorla_web_window_destroy(window) { postMessage({ op: 'destroy', window }); },
    vorla_web_window_show(window, visible) { postMessage({ op: 'show', window, visible }); },
    vorla_web_window_present(window, pixels, width, height, stride) {
      const words = new Uint32Array(width * height);
      const source = new Uint32Array(memory.buffer);
      for (let y = 0; y < height; ++y) {
        const row = (pixels >> 2) + y * stride;
        words.set(source.subarray(row, row + width), y * width);
      }
      postMessage({ op: 'present', window, words, width, height }, [words.buffer]);
    },
    vorla_web_now: now,
    vorla_web_next_input(fields) {
      if (ring) while (takeFromRing());
      const record = queue.shift();
      if (!record) return 0;
      new Int32Array(memory.buffer, fields, RECORD).set(record);
      ++delivered;
      return 1;
    },
    vorla_web_closed() { postMessage({ op: 'closed' }); },
    vorla_web_key_codes(codes, vks, count) {
      const table = {};
      const pointers = new Uint32Array(memory.buffer, codes, count);
      const values = new Int32Array(memory.buffer, vks, count);
      for (let i = 0; i < count; ++i) table[text(pointers[i])] = values[i];
      postMessage({ op: 'keys', table });
    },
  };
  // forever: 0 waits up to `ms`, 1 until input comes, 2 is a turn of a busy program (the page
  // is not held up by this worker, so a turn only lets input in).
  if (mode === 'atomics') {
    imports.vorla_web_sleep = (ms, forever) => {
      if (forever === 2 || queue.length) return;
      sendFiles();
      postMessage({ op: 'idle', delivered });
      const seen = Atomics.load(ring, INPUT.WRITTEN);
      if (seen !== taken) return;
      Atomics.wait(ring, INPUT.WRITTEN, seen, forever ? Infinity : ms);
    };
  } else {
    imports.vorla_web_sleep = new WebAssembly.Suspending((ms, forever) => {
      if (forever === 2) return new Promise((resolve) => setTimeout(resolve, 0));
      if (queue.length) return undefined;
      sendFiles();
      postMessage({ op: 'idle', delivered });
      return new Promise((resolve) => {
        const timer = forever ? null : setTimeout(() => { wake = null; resolve(); }, ms);
        wake = () => { wake = null; if (timer !== null) clearTimeout(timer); resolve(); };
      });
    });
  }
  return imports;
}

onmessage = async (event) => {
  const message = event.data;
  if (message.op === 'input') {
    queue.push(message.record);
    if (wake) wake();
    return;
  }
  if (message.op !== 'start') return;
  const { program, fonts, files, mode, shared, name } = message;
  if (mode === 'atomics') ring = new Int32Array(shared);
  const output = (stream) => ConsoleStdout.lineBuffered((line) => postMessage({ op: stream, line }));
  const folder = (entries) =>
    new Map(Object.entries(entries).map(([file, data]) => [file, new File(data)]));
  // The program's folder is the root: a file it names without a folder (VORLA.SCR) is there,
  // beside the page's fonts in /fonts and an empty /tmp.
  const root = folder(files);
  root.set('fonts', new Directory(folder(fonts)));
  root.set('tmp', new Directory(new Map()));
  home = new PreopenDirectory('/', root);
  const fds = [new OpenFile(new File([])), output('stdout'), output('stderr'), home];
  const wasi = new WASI([name], ['HOME=/'], fds, { debug: false });
  let status = 0;
  try {
    const module = await WebAssembly.compile(program);
    const instance = await WebAssembly.instantiate(module, {
      wasi_snapshot_preview1: wasi.wasiImport,
      env: displayImports(mode),
    });
    memory = instance.exports.memory;
    wasi.inst = instance;
    postMessage({ op: 'running' });
    const start = mode === 'atomics'
      ? instance.exports._start : WebAssembly.promising(instance.exports._start);
    await start();
  } catch (error) {
    if (error instanceof WASIProcExit) {
      status = error.code;
    } else {
      postMessage({ op: 'trap', message: String(error && error.message || error) });
      status = -1;
    }
  }
  if (home) sendFiles();
  postMessage({ op: 'exit', status });
};
