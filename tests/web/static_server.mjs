// The development server, web/serve.py, serving a folder for the page's
// tests and benchmark: started on a free port of 127.0.0.1 and stopped by its
// process id. It serves the folder's regular files only (a symbolic link that
// leads out of it is refused), so lay out copies, not links.
import {spawn} from 'node:child_process';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const kServe = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../web/serve.py');

// Serves `root` (files sent gzip-compressed to a browser that accepts it, as
// static hosts send them); resolves to {url, close()} once listening.
// `onRequest(path)`, if given, hears of every request as the server logs it.
export function serve(root, {onRequest = null} = {}) {
  const server = spawn('python3', [kServe, root, '0'], {stdio: ['ignore', 'pipe', onRequest ? 'pipe' : 'ignore']});
  if (onRequest) {
    // Its log: one line per request, '... "GET /path HTTP/1.1" 200 -'.
    let log = '';
    server.stderr.setEncoding('utf8');
    server.stderr.on('data', (text) => {
      const lines = (log + text).split('\n');
      log = lines.pop();
      for (const line of lines) {
        const request = /"[A-Z]+ (\S+) HTTP\/[0-9.]+"/.exec(line);
        if (request)
          onRequest(new URL(request[1], 'http://x').pathname);
      }
    });
  }
  return new Promise((resolve, reject) => {
    let out = '';
    server.once('error', reject);
    server.once('exit', (code) => reject(new Error(`serve.py exited with ${code} before serving: ${out}`)));
    server.stdout.setEncoding('utf8');
    server.stdout.on('data', (text) => {
      out += text;
      const listening = /http:\/\/127\.0\.0\.1:[0-9]+\//.exec(out);
      if (!listening)
        return;
      server.removeAllListeners('exit');
      resolve({
        url: listening[0],
        close: () => new Promise((done) => {
          if (server.exitCode !== null || server.signalCode !== null)
            return done();
          server.once('exit', () => done());
          server.kill();
        }),
      });
    });
  });
}
