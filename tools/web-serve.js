// Serves the page's folder (build-web/) on 127.0.0.1, as a host for the pages should:
//   node tools/web-serve.js FOLDER [PORT]        (PORT 0, or none, picks a free one)
// - every answer is cross-origin isolated (Cross-Origin-Opener-Policy: same-origin,
//   Cross-Origin-Embedder-Policy: require-corp), which the playground needs for programs that
//   wait in Atomics.wait where the browser has no JSPI;
// - a file with a .br or .gz copy beside it is sent as that copy when the browser accepts the
//   encoding (Content-Encoding), brotli first;
// - nothing is cached by the browser's HTTP cache without asking again (the playground's
//   service worker keeps what it needs).
// Also a module for the tests: serve(folder, port) resolves to the server, whose `sent` counts
// the bytes of the files' bodies it has sent.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.json': 'application/json',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.ttf': 'font/ttf',
  '.png': 'image/png', '.md': 'text/plain; charset=utf-8', '.txt': 'text/plain; charset=utf-8',
  '.c': 'text/plain; charset=utf-8', '.tar': 'application/x-tar', '.a': 'application/octet-stream',
};

function serve(root, port = 0) {
  root = path.resolve(root);
  const server = http.createServer((request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    } catch (e) {
      response.writeHead(400).end();
      return;
    }
    let file = path.join(root, name);
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    if (fs.existsSync(file) && fs.statSync(file).isDirectory()) {
      if (!name.endsWith('/')) {
        response.writeHead(301, { Location: name + '/' }).end();
        return;
      }
      file = path.join(file, 'index.html');
    }
    const accepted = String(request.headers['accept-encoding'] || '');
    const headers = {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Cross-Origin-Opener-Policy': 'same-origin',
      'Cross-Origin-Embedder-Policy': 'require-corp',
      'Cross-Origin-Resource-Policy': 'same-origin',
      'Cache-Control': 'no-cache',
      'Vary': 'Accept-Encoding',
    };
    let body = file;
    for (const [encoding, suffix] of [['br', '.br'], ['gzip', '.gz']]) {
      if (new RegExp('\\b' + encoding + '\\b').test(accepted) && fs.existsSync(file + suffix)) {
        body = file + suffix;
        headers['Content-Encoding'] = encoding;
        break;
      }
    }
    fs.stat(body, (error, stat) => {
      if (error || !stat.isFile()) {
        response.writeHead(404, headers).end();
        return;
      }
      headers['Content-Length'] = stat.size;
      response.writeHead(200, headers);
      if (request.method === 'HEAD') return response.end();
      server.sent += stat.size;
      fs.createReadStream(body).pipe(response);
    });
  });
  server.sent = 0;
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (require.main === module) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node tools/web-serve.js FOLDER [PORT]');
    process.exit(2);
  }
  serve(folder, Number(port || 0)).then((server) => {
    console.log(`Serving ${folder} at http://127.0.0.1:${server.address().port}/ ` +
        '(Ctrl+C stops the server)');
  }, (error) => {
    console.error(`web-serve: ${error.message}`);
    process.exit(1);
  });
}

module.exports = { serve };
