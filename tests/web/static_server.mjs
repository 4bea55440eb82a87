// The development server, web/serve.py, serving a folder for the page's
// tests and benchmark: started on a free port of 127.0.0.1 and stopped by its
// process id. It serves the folder's regular files only (a symbolic link that
// leads out of it is refused), so lay out copies, not links.
import {spawn} from 'node:child_process';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const kServe = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../web/serve.py');

// Serves `root`; resolves to {url, close()} once listening.
export function serve(root) {
  const server = spawn('python3', [kServe, root, '0'], {stdio: ['ignore', 'pipe', 'ignore']});
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
