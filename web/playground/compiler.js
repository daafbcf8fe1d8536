// The worker that compiles and links a learner's C file: Clang and LLD built for WebAssembly
// (@yowasp/clang, the same version that built the library, in clang/), with the library's
// headers and archives for wasm32-wasi (library/, listed in library/files.json).
//
// Messages in: {op: 'load'} fetches the toolchain and the library once; {op: 'compile', id,
// name, source} compiles and links. Out: {op: 'progress', done, total} while the toolchain
// arrives, {op: 'ready'}, {op: 'failed', message}, and {op: 'result', id, ok, log, program,
// times}.
import { runClang } from './clang/bundle.js';

let library = null;  // the tree of headers and archives under /vorla
let loading = null;

async function fetchLibrary() {
  const list = await (await fetch('library/files.json')).json();
  const tree = { include: {}, lib: {} };
  await Promise.all(list.files.map(async (file) => {
    const response = await fetch('library/' + file);
    if (!response.ok) throw new Error('library/' + file + ': ' + response.status);
    const data = new Uint8Array(await response.arrayBuffer());
    const [folder, name] = file.split('/');
    tree[folder][name] = data;
  }));
  return { tree, linkFlags: list.link };
}

function load() {
  loading ??= (async () => {
    const [, lib] = await Promise.all([
      runClang(null, {}, {
        fetchProgress: ({ totalLength, doneLength }) =>
          postMessage({ op: 'progress', done: doneLength, total: totalLength }),
      }),
      fetchLibrary(),
    ]);
    library = lib;
  })();
  return loading;
}

// Runs one step; its messages (errors and warnings) are collected, and a failed step gives
// null.
async function step(args, files, log) {
  const stderr = (bytes) => { if (bytes) log.push(new TextDecoder().decode(bytes)); };
  try {
    return await runClang(args, files, { stdout: stderr, stderr, decodeASCII: false });
  } catch (error) {
    if (error && error.code !== undefined) return null;
    throw error;
  }
}

async function compile({ id, name, source }) {
  const log = [];
  const times = {};
  let start = performance.now();
  const work = { [name]: source };
  const objects = await step(['clang', '-c', '-O2', '-Wall', '-fno-color-diagnostics',
    '-I/vorla/include', '/work/' + name, '-o', '/work/program.o'],
  { work, vorla: library.tree }, log);
  times.compile = performance.now() - start;
  if (!objects) return { id, ok: false, log: log.join(''), times };
  start = performance.now();
  const linked = await step(['clang', '/work/program.o', '-o', '/work/program.wasm',
    '-L/vorla/lib', ...library.linkFlags],
  { work: { 'program.o': objects.work['program.o'] }, vorla: library.tree }, log);
  times.link = performance.now() - start;
  if (!linked) return { id, ok: false, log: log.join(''), times };
  return { id, ok: true, log: log.join(''), program: linked.work['program.wasm'], times };
}

onmessage = async (event) => {
  const message = event.data;
  try {
    if (message.op === 'load') {
      await load();
      postMessage({ op: 'ready' });
    } else if (message.op === 'compile') {
      await load();
      const result = await compile(message);
      postMessage({ op: 'result', ...result },
        result.program ? [result.program.buffer] : []);
    }
  } catch (error) {
    postMessage({ op: 'failed', id: message.id, message: String(error && error.message || error) });
  }
};
