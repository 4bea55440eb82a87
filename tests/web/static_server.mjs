// A static file server for a folder on 127.0.0.1, on a free port, inside the
// calling process (closed with close(), nothing to kill). Nothing is cached,
// so a test that rewrites a file sees the new one.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.json': 'application/json',
  '.bmp': 'image/bmp', '.png': 'image/png', '.dat': 'application/octet-stream',
  '.webmanifest': 'application/manifest+json',
};
// What a static host compresses when asked to: everything but pictures.
const kCompressed = new Set(['.html', '.js', '.mjs', '.css', '.wasm', '.json', '.bmp', '.dat', '.webmanifest']);

// Serves `root`; resolves to {url, close()} once listening. URL paths map
// onto files under root (symbolic links followed); a folder serves its
// index.html. With `gzip`, files are sent gzip-compressed to a browser that
// accepts it, as static hosts do. `onRequest(path)`, if given, hears of every
// request as it comes.
export function serve(root, {gzip = false, onRequest = null} = {}) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    if (onRequest)
      onRequest(new URL(request.url, 'http://x').pathname);
    let file;
    try {
      file = path.join(base, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    } catch {
      file = null;
    }
    if (file && !file.startsWith(base))
      file = null;
    if (file && fs.existsSync(file) && fs.statSync(file).isDirectory())
      file = path.join(file, 'index.html');
    fs.readFile(file || '', (error, data) => {
      if (error) {
        response.writeHead(404, {'Cache-Control': 'no-store'});
        response.end();
        return;
      }
      const headers = {
        'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      };
      if (gzip && kCompressed.has(path.extname(file)) && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
        data = zlib.gzipSync(data, {level: 6});
        headers['Content-Encoding'] = 'gzip';
        headers['Vary'] = 'Accept-Encoding';
      }
      response.writeHead(200, headers);
      response.end(data);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => {
          server.closeAllConnections();
          server.close(done);
        }),
      });
    });
  });
}
